#pragma once
// A drawable picture: decoded pixels turned into a device object of the
// renderer. A picture read from the asset archive keeps no copy of its pixels:
// a renderer reset reads it from the archive again, and the transparency test
// reads a one-bit mask of it. Any other canvas (a blank texture, a picture
// given as an image, one whose pixels were written) keeps a CPU copy of the
// device object's pixels in the object's own format for both, unless its
// owner draws it again after a reset (DropCopy).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/render/MGraphicsTypes.h"
#include "formats/MImage.h"
#include "platform/render/MPixelFormats.h"
#include "platform/core/ResultCodes.h"
#include "platform/storage/MHeldFile.h"

struct SDL_Texture;
class MFileMMIO;

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

    // Makes the device object again (after a renderer reset) from the CPU copy,
    // or from the archive the picture was read from. 0, or -1.
    int RestoreDeviceObject();
    // The renderer is going away: forget the device object, keep the CPU copy
    // (or where the picture can be read again).
    void DropDeviceObject();
    // The owner draws the pixels again itself after a renderer reset: the CPU
    // copy goes, and a reset leaves the device object to the owner.
    void DropCopy();

    SDL_Texture* DeviceObject() const { return object; }
    int StoreWidth() const { return storeWidth; }
    int StoreHeight() const { return storeHeight; }
    PixelFormat StoreFormat() const { return storeFormat; }
    // The CPU copy (rows StorePitch bytes apart), or null (also while a
    // picture of the archive keeps none).
    const std::uint8_t* StorePixels() const { return store.empty() ? nullptr : store.data(); }
    int StorePitch() const { return storePitch; }
    // 1 when the pixels are not kept but read again from the archive.
    int IsReadAgain() const { return source.path.empty() ? 0 : 1; }
    // The mouse's test of the texel at (column, row) by the format's alpha: 1
    // transparent (also outside the picture), 0 opaque or unreadable.
    int IsTexelTransparent(int column, int row);
    // 1 while a denser picture waits to be made at its first use.
    int IsDeferred() const { return deferred ? 1 : 0; }
    // A texture's denser picture of more than largerThan bytes that no frame from frame
    // on has used goes back to waiting for its next use, freeing its texture;
    // 1 when it did.
    int DeferAgainIfUnusedSince(long frame, std::size_t largerThan);

    // A picture of a higher density: the device object holds density x density
    // pixels per design pixel (or scale x scale where it was brought to the
    // output's scale); size and origin become those of the design.
    void TakeDensity(int pictureDensity, double scale);
    int GetDensity() const { return density; }
    double GetTexelScale() const { return texelScale; }
    // The texels of a rectangle of design pixels.
    RECT TexelsOf(const RECT& design) const;

    std::unique_ptr<MImage> image;  // held only while building
    int created = 0;
    int height = 0;
    int width = 0;
    std::int16_t xOrigin = 0;
    std::int16_t yOrigin = 0;
    int density = 1;
    double texelScale = 1.0;  // texels per design pixel

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

    // Notes where the picture about to be decoded lies: the rest of the
    // current chunk of the file.
    // A denser picture is brought to scale texels a design pixel.
    void NoteSource(MFileMMIO& file, int pictureDensity = 1, double scale = 1.0);
    // Whether the picture being built can be read again from where it lies.
    bool IsReadAgainNoted() const { return !noted.path.empty(); }
    // Built from the noted picture of image's size: the CPU copy goes, and a
    // texture keeps its transparency mask. Otherwise the note is dropped.
    void KeepSourceInstead(bool surfaceRules);
    // The CPU copy, read again where it is not kept; false when that fails.
    bool EnsureStore();
    // Pixels are about to be written: the CPU copy stays from now on.
    void ForgetSource();
    // A copy read for a read-only lock goes again.
    void DropReadCopy();
    // The noted picture is made only when first drawn, tested or locked, as
    // w x h texels in format: until then it takes no memory but its note.
    void Defer(int w, int h, PixelFormat format);
    // A deferred picture is made now (read, converted, sent to the device).
    // false when it cannot be: without a renderer it waits on; a picture that
    // cannot be read tells the render device its pictures are lost.
    bool MakeDeferred();

private:
    struct Source {
        std::string path;  // empty: the CPU copy is kept
        std::shared_ptr<const MHeldFile> file;  // keeps the file behind path open
        long offset = 0;
        long length = 0;
        bool surfaceRules = false;
        int density = 1;  // above 1: an "rgbz" picture
        double scale = 1.0;  // texels per design pixel it is brought to
    };

    int CreateObject();
    // The picture read again and converted into the store's format.
    bool ReadSource(std::vector<std::uint8_t>& into) const;
    // The one-bit transparency mask of the store's size, from texels in its format.
    void BuildMask(const std::uint8_t* texels);

    std::vector<std::uint8_t> store;
    int storeWidth = 0;
    int storeHeight = 0;
    int storePitch = 0;
    PixelFormat storeFormat = PixelFormat::Unknown;
    bool storeBlended = true;
    SDL_Texture* object = nullptr;
    bool deferred = false;
    long lastUse = 0;  // the render device's present count at the last use
    Source source;
    Source noted;  // the picture being built, until it is
    std::vector<std::uint8_t> transparentMask;  // one bit a texel, rows of storeWidth bits
};

// The SDL pixel format of a device format (0 when there is none).
std::uint32_t SdlFormatOf(PixelFormat format);
