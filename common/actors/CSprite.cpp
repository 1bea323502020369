#include "common/actors/CSprite.h"

#include <new>

#include "formats/CFileMM.h"
#include "platform/core/CException.h"
#include "platform/render/MSurface.h"
#include "platform/render/MTexture.h"

namespace {
constexpr const char* kUnit = "common/CSprite";
// The design every picture is drawn on.
constexpr int kDesignWidth = 800;
constexpr int kDesignHeight = 600;

// A picture no larger than the design, anchored no further from its actor
// than the design is wide or high: anything else is damaged data (a flipped
// byte in a header would otherwise draw the picture nowhere).
bool FitsTheDesign(int w, int h, int ox, int oy) {
    return w <= kDesignWidth && h <= kDesignHeight && ox >= -kDesignWidth && ox <= kDesignWidth &&
           oy >= -kDesignHeight && oy <= kDesignHeight;
}
}  // namespace

CSprite::CSprite() = default;

CSprite::~CSprite() { ReleaseFrame(); }

CSprite* CSprite::LoadFrame(CFileMM& archive, int useTexture) {
    CSprite* frame = new (std::nothrow) CSprite;
    if (!frame) throw CMemException(kUnit, 118);
    try {
        frame->InitFrame(archive, useTexture);
    } catch (...) {
        delete frame;  // a loader frees what it allocated when it fails
        throw;
    }
    return frame;
}

void CSprite::InitFrame(CFileMM& archive, int useTexture) {
    ReleaseFrame();
    isTexture = 1;
    ox = oy = w = h = 0;
    ChunkHeader header;
    archive.ReadChunkHeader(&header);
    if (header.id != kIdRgba) throw CFileException(kUnit, 72);
    isTexture = useTexture;
    if (useTexture) {
        texture = new (std::nothrow) MTexture(archive);
        if (!texture) throw CMemException(kUnit, 118);
        w = texture->GetWidth();
        h = texture->GetHeight();
        ox = texture->GetOriginX();
        oy = texture->GetOriginY();
    } else {
        surface = new (std::nothrow) MSurface(archive, 0, 0, 0);
        if (!surface) throw CMemException(kUnit, 118);
        w = surface->GetWidth();
        h = surface->GetHeight();
        ox = surface->GetOriginX();
        oy = surface->GetOriginY();
    }
    if (!FitsTheDesign(w, h, ox, oy)) throw CFileException(kUnit, 76);
    archive.Ascend();
}

void CSprite::ReleaseFrame() {
    delete texture;
    texture = nullptr;
    delete surface;
    surface = nullptr;
}

int CSprite::DrawFrame(const RECT* dest, const RECT* source, int flip) {
    if (texture) {
        texture->DrawEx(dest, source, flip & (kDrawMirrorX | kDrawMirrorY), 0xFFFFFFFFu, 0.0f, nullptr);
        return 1;
    }
    if (surface) {
        POINT corner{dest ? dest->left : 0, dest ? dest->top : 0};
        surface->CopyToBackBuffer(&corner, source);
        return 1;
    }
    return 0;
}

int CSprite::IsTransparentAt(int x, int y, int flipV, int flipH) {
    if (!texture) return 0;
    const int row = flipV ? h - 1 - y : y;
    const int column = flipH ? w - 1 - x : x;
    // Read from the texture's transparency mask (or its CPU copy); outside the
    // picture there is nothing to hit, and a texel that cannot be read is opaque.
    return texture->IsTexelTransparent(column, row);
}
