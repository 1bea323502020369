#include "common/actors/CSprite.h"

#include <algorithm>
#include <new>
#include <vector>

#include "formats/CFileMM.h"
#include "platform/core/CException.h"
#include "platform/render/MRenderDevice.h"
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
// The frames read from an archive, which a change of density reads again.
std::vector<CSprite*>& ArchiveFrames() {
    static std::vector<CSprite*> frames;
    return frames;
}

int WantedDensity() {
    MRenderDevice* device = MRenderDevice::Current();
    return device ? device->GetPictureDensity() : 1;
}

// Texels per design pixel for a picture of that density.
double ScaleFor(int pictureDensity) {
    MRenderDevice* device = MRenderDevice::Current();
    return pictureDensity > 1 && device ? device->GetPictureScale() : pictureDensity;
}
}  // namespace

CSprite::CSprite() = default;

CSprite::~CSprite() {
    ReleaseFrame();
    Forget();
}

void CSprite::Forget() {
    if (!archive) return;
    auto& frames = ArchiveFrames();
    frames.erase(std::remove(frames.begin(), frames.end(), this), frames.end());
    archive = nullptr;
    place = -1;
}

void CSprite::ReloadAtDensity(CFileMM& from, int wanted) {
    const int available = from.SelectDensity(wanted);
    std::vector<CSprite*> stale;
    for (CSprite* frame : ArchiveFrames())
        if (frame->archive == &from && (frame->density != available || frame->scale != ScaleFor(available)))
            stale.push_back(frame);
    if (stale.empty()) return;
    const long here = from.Tell();
    for (CSprite* frame : stale) {
        from.Seek(frame->place, kSeekBegin);
        frame->InitFrame(from, frame->isTexture);
    }
    from.Seek(here, kSeekBegin);
}

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
    const long at = archive.Tell();
    ChunkHeader header;
    archive.ReadChunkHeader(&header);
    if (header.id != kIdRgba) throw CFileException(kUnit, 72);
    isTexture = useTexture;
    // The picture at the output's density, where the archive has it.
    const int wanted = WantedDensity();
    const long dense = wanted > 1 && archive.SelectDensity(wanted) == wanted ? archive.DensePicture(at) : -1;
    if (dense >= 0) {
        archive.Seek(dense, kSeekBegin);
        archive.ReadChunkHeader(&header);
        if (header.id != kIdDenseRgba) throw CFileException(kUnit, 72);
    }
    const int pictureDensity = dense >= 0 ? wanted : 1;
    const double pictureScale = ScaleFor(pictureDensity);
    if (useTexture) {
        texture = pictureDensity > 1 ? new (std::nothrow) MTexture(archive, pictureDensity, pictureScale)
                                     : new (std::nothrow) MTexture(archive);
        if (!texture) throw CMemException(kUnit, 118);
        w = texture->GetWidth();
        h = texture->GetHeight();
        ox = texture->GetOriginX();
        oy = texture->GetOriginY();
    } else {
        surface = pictureDensity > 1 ? new (std::nothrow) MSurface(archive, 0, pictureDensity, pictureScale)
                                     : new (std::nothrow) MSurface(archive, 0, 0, 0);
        if (!surface) throw CMemException(kUnit, 118);
        w = surface->GetWidth();
        h = surface->GetHeight();
        ox = surface->GetOriginX();
        oy = surface->GetOriginY();
    }
    if (!FitsTheDesign(w, h, ox, oy)) throw CFileException(kUnit, 76);
    if (dense >= 0) archive.Ascend();
    archive.Ascend();
    if (this->archive != &archive) {
        Forget();
        ArchiveFrames().push_back(this);
    }
    this->archive = &archive;
    place = at;
    density = pictureDensity;
    scale = pictureScale;
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
    // A denser picture is tested at the middle of the design pixel.
    const double d = texture->GetTexelScale();
    const int row = static_cast<int>(((flipV ? h - 1 - y : y) + 0.5) * d);
    const int column = static_cast<int>(((flipH ? w - 1 - x : x) + 0.5) * d);
    // Read from the texture's transparency mask (or its CPU copy); outside the
    // picture there is nothing to hit, and a texel that cannot be read is opaque.
    return texture->IsTexelTransparent(column, row);
}
