#include "platform/render/MTexture.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

#include "platform/core/CException.h"
#include "platform/storage/BFile.h"
#include "platform/storage/MFileMMIO.h"
#include "platform/render/MDenseImage.h"
#include "platform/render/MRenderDevice.h"
#include "platform/render/MResample.h"

namespace {

int gTextureSerial = 0;

int PowerOfTwoAtLeast(int value) {
    int size = 1;
    while (size < value && size < (1 << 30)) size <<= 1;
    return size;
}

PixelFormat DisplayFormat() {
    MRenderDevice* device = MRenderDevice::Current();
    return device ? device->GetDisplayFormat() : PixelFormat::A8R8G8B8;
}

// Radians as degrees; a float angle never holds a quarter turn exactly, so
// near-quarter turns are taken as exact ones (drawn without resampling).
double Degrees(float radians) {
    double degrees = radians * 180.0 / std::numbers::pi;
    double quarter = std::round(degrees / 90.0) * 90.0;
    return std::fabs(degrees - quarter) < 1e-3 ? quarter : degrees;
}

}  // namespace

int LastTextureSerial() { return gTextureSerial; }

MTexture::MTexture() = default;

MTexture::MTexture(MFileMMIO& archive) {
    NoteSource(archive);
    auto decoded = std::make_unique<MImage>();
    if (decoded->Load(archive) != 0) return;  // unsupported: no image, no texture
    serial = ++gTextureSerial;
    image = std::move(decoded);
    // The renderer takes any size: no padding, and the archive keeps the pixels.
    if (BuildTexture(false) == 0) KeepSourceInstead(false);
    image.reset();
}

MTexture::MTexture(MFileMMIO& archive, int pictureDensity, double scale) {
    NoteSource(archive, pictureDensity, scale);
    if (IsReadAgainNoted() && BitsPerPixel(DisplayFormat()) == 32) {
        // Made when first used: the many pictures a board never shows (other
        // scenes, cards and dialogs) take no memory, nor the time to resample.
        DenseHead head;
        if (ReadDenseHead(head, archive) != 0) return;
        const bool resampled = std::fabs(scale - pictureDensity) >= 1e-9;
        const int w = resampled ? ScaledSize(head.width / pictureDensity, scale) : head.width;
        const int h = resampled ? ScaledSize(head.height / pictureDensity, scale) : head.height;
        serial = ++gTextureSerial;
        Defer(w, h, PixelFormat::A8R8G8B8);
        created = 1;
        textureFormat = PixelFormat::A8R8G8B8;
        width = w;
        height = h;
        xOrigin = head.xOrigin;
        yOrigin = head.yOrigin;
        TakeDensity(pictureDensity, scale);
        return;
    }
    auto decoded = std::make_unique<MImage>();
    if (LoadDenseImage(*decoded, archive) != 0) return;
    ResampleToScale(*decoded, pictureDensity, scale);
    serial = ++gTextureSerial;
    image = std::move(decoded);
    if (BuildTexture(false) == 0) KeepSourceInstead(false);
    image.reset();
    TakeDensity(pictureDensity, scale);
}

MTexture::MTexture(int blankWidth, int blankHeight) { CreateBlank(blankWidth, blankHeight, 1); }

MTexture::~MTexture() = default;

int MTexture::SetImage(const MImage& source, int buildWidth, int buildHeight) {
    serial = ++gTextureSerial;
    return MCanvas::SetImage(source, buildWidth, buildHeight);
}

void MTexture::UpdateSize() { MCanvas::UpdateSize(); }

int MTexture::CreateBlank(int blankWidth, int blankHeight, int /*levels: one level is all a 2-D renderer keeps*/) {
    return CreateSized(PowerOfTwoAtLeast(std::max(1, blankWidth)), PowerOfTwoAtLeast(std::max(1, blankHeight)));
}

int MTexture::CreateSized(int w, int h) {
    ReleaseStore();
    created = 1;
    const PixelFormat display = DisplayFormat();
    PixelFormat candidates[3] = {};
    int count = 0;
    if (BitsPerPixel(display) == 32) {
        candidates[count++] = PixelFormat::A8R8G8B8;
        candidates[count++] = display;
    } else if (BitsPerPixel(display) == 16) {
        candidates[count++] = PixelFormat::A4R4G4B4;
        candidates[count++] = PixelFormat::A1R5G5B5;
        candidates[count++] = display;
    }
    for (int i = 0; i < count; ++i) {
        if (CreateStore(w, h, candidates[i], true) == 0) {
            textureFormat = candidates[i];
            width = w;
            height = h;
            return 0;
        }
    }
    created = 0;
    textureFormat = PixelFormat::Unknown;
    return kResultTextureCreateFailed;
}

int MTexture::Build(int, int) { return BuildTexture(true); }

int MTexture::BuildTexture(bool padded) {
    if (!image) return kResultNoImage;
    const int made = padded ? CreateBlank(image->width, image->height, 1)
                            : CreateSized(std::max(1, image->width), std::max(1, image->height));
    if (made != 0) return kResultTextureCreateFailed;
    std::uint8_t* texels = StoreData();
    if (!texels) return kResultTextureLockFailed;
    if (!ConvertImage(*image, textureFormat, false, texels, StorePitch())) return kResultTextureLockFailed;
    if (UploadStore() != 0) return kResultTextureLockFailed;
    UpdateSize();
    UpdateOrigin();
    return 0;
}

int MTexture::LoadFile(const char* fileName, int wantWidth, int wantHeight) {
    if (!fileName) return kResultTextureCreateFailed;
    MImage decoded;
    try {
        MFileMMIO file;
        char name[FileSpec::kLength * 2];
        std::snprintf(name, sizeof name, "%s", fileName);
        if (file.OpenFile(name, kModeReadExistingBinary, kByteOrderLittle) != 0) return kResultTextureCreateFailed;
        if (decoded.Load(file) != 0) return kResultTextureCreateFailed;
    } catch (const CException&) {
        return kResultTextureCreateFailed;  // a short file: the platform layer reports, never throws
    }
    // Opaque black is the colour key: it becomes transparent black.
    for (std::uint32_t& pixel : decoded.pixels)
        if (pixel == 0x000000FFu) pixel = 0;
    const int w = wantWidth > 0 ? wantWidth : decoded.width;
    const int h = wantHeight > 0 ? wantHeight : decoded.height;
    if (CreateBlank(w, h, 1) != 0) return kResultTextureCreateFailed;
    // No filter: the picture lands at the top left, cut to the texture.
    MImage placed = decoded;
    placed.width = std::min(decoded.width, w);
    placed.height = std::min(decoded.height, h);
    placed.pixels.resize(static_cast<std::size_t>(placed.width) * placed.height);
    for (int y = 0; y < placed.height; ++y)
        std::copy_n(&decoded.pixels[static_cast<std::size_t>(y) * decoded.width], placed.width,
                    &placed.pixels[static_cast<std::size_t>(y) * placed.width]);
    if (!ConvertImage(placed, textureFormat, false, StoreData(), StorePitch()) || UploadStore() != 0)
        return kResultTextureCreateFailed;
    width = w;
    height = h;
    xOrigin = decoded.xOrigin;
    yOrigin = decoded.yOrigin;
    return 0;
}

int MTexture::Draw(const RECT* dest, const RECT* source, int flags) {
    return DrawEx(dest, source, flags, 0xFFFFFFFFu, 0.0f, nullptr);
}

int MTexture::DrawEx(const RECT* dest, const RECT* source, int flags, D3DCOLOR colour, float angle,
                     const POINT* centre) {
    if (!MakeDeferred()) return kResultDrawFailed;
    SDL_Texture* texture = DeviceObject();
    MRenderDevice* device = MRenderDevice::Current();
    SDL_Renderer* renderer = device ? device->GetSprite() : nullptr;
    if (!texture || !renderer) return kResultDrawFailed;

    // Source rectangles are in design pixels; a denser picture has more texels.
    const RECT whole{0, 0, density > 1 ? width : StoreWidth(), density > 1 ? height : StoreHeight()};
    const RECT part = source ? *source : whole;
    const SDL_Rect design{part.left, part.top, part.right - part.left, part.bottom - part.top};
    const RECT inTexels = TexelsOf(part);
    const SDL_Rect texels{inTexels.left, inTexels.top, inTexels.right - inTexels.left, inTexels.bottom - inTexels.top};
    const SDL_Rect& src = design;
    if (src.w <= 0 || src.h <= 0 || texels.w <= 0 || texels.h <= 0) return 0;  // nothing to draw
    float scaleX = 1.0f, scaleY = 1.0f, x = 0.0f, y = 0.0f;
    if (dest) {
        x = static_cast<float>(dest->left);
        y = static_cast<float>(dest->top);
        if (source) {
            scaleX = static_cast<float>(dest->right - dest->left) / static_cast<float>(src.w);
            scaleY = static_cast<float>(dest->bottom - dest->top) / static_cast<float>(src.h);
        }
    }
    const float drawnW = src.w * std::fabs(scaleX), drawnH = src.h * std::fabs(scaleY);
    int flip = SDL_FLIP_NONE;
    // A mirror flips the picture inside the destination's width (or height).
    if (dest && (flags & kDrawMirrorX)) {
        flip |= SDL_FLIP_HORIZONTAL;
        x += static_cast<float>(dest->right - dest->left) - drawnW;
    }
    if (dest && (flags & kDrawMirrorY)) {
        flip |= SDL_FLIP_VERTICAL;
        y += static_cast<float>(dest->bottom - dest->top) - drawnH;
    }
    const SDL_FRect to{x, y, drawnW, drawnH};
    // A picture at the output's scale drawn at its size is copied texel for
    // pixel (a resampling here would undo the sharpness it was read with).
    const bool exact = density > 1 && flip == SDL_FLIP_NONE && angle == 0.0f && scaleX == 1.0f && scaleY == 1.0f &&
                       device->IsPixelExact(texelScale, x, y, src.w, src.h, texels.w, texels.h);
    SDL_SetTextureScaleMode(texture, device->SmoothsPictures() && !exact ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);

    SDL_SetTextureColorMod(texture, static_cast<Uint8>(colour >> 16), static_cast<Uint8>(colour >> 8),
                           static_cast<Uint8>(colour));
    SDL_SetTextureAlphaMod(texture, static_cast<Uint8>(colour >> 24));
    int result;
    if (exact) {
        const SDL_FRect onPixels = device->PixelExactRect(x, y, texels.w, texels.h);
        result = SDL_RenderCopyF(renderer, texture, &texels, &onPixels);
    } else if (flip == SDL_FLIP_NONE && angle == 0.0f) {
        result = SDL_RenderCopyF(renderer, texture, &texels, &to);
    } else {
        // The turn is about the centre in the picture's own space, whose origin a
        // mirror moves to the far edge of the drawn picture.
        SDL_FPoint pivot{centre ? static_cast<float>(centre->x) : src.w / 2.0f,
                         centre ? static_cast<float>(centre->y) : src.h / 2.0f};
        if (flip & SDL_FLIP_HORIZONTAL) pivot.x += drawnW;
        if (flip & SDL_FLIP_VERTICAL) pivot.y += drawnH;
        result = SDL_RenderCopyExF(renderer, texture, &texels, &to, Degrees(angle), &pivot,
                                   static_cast<SDL_RendererFlip>(flip));
    }
    return result == 0 ? 0 : kResultDrawFailed;
}

int MTexture::Fill(D3DCOLOR value) {
    if (!EnsureStore()) return kResultFail;
    ForgetSource();
    std::uint8_t* texels = StoreData();
    if (!texels) return kResultFail;
    const std::size_t capacity = static_cast<std::size_t>(StorePitch()) * StoreHeight() / 4;
    const std::size_t count = std::min(capacity, static_cast<std::size_t>(std::max(0, width)) * std::max(0, height));
    for (std::size_t i = 0; i < count; ++i) std::memcpy(texels + 4 * i, &value, 4);
    return UploadStore() == 0 ? 0 : kResultFail;
}

int MTexture::Fill16(std::uint16_t value) {
    if (!EnsureStore()) return kResultFail;
    ForgetSource();
    std::uint8_t* texels = StoreData();
    if (!texels) return kResultFail;
    const std::size_t capacity = static_cast<std::size_t>(StorePitch()) * StoreHeight() / 2;
    const std::size_t count = std::min(capacity, static_cast<std::size_t>(std::max(0, width)) * std::max(0, height));
    for (std::size_t i = 0; i < count; ++i) std::memcpy(texels + 2 * i, &value, 2);
    return UploadStore() == 0 ? 0 : kResultFail;
}

void* MTexture::Lock(const RECT* area, int* pitch, std::uint32_t flags) {
    // A picture of the archive is read again for the lock; a write keeps the copy.
    if (!EnsureStore()) return nullptr;  // "MTexture::Lock failed" is only a trace
    std::uint8_t* texels = StoreData();
    RECT whole{0, 0, StoreWidth(), StoreHeight()};
    RECT part = area ? *area : whole;
    if (part.left < 0 || part.top < 0 || part.right > whole.right || part.bottom > whole.bottom ||
        part.left >= part.right || part.top >= part.bottom) {
        DropReadCopy();
        return nullptr;
    }
    locked = 1;
    lockedReadOnly = (flags & kLockReadOnly) != 0;
    lockedArea = part;
    if (!lockedReadOnly) ForgetSource();
    if (pitch) *pitch = StorePitch();
    return texels + static_cast<std::size_t>(part.top) * StorePitch() + part.left * (BitsPerPixel(textureFormat) / 8);
}

void MTexture::Unlock() {
    if (!locked) return;
    locked = 0;
    if (!lockedReadOnly)
        UploadStore(&lockedArea);
    else
        DropReadCopy();
}
