// Music: MIDI segments on the synthesizer, rendered through the mixer into
// buffers, with the real SoundFont of the system (skipped without one).

#include "tests/support/AudioTestSupport.h"

#include "formats/CFileMM.h"
#include "platform/audio/MMusicSegment.h"
#include "tests/support/ArchiveBuilder.h"

#include <cmath>

using namespace audiotest;

namespace {

constexpr int kMusicRate = 22050;

class Music : public AudioTest {
protected:
    void SetUp() override {
        AudioTest::SetUp();
        unsetenv("ZANBOR_SOUNDFONT");
        if (MMusicManager::FindSoundFont().empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
        music = MMusicManager::Get();
        ASSERT_EQ(music->Initialize(nullptr, manager, 64, DMUS_APATH_DYNAMIC_STEREO), 0);
        ASSERT_EQ(music->IsReady(), 1);
    }

    std::unique_ptr<MMusicSegment> LoadTune(int download = 1) {
        const Bytes tune = Fixture("audio_tune.mid");
        MMusicSegment* segment = nullptr;
        EXPECT_EQ(music->LoadSegment(&segment, tune.data(), static_cast<DWORD>(tune.size()), download, 1), 0);
        return std::unique_ptr<MMusicSegment>(segment);
    }
    std::vector<std::int16_t> Seconds(double s) { return Mix(static_cast<int>(s * kMusicRate)); }

    // An archive whose entry 0 is a midi chunk followed by a chunk of 0xEE bytes.
    void WriteArchive(const Bytes& midi) {
        ArchiveBuilder writer(folder / "m.mm", 1);
        writer.Entry(0);
        writer.Chunk(kIdMidi, midi);
        writer.Chunk(kIdRgba, Bytes(8, 0xEE));
        writer.Finish();
    }
    int LoadFromArchive(MMusicSegment** out) {
        CFileMM archive;
        EXPECT_EQ(archive.OpenArchive(folder.Spec("m.mm"), kModeReadExisting), 0);
        archive.SeekEntry(0);
        ChunkHeader header;
        archive.ReadChunkHeader(&header);
        EXPECT_EQ(header.id, kIdMidi);
        const int result = music->LoadFromArchive(out, archive, 1, 1);
        archive.Ascend();
        archive.ReadChunkHeader(&header);
        EXPECT_EQ(header.id, kIdRgba) << "the next chunk stays where it was";
        return result;
    }

    MMusicManager* music = nullptr;
};

TEST_F(Music, ATuneFromAnotherProgramPlaysLoudlyAndEnds) {
    auto tune = LoadTune();
    ASSERT_TRUE(tune);
    EXPECT_EQ(tune->GetInfo().division, 480);
    EXPECT_EQ(tune->GetInfo().tempo, 250000u);
    EXPECT_EQ(tune->IsPlaying(), 0);
    ASSERT_EQ(tune->SetRepeats(0), 0);
    ASSERT_EQ(tune->Play(DMUS_SEGF_SECONDARY, nullptr), 0);
    EXPECT_EQ(tune->IsPlaying(), 1);
    EXPECT_GT(Peak(Seconds(1.0)), 1000);
    EXPECT_EQ(tune->IsPlaying(), 1);
    Seconds(0.9);
    EXPECT_EQ(tune->IsPlaying(), 1);
    Seconds(0.2);  // the tune lasts two seconds
    EXPECT_EQ(tune->IsPlaying(), 0);

    // One repeat: twice through, then the end.
    tune->SetRepeats(1);
    tune->Play(DMUS_SEGF_SECONDARY, nullptr);
    Seconds(3.9);
    EXPECT_EQ(tune->IsPlaying(), 1);
    Seconds(0.2);
    EXPECT_EQ(tune->IsPlaying(), 0);
}

TEST_F(Music, RepeatingForEverLoopsAndStopCutsAtOnce) {
    auto tune = LoadTune();
    ASSERT_EQ(tune->SetRepeats(DMUS_SEG_REPEAT_INFINITE), 0);
    ASSERT_EQ(tune->Play(DMUS_SEGF_SECONDARY, nullptr), 0);
    Seconds(5.0);
    EXPECT_EQ(tune->IsPlaying(), 1);
    EXPECT_GT(Peak(Seconds(1.0)), 1000) << "still sounding in the third round";
    EXPECT_FALSE(manager->GetMixer().IsSilent()) << "the output must not close under the music";
    ASSERT_EQ(tune->Stop(0), 0);
    EXPECT_EQ(tune->IsPlaying(), 0);
    Seconds(0.3);  // the reverberation dies away
    EXPECT_LT(Peak(Seconds(0.5)), 20);
    EXPECT_TRUE(manager->GetMixer().IsSilent());
    // Played again, it starts from its beginning.
    ASSERT_EQ(tune->Play(DMUS_SEGF_SECONDARY, nullptr), 0);
    EXPECT_GT(Peak(Seconds(0.3)), 1000);
}

TEST_F(Music, StartAndStopOnTheBeatOfTheTunesOwnTempo) {
    auto tune = LoadTune();
    Mix(1000);
    const double beat = kMusicRate * 0.25;  // 240 beats a minute
    ASSERT_EQ(tune->Play(DMUS_SEGF_BEAT, nullptr), 0);
    EXPECT_EQ(tune->IsPlaying(), 1) << "waiting for its beat counts as playing";
    EXPECT_FALSE(manager->GetMixer().IsSilent());
    const auto mixed = Mix(static_cast<int>(beat * 2));
    std::size_t first = 0;
    while (first < mixed.size() && mixed[first] == 0) ++first;
    const double start = 1000 + static_cast<double>(first / 2);
    EXPECT_GE(start, beat);
    EXPECT_LT(start, beat + 600);  // the note itself starts one tick after the beat

    Mix(1000);  // between two beats
    ASSERT_EQ(tune->Stop(DMUS_SEGF_BEAT), 0);
    EXPECT_EQ(tune->IsPlaying(), 1);
    Mix(static_cast<int>(beat) + 100);
    EXPECT_EQ(tune->IsPlaying(), 0);
}

TEST_F(Music, VolumeFollowsTheLevelAndOptionOneMutes) {
    EXPECT_EQ(MMusicSegment::VolumeForLevel(1.0f), 0);
    EXPECT_EQ(MMusicSegment::VolumeForLevel(0.5f), -1250);
    EXPECT_EQ(MMusicSegment::VolumeForLevel(0.005f), -10000);
    EXPECT_EQ(MMusicSegment::VolumeForLevel(1 / 100.0f), -10000);  // 0.01f is just below 0.01
    EXPECT_EQ(MMusicSegment::VolumeForLevel(2 / 100.0f), -2450);
    EXPECT_EQ(MMusicSegment::VolumeForLevel(100 / 100.0f), 0);

    auto tune = LoadTune();
    tune->SetRepeats(DMUS_SEG_REPEAT_INFINITE);
    tune->Play(DMUS_SEGF_SECONDARY, nullptr);
    const int full = Peak(Seconds(0.5));
    EXPECT_EQ(tune->SetVolume(1 / 100.0f), 0);
    EXPECT_EQ(music->GetMasterVolume(), -10000);
    EXPECT_EQ(Peak(Seconds(0.5)), 0);
    EXPECT_EQ(tune->IsPlaying(), 1);
    tune->SetVolume(0.5f);
    const int half = Peak(Seconds(0.5));
    EXPECT_GT(half, 0);
    EXPECT_LT(half, full);
}

TEST_F(Music, PlayNeedsADownloadedSegmentAndBadDataDoesNotLoad) {
    auto tune = LoadTune(0);
    EXPECT_EQ(tune->Play(DMUS_SEGF_BEAT, nullptr), AudioResult::kFail);
    EXPECT_EQ(tune->IsPlaying(), 0);
    ASSERT_EQ(tune->Download(nullptr), 0);
    EXPECT_EQ(tune->Play(DMUS_SEGF_SECONDARY, nullptr), 0);

    Bytes broken = Fixture("audio_tune.mid");
    broken.resize(broken.size() - 20);  // the track chunk is cut short
    MMusicSegment* segment = nullptr;
    EXPECT_LT(music->LoadSegment(&segment, broken.data(), static_cast<DWORD>(broken.size()), 1, 1), 0);
    EXPECT_EQ(segment, nullptr);
}

TEST_F(Music, ArchiveChunksAreReadWhollyIntoABufferRoundedToEightBytes) {
    // 13 bytes (a header cut short): a 16-byte buffer, the last three zero.
    Bytes thirteen = Fixture("audio_tune.mid");
    thirteen.resize(13);
    WriteArchive(thirteen);
    MMusicSegment* segment = nullptr;
    EXPECT_EQ(LoadFromArchive(&segment), kResultArrayOrMusicFailed);
    EXPECT_EQ(segment, nullptr);
    Bytes expected = thirteen;
    expected.resize(16, 0);
    EXPECT_EQ(music->GetMidiBuffer(), expected);

    // 16 bytes: a header announcing no tracks and two spare bytes, read exactly.
    Bytes sixteen = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 0, 1, 0xE0, 0, 0};
    WriteArchive(sixteen);
    EXPECT_EQ(LoadFromArchive(&segment), 0);
    std::unique_ptr<MMusicSegment> empty(segment);
    EXPECT_NE(segment, nullptr);
    EXPECT_EQ(music->GetMidiBuffer(), sixteen);
    empty.reset();

    // The real tune through the archive plays.
    WriteArchive(Fixture("audio_tune.mid"));
    segment = nullptr;
    ASSERT_EQ(LoadFromArchive(&segment), 0);
    std::unique_ptr<MMusicSegment> tune(segment);
    EXPECT_EQ(music->GetMidiBuffer().size(), 160u);
    tune->Play(DMUS_SEGF_SECONDARY, nullptr);
    EXPECT_GT(Peak(Seconds(0.5)), 1000);
}

TEST_F(Music, SegmentsOutliveTheManagersSafely) {
    auto tune = LoadTune();
    tune->Play(DMUS_SEGF_SECONDARY, nullptr);
    Seconds(0.2);
    MSoundManager::Free();  // the wrong order: sound before music
    MMusicManager::Free();
    EXPECT_EQ(tune->IsPlaying(), 0);
    EXPECT_EQ(tune->Play(0, nullptr), AudioResult::kNotInitialized);
}

TEST(MusicAbsent, WithoutASoundFontOrDeviceLoadsSucceedWithoutASegment) {
    MSoundManager::Free();
    MMusicManager::Free();
    MSoundManager* sound = MSoundManager::Get();
    MMusicManager* music = MMusicManager::Get();
    EXPECT_EQ(music->Initialize(nullptr, sound, 64, DMUS_APATH_DYNAMIC_STEREO), AudioResult::kNoDriver);
    EXPECT_EQ(music->IsReady(), 0);
    ASSERT_EQ(sound->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 16), 0);
    setenv("ZANBOR_SOUNDFONT", "none", 1);
    EXPECT_EQ(music->Initialize(nullptr, sound, 64, DMUS_APATH_DYNAMIC_STEREO), AudioResult::kNoDriver);
    unsetenv("ZANBOR_SOUNDFONT");
    EXPECT_EQ(music->IsReady(), 0);
    EXPECT_TRUE(music->GetSoundFontPath().empty());

    const Bytes tune = Fixture("audio_tune.mid");
    MMusicSegment* segment = nullptr;
    EXPECT_EQ(music->LoadSegment(&segment, tune.data(), static_cast<DWORD>(tune.size()), 1, 1), 0);
    EXPECT_EQ(segment, nullptr);
    TempFolder folder;
    WriteFileBytes(folder / "t.mid", tune);
    MFileMMIO file;
    ASSERT_EQ(file.Open(folder.Spec("t.mid"), kModeReadExistingBinary, 1), 0);
    EXPECT_EQ(music->LoadFromArchive(&segment, file, 1, 1), 0);
    EXPECT_EQ(segment, nullptr);
    EXPECT_EQ(file.Tell(), 0) << "nothing is read";
    MMusicManager::Free();
    MSoundManager::Free();
}

}  // namespace
