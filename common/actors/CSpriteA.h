#pragma once
// A sprite array: a numbered, growable run of sprite frames, normally one
// "anim" entry of the asset archive (an animation, or a font's glyphs).

#include <cstdint>
#include <memory>

class CFileMM;
class CSprite;

// The most frames an array counts (its count is 16-bit).
constexpr int kMaxFrames = 0x7FFF;

class CSpriteArray {
public:
    // capacity empty entries (none when they cannot be allocated).
    explicit CSpriteArray(int capacity);
    CSpriteArray(const CSpriteArray&) = delete;
    CSpriteArray& operator=(const CSpriteArray&) = delete;

    virtual ~CSpriteArray();
    // Reads n "rgba" chunks into entries 0 .. n - 1; count = n. 0, or the error
    // of Set (kResultArrayOrMusicFailed when the array could not grow).
    virtual int Load(CFileMM& archive, int n, int useTexture);

    // Stores frame at i (growing as needed), releasing what was there. 0, or
    // kResultArrayOrMusicFailed.
    int Set(int i, CSprite* frame);
    // Makes room for index i: capacity + ((i - capacity) rounded down to a
    // multiple of 4) + 4. 0, or kResultArrayOrMusicFailed when the larger array
    // cannot be allocated.
    int Grow(int i);
    // The frame at i, or null (also for indices outside the array).
    CSprite* Get(int i) const;
    void ReleaseItem(int i);

    int GetCapacity() const { return capacity; }
    int GetCount() const { return count; }

    std::unique_ptr<std::unique_ptr<CSprite>[]> items;  // capacity entries, each a frame or null
    int capacity = 0;
    std::int16_t count = 0;
};

// Reads an "anim" chunk (frame count, then the frames) into a new array; null
// when a frame cannot be stored. A chunk of another kind throws CFileException
// ("common/CSpriteA", 100).
CSpriteArray* LoadSpriteArray(CFileMM& archive, int useTexture);

// Reads the frame count of the "anim" chunk just entered and checks it before
// it sizes anything: at most kMaxFrames, and no more frames than the bytes left
// in the chunk (and in the file) can hold. A count that does not fit throws
// CFileException (unit, line). A negative count is returned as it is.
int ReadFrameCount(CFileMM& archive, const char* unit, int line);
