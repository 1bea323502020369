// The dice run of the archive: what LoadDieAssets reads from the packed
// archive and in which order, archives whose sounds or pictures are broken,
// and the die sounds' volume and stop on the real sound objects.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/CFileMM.h"
#include "common/scene/CScreen.h"
#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"
#include "game/play/DieAssets.h"
#include "platform/core/CException.h"
#include "platform/audio/MSound.h"
#include "platform/audio/MSoundManager.h"
#include "tests/support/AudioTestSupport.h"
#include "tests/support/ArchiveBuilder.h"
#include "tests/support/PictureMaker.h"

namespace {

class AssetScreen : public CScreen {
public:
    int CreateContent() override { return 0; }
};

class DieAssetsTest : public testing::Test {
protected:
    void SetUp() override {
        MSoundManager::Free();
        ASSERT_EQ(MSoundManager::Get()->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 16), 0);
        MSoundManager::Get()->Pause(1);
    }
    void TearDown() override {
        FreeDieAssets();
        delete screen;  // and its archive
        MSoundManager::Free();
    }
    void Open(const std::string& path) {
        screen = new AssetScreen;
        screen->archive = std::make_unique<CFileMM>();
        ASSERT_EQ(screen->archive->OpenArchive(MakeFileSpec(path.c_str()), kModeReadExisting), 0) << path;
    }

    AssetScreen* screen = nullptr;
    TempFolder folder;
};

std::vector<std::uint8_t> Wave() {
    return audiotest::MakeWave(1, 22050, 16, Bytes(400, 0x10));
}

MImage Square(int size) { return MakeImage(size, size, [](int, int) { return 0xFF2040A0u; }); }

// Entry 9 of a small archive: `sounds` good sounds, then the damage, then
// (unless cut short) the whole picture part of the run.
enum class Damage { None, GarbledSound, PictureForSound, SoundForArray };

std::string WriteRun(const std::string& path, int sounds, Damage damage) {
    ArchiveBuilder archive(path, 12);
    archive.Entry(kDiceEntry);
    for (int i = 0; i < sounds; ++i) archive.Chunk(kIdWave, Wave());
    if (damage == Damage::GarbledSound) archive.Chunk(kIdWave, std::vector<std::uint8_t>(40, 0x5A));
    if (damage == Damage::PictureForSound) archive.Picture(Square(8));
    const std::vector<MImage> six(6, Square(40));
    for (int i = 0; i < 12; ++i) archive.Anim(six);
    if (damage == Damage::SoundForArray) archive.Chunk(kIdWave, Wave());
    archive.Picture(Square(44));
    archive.Picture(Square(44));
    for (int i = 0; i < 4; ++i) archive.Anim(six);
    archive.Anim(std::vector<MImage>(4, Square(40)));
    return archive.Finish();
}

TEST_F(DieAssetsTest, ThePackedRunInItsOrder) {
    Open(std::string(ZANBOR_BIN_DIR) + "/zanborassets.mm");
    ASSERT_EQ(LoadDieAssets(screen), 0);
    const DieAssetSet& art = DieAssets();
    for (MSound* sound : art.sounds) ASSERT_NE(sound, nullptr);
    for (int colour = 0; colour < kDieColours; ++colour) {
        ASSERT_NE(art.faces[colour], nullptr);
        EXPECT_EQ(art.faces[colour]->GetCount(), 6) << colour;
        EXPECT_GT(art.rolls[colour]->GetCount(), 1) << colour;
        EXPECT_GT(art.glows[colour]->GetCount(), 1) << colour;
        EXPECT_EQ(art.dragFaces[colour]->GetCount(), 6) << colour;
    }
    ASSERT_NE(art.select, nullptr);
    ASSERT_NE(art.marker, nullptr);
    EXPECT_EQ(art.dragOverlay->GetCount(), kDieColours);
    // The run ends exactly where the score sheet's begins: with its sounds.
    ChunkHeader next;
    screen->archive->ReadChunkHeader(&next);
    EXPECT_EQ(next.id, kIdWave);

    // A second load frees the first (the leak check of the sanitizer build).
    ASSERT_EQ(LoadDieAssets(screen), 0);
    EXPECT_NE(DieAssets().faces[0], nullptr);
    FreeDieAssets();
    EXPECT_EQ(DieAssets().sounds[0], nullptr);
    EXPECT_EQ(DieAssets().dragOverlay, nullptr);
}

TEST_F(DieAssetsTest, ASoundThatCannotBeReadGives68AndKeepsWhatWasRead) {
    struct Case {
        const char* name;
        int goodSounds;
        Damage damage;
    } cases[] = {
        {"fifth sound missing", 4, Damage::None},
        {"third sound garbled", 2, Damage::GarbledSound},
        {"picture in place of the first sound", 0, Damage::PictureForSound},
    };
    for (const Case& c : cases) {
        delete screen;
        Open(WriteRun(folder / (std::string(c.name) + ".mm"), c.goodSounds, c.damage));
        EXPECT_EQ(LoadDieAssets(screen), kResultPlaySoundNotRead) << c.name;
        const DieAssetSet& art = DieAssets();
        for (int i = 0; i < kDieSoundCount; ++i) EXPECT_EQ(art.sounds[i] != nullptr, i < c.goodSounds) << c.name;
        EXPECT_EQ(art.faces[0], nullptr) << c.name;
    }
}

TEST_F(DieAssetsTest, ADamagedPictureThrowsAndEverythingReadIsStillFreed) {
    Open(WriteRun(folder / "sound-for-array.mm", 6, Damage::SoundForArray));
    EXPECT_THROW(LoadDieAssets(screen), CFileException);
    EXPECT_NE(DieAssets().glows[3], nullptr);
    EXPECT_EQ(DieAssets().select, nullptr);
    FreeDieAssets();  // the sanitizer build checks that nothing is left
    EXPECT_EQ(DieAssets().glows[3], nullptr);

    // The same run without the damage loads whole.
    delete screen;
    Open(WriteRun(folder / "whole.mm", 6, Damage::None));
    EXPECT_EQ(LoadDieAssets(screen), 0);
    EXPECT_EQ(DieAssets().dragOverlay->GetCount(), 4);
}

TEST_F(DieAssetsTest, VolumeReachesAllSixAndStopReachesTheRollSoundsOnly) {
    Open(WriteRun(folder / "volume.mm", 6, Damage::None));
    ASSERT_EQ(LoadDieAssets(screen), 0);
    const DieAssetSet& art = DieAssets();
    SetDieSoundVolume(0.5f);
    for (MSound* sound : art.sounds) EXPECT_EQ(sound->GetVolume(), -1666);

    for (MSound* sound : art.sounds) sound->Play(0);
    StopRollSounds();
    for (int i = 0; i < kDieSoundCount; ++i)
        EXPECT_EQ(art.sounds[i]->IsPlaying(), i < kDieSoundRollOne ? 1 : 0) << i;
    FreeDieAssets();
}

}  // namespace
