// The SoundFont read in the background at start-up: music asked for before it
// is in still starts from its beginning, a SoundFont that will not load leaves
// the music silent instead of failing the start, and the manager can go at
// any moment of the load.

#include "tests/support/AudioTestSupport.h"

#include "platform/audio/MMusicSegment.h"

using namespace audiotest;

namespace {

constexpr int kRate = 22050;

class MusicInBackground : public AudioTest {
protected:
    void SetUp() override {
        AudioTest::SetUp();
        unsetenv("ZANBOR_SOUNDFONT");
        if (MMusicManager::FindSoundFont().empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
        music = MMusicManager::Get();
        music->LoadSoundFontInBackground(1);
    }
    void TearDown() override {
        unsetenv("ZANBOR_SOUNDFONT");
        AudioTest::TearDown();
    }
    std::unique_ptr<MMusicSegment> LoadTune() {
        const Bytes tune = Fixture("audio_tune.mid");
        MMusicSegment* segment = nullptr;
        EXPECT_EQ(music->LoadSegment(&segment, tune.data(), static_cast<DWORD>(tune.size()), 1, 1), 0);
        return std::unique_ptr<MMusicSegment>(segment);
    }

    MMusicManager* music = nullptr;
};

}  // namespace

TEST_F(MusicInBackground, MusicAskedForDuringTheLoadStartsFromItsBeginning) {
    ASSERT_EQ(music->Initialize(nullptr, manager, 64, DMUS_APATH_DYNAMIC_STEREO), 0);
    EXPECT_EQ(music->IsReady(), 1);
    auto tune = LoadTune();
    ASSERT_TRUE(tune);
    ASSERT_EQ(tune->SetRepeats(0), 0);
    ASSERT_EQ(tune->Play(DMUS_SEGF_SECONDARY, nullptr), 0);
    // Before the load has begun the stream's time stands still and it is silent.
    EXPECT_EQ(Peak(Mix(kRate / 10)), 0);
    EXPECT_EQ(music->GetStreamFrame(), 0u);
    music->StartSoundFontLoad();
    // Whether or not the SoundFont is in yet, the stream has not run past
    // what was mixed, and the music waits for it.
    Mix(kRate / 10);
    EXPECT_LE(music->GetStreamFrame(), static_cast<std::uint64_t>(kRate / 10));
    ASSERT_EQ(music->WaitForSoundFont(), 1);
    EXPECT_EQ(tune->IsPlaying(), 1);
    EXPECT_GT(Peak(Mix(kRate)), 1000);
    // The two-second tune is still playing after those 1.2 s of mixing:
    // none of it was skipped while the SoundFont was read.
    EXPECT_EQ(tune->IsPlaying(), 1);
}

TEST_F(MusicInBackground, ASoundFontThatWillNotLoadLeavesTheMusicSilent) {
    // The header of a SoundFont over nothing usable.
    Bytes broken = {'R', 'I', 'F', 'F', 8, 0, 0, 0, 's', 'f', 'b', 'k', 'L', 'I', 'S', 'T'};
    WriteFileBytes(folder / "broken.sf2", broken);
    setenv("ZANBOR_SOUNDFONT", (folder / "broken.sf2").c_str(), 1);
    ASSERT_EQ(music->Initialize(nullptr, manager, 64, DMUS_APATH_DYNAMIC_STEREO), 0);
    auto tune = LoadTune();
    ASSERT_TRUE(tune);
    EXPECT_EQ(tune->Play(DMUS_SEGF_SECONDARY, nullptr), 0);
    EXPECT_EQ(music->WaitForSoundFont(), 0);
    EXPECT_EQ(Peak(Mix(kRate / 2)), 0);
    EXPECT_EQ(music->GetStreamFrame(), 0u);
}

TEST_F(MusicInBackground, TheManagerCanGoWhileTheSoundFontIsRead) {
    for (int round = 0; round < 3; ++round) {
        music = MMusicManager::Get();
        music->LoadSoundFontInBackground(1);
        ASSERT_EQ(music->Initialize(nullptr, manager, 64, DMUS_APATH_DYNAMIC_STEREO), 0);
        auto tune = LoadTune();
        if (round > 0) music->StartSoundFontLoad();  // the first round never starts it
        Mix(256);
        tune.reset();
        MMusicManager::Free();  // waits for the load it started
    }
    music = nullptr;
}
