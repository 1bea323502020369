// Sprite arrays: growth, loading from "anim" chunks, and the exceptions of
// wrong chunks. No renderer here: the frames carry no device objects.

#include <gtest/gtest.h>

#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"
#include "platform/core/CException.h"
#include "tests/support/SpriteArchiveWriter.h"

namespace {

using spritetest::ArchiveWriter;
using spritetest::Picture;

TEST(SpriteArray, GrowsInStepsOfFourPastTheIndex) {
    struct Case {
        int capacity, index, grown;
    } cases[] = {{4, 5, 8}, {4, 4, 8}, {4, 3, 4}, {4, 11, 12}, {4, 12, 16}, {0, 0, 4}, {0, 9, 12}};
    for (const Case& c : cases) {
        CSpriteArray array(c.capacity);
        EXPECT_EQ(array.Grow(c.index), 0);
        EXPECT_EQ(array.GetCapacity(), c.grown) << c.capacity << " grown for " << c.index;
    }
}

TEST(SpriteArray, SetGrowsKeepsEntriesAndReplacesWhatWasThere) {
    CSpriteArray array(2);
    auto* first = new CSprite;
    ASSERT_EQ(array.Set(1, first), 0);
    auto* far = new CSprite;
    ASSERT_EQ(array.Set(6, far), 0);
    EXPECT_EQ(array.GetCapacity(), 10);
    EXPECT_EQ(array.Get(1), first);
    EXPECT_EQ(array.Get(6), far);
    EXPECT_EQ(array.Get(5), nullptr);
    EXPECT_EQ(array.Get(10), nullptr);
    EXPECT_EQ(array.Get(-1), nullptr);
    ASSERT_EQ(array.Set(1, new CSprite), 0);  // the old frame is released (ASan watches)
    ASSERT_EQ(array.Set(6, far), 0);          // storing the same frame keeps it
    EXPECT_EQ(array.Get(6), far);
    array.ReleaseItem(6);
    EXPECT_EQ(array.Get(6), nullptr);
    array.ReleaseItem(7);  // empty: nothing happens
}

TEST(SpriteArray, LoadsAnimationsIncludingEmptyOnes) {
    ArchiveWriter writer;
    writer.Anim({});
    writer.Anim({Picture(2, 2, 0, 0, [](int, int) { return 0xFF0000FFu; }),
                 Picture(3, 1, -1, 0, [](int, int) { return 0x00FF00FFu; })});
    writer.AnimWithCount({}, -5);
    writer.Other(kIdWave);
    CFileMM archive;
    writer.OpenForReading(archive);

    CSpriteArray* empty = LoadSpriteArray(archive, 1);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->GetCount(), 0);
    delete empty;

    CSpriteArray* two = LoadSpriteArray(archive, 1);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->GetCount(), 2);
    EXPECT_EQ(two->GetCapacity(), 2);
    ASSERT_NE(two->Get(1), nullptr);
    EXPECT_EQ(two->Get(1)->isTexture, 1);
    delete two;

    CSpriteArray* negative = LoadSpriteArray(archive, 1);  // damaged count: nothing loaded
    ASSERT_NE(negative, nullptr);
    EXPECT_EQ(negative->GetCount(), 0);
    delete negative;

    ChunkHeader next;
    archive.ReadChunkHeader(&next);  // every loader left its chunk behind it
    EXPECT_EQ(next.id, kIdWave);
}

TEST(SpriteArray, WrongChunksThrowWithTheirUnitAndLine) {
    ArchiveWriter writer;
    writer.Other(kIdWave);
    writer.Rgba(Picture(1, 1, 0, 0, [](int, int) { return 0xFFFFFFFFu; }));
    writer.Anim({Picture(1, 1, 0, 0, [](int, int) { return 0xFFFFFFFFu; })});
    CFileMM archive;
    writer.OpenForReading(archive);
    try {
        delete CSprite::LoadFrame(archive, 1);
        FAIL() << "a wave chunk is no picture";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.Unit(), "common/CSprite");
        EXPECT_EQ(e.Line(), 72);
    }
    archive.Ascend();
    try {
        delete LoadSpriteArray(archive, 1);
        FAIL() << "an rgba chunk is no animation";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.Unit(), "common/CSpriteA");
        EXPECT_EQ(e.Line(), 100);
    }
    archive.Ascend();
    // A frame read where an animation stands: the frame loader rejects it too.
    CSprite frame;
    EXPECT_THROW(frame.InitFrame(archive, 0), CFileException);
}

// A count the chunk's bytes cannot hold is refused before it sizes anything:
// 12 bytes claiming 0x08000000 frames must not allocate a gigabyte first.
TEST(SpriteArray, CountsBeyondTheChunksBytesThrowBeforeAnyAllocation) {
    struct Case {
        long count;
        int frames;  // pictures really in the chunk
    } cases[] = {{0x08000000, 0}, {0x7FFFFFFF, 0}, {3, 0}, {2, 1}, {kMaxFrames + 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE("count " + std::to_string(c.count));
        ArchiveWriter writer;
        std::vector<MImage> frames(static_cast<std::size_t>(c.frames),
                                   Picture(1, 1, 0, 0, [](int, int) { return 0xFFFFFFFFu; }));
        writer.AnimWithCount(frames, c.count);
        writer.Anim(frames);  // more bytes behind it, which the count must not borrow
        CFileMM archive;
        writer.OpenForReading(archive);
        try {
            delete LoadSpriteArray(archive, 1);
            FAIL() << "no exception";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.Unit(), "common/CSpriteA");
            EXPECT_EQ(e.Line(), 100);
        }
    }
}

TEST(SpriteArray, AFrameWithoutAPictureDrawsNothingAndIsNeverTransparent) {
    CSprite frame;
    RECT dest{0, 0, 4, 4};
    EXPECT_EQ(frame.DrawFrame(&dest, nullptr, 0), 0);
    EXPECT_EQ(frame.IsTransparentAt(0, 0, 0, 0), 0);
    EXPECT_EQ(frame.isTexture, 1);
}

}  // namespace
