#pragma once
// One loaded piece of music: a Standard MIDI File played by its own player on
// the music manager's synthesizer. Start and stop can wait for the next beat
// of the music's own tempo; the repeat count says how often it plays again
// (DMUS_SEG_REPEAT_INFINITE: for ever). Playing always starts at the
// beginning.
//
// The segment's state is read by the audio thread under the manager's lock;
// every operation here holds that lock only for its own short change.

#include "platform/audio/MAudioResult.h"
#include "formats/MMidiFile.h"

#include <cstdint>
#include <vector>

class MMusicManager;
typedef struct _fluid_player_t fluid_player_t;

class MMusicSegment {
public:
    MMusicSegment(MMusicManager* manager, std::vector<std::uint8_t> midi, const MMidiInfo& info);
    MMusicSegment(const MMusicSegment&) = delete;
    MMusicSegment& operator=(const MMusicSegment&) = delete;
    virtual ~MMusicSegment();

    // Makes the segment playable: the synthesizer reads the samples of the
    // instruments it plays (at once, or as soon as the SoundFont is in) and
    // keeps them until the segment goes.
    HRESULT Download(void* target);
    // Flags: DMUS_SEGF_BEAT starts on the next beat, anything else at once.
    // kNotInitialized without a manager; kFail unless downloaded.
    HRESULT Play(DWORD flags, void* audioPath);
    // Flags: DMUS_SEGF_BEAT stops on the next beat, anything else at once.
    HRESULT Stop(DWORD flags);
    // 1 while playing or waiting for its start beat.
    int IsPlaying();
    HRESULT SetRepeats(DWORD repeats);
    // Sets the master volume of all music from a level of 0.0 to 1.0.
    int SetVolume(float level);

    // The volume of a level: level x 2500 - 2500 hundredths of a decibel, and
    // silence (-10000) below 0.01.
    static long VolumeForLevel(float level);

    int IsDownloaded() const { return downloaded; }
    const MMidiInfo& GetInfo() const { return info; }
    const std::vector<MMidiInstrument>& GetInstruments() const { return instruments; }
    // Frames of the stream between two beats of this music.
    double BeatFrames() const;

private:
    friend class MMusicManager;

    // Play without waking the output.
    HRESULT Schedule(DWORD flags, void* audioPath);
    // With the manager's lock held.
    void StartPlayer();
    void StopPlayer(bool release);
    int PlayerIsPlaying() const;
    // Frames from now to this segment's next beat while it plays; -1 if not.
    std::int64_t FramesToNextBeat() const;
    // Called by the player on the audio thread as its ticks advance.
    static int OnPlayerTick(void* segment, int tick);

    MMusicManager* manager;  // null once the manager has gone
    std::vector<std::uint8_t> midi;
    MMidiInfo info;
    std::vector<MMidiInstrument> instruments;
    fluid_player_t* player = nullptr;
    std::int64_t startFrame = -1;  // pending start, in stream frames
    std::int64_t stopFrame = -1;   // pending stop, in stream frames
    DWORD repeats = 0;
    int downloaded = 0;
    // The player idles for a while after the last event of its last round;
    // the music has ended when that event is reached.
    int playsLeft = 0;  // rounds left including the current one; -1 for ever
    int lastTick = 0;
    bool ended = false;
};
