#include "tools/pack/ArchiveLister.h"

#include "formats/CFileMM.h"
#include "platform/core/CException.h"
#include "tools/pack/Music.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <ostream>
#include <set>
#include <sstream>
#include <vector>

namespace pack {

namespace {

constexpr const char* kUnit = "tools/ArchiveLister";

// The lister's own finding that the data cannot be what it claims to be.
class DamageException : public CFileException {
public:
    DamageException(int line, std::string what) : CFileException(kUnit, line), what(std::move(what)) {}
    std::string what;
};

std::string IdText(std::int32_t id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((static_cast<std::uint32_t>(id) >> shift) & 0xFF);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text;
}

int S16(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | p[1] << 8); }
int U16(const std::uint8_t* p) { return p[0] | p[1] << 8; }
std::uint32_t U32(const std::uint8_t* p) {
    return p[0] | static_cast<std::uint32_t>(p[1]) << 8 | static_cast<std::uint32_t>(p[2]) << 16 |
           static_cast<std::uint32_t>(p[3]) << 24;
}

class Lister {
public:
    Lister(CFileMM& file, std::ostream& out, long fileEnd) : file(file), out(out), fileEnd(fileEnd) {}

    // Reads a chunk header and makes sure its data lies inside the file.
    ChunkHeader Enter() {
        ChunkHeader h;
        file.ReadChunkHeader(&h);
        if (h.size > static_cast<std::uint32_t>(fileEnd - file.Tell()))
            throw DamageException(__LINE__, "chunk '" + IdText(h.id) + "' of " + std::to_string(h.size) +
                                                " bytes runs past the end of the file");
        return h;
    }

    std::vector<std::uint8_t> ReadData(std::uint32_t size) {
        std::vector<std::uint8_t> data(size);
        if (size) file.ReadBytes(data.data(), static_cast<int>(size));
        return data;
    }

    std::string Picture(std::uint32_t size) {
        if (size < 18) throw DamageException(__LINE__, "a picture shorter than a TGA header");
        std::uint8_t h[18];
        file.ReadBytes(h, 18);
        std::ostringstream s;
        s << U16(h + 12) << "x" << U16(h + 14) << " origin " << S16(h + 8) << "," << S16(h + 10) << " type "
          << int(h[2]) << " depth " << int(h[16]) << ((h[17] & 0x20) ? " top-first" : " bottom-first");
        return s.str();
    }

    std::string Sound(const std::vector<std::uint8_t>& d) {
        if (d.size() < 12 || std::string(d.begin(), d.begin() + 4) != "RIFF" ||
            std::string(d.begin() + 8, d.begin() + 12) != "WAVE")
            throw DamageException(__LINE__, "a sound that is not a RIFF WAVE file");
        const std::uint8_t* fmt = nullptr;
        std::uint32_t dataSize = 0;
        bool hasData = false;
        std::size_t p = 12;
        while (p + 8 <= d.size()) {
            std::string id(d.begin() + static_cast<long>(p), d.begin() + static_cast<long>(p) + 4);
            std::uint32_t len = U32(&d[p + 4]);
            if (len > d.size() - p - 8) throw DamageException(__LINE__, "a WAVE chunk runs past its sound");
            if (id == "fmt " && len >= 16) fmt = &d[p + 8];
            if (id == "data") dataSize = len, hasData = true;
            p += 8 + len + (len & 1);
        }
        if (!fmt || !hasData) throw DamageException(__LINE__, "a WAVE without \"fmt \" or \"data\"");
        const int tag = U16(fmt), channels = U16(fmt + 2), bits = U16(fmt + 14);
        const std::uint32_t rate = U32(fmt + 4);
        const int block = U16(fmt + 12);
        std::ostringstream s;
        s << (tag == 1 ? "PCM" : "format " + std::to_string(tag)) << " " << channels << " ch " << rate << " Hz "
          << bits << " bit";
        if (block > 0 && rate > 0) {
            const std::uint32_t frames = dataSize / static_cast<std::uint32_t>(block);
            s << " " << frames << " frames " << std::fixed << std::setprecision(3) << double(frames) / rate << " s";
        }
        return s.str();
    }

    std::string Music(const std::vector<std::uint8_t>& d) {
        MidiSummary m;
        try {
            m = SummariseMidi(d.data(), d.size());
        } catch (const std::runtime_error& e) {
            throw DamageException(__LINE__, e.what());
        }
        std::ostringstream s;
        s << "SMF format " << m.format << " " << m.tracks << " tracks " << m.ticks << " ticks " << std::fixed
          << std::setprecision(2) << m.seconds << " s " << m.notes << " notes";
        return s.str();
    }

    // One chunk of a run, described on one line (arrays list their frames below).
    void Chunk() {
        const long start = file.Tell();
        ChunkHeader h = Enter();
        out << "  @" << start << " " << IdText(h.id) << " " << h.size << " bytes: ";
        if (h.id == kIdRgba) {
            out << "picture " << Picture(h.size) << "\n";
        } else if (h.id == kIdAnim) {
            long count = 0;
            file.ReadLong(&count);
            if (count < 0 || count > file.Remaining() / 8)
                throw DamageException(__LINE__, "a frame count of " + std::to_string(count) + " does not fit its array");
            out << "array " << count << " frames\n";
            for (long i = 0; i < count; ++i) {
                ChunkHeader frame = Enter();
                if (frame.id != kIdRgba)
                    throw DamageException(__LINE__, "frame " + std::to_string(i) + " is '" + IdText(frame.id) + "', not 'rgba'");
                out << "    frame " << i << ": " << Picture(frame.size) << "\n";
                file.Ascend();
            }
        } else if (h.id == kIdWave) {
            out << "sound " << Sound(ReadData(h.size)) << "\n";
        } else if (h.id == kIdMidi) {
            out << "music " << Music(ReadData(h.size)) << "\n";
        } else {
            out << "unknown kind\n";
        }
        file.Ascend();
    }

    CFileMM& file;
    std::ostream& out;
    long fileEnd;
};

}  // namespace

int ListArchive(const std::string& path, std::ostream& out, std::ostream& err) {
    std::FILE* probe = std::fopen(path.c_str(), "rb");
    if (!probe) {
        err << path << ": cannot be opened\n";
        return 1;
    }
    std::fseek(probe, 0, SEEK_END);
    const long fileSize = std::ftell(probe);
    std::fclose(probe);

    try {
        CFileMM file;
        if (file.OpenArchive(MakeFileSpec(path.c_str()), kModeReadExistingBinary) != 0) {
            err << path << ": cannot be opened\n";
            return 1;
        }
        const int count = file.GetEntryCount();
        out << "archive " << path << ": " << count << " entries, " << fileSize << " bytes\n";
        if (count < 0 || count > (fileSize - 24) / 4) throw DamageException(__LINE__, "the entry count does not fit the file");
        std::set<long> starts;
        for (int i = 0; i < count; ++i) {
            const long at = file.GetEntry(i);
            if (at < 12 || at >= fileSize) throw DamageException(__LINE__, "entry " + std::to_string(i) + " points outside the file");
            starts.insert(at);
        }
        // Pictures at higher densities follow the runs; they are summed up below.
        const long densityArea = file.DensityAreaStart();
        const long runsEnd = densityArea > 0 ? densityArea : fileSize;
        Lister lister(file, out, fileSize);
        for (int i = 0; i < count; ++i) {
            const long at = file.SeekEntry(i);
            int sameAs = -1;
            for (int j = 0; j < i; ++j)
                if (file.GetEntry(j) == at) {
                    sameAs = j;
                    break;
                }
            if (sameAs >= 0) {
                out << "entry " << i << " @" << at << ": same run as entry " << sameAs << "\n";
                continue;
            }
            // A run has no terminator: it is listed up to the next entry's start.
            auto next = starts.upper_bound(at);
            const long end = next == starts.end() ? runsEnd : *next;
            out << "entry " << i << " @" << at << ":\n";
            while (file.Tell() < end && file.Tell() + 8 <= fileSize) lister.Chunk();
            if (file.Tell() != end && file.Tell() + 8 <= fileSize)
                throw DamageException(__LINE__, "the run of entry " + std::to_string(i) + " overlaps the next entry");
        }
        for (int d = 2; densityArea > 0 && d <= kHighestDensity; ++d) {
            if (file.SelectDensity(d) != d) throw DamageException(__LINE__, "no table of density " + std::to_string(d));
            out << "density " << d << ": pictures after @" << densityArea << "\n";
        }
        file.Close();
    } catch (const DamageException& e) {
        err << path << ": damaged archive (" << e.what << "): file: " << e.Unit() << " line: " << e.Line() << "\n";
        return 2;
    } catch (const CException& e) {
        err << path << ": damaged archive: file: " << e.Unit() << " line: " << e.Line() << "\n";
        return 2;
    }
    return 0;
}

}  // namespace pack
