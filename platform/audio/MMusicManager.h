#pragma once
// The process-wide music manager: a FluidSynth synthesizer with the system's
// General MIDI SoundFont, rendered into the sound manager's stream (it never
// opens an audio driver of its own), and the loader that turns Standard MIDI
// Files into segments. Without an audio device or a SoundFont the manager is
// not ready: the music is then silently absent and every load succeeds
// without making a segment.
//
// The SoundFont is looked for at the standard places; the environment variable
// ZANBOR_SOUNDFONT overrides them with one file, or with "none" for none.

#include "platform/audio/MAudioMixer.h"
#include "platform/audio/MAudioResult.h"
#include "platform/core/ResultCodes.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "formats/MMidiFile.h"

struct SDL_Window;
class MFileMMIO;
class MMusicSegment;
class MSoundManager;

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

class MMusicManager : public MMusicSource {
public:
    static MMusicManager* Get();
    static MMusicManager* Peek();
    static void Free();

    MMusicManager(const MMusicManager&) = delete;
    MMusicManager& operator=(const MMusicManager&) = delete;
    ~MMusicManager() override;

    // Makes the synthesizer at the sound manager's rate with channels MIDI
    // channels (rounded up to whole groups of 16) and adds it to the stream.
    // Results: 0 (ready); kNoDriver when the sound manager has no device or no
    // SoundFont is found (not ready); kFail when the SoundFont cannot be loaded.
    // The window and the path type are not needed here.
    HRESULT Initialize(SDL_Window* window, MSoundManager* sound, int channels, DWORD pathType);
    // Set before Initialize: Initialize does not read the SoundFont;
    // StartSoundFontLoad reads it on a thread of its own (at a lower
    // priority), so that start-up need not wait for it. Music asked to play
    // meanwhile starts when the SoundFont is in (the stream holds its time
    // until then); a SoundFont that fails to load leaves the music silent.
    void LoadSoundFontInBackground(int on) { loadInBackground = on; }
    // Set before the SoundFont is read: only the presets of these
    // instruments (and those the synthesizer falls back to for them) are
    // read from it, as the synthesizer keeps every preset it reads in memory.
    // Using another instrument later reads the whole SoundFont in its place.
    void LimitSoundFont(const std::vector<MMidiInstrument>& instruments);
    void StartSoundFontLoad();
    // Waits until the SoundFont is in (starting its load if need be); 1
    // when the synthesizer has it.
    int WaitForSoundFont();

    // Reads the rest of the current chunk of the archive into the MIDI buffer
    // (its size rounded up to a multiple of 8, the extra bytes zero) and loads
    // it. Returns 0, or kResultArrayOrMusicFailed. Not ready: 0, out unchanged.
    int LoadFromArchive(MMusicSegment** out, MFileMMIO& archive, int download, int isMidi);
    // Makes a segment of a Standard MIDI File in memory (the bytes are copied).
    // Not ready: 0, out unchanged.
    HRESULT LoadSegment(MMusicSegment** out, const std::uint8_t* data, DWORD size, int download, int isMidi);

    int IsReady() const { return ready; }
    // The SoundFont in use (empty when none).
    const std::string& GetSoundFontPath() const { return soundFontPath; }
    // The bytes of the last LoadFromArchive.
    const std::vector<std::uint8_t>& GetMidiBuffer() const { return midiBuffer; }

    // The master volume of all music, in hundredths of a decibel (0 = full,
    // -10000 or less = silent).
    void SetMasterVolume(long volume);
    long GetMasterVolume();

    // Frames of music rendered since Initialize.
    std::uint64_t GetStreamFrame();

    // The synthesizer reads an instrument's samples only while it is in use:
    // a downloaded segment holds its instruments (they are read before it
    // plays, never on the audio thread), and lets them go when it goes.
    // delta is +1 or -1; instruments the SoundFont lacks are passed over.
    void UseInstruments(const std::vector<MMidiInstrument>& instruments, int delta);
    // The instruments held in the synthesizer now (for the tests).
    std::vector<MMidiInstrument> GetHeldInstruments();
    fluid_synth_t* GetSynth() const { return synth; }

    // MMusicSource: called by the mixer on the audio thread.
    int GetSampleRate() const override { return samplesPerSecond; }
    void Render(float* left, float* right, int frames) override;
    // No segment plays or waits to start or stop, and every note has died away.
    bool IsQuiet() override;

    // Where the SoundFont is looked for: ZANBOR_SOUNDFONT, or the standard
    // places. Returns the first that exists, or an empty string.
    static std::string FindSoundFont();

private:
    friend class MMusicSegment;

    MMusicManager() = default;
    void Shutdown();
    // Wakes the sound manager's output for music asked to play.
    void WakeOutput();
    void Attach(MMusicSegment* segment);
    void Detach(MMusicSegment* segment);
    // With the lock held: starts and stops segments whose time has come.
    void RunDueActions();
    std::int64_t NextActionFrame(std::int64_t limit) const;

    // Reads the SoundFont into the synthesizer (the background load's thread).
    void LoadSoundFont(fluid_synth_t* into, std::string path);
    // Reads the SoundFont, cut to the limit when there is one; its id or FLUID_FAILED.
    int ReadSoundFont(fluid_synth_t* into, const std::string& path);
    // With the lock held: the SoundFont read is a cut that lacks an instrument in use.
    bool CutLacksAnInstrument() const;
    // Reads the whole SoundFont in place of its cut, moving the held instruments
    // over; the new id, or the cut's when the whole cannot be read.
    int ReplaceCutByWhole(fluid_synth_t* into, int cutId);
    // The SoundFont id is in: holds the instruments in use, then makes it
    // known (fontLoaded); -1 leaves the music silent.
    void PublishSoundFont(fluid_synth_t* into, int id);

    std::thread loader;  // the background load, until joined
    std::string pendingSoundFont;  // to be read by StartSoundFontLoad
    int loadInBackground = 0;
    std::mutex lock;  // guards everything below that the audio thread reads
    int ready = 0;
    int fontLoaded = 0;  // the synthesizer has its SoundFont
    int fontId = -1;     // its id once the held instruments follow the uses
    std::map<MMidiInstrument, int> instrumentUses;  // by the downloaded segments
    std::set<MMidiInstrument> heldInstruments;      // pinned in the synthesizer
    std::set<MMidiInstrument> soundFontLimit;       // empty: the whole SoundFont
    std::string cutName;                            // the cut read, if one was
    int samplesPerSecond = 0;
    std::string soundFontPath;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    MSoundManager* soundManager = nullptr;
    std::vector<MMusicSegment*> segments;
    std::int64_t streamFrame = 0;
    long masterVolume = 0;
    float masterGain = 1.0f;
    std::vector<std::uint8_t> midiBuffer;
};
