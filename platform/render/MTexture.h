#pragma once
// A picture drawn through the renderer with alpha blending (source alpha,
// inverse source alpha), scaled, mirrored, rotated and tinted.

#include <cstdint>

#include "platform/render/MCanvas.h"

class MFileMMIO;

// Mirror flags of Draw and DrawEx.
constexpr int kDrawMirrorX = 0x01;
constexpr int kDrawMirrorY = 0x10;
// Lock flag: the caller only reads, so Unlock sends nothing to the device.
constexpr std::uint32_t kLockReadOnly = 0x10;

class MTexture : public MCanvas {
public:
    // Decodes the picture at the file's position (the data of an "rgba" chunk)
    // and builds a texture of its own size from it, keeping no copy: a
    // rebuilt renderer reads it again. An unsupported picture leaves no texture.
    explicit MTexture(MFileMMIO& archive);
    // The same from an "rgbz" chunk of that density (2 or 3), brought to
    // scale texels a design pixel.
    MTexture(MFileMMIO& archive, int pictureDensity, double scale);
    // An empty texture of at least width x height.
    MTexture(int width, int height);
    // No texture yet (LoadFile makes one).
    MTexture();

    ~MTexture() override;
    // A TGA file by name; opaque black becomes transparent. 0 or
    // kResultTextureCreateFailed.
    int LoadFile(const char* fileName, int width, int height) override;
    int SetImage(const MImage& source, int width, int height) override;
    int Build(int width, int height) override;
    void UpdateSize() override;

    // Width and height rounded up to powers of two; 32-bit textures on a 32-bit
    // display, A4R4G4B4 / A1R5G5B5 on a 16-bit one. 0 or
    // kResultTextureCreateFailed.
    int CreateBlank(int width, int height, int levels);

    int Draw(const RECT* dest, const RECT* source, int flags);
    int DrawEx(const RECT* dest, const RECT* source, int flags, D3DCOLOR colour, float angle, const POINT* centre);

    // width x height consecutive texels from the start (the pitch is not applied).
    int Fill(D3DCOLOR value);
    int Fill16(std::uint16_t value);

    // The CPU copy at area (or its start), read again from the archive where
    // none is kept; null without a texture.
    void* Lock(const RECT* area, int* pitch, std::uint32_t flags);
    // Sends what was locked for writing to the device.
    void Unlock();

    int GetSerial() const { return serial; }
    PixelFormat GetFormat() const { return textureFormat; }

    int serial = 0;
    PixelFormat textureFormat = PixelFormat::Unknown;

private:
    // A texture of exactly w x h in the first format the renderer takes.
    int CreateSized(int w, int h);
    // Build from the image, padded to powers of two or of the image's size.
    int BuildTexture(bool padded);

    int locked = 0;
    int lockedReadOnly = 0;
    RECT lockedArea{};
};

// The number the next texture built from an image takes is one more than this.
int LastTextureSerial();
