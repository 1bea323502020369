// Sound and music while the device's thread pulls audio: every operation of
// the game thread races the callback here. test.sh also runs these under
// ThreadSanitizer, which reports any access the two threads do not share
// through the mixer's and the music manager's locks.

#include "tests/support/AudioTestSupport.h"

#include "platform/audio/MMusicSegment.h"

#include <chrono>
#include <thread>

using namespace audiotest;

namespace {

using Clock = std::chrono::steady_clock;

void Wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Waits up to 5 s for a condition made true by the device's thread.
template <typename Condition>
bool Eventually(Condition condition) {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        Wait(2);
    }
    return true;
}

// A second of a loud square wave, 16-bit mono at 22050 Hz.
Bytes Square() {
    Bytes data;
    for (int i = 0; i < 22050; ++i) Put16(data, (i / 50) % 2 ? 0x3000 : 0xD000);
    return MakeWave(1, 22050, 16, data);
}

class AudioThread : public AudioTest {
protected:
    void SetUp() override {
        AudioTest::SetUp();
        manager->Pause(0);  // the device's thread mixes from now on
    }
    // Music as the game starts it, when a SoundFont is installed.
    MMusicManager* Music() {
        if (MMusicManager::FindSoundFont().empty()) return nullptr;
        MMusicManager* music = MMusicManager::Get();
        return music->Initialize(nullptr, manager, 64, DMUS_APATH_DYNAMIC_STEREO) == 0 ? music : nullptr;
    }
    std::unique_ptr<MMusicSegment> Tune(MMusicManager* music) {
        const Bytes tune = Fixture("audio_tune.mid");
        MMusicSegment* segment = nullptr;
        EXPECT_EQ(music->LoadSegment(&segment, tune.data(), static_cast<DWORD>(tune.size()), 1, 1), 0);
        return std::unique_ptr<MMusicSegment>(segment);
    }
};

TEST_F(AudioThread, SoundsPlayStopAndChangeVolumeWhileTheDevicePulls) {
    auto looped = Load(Square(), 3);
    looped->Play(1);
    ASSERT_TRUE(Eventually([&] { return looped->GetVoicePosition(0) > 0; })) << "the device does not pull";
    for (int i = 0; i < 300; ++i) {
        switch (i % 6) {
        case 0: looped->Play(i % 12 == 0); break;
        case 1: looped->SetVolume(static_cast<float>(i % 100) / 100.0f); break;
        case 2: looped->Toggle(); break;
        case 3: looped->IsPlaying(); break;
        case 4: looped->Stop(); break;
        default: {
            // Sounds come and go while the mixer walks its list.
            auto brief = Load(Square());
            brief->Play(0);
            if (i % 4 == 1) Wait(1);
        }
        }
    }
    looped->Stop();
    const std::size_t stoppedAt = looped->GetVoicePosition(0);
    Wait(30);
    EXPECT_EQ(looped->GetVoicePosition(0), stoppedAt) << "a stopped voice does not move";
    looped->Play(0);
    EXPECT_TRUE(Eventually([&] { return looped->IsPlaying() == 0; })) << "a one-shot voice runs to its end";
}

TEST_F(AudioThread, MusicStartsAndStopsOnTheBeatWhileTheDevicePulls) {
    MMusicManager* music = Music();
    if (!music) GTEST_SKIP() << "no General MIDI SoundFont installed";
    auto tune = Tune(music);
    ASSERT_NE(tune, nullptr);
    tune->SetRepeats(DMUS_SEG_REPEAT_INFINITE);
    ASSERT_EQ(tune->Play(DMUS_SEGF_BEAT, nullptr), 0);
    EXPECT_EQ(tune->IsPlaying(), 1);
    const std::uint64_t startFrame = music->GetStreamFrame();
    ASSERT_TRUE(Eventually([&] { return music->GetStreamFrame() > startFrame + 2205; })) << "the device does not pull";
    for (int i = 0; i <= 100; ++i) {
        tune->SetVolume(static_cast<float>(i) / 100.0f);
        if (i % 25 == 0) Wait(1);
    }
    EXPECT_EQ(tune->IsPlaying(), 1);
    ASSERT_EQ(tune->Stop(DMUS_SEGF_BEAT), 0);
    EXPECT_TRUE(Eventually([&] { return tune->IsPlaying() == 0; })) << "the stop on the beat never came";
    // Deleting a segment while it plays takes it out of the stream at once.
    auto second = Tune(music);
    second->Play(DMUS_SEGF_SECONDARY, nullptr);
    Wait(20);
    second.reset();
    const std::uint64_t after = music->GetStreamFrame();
    EXPECT_TRUE(Eventually([&] { return music->GetStreamFrame() > after + 1000; }));
}

// The managers go at exit while the device may still be pulling; sounds and
// segments that outlive them stay safe to use and to delete.
TEST_F(AudioThread, TheManagersCanBeFreedInEitherOrderWhileAudioPlays) {
    for (bool soundFirst : {false, true}) {
        SCOPED_TRACE(soundFirst ? "sound manager first" : "music manager first");
        MSoundManager::Free();
        manager = MSoundManager::Get();
        ASSERT_EQ(manager->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 16), 0);
        auto sound = Load(Square(), 2);
        sound->Play(1);
        MMusicManager* music = Music();
        std::unique_ptr<MMusicSegment> tune = music ? Tune(music) : nullptr;
        if (tune) tune->Play(DMUS_SEGF_SECONDARY, nullptr);
        ASSERT_TRUE(Eventually([&] { return sound->GetVoicePosition(0) > 0; }));
        if (soundFirst) {
            MSoundManager::Free();
            MMusicManager::Free();
        } else {
            MMusicManager::Free();
            MSoundManager::Free();
        }
        EXPECT_EQ(sound->Stop(), 0);
        sound->Play(0);
        sound.reset();
        if (tune) {
            EXPECT_EQ(tune->IsPlaying(), 0);
            tune.reset();
        }
    }
}

}  // namespace
