#include "common/actors/CSpriteA.h"

#include <new>
#include <utility>

#include "formats/CFileMM.h"
#include "common/actors/CSprite.h"
#include "platform/core/CException.h"
#include "platform/core/ResultCodes.h"

namespace {

constexpr const char* kUnit = "common/CSpriteA";
// The smallest frame chunk: its header and a TGA header.
constexpr long kSmallestFrame = 8 + 18;

// capacity null entries, or null when they cannot be allocated.
std::unique_ptr<std::unique_ptr<CSprite>[]> NewEntries(int capacity) {
    return std::unique_ptr<std::unique_ptr<CSprite>[]>(new (std::nothrow) std::unique_ptr<CSprite>[capacity]);
}

}  // namespace

CSpriteArray::CSpriteArray(int initialCapacity) {
    if (initialCapacity > 0) {
        items = NewEntries(initialCapacity);
        capacity = items ? initialCapacity : 0;
    }
}

CSpriteArray::~CSpriteArray() = default;

int CSpriteArray::Load(CFileMM& archive, int n, int useTexture) {
    // A negative count from damaged data loads nothing, like 0.
    count = static_cast<std::int16_t>(n > 0 ? n : 0);
    if (n <= 0) return 0;
    for (int i = 0; i < n; ++i) {
        std::unique_ptr<CSprite> frame(new (std::nothrow) CSprite);
        if (!frame) {
            // The destructor must still find a consistent, empty array.
            items.reset();
            capacity = 0;
            throw CMemException(kUnit, 137);
        }
        frame->InitFrame(archive, useTexture);
        const int result = Set(i, frame.get());
        if (result != 0) return result;  // not stored: freed with frame
        frame.release();                 // the entry holds it now
    }
    return 0;
}

int CSpriteArray::Set(int i, CSprite* frame) {
    if (i < 0) return kResultArrayOrMusicFailed;  // no entry can hold it
    if (i >= capacity) {
        int result = Grow(i);
        if (result != 0) return result;
    }
    if (items[i].get() != frame) items[i].reset(frame);
    return 0;
}

int CSpriteArray::Grow(int i) {
    if (i < capacity) return 0;
    const long long wanted = static_cast<long long>(capacity) + ((static_cast<long long>(i) - capacity) / 4) * 4 + 4;
    if (wanted > 0x7FFFFFFF) return kResultArrayOrMusicFailed;
    const int newCapacity = static_cast<int>(wanted);
    auto larger = NewEntries(newCapacity);
    if (!larger) return kResultArrayOrMusicFailed;
    for (int j = 0; j < capacity; ++j) larger[j] = std::move(items[j]);
    items = std::move(larger);
    capacity = newCapacity;
    return 0;
}

CSprite* CSpriteArray::Get(int i) const {
    if (i < 0 || i >= capacity) return nullptr;
    return items[i].get();
}

void CSpriteArray::ReleaseItem(int i) {
    if (i < 0 || i >= capacity) return;
    items[i].reset();  // the frame's destructor releases its picture
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
    std::unique_ptr<CSpriteArray> array(new (std::nothrow) CSpriteArray(n));
    if (!array) throw CMemException(kUnit, 108);
    if (array->Load(archive, n, useTexture) != 0) return nullptr;
    archive.Ascend();
    return array.release();
}
