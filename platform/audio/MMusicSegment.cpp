#include "platform/audio/MMusicSegment.h"

#include "platform/audio/MMusicManager.h"

#include <fluidsynth.h>

#include <climits>
#include <cmath>

namespace {

// The player counts how many times it plays in all; a repeat count says how
// many times more.
int PlayCount(DWORD repeats) {
    if (repeats == DMUS_SEG_REPEAT_INFINITE) {
        return -1;
    }
    return repeats >= static_cast<DWORD>(INT_MAX) ? INT_MAX : static_cast<int>(repeats) + 1;
}

}  // namespace

MMusicSegment::MMusicSegment(MMusicManager* owner, std::vector<std::uint8_t> data, const MMidiInfo& midiInfo)
    : manager(owner), midi(std::move(data)), info(midiInfo), instruments(ReadMidiInstruments(midi.data(), midi.size())) {
    if (manager) {
        manager->Attach(this);
    }
}

MMusicSegment::~MMusicSegment() {
    if (manager) {
        {
            std::lock_guard<std::mutex> guard(manager->lock);
            StopPlayer(false);
            manager->Detach(this);
        }
        if (downloaded) manager->UseInstruments(instruments, -1);
    }
}

HRESULT MMusicSegment::Download(void* /*target*/) {
    if (!manager) {
        return AudioResult::kNotInitialized;
    }
    if (!downloaded) manager->UseInstruments(instruments, +1);
    downloaded = 1;
    return AudioResult::kOk;
}

double MMusicSegment::BeatFrames() const {
    const int rate = manager ? manager->samplesPerSecond : 0;
    return static_cast<double>(info.tempo) * rate / 1e6;
}

std::int64_t MMusicSegment::FramesToNextBeat() const {
    if (!PlayerIsPlaying() || info.division <= 0) {
        return -1;
    }
    const int tick = fluid_player_get_current_tick(player);
    const int tempo = fluid_player_get_midi_tempo(player);  // microseconds per quarter note
    const int ticksLeft = (info.division - tick % info.division) % info.division;
    const double seconds = static_cast<double>(ticksLeft) * tempo / info.division / 1e6;
    return std::llround(seconds * manager->samplesPerSecond);
}

HRESULT MMusicSegment::Play(DWORD flags, void* audioPath) {
    const HRESULT result = Schedule(flags, audioPath);
    // Outside the manager's lock: waking may open the device, whose callback takes it.
    if (result == AudioResult::kOk) manager->WakeOutput();
    return result;
}

HRESULT MMusicSegment::Schedule(DWORD flags, void* /*audioPath*/) {
    if (!manager) {
        return AudioResult::kNotInitialized;
    }
    std::lock_guard<std::mutex> guard(manager->lock);
    if (!manager->synth) {
        return AudioResult::kNotInitialized;
    }
    if (!downloaded) {
        return AudioResult::kFail;
    }
    const std::int64_t now = manager->streamFrame;
    stopFrame = -1;
    if (!(flags & DMUS_SEGF_BEAT)) {
        startFrame = now;
        return AudioResult::kOk;
    }
    // On the beat of the music already playing, else on the beat grid of this
    // music's own tempo counted from the start of the stream.
    std::int64_t wait = -1;
    for (const MMusicSegment* other : manager->segments) {
        if ((wait = other->FramesToNextBeat()) >= 0) {
            break;
        }
    }
    if (wait < 0) {
        const double beat = BeatFrames();
        wait = beat > 0 ? std::llround(std::ceil(now / beat) * beat) - now : 0;
    }
    startFrame = now + std::max<std::int64_t>(0, wait);
    return AudioResult::kOk;
}

HRESULT MMusicSegment::Stop(DWORD flags) {
    if (!manager) {
        return AudioResult::kNotInitialized;
    }
    std::lock_guard<std::mutex> guard(manager->lock);
    startFrame = -1;
    if (flags & DMUS_SEGF_BEAT) {
        const std::int64_t wait = FramesToNextBeat();
        if (wait > 0) {
            stopFrame = manager->streamFrame + wait;
            return AudioResult::kOk;
        }
    }
    stopFrame = -1;
    StopPlayer(false);
    return AudioResult::kOk;
}

int MMusicSegment::IsPlaying() {
    if (!manager) {
        return 0;
    }
    std::lock_guard<std::mutex> guard(manager->lock);
    return startFrame >= 0 || PlayerIsPlaying() ? 1 : 0;
}

HRESULT MMusicSegment::SetRepeats(DWORD count) {
    if (!manager) {
        return AudioResult::kNotInitialized;
    }
    std::lock_guard<std::mutex> guard(manager->lock);
    repeats = count;
    if (player) {
        playsLeft = PlayCount(repeats);
        fluid_player_set_loop(player, playsLeft);
    }
    return AudioResult::kOk;
}

long MMusicSegment::VolumeForLevel(float level) {
    // The level is single precision and the threshold double: the level of
    // option 1 (0.01f, just under 0.01) is silent too.
    if (level >= 0.01) {
        return static_cast<long>(level * 2500.0 - 2500.0);
    }
    return -10000;
}

int MMusicSegment::SetVolume(float level) {
    if (manager) {
        manager->SetMasterVolume(VolumeForLevel(level));
    }
    return 0;
}

int MMusicSegment::PlayerIsPlaying() const {
    return player && !ended && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING ? 1 : 0;
}

int MMusicSegment::OnPlayerTick(void* data, int tick) {
    auto* segment = static_cast<MMusicSegment*>(data);
    if (tick < segment->lastTick && segment->playsLeft > 1) {
        --segment->playsLeft;  // a new round began
    }
    segment->lastTick = tick;
    const int total = fluid_player_get_total_ticks(segment->player);
    if (segment->playsLeft == 1 && total > 0 && tick >= total) {
        segment->ended = true;
    }
    return FLUID_OK;
}

void MMusicSegment::StartPlayer() {
    StopPlayer(false);
    player = new_fluid_player(manager->synth);
    if (!player) {
        return;
    }
    playsLeft = PlayCount(repeats);
    lastTick = 0;
    ended = false;
    fluid_player_set_tick_callback(player, &MMusicSegment::OnPlayerTick, this);
    fluid_player_add_mem(player, midi.data(), midi.size());
    fluid_player_set_loop(player, playsLeft);
    fluid_player_play(player);
}

void MMusicSegment::StopPlayer(bool letRing) {
    if (!player) {
        return;
    }
    fluid_player_stop(player);
    delete_fluid_player(player);
    player = nullptr;
    // At once means silence now; on a beat the notes end with their release.
    if (letRing) {
        fluid_synth_all_notes_off(manager->synth, -1);
    } else {
        fluid_synth_all_sounds_off(manager->synth, -1);
    }
}
