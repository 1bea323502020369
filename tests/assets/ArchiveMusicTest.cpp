// The three tunes as the game loads them: General MIDI pieces of at least a minute,
// different from one another, that loop without a seam: music from the first tick to
// the loop's end, and no note left sounding across it; and each played through the
// synthesizer, which reads only the samples of the instruments in use.

#include "tests/support/ArchiveSupport.h"
#include "tests/support/AudioTestSupport.h"
#include "formats/MMidiFile.h"
#include "platform/audio/MMusicSegment.h"

#include <fluidsynth.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

namespace {

struct Tune {
    int division = 0;
    std::uint32_t tempo = 500000;
    long loopStart = -1, loopEnd = -1;
    long firstNote = -1, lastNoteOn = -1, lastNoteOff = -1;
    int hanging = 0;           // notes still on at the end of their track
    std::set<int> programs;    // channel * 128 + program
    std::set<int> channels;    // channels that play notes
};

// A walk over every event of a format-1 file (running status, meta and system events).
Tune ReadTune(const std::vector<std::uint8_t>& d) {
    Tune t;
    auto u32 = [&](std::size_t i) { return std::uint32_t(d[i]) << 24 | d[i + 1] << 16 | d[i + 2] << 8 | d[i + 3]; };
    t.division = d[12] << 8 | d[13];
    std::size_t at = 14;
    while (at + 8 <= d.size() && std::string(d.begin() + static_cast<long>(at), d.begin() + static_cast<long>(at) + 4) == "MTrk") {
        const std::size_t end = at + 8 + u32(at + 4);
        std::size_t i = at + 8;
        long tick = 0;
        std::uint8_t status = 0;
        std::map<int, int> on;
        auto varLen = [&]() {
            long v = 0;
            while (d[i] & 0x80) v = (v << 7) | (d[i++] & 0x7F);
            return (v << 7) | d[i++];
        };
        while (i < end) {
            tick += varLen();
            if (d[i] & 0x80) status = d[i++];
            if (status == 0xFF) {
                const int type = d[i++];
                const long length = varLen();
                const std::string text(d.begin() + static_cast<long>(i), d.begin() + static_cast<long>(i + length));
                if (type == 0x51) t.tempo = d[i] << 16 | d[i + 1] << 8 | d[i + 2];
                if (type == 0x06 && text == "loopStart") t.loopStart = tick;
                if (type == 0x06 && text == "loopEnd") t.loopEnd = tick;
                i += length;
            } else if (status == 0xF0 || status == 0xF7) {
                i += varLen();
            } else {
                const int kind = status & 0xF0, channel = status & 0x0F;
                const int a = d[i], b = (kind == 0xC0 || kind == 0xD0) ? 0 : d[i + 1];
                i += (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
                if (kind == 0xC0) t.programs.insert(channel * 128 + a);
                if (kind == 0x90 && b > 0) {
                    ++on[channel * 128 + a];
                    t.channels.insert(channel);
                    if (t.firstNote < 0 || tick < t.firstNote) t.firstNote = tick;
                    t.lastNoteOn = std::max(t.lastNoteOn, tick);
                } else if (kind == 0x80 || kind == 0x90) {
                    --on[channel * 128 + a];
                    t.lastNoteOff = std::max(t.lastNoteOff, tick);
                }
            }
        }
        for (const auto& [key, count] : on) t.hanging += count;
        at = end;
    }
    return t;
}

TEST(ArchiveMusicTest, ThreeDifferentTunesOfAMinuteOrMoreLoopWithoutASeam) {
    const auto runs = archive_support::ReadGameArchive();
    ASSERT_FALSE(runs.empty()) << "the game's archive could not be read";
    std::set<std::set<int>> instrumentations;
    for (int entry : {8, 10, 11}) {
        const auto& run = runs.at(entry);
        ASSERT_EQ(run.size(), 1u);
        ASSERT_EQ(run[0].id, kIdMidi);
        const Tune t = ReadTune(run[0].bytes);
        ASSERT_GT(t.division, 0) << "entry " << entry;
        const double seconds = static_cast<double>(t.loopEnd) / t.division * t.tempo / 1e6;
        EXPECT_GE(seconds, 60.0) << "entry " << entry;
        EXPECT_EQ(t.loopStart, 0) << "entry " << entry;
        EXPECT_EQ(t.firstNote, 0) << "entry " << entry << ": the music starts on the loop's first tick";
        // The last bar plays, and every note ends by the loop's end: nothing hangs over the seam.
        EXPECT_GE(t.lastNoteOn, t.loopEnd - 4L * t.division) << "entry " << entry;
        EXPECT_LE(t.lastNoteOff, t.loopEnd) << "entry " << entry;
        EXPECT_EQ(t.hanging, 0) << "entry " << entry;
        EXPECT_GE(t.channels.size(), 3u) << "entry " << entry;
        for (int channel : t.channels) {
            if (channel == 9) continue;  // drums
            const auto program = t.programs.lower_bound(channel * 128);
            EXPECT_TRUE(program != t.programs.end() && *program / 128 == channel)
                << "entry " << entry << " channel " << channel + 1 << " has no General MIDI program";
        }
        instrumentations.insert(t.programs);
    }
    EXPECT_EQ(instrumentations.size(), 3u) << "the three tunes are played by different instruments";
}

class ArchiveTunesPlayed : public audiotest::AudioTest {};

TEST_F(ArchiveTunesPlayed, EveryInstrumentOfEachTuneSoundsWithItsSamplesReadOnDemand) {
    unsetenv("ZANBOR_SOUNDFONT");
    if (MMusicManager::FindSoundFont().empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    MMusicManager* music = MMusicManager::Get();
    ASSERT_EQ(music->Initialize(nullptr, manager, 64, DMUS_APATH_DYNAMIC_STEREO), 0);
    const auto runs = archive_support::ReadGameArchive();
    ASSERT_FALSE(runs.empty()) << "the game's archive could not be read";
    for (int entry : {8, 10, 11}) {
        SCOPED_TRACE(entry);
        const std::vector<std::uint8_t>& bytes = runs.at(entry)[0].bytes;
        const Tune tune = ReadTune(bytes);
        MMusicSegment* loaded = nullptr;
        ASSERT_EQ(music->LoadSegment(&loaded, bytes.data(), static_cast<DWORD>(bytes.size()), 1, 1), 0);
        std::unique_ptr<MMusicSegment> segment(loaded);
        // Held from the download on: every program the tune names, and the drum kit.
        std::set<int> held;
        for (const MMidiInstrument& instrument : music->GetHeldInstruments())
            held.insert(instrument.bank * 128 + instrument.program);
        std::set<int> named;
        for (int program : tune.programs) named.insert(program % 128);
        if (tune.channels.count(9)) named.insert(128 * 128);
        EXPECT_EQ(held, named);

        ASSERT_EQ(segment->Play(0, nullptr), 0);
        std::set<int> sounding;  // channels with a voice, over the first bars
        int peak = 0;
        for (int block = 0; block < 400; ++block) {
            peak = std::max(peak, audiotest::Peak(Mix(512)));
            fluid_voice_t* voices[96] = {};
            fluid_synth_get_voicelist(music->GetSynth(), voices, 96, -1);
            for (fluid_voice_t* voice : voices)
                if (voice && fluid_voice_is_playing(voice)) sounding.insert(fluid_voice_get_channel(voice));
        }
        EXPECT_EQ(sounding, tune.channels);
        EXPECT_GT(peak, 3000);
        segment->Stop(0);
    }
    EXPECT_TRUE(music->GetHeldInstruments().empty()) << "the last tune's instruments went with it";
}

// The presets of the synthesizer's SoundFont.
int PresetCount(fluid_synth_t* synth) {
    fluid_sfont_t* font = fluid_synth_get_sfont(synth, 0);
    int count = 0;
    fluid_sfont_iteration_start(font);
    while (fluid_sfont_iteration_next(font)) ++count;
    return count;
}

// A SoundFont cut to the tunes' instruments plays them exactly as the whole
// one does; a tune with another instrument has the whole one read in its place.
TEST_F(ArchiveTunesPlayed, ASoundFontCutToTheTunesInstrumentsPlaysThemAsTheWholeOne) {
    unsetenv("ZANBOR_SOUNDFONT");
    if (MMusicManager::FindSoundFont().empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    const auto runs = archive_support::ReadGameArchive();
    ASSERT_FALSE(runs.empty()) << "the game's archive could not be read";
    auto tune = [&](int entry) -> const std::vector<std::uint8_t>& { return runs.at(entry)[0].bytes; };
    auto instruments = [&](std::initializer_list<int> entries) {
        std::vector<MMidiInstrument> all;
        for (int entry : entries) {
            const auto used = ReadMidiInstruments(tune(entry).data(), tune(entry).size());
            all.insert(all.end(), used.begin(), used.end());
        }
        return all;
    };
    auto play = [&](MMusicManager* music, int entry, std::vector<std::int16_t>* into) {
        MMusicSegment* loaded = nullptr;
        ASSERT_EQ(music->LoadSegment(&loaded, tune(entry).data(), static_cast<DWORD>(tune(entry).size()), 1, 1), 0);
        std::unique_ptr<MMusicSegment> segment(loaded);
        ASSERT_EQ(segment->Play(0, nullptr), 0);
        for (int block = 0; block < 100; ++block) {
            const auto mixed = Mix(512);
            into->insert(into->end(), mixed.begin(), mixed.end());
        }
        segment->Stop(0);
        Mix(22050);  // the last notes die away
    };
    struct Case {
        std::vector<MMidiInstrument> limit;
        int presets = 0;
        std::vector<std::int16_t> played;
    } whole, cut, partCut;
    cut.limit = instruments({8, 10, 11});
    partCut.limit = instruments({8});
    for (Case* c : {&whole, &cut, &partCut}) {
        SetUp();
        MMusicManager* music = MMusicManager::Get();
        music->LoadSoundFontInBackground(1);
        ASSERT_EQ(music->Initialize(nullptr, manager, 64, DMUS_APATH_DYNAMIC_STEREO), 0);
        music->LimitSoundFont(c->limit);
        ASSERT_EQ(music->WaitForSoundFont(), 1);
        c->presets = PresetCount(music->GetSynth());
        for (int entry : {8, 10, 11}) play(music, entry, &c->played);
        if (c == &partCut) c->presets = PresetCount(music->GetSynth());
        TearDown();
    }
    EXPECT_LT(cut.presets * 4, whole.presets);
    EXPECT_EQ(partCut.presets, whole.presets) << "the tunes beyond the cut had the whole SoundFont read";
    EXPECT_GT(audiotest::Peak(whole.played), 3000);
    EXPECT_TRUE(cut.played == whole.played);
    EXPECT_TRUE(partCut.played == whole.played);
}

}  // namespace
