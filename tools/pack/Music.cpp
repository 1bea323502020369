#include "tools/pack/Music.h"

#include "tools/pack/Manifest.h"
#include "tools/pack/Sound.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace pack {

namespace {

struct Event {
    long tick;
    int order;  // at one tick: set-up first, then note-offs, then note-ons
    std::vector<std::uint8_t> bytes;
};

struct Track {
    std::string name;
    int channel = 0, program = 0, volume = 100, pan = 64, velocity = 90;
    std::vector<std::string> words;
    std::vector<Line> lines;  // for the messages
};

void PutVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t bytes[5];
    int n = 0;
    do {
        bytes[n++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value);
    while (n > 1) out.push_back(static_cast<std::uint8_t>(bytes[--n] | 0x80));
    out.push_back(bytes[0]);
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::vector<std::uint8_t> TrackChunk(std::vector<Event> events, long endTick) {
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
    std::vector<std::uint8_t> data;
    long last = 0;
    for (const Event& e : events) {
        PutVarLen(data, static_cast<std::uint32_t>(e.tick - last));
        data.insert(data.end(), e.bytes.begin(), e.bytes.end());
        last = e.tick;
    }
    PutVarLen(data, static_cast<std::uint32_t>(endTick - last));
    data.insert(data.end(), {0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
    PutU32(chunk, static_cast<std::uint32_t>(data.size()));
    chunk.insert(chunk.end(), data.begin(), data.end());
    return chunk;
}

Event Meta(long tick, int type, const std::string& text) {
    Event e{tick, 0, {0xFF, static_cast<std::uint8_t>(type)}};
    PutVarLen(e.bytes, static_cast<std::uint32_t>(text.size()));
    e.bytes.insert(e.bytes.end(), text.begin(), text.end());
    return e;
}

int Clamp7(double value, const Line& at, const char* what) {
    if (value < 0 || value > 127) throw SourceError(at.file, at.number, std::string(what) + " out of 0..127");
    return static_cast<int>(value);
}

// "[" ... "]N" groups repeated N times (2 when N is left out); groups nest.
std::vector<std::string> ExpandRepeats(const std::vector<std::string>& words, std::size_t& i, const Line& at, bool inner) {
    std::vector<std::string> out;
    while (i < words.size()) {
        const std::string& w = words[i++];
        if (w == "[") {
            std::vector<std::string> group = ExpandRepeats(words, i, at, true);
            const std::string& close = words[i - 1];
            int times = close.size() > 1 ? static_cast<int>(ToNumber(close.substr(1), at)) : 2;
            if (times < 1 || times > 64) throw SourceError(at.file, at.number, "a repeat count must be 1..64");
            for (int t = 0; t < times; ++t) out.insert(out.end(), group.begin(), group.end());
        } else if (w[0] == ']') {
            if (!inner) throw SourceError(at.file, at.number, "\"]\" without \"[\"");
            return out;
        } else {
            out.push_back(w);
        }
    }
    if (inner) throw SourceError(at.file, at.number, "\"[\" without \"]\"");
    return out;
}

long Duration(const std::string& text, const Line& at) {
    std::string body = text;
    bool triplet = false;
    int dots = 0;
    if (!body.empty() && body.back() == 't') triplet = true, body.pop_back();
    while (!body.empty() && body.back() == '.') ++dots, body.pop_back();
    int n = static_cast<int>(ToNumber(body, at));
    if (n != 1 && n != 2 && n != 4 && n != 8 && n != 16 && n != 32 && n != 64)
        throw SourceError(at.file, at.number, "a duration is 1, 2, 4, 8, 16, 32 or 64 (with dots or t)");
    long ticks = kDivision * 4L / n;
    long add = ticks;
    for (int d = 0; d < dots; ++d) add /= 2, ticks += add;
    if (triplet) ticks = ticks * 2 / 3;
    return ticks;
}

int Key(const std::string& text, const Line& at) {
    if (text.size() > 1 && text[0] == 'n') return Clamp7(ToNumber(text.substr(1), at), at, "a key number");
    int key = NoteNumber(text);
    if (key < 0) throw SourceError(at.file, at.number, "\"" + text + "\" is not a note (C4, F#5, Bb3, n36 or r)");
    return key;
}

// Turns a track's words into events; returns the track's end tick.
long TrackEvents(const Track& track, std::vector<Event>& events) {
    const Line& at = track.lines.empty() ? Line{} : track.lines.front();
    const std::uint8_t ch = static_cast<std::uint8_t>(track.channel);
    events.push_back(Meta(0, 0x03, track.name));
    if (track.channel != 9) events.push_back({0, 0, {static_cast<std::uint8_t>(0xC0 | ch), static_cast<std::uint8_t>(track.program)}});
    events.push_back({0, 0, {static_cast<std::uint8_t>(0xB0 | ch), 7, static_cast<std::uint8_t>(track.volume)}});
    events.push_back({0, 0, {static_cast<std::uint8_t>(0xB0 | ch), 10, static_cast<std::uint8_t>(track.pan)}});
    std::size_t i = 0;
    std::vector<std::string> words = ExpandRepeats(track.words, i, at, false);
    long tick = 0, duration = kDivision;
    int velocity = track.velocity;
    for (const std::string& w : words) {
        if (w == "|") continue;
        if (w.rfind("v=", 0) == 0) {
            velocity = Clamp7(ToNumber(w.substr(2), at), at, "a velocity");
            continue;
        }
        std::size_t colon = w.find(':');
        std::string pitch = w.substr(0, colon);
        if (colon != std::string::npos) duration = Duration(w.substr(colon + 1), at);
        if (pitch != "r") {
            std::size_t s = 0;
            while (true) {
                std::size_t plus = pitch.find('+', s);
                int key = Key(pitch.substr(s, plus == std::string::npos ? std::string::npos : plus - s), at);
                events.push_back({tick, 2, {static_cast<std::uint8_t>(0x90 | ch), static_cast<std::uint8_t>(key),
                                            static_cast<std::uint8_t>(velocity)}});
                events.push_back({tick + duration, 1, {static_cast<std::uint8_t>(0x80 | ch), static_cast<std::uint8_t>(key), 0}});
                if (plus == std::string::npos) break;
                s = plus + 1;
            }
        }
        tick += duration;
    }
    return tick;
}

}  // namespace

std::vector<std::uint8_t> ScoreToMidi(const std::vector<Line>& scoreLines) {
    std::vector<Line> score = ExpandLoops(scoreLines);
    double tempo = 120;
    int beats = 4, beatUnit = 4;
    std::string title = "Zanbor";
    std::vector<Track> tracks;
    for (const Line& line : score) {
        const std::string& w = line.words[0];
        if (w == "tempo" && line.words.size() == 2) {
            tempo = ToNumber(line.words[1], line);
            if (tempo < 20 || tempo > 400) throw SourceError(line.file, line.number, "tempo out of 20..400");
        } else if (w == "time" && line.words.size() == 2) {
            std::size_t slash = line.words[1].find('/');
            if (slash == std::string::npos) throw SourceError(line.file, line.number, "expected: time 3/4");
            beats = static_cast<int>(ToNumber(line.words[1].substr(0, slash), line));
            beatUnit = static_cast<int>(ToNumber(line.words[1].substr(slash + 1), line));
            if (beats < 1 || beats > 32 || (beatUnit != 2 && beatUnit != 4 && beatUnit != 8))
                throw SourceError(line.file, line.number, "unsupported time signature");
        } else if (w == "title" && line.words.size() == 2) {
            title = line.words[1];
        } else if (w == "track") {
            Params p = ParseParams(line, 1);
            Track t;
            t.name = p.count("name") ? p["name"] : "Track " + std::to_string(tracks.size() + 1);
            t.channel = static_cast<int>(NumberParam(p, "channel", static_cast<double>(tracks.size() + 1), line)) - 1;
            t.program = static_cast<int>(NumberParam(p, "program", 1, line)) - 1;
            t.volume = Clamp7(NumberParam(p, "volume", 100, line), line, "volume");
            t.pan = Clamp7(NumberParam(p, "pan", 64, line), line, "pan");
            t.velocity = Clamp7(NumberParam(p, "velocity", 90, line), line, "velocity");
            if (t.channel < 0 || t.channel > 15) throw SourceError(line.file, line.number, "channel out of 1..16");
            if (t.program < 0 || t.program > 127) throw SourceError(line.file, line.number, "program out of 1..128");
            t.lines.push_back(line);
            tracks.push_back(t);
        } else {
            if (tracks.empty()) throw SourceError(line.file, line.number, "notes before the first \"track\"");
            tracks.back().words.insert(tracks.back().words.end(), line.words.begin(), line.words.end());
            tracks.back().lines.push_back(line);
        }
    }
    if (tracks.empty()) throw SourceError(score.empty() ? "" : score[0].file, 0, "a score needs a track");

    std::vector<std::vector<Event>> trackEvents(tracks.size());
    long end = 0;
    for (std::size_t i = 0; i < tracks.size(); ++i) end = std::max(end, TrackEvents(tracks[i], trackEvents[i]));
    // Every track ends on the same bar line, so that a loop keeps the metre.
    const long bar = kDivision * 4L * beats / beatUnit;
    end = std::max(bar, (end + bar - 1) / bar * bar);

    std::vector<Event> conductor;
    conductor.push_back(Meta(0, 0x03, title));
    const std::uint32_t microseconds = static_cast<std::uint32_t>(std::lround(60000000.0 / tempo));
    conductor.push_back({0, 0, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(microseconds >> 16),
                                static_cast<std::uint8_t>(microseconds >> 8), static_cast<std::uint8_t>(microseconds)}});
    int log2Unit = beatUnit == 2 ? 1 : beatUnit == 4 ? 2 : 3;
    conductor.push_back({0, 0, {0xFF, 0x58, 0x04, static_cast<std::uint8_t>(beats), static_cast<std::uint8_t>(log2Unit), 24, 8}});
    conductor.push_back(Meta(0, 0x06, "loopStart"));
    conductor.push_back(Meta(end, 0x06, "loopEnd"));

    std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    out.push_back(static_cast<std::uint8_t>((tracks.size() + 1) >> 8));
    out.push_back(static_cast<std::uint8_t>((tracks.size() + 1) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(kDivision >> 8));
    out.push_back(static_cast<std::uint8_t>(kDivision & 0xFF));
    std::vector<std::uint8_t> chunk = TrackChunk(conductor, end);
    out.insert(out.end(), chunk.begin(), chunk.end());
    for (auto& events : trackEvents) {
        chunk = TrackChunk(events, end);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

MidiSummary SummariseMidi(const std::uint8_t* data, std::size_t size) {
    auto fail = [](const std::string& what) { throw std::runtime_error("MIDI: " + what); };
    auto u16 = [&](std::size_t at) { return static_cast<int>(data[at] << 8 | data[at + 1]); };
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(data[at]) << 24 | static_cast<std::uint32_t>(data[at + 1]) << 16 |
               static_cast<std::uint32_t>(data[at + 2]) << 8 | data[at + 3];
    };
    if (size < 14 || std::string(reinterpret_cast<const char*>(data), 4) != "MThd") fail("no MThd header");
    std::uint32_t headerSize = u32(4);
    if (headerSize < 6 || headerSize > size - 8) fail("bad header size");
    MidiSummary s;
    s.format = u16(8);
    int declared = u16(10);
    s.division = u16(12);
    if (s.division == 0 || (s.division & 0x8000)) fail("unsupported time division");
    std::map<long, std::uint32_t> tempos;  // tick -> microseconds per quarter
    std::size_t pos = 8 + headerSize;
    while (pos + 8 <= size) {
        std::uint32_t length = u32(pos + 4);
        bool isTrack = std::string(reinterpret_cast<const char*>(data + pos), 4) == "MTrk";
        if (length > size - pos - 8) fail("a chunk runs past the end");
        if (isTrack) {
            ++s.tracks;
            std::size_t p = pos + 8, end = p + length;
            long tick = 0;
            int status = 0;
            bool ended = false;
            auto varLen = [&]() {
                std::uint32_t v = 0;
                for (int n = 0; n < 4; ++n) {
                    if (p >= end) fail("an event runs past its track");
                    std::uint8_t b = data[p++];
                    v = v << 7 | (b & 0x7F);
                    if (!(b & 0x80)) return v;
                }
                fail("a variable-length number is too long");
                return v;
            };
            while (p < end && !ended) {
                tick += varLen();
                if (p >= end) fail("an event runs past its track");
                std::uint8_t b = data[p];
                if (b & 0x80) status = b, ++p;
                else if (status == 0) fail("running status without a status");
                if (status == 0xFF) {
                    if (p >= end) fail("an event runs past its track");
                    std::uint8_t type = data[p++];
                    std::uint32_t len = varLen();
                    if (len > end - p) fail("a meta event runs past its track");
                    if (type == 0x51 && len == 3) tempos[tick] = static_cast<std::uint32_t>(data[p] << 16 | data[p + 1] << 8 | data[p + 2]);
                    if (type == 0x2F) ended = true;
                    p += len;
                    status = 0;
                } else if (status == 0xF0 || status == 0xF7) {
                    std::uint32_t len = varLen();
                    if (len > end - p) fail("a system-exclusive event runs past its track");
                    p += len;
                    status = 0;
                } else {
                    int kind = status & 0xF0;
                    std::size_t n = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
                    if (n > end - p) fail("an event runs past its track");
                    if (kind == 0x90 && data[p + 1] != 0) ++s.notes;
                    p += n;
                }
            }
            s.ticks = std::max(s.ticks, tick);
        }
        pos += 8 + length;
    }
    if (s.tracks != declared) fail("the header announces " + std::to_string(declared) + " tracks, the file has " + std::to_string(s.tracks));
    // Seconds: walk the tempo map (120 beats per minute until the first change).
    long lastTick = 0;
    std::uint32_t current = 500000;
    for (const auto& [tick, us] : tempos) {
        if (tick >= s.ticks) break;
        s.seconds += (tick - lastTick) * current / 1e6 / s.division;
        lastTick = tick;
        current = us;
    }
    s.seconds += (s.ticks - lastTick) * current / 1e6 / s.division;
    return s;
}

}  // namespace pack
