#include "formats/MSoundFontCut.h"

#include <array>
#include <cstring>
#include <map>
#include <string>

namespace {

constexpr std::uint16_t kGenInstrument = 41;
constexpr int kPercussionBank = 128;

// The preset data's sub-chunks in the order the format lays them out, with
// the size of one record of each.
struct Part {
    const char* id;
    std::size_t record;
};
constexpr std::array<Part, 9> kParts = {{{"phdr", 38},
                                         {"pbag", 4},
                                         {"pmod", 10},
                                         {"pgen", 4},
                                         {"inst", 22},
                                         {"ibag", 4},
                                         {"imod", 10},
                                         {"igen", 4},
                                         {"shdr", 46}}};
enum { kPhdr, kPbag, kPmod, kPgen, kInst, kIbag, kImod, kIgen, kShdr };

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16) | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
void Set16(std::uint8_t* p, std::size_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::size_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
bool IdIs(const std::uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

class Cutter {
public:
    explicit Cutter(const std::array<Bytes, 9>& in) : parts(in) {}

    bool Cut(const std::set<MMidiInstrument>& keep, Bytes* presetData) {
        const std::size_t presets = parts[kPhdr].size() / 38 - 1;
        for (std::size_t i = 0; i < presets; ++i) {
            const std::uint8_t* header = &parts[kPhdr][i * 38];
            if (Wanted(keep, Get16(header + 22), Get16(header + 20)) && !CopyHeader(kPhdr, i, out[kPhdr]))
                return false;
        }
        // The instruments the kept presets use, in the order they were first named.
        for (std::size_t n = 0; n < instrumentOrder.size(); ++n)
            if (!CopyHeader(kInst, instrumentOrder[n], out[kInst])) return false;
        Terminate(kPhdr, kPbag, kPmod, kPgen);
        Terminate(kInst, kIbag, kImod, kIgen);
        out[kShdr] = parts[kShdr];

        Bytes body = {'p', 'd', 't', 'a'};
        for (std::size_t p = 0; p < kParts.size(); ++p) {
            body.insert(body.end(), kParts[p].id, kParts[p].id + 4);
            Put32(body, out[p].size());
            body.insert(body.end(), out[p].begin(), out[p].end());
        }
        presetData->assign({'L', 'I', 'S', 'T'});
        Put32(*presetData, body.size());
        presetData->insert(presetData->end(), body.begin(), body.end());
        return true;
    }

private:
    bool Wanted(const std::set<MMidiInstrument>& keep, int bank, int program) const {
        if (keep.count(MMidiInstrument{bank, program})) return true;
        // What the synthesizer falls back to when a bank lacks the program: the
        // same program of the first bank, or the first drum kit.
        for (const MMidiInstrument& wanted : keep) {
            if (wanted.bank != kPercussionBank && bank == 0 && program == wanted.program) return true;
            if (wanted.bank == kPercussionBank && bank == kPercussionBank && program == 0) return true;
        }
        return false;
    }

    // Copies header index of a level with its zones; a preset's zones name
    // instruments, which are numbered anew.
    bool CopyHeader(int level, std::size_t index, Bytes& headers) {
        const bool presets = level == kPhdr;
        const std::size_t size = kParts[level].record, bagAt = presets ? 24 : 20;
        const int bagPart = level + 1, modPart = level + 2, genPart = level + 3;
        const Bytes& from = parts[level];
        if ((index + 2) * size > from.size()) return false;
        const std::size_t firstBag = Get16(&from[index * size + bagAt]);
        const std::size_t endBag = Get16(&from[(index + 1) * size + bagAt]);
        if (firstBag > endBag || (endBag + 1) * 4 > parts[bagPart].size()) return false;
        headers.insert(headers.end(), from.begin() + static_cast<long>(index * size),
                       from.begin() + static_cast<long>((index + 1) * size));
        Set16(&headers[headers.size() - size + bagAt], out[bagPart].size() / 4);
        for (std::size_t bag = firstBag; bag < endBag; ++bag) {
            const std::uint8_t* zone = &parts[bagPart][bag * 4];
            const std::size_t gen = Get16(zone), genEnd = Get16(zone + 4);
            const std::size_t mod = Get16(zone + 2), modEnd = Get16(zone + 6);
            if (gen > genEnd || genEnd * 4 > parts[genPart].size() || mod > modEnd ||
                modEnd * 10 > parts[modPart].size())
                return false;
            Bytes& bags = out[bagPart];
            bags.resize(bags.size() + 4);
            Set16(&bags[bags.size() - 4], out[genPart].size() / 4);
            Set16(&bags[bags.size() - 2], out[modPart].size() / 10);
            out[modPart].insert(out[modPart].end(), parts[modPart].begin() + static_cast<long>(mod * 10),
                                parts[modPart].begin() + static_cast<long>(modEnd * 10));
            for (std::size_t g = gen; g < genEnd; ++g) {
                const std::uint8_t* generator = &parts[genPart][g * 4];
                std::uint8_t copy[4] = {generator[0], generator[1], generator[2], generator[3]};
                if (presets && Get16(generator) == kGenInstrument) {
                    const std::size_t instrument = Get16(generator + 2);
                    if ((instrument + 2) * 22 > parts[kInst].size()) return false;
                    auto [place, added] = instrumentNumbers.emplace(instrument, instrumentOrder.size());
                    if (added) instrumentOrder.push_back(instrument);
                    Set16(copy + 2, place->second);
                }
                out[genPart].insert(out[genPart].end(), copy, copy + 4);
            }
        }
        return true;
    }

    // The closing records: the last header (its name kept) points past the
    // last zone, the last zone past the last generator and modulator.
    void Terminate(int level, int bagPart, int modPart, int genPart) {
        const std::size_t size = kParts[level].record, bagAt = level == kPhdr ? 24 : 20;
        const Bytes& from = parts[level];
        out[level].insert(out[level].end(), from.end() - static_cast<long>(size), from.end());
        Set16(&out[level][out[level].size() - size + bagAt], out[bagPart].size() / 4);
        Bytes& bags = out[bagPart];
        bags.resize(bags.size() + 4);
        Set16(&bags[bags.size() - 4], out[genPart].size() / 4);
        Set16(&bags[bags.size() - 2], out[modPart].size() / 10);
        out[modPart].resize(out[modPart].size() + 10, 0);
        out[genPart].resize(out[genPart].size() + 4, 0);
    }

    const std::array<Bytes, 9>& parts;
    std::array<Bytes, 9> out;
    std::map<std::size_t, std::size_t> instrumentNumbers;  // in the file -> in the cut
    std::vector<std::size_t> instrumentOrder;
};

}  // namespace

bool CutSoundFont(const MSoundFontReader& read, long size, const std::set<MMidiInstrument>& keep,
                  MSoundFontCut* out) {
    std::uint8_t head[12];
    if (size < 12 || !read(0, head, 12) || !IdIs(head, "RIFF") || !IdIs(head + 8, "sfbk")) return false;
    // The top-level chunks: the preset data must be the last.
    long at = 12, presetData = -1;
    std::uint32_t presetSize = 0;
    while (at + 12 <= size) {
        std::uint8_t chunk[12];
        if (!read(at, chunk, 12)) return false;
        const std::uint32_t length = Get32(chunk + 4);
        if (IdIs(chunk, "LIST") && IdIs(chunk + 8, "pdta")) {
            presetData = at;
            presetSize = length;
        }
        at += 8 + static_cast<long>(length) + (length & 1);
    }
    if (presetData < 0 || presetSize < 4 || presetData + 8 + static_cast<long>(presetSize) < size - 1 ||
        presetData + 8 + static_cast<long>(presetSize) > size)
        return false;
    Bytes data(presetSize - 4);
    if (!read(presetData + 12, data.data(), static_cast<long>(data.size()))) return false;

    std::array<Bytes, 9> parts;
    std::size_t i = 0;
    for (std::size_t p = 0; p < kParts.size(); ++p) {
        if (i + 8 > data.size() || !IdIs(&data[i], kParts[p].id)) return false;
        const std::uint32_t length = Get32(&data[i + 4]);
        if (length > data.size() - i - 8 || length % kParts[p].record != 0 || length < kParts[p].record)
            return false;
        parts[p].assign(data.begin() + static_cast<long>(i + 8), data.begin() + static_cast<long>(i + 8 + length));
        i += 8 + length;
    }

    MSoundFontCut cut;
    cut.presetDataOffset = presetData;
    if (!Cutter(parts).Cut(keep, &cut.presetData)) return false;
    cut.head.assign(head, head + 12);
    const std::size_t riffSize = static_cast<std::size_t>(cut.Size()) - 8;
    for (int b = 0; b < 4; ++b) cut.head[4 + b] = static_cast<std::uint8_t>(riffSize >> (8 * b));
    *out = std::move(cut);
    return true;
}
