#include "formats/MMidiFile.h"

#include <algorithm>

namespace {

std::uint32_t Big32(const std::uint8_t* b) {
    return static_cast<std::uint32_t>(b[0]) << 24 | static_cast<std::uint32_t>(b[1]) << 16 |
           static_cast<std::uint32_t>(b[2]) << 8 | static_cast<std::uint32_t>(b[3]);
}

int Big16(const std::uint8_t* b) { return b[0] << 8 | b[1]; }

bool IsId(const std::uint8_t* b, const char* id) {
    return b[0] == id[0] && b[1] == id[1] && b[2] == id[2] && b[3] == id[3];
}

// Reads a variable-length number; false if it runs past the end.
bool ReadVarLen(const std::uint8_t*& p, const std::uint8_t* end, std::uint32_t* value) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        if (p >= end) {
            return false;
        }
        const std::uint8_t b = *p++;
        v = v << 7 | (b & 0x7Fu);
        if (!(b & 0x80)) {
            *value = v;
            return true;
        }
    }
    return false;
}

// The tempo set at tick 0 of a track, or the default when the first event
// with a delay comes before any tempo.
std::uint32_t TempoAtStart(const std::uint8_t* p, const std::uint8_t* end, std::uint32_t fallback) {
    std::uint8_t status = 0;
    while (p < end) {
        std::uint32_t delta = 0;
        if (!ReadVarLen(p, end, &delta) || delta != 0 || p >= end) {
            return fallback;
        }
        if (*p & 0x80) {
            status = *p++;
        }
        if (status == 0xFF) {
            if (p >= end) {
                return fallback;
            }
            const std::uint8_t type = *p++;
            std::uint32_t length = 0;
            if (!ReadVarLen(p, end, &length) || length > static_cast<std::uint32_t>(end - p)) {
                return fallback;
            }
            if (type == 0x51 && length == 3) {
                return static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[2];
            }
            p += length;
            status = 0;  // meta events cancel running status
        } else if (status == 0xF0 || status == 0xF7) {
            std::uint32_t length = 0;
            if (!ReadVarLen(p, end, &length) || length > static_cast<std::uint32_t>(end - p)) {
                return fallback;
            }
            p += length;
            status = 0;
        } else if (status >= 0x80) {
            const int dataBytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
            if (end - p < dataBytes) {
                return fallback;
            }
            p += dataBytes;
        } else {
            return fallback;  // data without a status
        }
    }
    return fallback;
}

}  // namespace

bool ReadMidiInfo(const std::uint8_t* data, std::size_t size, MMidiInfo* out) {
    if (!data || size < 14 || !IsId(data, "MThd")) {
        return false;
    }
    const std::uint32_t headerLength = Big32(data + 4);
    if (headerLength < 6 || headerLength > size - 8) {
        return false;
    }
    MMidiInfo info;
    info.format = Big16(data + 8);
    info.trackCount = Big16(data + 10);
    const int division = Big16(data + 12);
    info.division = division & 0x8000 ? 0 : division;
    if (info.format > 2) {
        return false;
    }
    std::size_t position = 8 + static_cast<std::size_t>(headerLength);
    int found = 0;
    while (found < info.trackCount) {
        if (size - position < 8) {
            return false;
        }
        const std::uint8_t* chunk = data + position;
        const std::uint32_t length = Big32(chunk + 4);
        if (length > size - position - 8) {
            return false;
        }
        if (IsId(chunk, "MTrk")) {
            if (found == 0) {
                info.tempo = TempoAtStart(chunk + 8, chunk + 8 + length, info.tempo);
            }
            ++found;
        }
        position += 8 + static_cast<std::size_t>(length);
    }
    if (out) {
        *out = info;
    }
    return true;
}

namespace {

constexpr int kPercussionChannel = 9;
constexpr int kPercussionBank = 128;

struct ChannelUse {
    int bank = 0;
    bool programmed = false;
    bool plays = false;
};

// Walks one track's events, noting bank selects, program changes and notes.
void ReadTrackInstruments(const std::uint8_t* p, const std::uint8_t* end, ChannelUse* channels,
                          std::vector<MMidiInstrument>* found) {
    std::uint8_t status = 0;
    while (p < end) {
        std::uint32_t skip = 0;
        if (!ReadVarLen(p, end, &skip) || p >= end) return;
        if (*p & 0x80) status = *p++;
        if (status == 0xFF || status == 0xF0 || status == 0xF7) {
            if (status == 0xFF && p++ >= end) return;
            if (!ReadVarLen(p, end, &skip) || skip > static_cast<std::uint32_t>(end - p)) return;
            p += skip;
            status = 0;
            continue;
        }
        if (status < 0x80) return;  // data without a status
        const int kind = status & 0xF0, channel = status & 0x0F;
        const int dataBytes = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
        if (end - p < dataBytes) return;
        ChannelUse& use = channels[channel];
        const int bank = channel == kPercussionChannel ? kPercussionBank : use.bank;
        if (kind == 0xB0 && p[0] == 0) use.bank = p[1];
        if (kind == 0xC0) {
            found->push_back({bank, p[0] & 0x7F});
            use.programmed = true;
        }
        if (kind == 0x90 && p[1] != 0 && !use.programmed && !use.plays) found->push_back({bank, 0});
        if (kind == 0x90 && p[1] != 0) use.plays = true;
        p += dataBytes;
    }
}

}  // namespace

std::vector<MMidiInstrument> ReadMidiInstruments(const std::uint8_t* data, std::size_t size) {
    std::vector<MMidiInstrument> found;
    MMidiInfo info;
    if (!ReadMidiInfo(data, size, &info)) return found;
    ChannelUse channels[16];
    std::size_t position = 8 + static_cast<std::size_t>(Big32(data + 4));
    for (int track = 0; track < info.trackCount; position += 8 + static_cast<std::size_t>(Big32(data + position + 4))) {
        const std::uint8_t* chunk = data + position;
        if (!IsId(chunk, "MTrk")) continue;
        ReadTrackInstruments(chunk + 8, chunk + 8 + Big32(chunk + 4), channels, &found);
        ++track;
    }
    std::vector<MMidiInstrument> once;
    for (const MMidiInstrument& instrument : found)
        if (std::find(once.begin(), once.end(), instrument) == once.end()) once.push_back(instrument);
    return once;
}
