#pragma once
// A sprite frame: one picture of the asset archive held as a texture (drawn with
// blending and mirroring) or as a surface (copied opaque), with its size and the
// offset from its actor's anchor to its top-left corner.

#include "platform/render/MGraphicsTypes.h"

class CFileMM;
class MTexture;
class MSurface;

class CSprite {
public:
    CSprite();
    ~CSprite();
    CSprite(const CSprite&) = delete;
    CSprite& operator=(const CSprite&) = delete;

    // A new frame from the "rgba" chunk at the archive's position.
    static CSprite* LoadFrame(CFileMM& archive, int useTexture);

    // Reads one "rgba" chunk into this frame and leaves the chunk; a chunk of
    // another kind throws CFileException ("common/CSprite", 72).
    void InitFrame(CFileMM& archive, int useTexture);
    void ReleaseFrame();
    // Draws the part source of the picture at dest: a texture mirrored by flip
    // (1, 16, 17), a surface copied at dest's corner. 0 when there is no picture.
    int DrawFrame(const RECT* dest, const RECT* source, int flip);
    // Whether the picture is transparent under (x, y) of the drawn frame, read
    // through the mirrors. Surfaces are never transparent.
    int IsTransparentAt(int x, int y, int flipV, int flipH);

    // Every frame read from archive at another density than density (or
    // brought to another scale than the output's) is read again, in place
    // (actors keep pointing at their frames); the archive's position is kept.
    // The screen calls it when the output's density or scale changes.
    static void ReloadAtDensity(CFileMM& archive, int density);

    MTexture* texture = nullptr;
    MSurface* surface = nullptr;
    int isTexture = 1;
    int ox = 0;
    int oy = 0;
    int w = 0;
    int h = 0;

private:
    void Forget();

    // Where the frame was read (its 1x "rgba" chunk), to read it again at
    // another density; the density its picture has.
    CFileMM* archive = nullptr;
    long place = -1;
    int density = 1;
    double scale = 1.0;  // texels per design pixel
};
