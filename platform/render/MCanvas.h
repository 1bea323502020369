#pragma once
// A drawable picture: decoded pixels turned into a device object of the
// renderer. The canvas keeps a CPU copy of the device object's pixels in the
// object's own format, so that a renderer reset rebuilds it and the
// transparency test reads it without touching the device.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/render/MGraphicsTypes.h"
#include "formats/MImage.h"
#include "platform/render/MPixelFormats.h"

struct SDL_Texture;

// Result codes of the canvases.
constexpr int kResultNoBackBuffer = 16;
constexpr int kResultSurfaceFileFailed = 17;
constexpr int kResultSurfaceLockFailed = 24;
constexpr int kResultTextureLockFailed = 25;
constexpr int kResultNoImage = 29;
constexpr int kResultSurfaceCreateFailed = 30;
constexpr int kResultTextureCreateFailed = 31;
constexpr int kResultDrawFailed = 36;
constexpr int kResultCopyFailed = 37;

class MCanvas {
public:
    MCanvas();
    MCanvas(const MCanvas&) = delete;
    MCanvas& operator=(const MCanvas&) = delete;

    virtual ~MCanvas();
    virtual int LoadFile(const char* fileName, int width, int height) = 0;
    // Takes a copy of the image, then Build (width, height).
    virtual int SetImage(const MImage& source, int width, int height);
    virtual int Build(int width, int height) = 0;
    virtual int GetWidth() { return width; }
    virtual int GetHeight() { return height; }
    virtual int GetOriginX() { return xOrigin; }
    virtual int GetOriginY() { return yOrigin; }
    virtual void UpdateSize();
    virtual void UpdateOrigin();

    // Makes the device object again from the CPU copy (after a renderer reset).
    // 0, or the creation failure of the canvas kind.
    int RestoreDeviceObject();
    // The renderer is going away: forget the device object, keep the CPU copy.
    void DropDeviceObject();

    SDL_Texture* DeviceObject() const { return object; }
    int StoreWidth() const { return storeWidth; }
    int StoreHeight() const { return storeHeight; }
    PixelFormat StoreFormat() const { return storeFormat; }
    // The CPU copy (rows StorePitch bytes apart), or null.
    const std::uint8_t* StorePixels() const { return store.empty() ? nullptr : store.data(); }
    int StorePitch() const { return storePitch; }

    std::unique_ptr<MImage> image;  // held only while building
    int created = 0;
    int height = 0;
    int width = 0;
    std::int16_t xOrigin = 0;
    std::int16_t yOrigin = 0;

protected:
    // A cleared CPU copy of w x h pixels in format and its device object
    // (blended or copied opaque). Returns 0, or -1 without a renderer or when
    // the device refuses; then nothing is kept.
    int CreateStore(int w, int h, PixelFormat format, bool blended);
    void ReleaseStore();
    // Sends the CPU copy (or the rows of area) to the device object; 0 or -1.
    int UploadStore(const RECT* area = nullptr);
    // The CPU copy's bytes; writable by the builders and locks.
    std::uint8_t* StoreData() { return store.empty() ? nullptr : store.data(); }

private:
    int CreateObject();

    std::vector<std::uint8_t> store;
    int storeWidth = 0;
    int storeHeight = 0;
    int storePitch = 0;
    PixelFormat storeFormat = PixelFormat::Unknown;
    bool storeBlended = true;
    SDL_Texture* object = nullptr;
};

// The SDL pixel format of a device format (0 when there is none).
std::uint32_t SdlFormatOf(PixelFormat format);
