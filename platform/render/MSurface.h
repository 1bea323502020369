#pragma once
// A picture copied straight onto the back buffer, without blending or
// mirroring: the full-screen backgrounds and other opaque pictures.

#include "platform/render/MCanvas.h"

class MFileMMIO;

class MSurface : public MCanvas {
public:
    // Decodes the picture at the file's position and builds a surface of
    // width x height (the picture's size when either is 0) in format (a device
    // format number; 0 = the display format). A surface of the picture's size
    // keeps no copy of it: a rebuilt renderer reads it again.
    MSurface(MFileMMIO& archive, int format, int width, int height);
    // The same from an "rgbz" chunk of that density (2 or 3), at its own size
    // brought to scale texels a design pixel.
    MSurface(MFileMMIO& archive, int format, int pictureDensity, double scale);
    // A blank surface of width x height that LoadFile can fill.
    MSurface(int width, int height, int format);

    ~MSurface() override;
    // A TGA file by name into the existing surface (no scaling); keeps the
    // picture's size. 0 or kResultSurfaceFileFailed.
    int LoadFile(const char* fileName, int width, int height) override;
    int Build(int width, int height) override;
    void UpdateSize() override;

    // Copies source (the whole picture when null) to destination (the source's
    // own position when null). 0 without a surface; kResultNoBackBuffer or
    // kResultCopyFailed on failure.
    int CopyToBackBuffer(const POINT* destination, const RECT* source);

    int GetDescWidth() const { return StoreWidth(); }
    int GetDescHeight() const { return StoreHeight(); }

    PixelFormat surfaceFormat = PixelFormat::Unknown;
};
