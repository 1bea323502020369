#include "platform/render/MCanvas.h"

#include <SDL.h>

#include <algorithm>

#include "platform/render/MRenderDevice.h"

std::uint32_t SdlFormatOf(PixelFormat format) {
    switch (format) {
    case PixelFormat::A8R8G8B8: return SDL_PIXELFORMAT_ARGB8888;
    case PixelFormat::X8R8G8B8: return SDL_PIXELFORMAT_RGB888;
    case PixelFormat::R5G6B5: return SDL_PIXELFORMAT_RGB565;
    case PixelFormat::X1R5G5B5: return SDL_PIXELFORMAT_RGB555;
    case PixelFormat::A1R5G5B5: return SDL_PIXELFORMAT_ARGB1555;
    case PixelFormat::A4R4G4B4: return SDL_PIXELFORMAT_ARGB4444;
    default: return 0;
    }
}

MCanvas::MCanvas() = default;

MCanvas::~MCanvas() { ReleaseStore(); }

int MCanvas::SetImage(const MImage& source, int buildWidth, int buildHeight) {
    image = std::make_unique<MImage>(source);
    return Build(buildWidth, buildHeight);
}

void MCanvas::UpdateSize() {
    if (!image) return;
    width = image->width;
    height = image->height;
}

void MCanvas::UpdateOrigin() {
    if (!image) return;
    xOrigin = image->xOrigin;
    yOrigin = image->yOrigin;
}

int MCanvas::CreateObject() {
    MRenderDevice* device = MRenderDevice::Current();
    SDL_Renderer* renderer = device ? device->GetDevice() : nullptr;
    if (!renderer) return -1;
    object = SDL_CreateTexture(renderer, SdlFormatOf(storeFormat), SDL_TEXTUREACCESS_STATIC, storeWidth, storeHeight);
    if (!object) return -1;
    SDL_SetTextureBlendMode(object, storeBlended ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    // Scaled to a larger desktop in full screen, pictures are smoothed.
    SDL_SetTextureScaleMode(object, device->IsFullScreen() ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    return 0;
}

int MCanvas::CreateStore(int w, int h, PixelFormat format, bool blended) {
    ReleaseStore();
    const int bytes = BitsPerPixel(format) / 8;
    if (w <= 0 || h <= 0 || bytes == 0 || SdlFormatOf(format) == 0) return -1;
    storeWidth = w;
    storeHeight = h;
    storeFormat = format;
    storeBlended = blended;
    storePitch = w * bytes;
    if (CreateObject() != 0) {
        storeWidth = storeHeight = storePitch = 0;
        storeFormat = PixelFormat::Unknown;
        return -1;
    }
    store.assign(static_cast<std::size_t>(storePitch) * h, 0);
    MRenderDevice::AddCanvas(this);
    return 0;
}

void MCanvas::ReleaseStore() {
    if (object) SDL_DestroyTexture(object);
    object = nullptr;
    if (!store.empty() || storeWidth) MRenderDevice::RemoveCanvas(this);
    store.clear();
    store.shrink_to_fit();
    storeWidth = storeHeight = storePitch = 0;
    storeFormat = PixelFormat::Unknown;
}

int MCanvas::UploadStore(const RECT* area) {
    if (!object || store.empty()) return -1;
    if (!area) return SDL_UpdateTexture(object, nullptr, store.data(), storePitch) == 0 ? 0 : -1;
    const int left = std::clamp(area->left, 0, storeWidth), right = std::clamp(area->right, 0, storeWidth);
    const int top = std::clamp(area->top, 0, storeHeight), bottom = std::clamp(area->bottom, 0, storeHeight);
    if (right <= left || bottom <= top) return 0;
    SDL_Rect rect{left, top, right - left, bottom - top};
    const std::uint8_t* start =
        store.data() + static_cast<std::size_t>(top) * storePitch + left * (BitsPerPixel(storeFormat) / 8);
    return SDL_UpdateTexture(object, &rect, start, storePitch) == 0 ? 0 : -1;
}

int MCanvas::RestoreDeviceObject() {
    if (store.empty()) return 0;
    if (object) SDL_DestroyTexture(object);
    object = nullptr;
    if (CreateObject() != 0) return -1;
    return UploadStore();
}

void MCanvas::DropDeviceObject() {
    // The renderer frees its textures itself when it is destroyed.
    object = nullptr;
}
