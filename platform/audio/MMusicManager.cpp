#include "platform/audio/MMusicManager.h"

#include "platform/core/CException.h"
#include "platform/storage/MFileMMIO.h"
#include "formats/MMidiFile.h"
#include "platform/audio/MMusicSegment.h"
#include "platform/audio/MSoundFontFiles.h"
#include "platform/audio/MSoundManager.h"

#include <fluidsynth.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

MMusicManager* instance = nullptr;

// The standard places of a General MIDI SoundFont, most general first.
const char* const kSoundFontPlaces[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/soundfonts/default.sf2",
    "/usr/share/soundfonts/FluidR3_GM.sf2",
    "/usr/local/share/soundfonts/default.sf2",
};

// The synthesizer's warnings and chatter would go to stderr; errors still do.
void QuietenSynthLog() {
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
}

}  // namespace

MMusicManager* MMusicManager::Get() {
    if (!instance) {
        instance = new MMusicManager();
    }
    return instance;
}

MMusicManager* MMusicManager::Peek() { return instance; }

void MMusicManager::Free() {
    delete instance;
    instance = nullptr;
}

MMusicManager::~MMusicManager() {
    Shutdown();
    std::lock_guard<std::mutex> guard(lock);
    for (MMusicSegment* segment : segments) {
        segment->manager = nullptr;
    }
    segments.clear();
}

std::string MMusicManager::FindSoundFont() {
    if (const char* chosen = std::getenv("ZANBOR_SOUNDFONT"); chosen && *chosen) {
        if (std::strcmp(chosen, "none") == 0 || !fluid_is_soundfont(chosen)) {
            return {};
        }
        return chosen;
    }
    for (const char* place : kSoundFontPlaces) {
        if (fluid_is_soundfont(place)) {
            return place;
        }
    }
    return {};
}

void MMusicManager::Shutdown() {
    // A SoundFont still being read goes into the synthesizer freed below.
    if (loader.joinable()) loader.join();
    // Out of the stream first: after this no render is running or will run.
    if (soundManager && MSoundManager::Peek() == soundManager &&
        soundManager->GetMixer().GetMusicSource() == this) {
        soundManager->GetMixer().SetMusicSource(nullptr);
    }
    soundManager = nullptr;
    std::lock_guard<std::mutex> guard(lock);
    for (MMusicSegment* segment : segments) {
        segment->StopPlayer(false);
        segment->startFrame = -1;
        segment->stopFrame = -1;
    }
    if (synth) {
        delete_fluid_synth(synth);
        synth = nullptr;
    }
    if (settings) {
        delete_fluid_settings(settings);
        settings = nullptr;
    }
    if (!cutName.empty()) MSoundFontFiles::RemoveCut(cutName);
    cutName.clear();
    soundFontLimit.clear();
    ready = 0;
    fontLoaded = 0;
    fontId = -1;
    heldInstruments.clear();  // went with the synthesizer; the uses stay for the next
    soundFontPath.clear();
    pendingSoundFont.clear();
}

void MMusicManager::LoadSoundFont(fluid_synth_t* into, std::string path) {
    // Behind the frames of the game that is starting.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
    // The synthesizer is not rendered (nor its players made) until the
    // SoundFont is in, so nothing else touches it meanwhile.
    // A SoundFont that will not load leaves the stream silent for good.
    const int id = ReadSoundFont(into, path);
    PublishSoundFont(into, id);
#ifdef __GLIBC__
    malloc_trim(0);  // the buffers the file was read through go back to the system
#endif
}

void MMusicManager::LimitSoundFont(const std::vector<MMidiInstrument>& instruments) {
    std::lock_guard<std::mutex> guard(lock);
    soundFontLimit.insert(instruments.begin(), instruments.end());
}

int MMusicManager::ReadSoundFont(fluid_synth_t* into, const std::string& path) {
    std::set<MMidiInstrument> keep;
    {
        std::lock_guard<std::mutex> guard(lock);
        keep = soundFontLimit;
        if (!keep.empty())
            for (const auto& [instrument, uses] : instrumentUses) keep.insert(instrument);
    }
    if (!keep.empty()) {
        auto cut = std::make_shared<MSoundFontCut>();
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
        long size = -1;
        if (file && std::fseek(file.get(), 0, SEEK_END) == 0) size = std::ftell(file.get());
        auto read = [&file](long offset, void* bytes, long count) {
            return std::fseek(file.get(), offset, SEEK_SET) == 0 &&
                   std::fread(bytes, 1, static_cast<std::size_t>(count), file.get()) == static_cast<std::size_t>(count);
        };
        if (size > 0 && CutSoundFont(read, size, keep, cut.get())) {
            const std::string name = path + "#cut";
            MSoundFontFiles::AddCut(name, path, cut);
            const int id = fluid_synth_sfload(into, name.c_str(), 1);
            if (id != FLUID_FAILED) {
                std::lock_guard<std::mutex> guard(lock);
                cutName = name;
                return id;
            }
            MSoundFontFiles::RemoveCut(name);
        }
    }
    return fluid_synth_sfload(into, path.c_str(), 1);
}

bool MMusicManager::CutLacksAnInstrument() const {
    if (cutName.empty()) return false;
    for (const auto& [instrument, uses] : instrumentUses)
        if (!soundFontLimit.count(instrument)) return true;
    return false;
}

int MMusicManager::ReplaceCutByWhole(fluid_synth_t* into, int cutId) {
    std::string path;
    std::vector<MMidiInstrument> held;
    {
        std::lock_guard<std::mutex> guard(lock);
        path = soundFontPath;
        held.assign(heldInstruments.begin(), heldInstruments.end());
    }
    const int id = fluid_synth_sfload(into, path.c_str(), 1);
    if (id == FLUID_FAILED) {
        // The cut stays: what it lacks stays silent rather than asked for again.
        std::lock_guard<std::mutex> guard(lock);
        for (const auto& [instrument, uses] : instrumentUses) soundFontLimit.insert(instrument);
        return cutId;
    }
    for (const MMidiInstrument& instrument : held) fluid_synth_pin_preset(into, id, instrument.bank, instrument.program);
    fluid_synth_sfunload(into, static_cast<unsigned int>(cutId), 1);
    std::lock_guard<std::mutex> guard(lock);
    MSoundFontFiles::RemoveCut(cutName);
    cutName.clear();
    soundFontLimit.clear();
    if (fontId == cutId) fontId = id;
    return id;
}

void MMusicManager::PublishSoundFont(fluid_synth_t* into, int id) {
    if (id == FLUID_FAILED) {
        std::lock_guard<std::mutex> guard(lock);
        fontLoaded = 0;
        return;
    }

    // The instruments are read outside the lock (the audio thread mixes the
    // effects meanwhile), until the held ones match the uses.
    for (;;) {
        std::vector<MMidiInstrument> hold, release;
        bool lacking = false;
        {
            std::lock_guard<std::mutex> guard(lock);
            lacking = CutLacksAnInstrument();
            if (!lacking) {
                for (const auto& [instrument, uses] : instrumentUses)
                    if (!heldInstruments.count(instrument)) hold.push_back(instrument);
                for (const MMidiInstrument& instrument : heldInstruments)
                    if (!instrumentUses.count(instrument)) release.push_back(instrument);
                for (const MMidiInstrument& instrument : hold) heldInstruments.insert(instrument);
                for (const MMidiInstrument& instrument : release) heldInstruments.erase(instrument);
                if (hold.empty() && release.empty()) {
                    fontId = id;
                    fontLoaded = 1;
                    return;
                }
            }
        }
        if (lacking) {
            id = ReplaceCutByWhole(into, id);
            continue;
        }
        for (const MMidiInstrument& instrument : hold)
            fluid_synth_pin_preset(into, id, instrument.bank, instrument.program);
        for (const MMidiInstrument& instrument : release)
            fluid_synth_unpin_preset(into, id, instrument.bank, instrument.program);
    }
}

void MMusicManager::UseInstruments(const std::vector<MMidiInstrument>& instruments, int delta) {
    std::vector<MMidiInstrument> hold, release;
    fluid_synth_t* into = nullptr;
    int id = -1;
    bool lacking = false;
    {
        std::lock_guard<std::mutex> guard(lock);
        for (const MMidiInstrument& instrument : instruments) {
            const int uses = (instrumentUses[instrument] += delta);
            if (uses <= 0) instrumentUses.erase(instrument);
        }
        // Before the SoundFont is in, its load holds what is in use then.
        if (fontId < 0 || !synth) return;
        into = synth;
        id = fontId;
        for (const MMidiInstrument& instrument : instruments) {
            const bool used = instrumentUses.count(instrument) != 0, held = heldInstruments.count(instrument) != 0;
            if (used && !held) {
                heldInstruments.insert(instrument);
                hold.push_back(instrument);
            } else if (!used && held) {
                heldInstruments.erase(instrument);
                release.push_back(instrument);
            }
        }
        lacking = CutLacksAnInstrument();
    }
    // An instrument the cut SoundFont lacks: the whole one takes its place.
    if (lacking) id = ReplaceCutByWhole(into, id);
    for (const MMidiInstrument& instrument : hold) fluid_synth_pin_preset(into, id, instrument.bank, instrument.program);
    for (const MMidiInstrument& instrument : release)
        fluid_synth_unpin_preset(into, id, instrument.bank, instrument.program);
}

std::vector<MMidiInstrument> MMusicManager::GetHeldInstruments() {
    std::lock_guard<std::mutex> guard(lock);
    return {heldInstruments.begin(), heldInstruments.end()};
}

void MMusicManager::StartSoundFontLoad() {
    if (pendingSoundFont.empty() || !synth || loader.joinable()) return;
    loader = std::thread(&MMusicManager::LoadSoundFont, this, synth, std::move(pendingSoundFont));
    pendingSoundFont.clear();
}

int MMusicManager::WaitForSoundFont() {
    StartSoundFontLoad();
    if (loader.joinable()) loader.join();
    std::lock_guard<std::mutex> guard(lock);
    return fontLoaded;
}

HRESULT MMusicManager::Initialize(SDL_Window* /*window*/, MSoundManager* sound, int channels, DWORD /*pathType*/) {
    Shutdown();
    QuietenSynthLog();
    if (!sound || !sound->IsInitialized()) {
        return AudioResult::kNoDriver;
    }
    std::string path = FindSoundFont();
    if (path.empty()) {
        return AudioResult::kNoDriver;
    }
    fluid_settings_t* newSettings = new_fluid_settings();
    if (!newSettings) {
        return AudioResult::kOutOfMemory;
    }
    const int rate = sound->GetSamplesPerSecond();
    fluid_settings_setnum(newSettings, "synth.sample-rate", rate);
    fluid_settings_setint(newSettings, "synth.midi-channels", std::max(16, (channels + 15) / 16 * 16));
    // Players advance with the samples rendered, so music and stream never drift.
    fluid_settings_setstr(newSettings, "player.timing-source", "sample");
    fluid_settings_setint(newSettings, "synth.lock-memory", 0);
    fluid_settings_setint(newSettings, "synth.cpu-cores", 1);
    // Only the samples of the instruments in use are read (a few of the set).
    fluid_settings_setint(newSettings, "synth.dynamic-sample-loading", 1);
    // The tunes' densest moments sound some 100 voices, most of them fading
    // tails; past 96 the quietest are let go unheard, and every voice costs memory.
    fluid_settings_setint(newSettings, "synth.polyphony", 96);
    // The default gain leaves headroom for dense orchestral pieces; the
    // game's short tunes need more to sit beside the effects.
    fluid_settings_setnum(newSettings, "synth.gain", 0.5);
    fluid_synth_t* newSynth = new_fluid_synth(newSettings);
    // Its SoundFont may be a cut of the file, read through a loader of ours.
    if (newSynth) MSoundFontFiles::AddLoader(newSettings, newSynth);
    const bool background = loadInBackground != 0;
    {
        std::lock_guard<std::mutex> guard(lock);
        soundFontPath = path;
    }
    const int id = newSynth && !background ? ReadSoundFont(newSynth, path) : FLUID_FAILED;
    if (!newSynth || (!background && id == FLUID_FAILED)) {
        if (newSynth) {
            delete_fluid_synth(newSynth);
        }
        delete_fluid_settings(newSettings);
        return AudioResult::kFail;
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        settings = newSettings;
        synth = newSynth;
        samplesPerSecond = rate;
        streamFrame = 0;
        soundFontPath = path;
        ready = 1;
        fontLoaded = 0;
    }
    if (!background) PublishSoundFont(newSynth, id);
    soundManager = sound;
    sound->GetMixer().SetMusicSource(this);
    if (background) pendingSoundFont = path;
    return AudioResult::kOk;
}

int MMusicManager::LoadFromArchive(MMusicSegment** out, MFileMMIO& archive, int download, int isMidi) {
    if (!ready) {
        return 0;
    }
    const long inChunk = std::max(0L, archive.Remaining());
    // A chunk that claims more than the file holds is truncated data; it is
    // refused before a buffer of the claimed size is made.
    if (inChunk > archive.Size() - archive.Tell()) {
        throw CFileException("win32/MFileMMIO", 189);
    }
    const std::size_t rounded = (static_cast<std::size_t>(inChunk) + 7) & ~static_cast<std::size_t>(7);
    midiBuffer.clear();
    midiBuffer.shrink_to_fit();
    midiBuffer.assign(rounded, 0);
    if (inChunk > 0) {
        archive.ReadBytes(midiBuffer.data(), static_cast<int>(inChunk));
    }
    const HRESULT result =
        LoadSegment(out, midiBuffer.data(), static_cast<DWORD>(midiBuffer.size()), download, isMidi);
    return AudioResult::Failed(result) ? kResultArrayOrMusicFailed : 0;
}

HRESULT MMusicManager::LoadSegment(MMusicSegment** out, const std::uint8_t* data, DWORD size, int download,
                                   int /*isMidi*/) {
    if (!ready) {
        return AudioResult::kOk;
    }
    if (!synth) {
        return AudioResult::kUnexpected;
    }
    if (!out) {
        return AudioResult::kInvalidArg;
    }
    // The loader's contract allows four attempts; reading memory either
    // succeeds the first time or not at all, so the loop ends early.
    MMidiInfo info;
    HRESULT result = AudioResult::kFail;
    for (int attempt = 0; attempt < 4 && result != AudioResult::kOk; ++attempt) {
        result = ReadMidiInfo(data, size, &info) ? AudioResult::kOk : AudioResult::kFail;
        if (result == AudioResult::kFail) {
            break;
        }
    }
    if (AudioResult::Failed(result)) {
        return result;
    }
    MMusicSegment* segment = nullptr;
    try {
        segment = new MMusicSegment(this, std::vector<std::uint8_t>(data, data + size), info);
    } catch (const std::bad_alloc&) {
        return AudioResult::kOutOfMemory;
    }
    if (download) {
        result = segment->Download(nullptr);
        if (AudioResult::Failed(result)) {
            delete segment;
            return result;
        }
    }
    *out = segment;
    return AudioResult::kOk;
}

void MMusicManager::Attach(MMusicSegment* segment) {
    std::lock_guard<std::mutex> guard(lock);
    segments.push_back(segment);
}

void MMusicManager::Detach(MMusicSegment* segment) {
    // Called with the lock held by the segment's destructor.
    segments.erase(std::remove(segments.begin(), segments.end(), segment), segments.end());
}

void MMusicManager::SetMasterVolume(long volume) {
    const float gain = volume <= -10000 ? 0.0f : static_cast<float>(std::pow(10.0, volume / 2000.0));
    std::lock_guard<std::mutex> guard(lock);
    masterVolume = volume;
    masterGain = gain;
}

long MMusicManager::GetMasterVolume() {
    std::lock_guard<std::mutex> guard(lock);
    return masterVolume;
}

std::uint64_t MMusicManager::GetStreamFrame() {
    std::lock_guard<std::mutex> guard(lock);
    return static_cast<std::uint64_t>(streamFrame);
}

void MMusicManager::RunDueActions() {
    for (MMusicSegment* segment : segments) {
        if (segment->stopFrame >= 0 && segment->stopFrame <= streamFrame) {
            segment->stopFrame = -1;
            segment->StopPlayer(true);
        }
        if (segment->startFrame >= 0 && segment->startFrame <= streamFrame) {
            segment->startFrame = -1;
            segment->StartPlayer();
        }
    }
}

std::int64_t MMusicManager::NextActionFrame(std::int64_t limit) const {
    std::int64_t next = limit;
    for (const MMusicSegment* segment : segments) {
        for (std::int64_t at : {segment->startFrame, segment->stopFrame}) {
            if (at > streamFrame && at < next) {
                next = at;
            }
        }
    }
    return next;
}

bool MMusicManager::IsQuiet() {
    std::lock_guard<std::mutex> guard(lock);
    for (const MMusicSegment* segment : segments)
        if (segment->startFrame >= 0 || segment->stopFrame >= 0 || segment->PlayerIsPlaying()) return false;
    return !synth || fluid_synth_get_active_voice_count(synth) == 0;
}

void MMusicManager::WakeOutput() {
    if (soundManager) soundManager->GetMixer().WakeUp();
}

void MMusicManager::Render(float* left, float* right, int frames) {
    std::lock_guard<std::mutex> guard(lock);
    // Until the SoundFont is in, the stream's time stands still: music asked
    // to start meanwhile starts on its frame once there is something to play.
    if (!synth || !fontLoaded) {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
        return;
    }
    // Rendered in pieces that end where a segment starts or stops, so that
    // beat-timed changes land on their frame.
    int done = 0;
    while (done < frames) {
        RunDueActions();
        const std::int64_t next = NextActionFrame(streamFrame + (frames - done));
        const int n = static_cast<int>(next - streamFrame);
        fluid_synth_write_float(synth, n, left, done, 1, right, done, 1);
        streamFrame += n;
        done += n;
    }
    if (masterGain != 1.0f) {
        for (int i = 0; i < frames; ++i) {
            left[i] *= masterGain;
            right[i] *= masterGain;
        }
    }
}
