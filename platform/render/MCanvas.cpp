#include "platform/render/MCanvas.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/core/CException.h"
#include "platform/render/MDenseImage.h"
#include "platform/render/MRenderDevice.h"
#include "platform/render/MResample.h"
#include "platform/storage/BFile.h"
#include "platform/storage/MFileMMIO.h"

namespace {

// A file read only up to a limit, as a chunk would be: the decoder takes what
// remains as the picture's data.
class MFileSlice : public MFileMMIO {
public:
    explicit MFileSlice(long limit) : end(limit) {}
    long Remaining() override { return std::max(0L, end - Tell()); }

private:
    long end;
};

}  // namespace

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

void MCanvas::TakeDensity(int pictureDensity, double scale) {
    if (pictureDensity <= 1) return;
    density = pictureDensity;
    texelScale = scale;
    // Above one texel a design pixel the scaled size rounds back to the design's.
    width = static_cast<int>(std::lround(width / scale));
    height = static_cast<int>(std::lround(height / scale));
    xOrigin = static_cast<std::int16_t>(xOrigin / density);
    yOrigin = static_cast<std::int16_t>(yOrigin / density);
}

RECT MCanvas::TexelsOf(const RECT& design) const {
    if (texelScale == 1.0) return design;
    auto at = [&](int value, int whole, int texels) {
        return value == whole ? texels : static_cast<int>(std::lround(value * texelScale));
    };
    return RECT{at(design.left, width, storeWidth), at(design.top, height, storeHeight),
                at(design.right, width, storeWidth), at(design.bottom, height, storeHeight)};
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
    SDL_SetTextureScaleMode(object, device->SmoothsPictures() ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
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
    source = Source{};
    deferred = false;
    transparentMask.clear();
    transparentMask.shrink_to_fit();
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
    if (deferred || (store.empty() && source.path.empty())) return 0;
    if (object) SDL_DestroyTexture(object);
    object = nullptr;
    if (CreateObject() != 0) return -1;
    if (!store.empty()) return UploadStore();
    std::vector<std::uint8_t> pixels;
    if (!ReadSource(pixels)) return -1;
    return SDL_UpdateTexture(object, nullptr, pixels.data(), storePitch) == 0 ? 0 : -1;
}

void MCanvas::NoteSource(MFileMMIO& file, int pictureDensity, double scale) {
    noted = Source{};
    if (file.GetPath().empty()) return;
    // Read again through the open file, not its name: the name may come to
    // name another file (an upgrade of the game while it runs).
    noted.file = file.HoldOpenFile();
    noted.path = noted.file ? noted.file->Path() : file.GetPath();
    noted.density = pictureDensity;
    noted.scale = scale;
    noted.offset = file.Tell();
    noted.length = file.Remaining();
}

void MCanvas::KeepSourceInstead(bool surfaceRules) {
    Source from = std::move(noted);
    noted = Source{};
    if (from.path.empty() || store.empty() || !image || image->width != storeWidth || image->height != storeHeight)
        return;
    source = std::move(from);
    source.surfaceRules = surfaceRules;
    transparentMask.clear();
    // Surfaces are never transparent; a texture's test reads this mask.
    if (!surfaceRules) BuildMask(store.data());
    store.clear();
    store.shrink_to_fit();
}

void MCanvas::BuildMask(const std::uint8_t* texels) {
    const int bytes = BitsPerPixel(storeFormat) / 8;
    const std::size_t rowBytes = (static_cast<std::size_t>(storeWidth) + 7) / 8;
    transparentMask.assign(rowBytes * storeHeight, 0);
    for (int y = 0; y < storeHeight; ++y)
        for (int x = 0; x < storeWidth; ++x)
            if (TexelIsTransparent(storeFormat, &texels[static_cast<std::size_t>(y) * storePitch + x * bytes]))
                transparentMask[y * rowBytes + x / 8] |= static_cast<std::uint8_t>(1u << (x % 8));
}

void MCanvas::Defer(int w, int h, PixelFormat format) {
    ReleaseStore();
    Source from = std::move(noted);
    noted = Source{};
    const int bytes = BitsPerPixel(format) / 8;
    if (from.path.empty() || w <= 0 || h <= 0 || bytes == 0) return;
    source = std::move(from);
    storeWidth = w;
    storeHeight = h;
    storeFormat = format;
    storeBlended = true;
    storePitch = w * bytes;
    deferred = true;
}

bool MCanvas::MakeDeferred() {
    if (MRenderDevice* device = MRenderDevice::Current()) lastUse = device->GetPresentCount();
    if (!deferred) return true;
    if (CreateObject() != 0) return false;  // no renderer yet: a later use tries again
    deferred = false;
    std::vector<std::uint8_t> pixels;
    if (!ReadSource(pixels) || SDL_UpdateTexture(object, nullptr, pixels.data(), storePitch) != 0) {
        SDL_DestroyTexture(object);
        object = nullptr;
        source = Source{};
        if (MRenderDevice* device = MRenderDevice::Current()) device->LosePictures();
        return false;
    }
    MRenderDevice::AddCanvas(this);
    BuildMask(pixels.data());
    return true;
}

bool MCanvas::ReadSource(std::vector<std::uint8_t>& into) const {
    if (source.path.empty()) return false;
    MImage decoded;
    try {
        MFileSlice file(source.offset + source.length);
        std::vector<char> name(source.path.begin(), source.path.end());
        name.push_back('\0');
        if (file.OpenFile(name.data(), kModeReadExistingBinary, kByteOrderLittle) != 0) return false;
        if (file.Seek(source.offset, kSeekBegin) != source.offset) return false;
        if ((source.density > 1 ? LoadDenseImage(decoded, file) : decoded.Load(file)) != 0) return false;
        if (source.density > 1) ResampleToScale(decoded, source.density, source.scale);
    } catch (const CException&) {
        return false;  // the file changed or went: nothing to rebuild from
    }
    if (decoded.width != storeWidth || decoded.height != storeHeight) return false;
    into.assign(static_cast<std::size_t>(storePitch) * storeHeight, 0);
    return ConvertImage(decoded, storeFormat, source.surfaceRules, into.data(), storePitch);
}

int MCanvas::DeferAgainIfUnusedSince(long frame, std::size_t largerThan) {
    if (deferred || !object || !store.empty() || source.density <= 1 || source.surfaceRules || lastUse >= frame ||
        static_cast<std::size_t>(storePitch) * storeHeight <= largerThan)
        return 0;
    SDL_DestroyTexture(object);
    object = nullptr;
    transparentMask.clear();
    transparentMask.shrink_to_fit();
    deferred = true;
    MRenderDevice::RemoveCanvas(this);
    return 1;
}

bool MCanvas::EnsureStore() {
    if (!store.empty()) return true;
    if (!MakeDeferred()) return false;
    return ReadSource(store);
}

void MCanvas::ForgetSource() {
    if (store.empty()) return;
    source = Source{};
    transparentMask.clear();
    transparentMask.shrink_to_fit();
}

void MCanvas::DropReadCopy() {
    if (source.path.empty()) return;
    store.clear();
    store.shrink_to_fit();
}

int MCanvas::IsTexelTransparent(int column, int row) {
    if (column < 0 || row < 0 || column >= storeWidth || row >= storeHeight) return 1;
    MakeDeferred();
    if (!transparentMask.empty()) {
        const std::size_t rowBytes = (static_cast<std::size_t>(storeWidth) + 7) / 8;
        return (transparentMask[row * rowBytes + column / 8] >> (column % 8)) & 1;
    }
    if (store.empty()) return 0;  // nothing to read counts as opaque
    const int bytes = BitsPerPixel(storeFormat) / 8;
    return TexelIsTransparent(storeFormat, &store[static_cast<std::size_t>(row) * storePitch + column * bytes]);
}

void MCanvas::DropCopy() {
    source = Source{};
    transparentMask.clear();
    transparentMask.shrink_to_fit();
    store.clear();
    store.shrink_to_fit();
}

void MCanvas::DropDeviceObject() {
    // The renderer frees its textures itself when it is destroyed.
    object = nullptr;
}
