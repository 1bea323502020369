#include "common/actors/CSpriteA.h"

#include <new>

#include "formats/CFileMM.h"
#include "common/actors/CSprite.h"
#include "platform/core/CException.h"

namespace {

constexpr const char* kUnit = "common/CSpriteA";
constexpr int kResultCannotGrow = 3;
// The smallest frame chunk: its header and a TGA header.
constexpr long kSmallestFrame = 8 + 18;

}  // namespace

CSpriteArray::CSpriteArray(int initialCapacity) {
    if (initialCapacity > 0) {
        items = new (std::nothrow) CSprite*[initialCapacity]();
        capacity = items ? initialCapacity : 0;
    }
}

CSpriteArray::~CSpriteArray() {
    for (int i = 0; i < capacity; ++i) ReleaseItem(i);
    delete[] items;
    items = nullptr;
    capacity = 0;
}

int CSpriteArray::Load(CFileMM& archive, int n, int useTexture) {
    // A negative count from damaged data loads nothing, like 0.
    count = static_cast<std::int16_t>(n > 0 ? n : 0);
    if (n <= 0) return 0;
    for (int i = 0; i < n; ++i) {
        CSprite* frame = new (std::nothrow) CSprite;
        if (!frame) {
            // The destructor must still find a consistent, empty array.
            for (int j = 0; j < capacity; ++j) ReleaseItem(j);
            delete[] items;
            items = nullptr;
            capacity = 0;
            throw CMemException(kUnit, 137);
        }
        try {
            frame->InitFrame(archive, useTexture);
        } catch (...) {
            delete frame;
            throw;
        }
        int result = Set(i, frame);
        if (result != 0) {
            delete frame;  // not stored: nobody else would free it
            return result;
        }
    }
    return 0;
}

int CSpriteArray::Set(int i, CSprite* frame) {
    if (i < 0) return kResultCannotGrow;  // no entry can hold it
    if (i >= capacity) {
        int result = Grow(i);
        if (result != 0) return result;
    }
    if (items[i] != frame) ReleaseItem(i);
    items[i] = frame;
    return 0;
}

int CSpriteArray::Grow(int i) {
    if (i < capacity) return 0;
    const long long wanted = static_cast<long long>(capacity) + ((static_cast<long long>(i) - capacity) / 4) * 4 + 4;
    if (wanted > 0x7FFFFFFF) return kResultCannotGrow;
    const int newCapacity = static_cast<int>(wanted);
    CSprite** larger = new (std::nothrow) CSprite*[newCapacity]();
    if (!larger) return kResultCannotGrow;
    for (int j = 0; j < capacity; ++j) larger[j] = items[j];
    delete[] items;
    items = larger;
    capacity = newCapacity;
    return 0;
}

CSprite* CSpriteArray::Get(int i) const {
    if (i < 0 || i >= capacity) return nullptr;
    return items[i];
}

void CSpriteArray::ReleaseItem(int i) {
    if (i < 0 || i >= capacity || !items[i]) return;
    delete items[i];  // the frame's destructor releases its picture
    items[i] = nullptr;
}

int ReadFrameCount(CFileMM& archive, const char* unit, int line) {
    long n = 0;
    archive.ReadLong(&n);
    // The count sizes an allocation: it must fit the bytes the chunk holds
    // and the array's 16-bit frame count before anything is allocated.
    // A negative count (4 bytes, sign-extended) allocates nothing; the caller decides.
    if (n > kMaxFrames || n * kSmallestFrame > archive.AvailableInChunk()) throw CFileException(unit, line);
    return static_cast<int>(n);
}

CSpriteArray* LoadSpriteArray(CFileMM& archive, int useTexture) {
    ChunkHeader header;
    archive.ReadChunkHeader(&header);
    if (header.id != kIdAnim) throw CFileException(kUnit, 100);
    const int n = ReadFrameCount(archive, kUnit, 100);
    CSpriteArray* array = new (std::nothrow) CSpriteArray(n);
    if (!array) throw CMemException(kUnit, 108);
    try {
        if (array->Load(archive, n, useTexture) != 0) {
            delete array;
            return nullptr;
        }
    } catch (...) {
        delete array;
        throw;
    }
    archive.Ascend();
    return array;
}
