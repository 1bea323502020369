#include "platform/render/MSurface.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/storage/BFile.h"
#include "platform/core/CException.h"
#include "platform/storage/MFileMMIO.h"
#include "platform/render/MDenseImage.h"
#include "platform/render/MRenderDevice.h"
#include "platform/render/MResample.h"

namespace {

PixelFormat FormatOrDisplay(int format) {
    if (format != 0) return static_cast<PixelFormat>(format);
    MRenderDevice* device = MRenderDevice::Current();
    return device ? device->GetDisplayFormat() : PixelFormat::A8R8G8B8;
}

}  // namespace

MSurface::MSurface(MFileMMIO& archive, int format, int buildWidth, int buildHeight) {
    surfaceFormat = FormatOrDisplay(format);
    NoteSource(archive);
    auto decoded = std::make_unique<MImage>();
    if (decoded->Load(archive) != 0) return;  // unsupported: no image, no surface
    image = std::move(decoded);
    // A surface of the picture's size needs no copy: the archive keeps the pixels.
    if (Build(buildWidth, buildHeight) == 0) KeepSourceInstead(true);
    image.reset();
}

MSurface::MSurface(MFileMMIO& archive, int format, int pictureDensity, double scale) {
    surfaceFormat = FormatOrDisplay(format);
    NoteSource(archive, pictureDensity, scale);
    auto decoded = std::make_unique<MImage>();
    if (LoadDenseImage(*decoded, archive) != 0) return;
    ResampleToScale(*decoded, pictureDensity, scale);
    image = std::move(decoded);
    if (Build(0, 0) == 0) KeepSourceInstead(true);
    image.reset();
    TakeDensity(pictureDensity, scale);
}

MSurface::MSurface(int blankWidth, int blankHeight, int format) {
    surfaceFormat = FormatOrDisplay(format);
    if (CreateStore(blankWidth, blankHeight, surfaceFormat, false) == 0) {
        created = 1;
        UpdateSize();
    }
}

MSurface::~MSurface() = default;

void MSurface::UpdateSize() {
    width = GetDescWidth();
    height = GetDescHeight();
}

int MSurface::Build(int buildWidth, int buildHeight) {
    ReleaseStore();
    created = 0;
    if (!image) return kResultNoImage;
    const int w = buildWidth ? buildWidth : image->width;
    const int h = buildHeight ? buildHeight : image->height;
    if (CreateStore(w, h, surfaceFormat, false) != 0) return kResultSurfaceCreateFailed;
    created = 1;
    std::uint8_t* pixels = StoreData();
    if (!pixels) return kResultSurfaceLockFailed;
    // A picture larger than the surface is cut to it, never written past it.
    const MImage* source = image.get();
    MImage cut;
    if (image->width > w || image->height > h) {
        cut = *image;
        cut.width = std::min(image->width, w);
        cut.height = std::min(image->height, h);
        cut.pixels.resize(static_cast<std::size_t>(cut.width) * cut.height);
        for (int y = 0; y < cut.height; ++y)
            std::copy_n(&image->pixels[static_cast<std::size_t>(y) * image->width], cut.width,
                        &cut.pixels[static_cast<std::size_t>(y) * cut.width]);
        source = &cut;
    }
    if (!ConvertImage(*source, surfaceFormat, true, pixels, StorePitch()) || UploadStore() != 0)
        return kResultSurfaceLockFailed;
    UpdateSize();
    UpdateOrigin();
    return 0;
}

int MSurface::LoadFile(const char* fileName, int, int) {
    if (!fileName || !EnsureStore()) return kResultSurfaceFileFailed;
    ForgetSource();
    MImage decoded;
    try {
        MFileMMIO file;
        char name[FileSpec::kLength * 2];
        std::snprintf(name, sizeof name, "%s", fileName);
        if (file.OpenFile(name, kModeReadExistingBinary, kByteOrderLittle) != 0) return kResultSurfaceFileFailed;
        if (decoded.Load(file) != 0) return kResultSurfaceFileFailed;
    } catch (const CException&) {
        return kResultSurfaceFileFailed;
    }
    // No filter, no colour key: the picture lands at the top left, cut to the surface.
    const int w = std::min(decoded.width, StoreWidth()), h = std::min(decoded.height, StoreHeight());
    std::uint8_t* pixels = StoreData();
    const int bytes = BitsPerPixel(surfaceFormat) / 8;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t value = ConvertSurfacePixel(surfaceFormat, decoded.At(x, y));
            std::uint8_t* at = pixels + static_cast<std::size_t>(y) * StorePitch() + x * bytes;
            if (bytes == 4)
                std::memcpy(at, &value, 4);
            else {
                auto half = static_cast<std::uint16_t>(value);
                std::memcpy(at, &half, 2);
            }
        }
    if (UploadStore() != 0) return kResultSurfaceFileFailed;
    width = decoded.width;
    height = decoded.height;
    xOrigin = decoded.xOrigin;
    yOrigin = decoded.yOrigin;
    return 0;
}

int MSurface::CopyToBackBuffer(const POINT* destination, const RECT* source) {
    SDL_Texture* surface = DeviceObject();
    if (!surface) return 0;
    MRenderDevice* device = MRenderDevice::Current();
    SDL_Renderer* renderer = device ? device->GetDevice() : nullptr;
    if (!renderer) return kResultNoBackBuffer;  // "Unable to get back buffer." is only a trace
    // Rectangles are in design pixels; a denser picture has more texels.
    const int descWidth = density > 1 ? width : GetDescWidth(), descHeight = density > 1 ? height : GetDescHeight();
    RECT from = source ? *source : RECT{0, 0, std::min(width, descWidth), std::min(height, descHeight)};
    // The copy takes only rectangles that lie inside the surface.
    if (from.left < 0 || from.top < 0 || from.right > descWidth || from.bottom > descHeight ||
        from.left >= from.right || from.top >= from.bottom)
        return kResultCopyFailed;
    const SDL_Rect design{from.left, from.top, from.right - from.left, from.bottom - from.top};
    const RECT texels = TexelsOf(from);
    const SDL_Rect src{texels.left, texels.top, texels.right - texels.left, texels.bottom - texels.top};
    const SDL_Rect to{destination ? destination->x : from.left, destination ? destination->y : from.top, design.w,
                      design.h};
    // A picture at the output's scale is copied texel for pixel.
    const bool exact = density > 1 && device->IsPixelExact(texelScale, static_cast<float>(to.x), static_cast<float>(to.y),
                                                           to.w, to.h, src.w, src.h);
    SDL_SetTextureScaleMode(surface, device->SmoothsPictures() && !exact ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    const SDL_FRect onto = exact ? device->PixelExactRect(static_cast<float>(to.x), static_cast<float>(to.y), src.w, src.h)
                                 : SDL_FRect{static_cast<float>(to.x), static_cast<float>(to.y),
                                             static_cast<float>(to.w), static_cast<float>(to.h)};
    if (SDL_RenderCopyF(renderer, surface, &src, &onto) != 0) return kResultCopyFailed;  // "Unable to copy rects."
    return 0;
}
