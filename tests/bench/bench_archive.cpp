// The asset archive's speed: opening a ~5 MB archive and walking every chunk of
// every entry (raw, and with pictures and sounds decoded), and decoding one
// 800 x 600 run-length TGA. The archive is written with the chunk writer into a
// temporary folder when the benchmark starts.

#include "formats/CFileMM.h"
#include "formats/MImage.h"
#include "formats/MWaveFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Entry {
    std::vector<std::int32_t> kinds;  // the chunk kinds of the run, in order
};

struct Fixture {
    ~Fixture() {
        std::error_code ignored;
        if (!folder.empty() && folder != ".") std::filesystem::remove_all(folder, ignored);
    }
    std::string folder;
    std::string archivePath;
    std::string tgaPath;
    std::vector<Entry> entries;
    long archiveBytes = 0;
};

MImage Picture(int width, int height, unsigned seed) {
    MImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    // Flat areas with edges, as drawn pictures have: runs and raw stretches.
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned band = ((x / 13) ^ (y / 7)) + seed;
            unsigned noise = (x * 7 + y * 13 + seed) % 17 == 0 ? (x * y) & 0xFF : 0;
            image.pixels[static_cast<std::size_t>(y) * width + x] = (band * 0x01030507u + noise) | 0xFFu;
        }
    }
    return image;
}

std::vector<std::uint8_t> Wave(std::uint32_t samples, unsigned seed) {
    std::vector<std::uint8_t> out;
    auto put32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i))); };
    auto put16 = [&](std::uint16_t v) { out.push_back(std::uint8_t(v)); out.push_back(std::uint8_t(v >> 8)); };
    std::uint32_t dataBytes = samples * 2;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(4 + 24 + 8 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(16);
    put16(1); put16(1); put32(22050); put32(44100); put16(2); put16(16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(dataBytes);
    for (std::uint32_t i = 0; i < samples; ++i) put16(static_cast<std::uint16_t>((i * (seed + 3)) & 0x3FFF));
    return out;
}

const Fixture& Setup() {
    static const Fixture fixture = [] {
        Fixture f;
        std::string pattern = (std::filesystem::temp_directory_path() / "zanbor-bench-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        f.folder = ::mkdtemp(buffer.data()) ? buffer.data() : ".";
        f.archivePath = f.folder + "/bench.mm";
        f.tgaPath = f.folder + "/big.tga";

        // 12 entries like the game's: backgrounds, sprite arrays, sounds, music.
        CFileMM writer;
        writer.OpenArchive(MakeFileSpec(f.archivePath.c_str()), kModeWriteBinary);
        const int entryCount = 12;
        writer.BeginChunk(kIdMap, 0);
        writer.WriteLong(entryCount);
        long table = writer.Tell();
        for (int i = 0; i < entryCount; ++i) writer.WriteLong(0);
        writer.EndChunk();
        for (int e = 0; e < entryCount; ++e) {
            writer.PatchLong(table + 4L * e, writer.Tell());
            Entry entry;
            auto background = EncodeTga(Picture(400, 300, e), 10, 32, false);
            writer.WriteChunk(kIdRgba, background.data(), static_cast<long>(background.size()));
            entry.kinds.push_back(kIdRgba);
            for (int a = 0; a < 4; ++a) {
                writer.BeginChunk(kIdAnim, 0);
                writer.WriteLong(6);
                for (int frame = 0; frame < 6; ++frame) {
                    auto tga = EncodeTga(Picture(48, 48, e * 31 + a * 7 + frame), 10, 32, false);
                    writer.WriteChunk(kIdRgba, tga.data(), static_cast<long>(tga.size()));
                }
                writer.EndChunk();
                entry.kinds.push_back(kIdAnim);
            }
            for (int s = 0; s < 3; ++s) {
                auto wave = Wave(22050 * 3 / 2 + 101 * s, e + s);
                writer.WriteChunk(kIdWave, wave.data(), static_cast<long>(wave.size()));
                entry.kinds.push_back(kIdWave);
            }
            std::vector<std::uint8_t> midi(100001, static_cast<std::uint8_t>(e));
            writer.WriteChunk(kIdMidi, midi.data(), static_cast<long>(midi.size()));
            entry.kinds.push_back(kIdMidi);
            f.entries.push_back(entry);
        }
        writer.Close();
        f.archiveBytes = static_cast<long>(std::filesystem::file_size(f.archivePath));

        auto big = EncodeTga(Picture(800, 600, 5), 10, 32, false);
        std::FILE* out = std::fopen(f.tgaPath.c_str(), "wb");
        std::fwrite(big.data(), 1, big.size(), out);
        std::fclose(out);
        return f;
    }();
    return fixture;
}

void ReadWhole(CFileMM& archive, std::vector<std::uint8_t>& buffer) {
    buffer.resize(static_cast<std::size_t>(archive.AvailableInChunk()));
    if (!buffer.empty()) archive.ReadBytes(buffer.data(), static_cast<int>(buffer.size()));
}

// Open, then every chunk of every entry: headers entered and left, bytes read.
void BM_OpenAndReadEveryChunk(benchmark::State& state) {
    const Fixture& f = Setup();
    std::vector<std::uint8_t> buffer;
    for (auto _ : state) {
        CFileMM archive;
        archive.OpenArchive(MakeFileSpec(f.archivePath.c_str()), kModeReadExisting);
        for (std::size_t e = 0; e < f.entries.size(); ++e) {
            archive.SeekEntry(static_cast<int>(e));
            for (std::int32_t kind : f.entries[e].kinds) {
                ChunkHeader header;
                archive.ReadChunkHeader(&header);
                if (kind == kIdAnim) {
                    long frames = 0;
                    archive.ReadLong(&frames);
                    for (long i = 0; i < frames; ++i) {
                        archive.ReadChunkHeader(&header);
                        ReadWhole(archive, buffer);
                        archive.Ascend();
                    }
                } else {
                    ReadWhole(archive, buffer);
                }
                archive.Ascend();
            }
        }
        archive.Close();
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * f.archiveBytes);
    state.counters["archive_MB"] = static_cast<double>(f.archiveBytes) / 1e6;
}
BENCHMARK(BM_OpenAndReadEveryChunk)->Unit(benchmark::kMillisecond);

// The same walk as the loaders do it: pictures decoded, sounds read through the
// WAVE reader, music read whole.
void BM_OpenAndDecodeEveryChunk(benchmark::State& state) {
    const Fixture& f = Setup();
    std::vector<std::uint8_t> buffer;
    for (auto _ : state) {
        CFileMM archive;
        archive.OpenArchive(MakeFileSpec(f.archivePath.c_str()), kModeReadExisting);
        for (std::size_t e = 0; e < f.entries.size(); ++e) {
            archive.SeekEntry(static_cast<int>(e));
            for (std::int32_t kind : f.entries[e].kinds) {
                ChunkHeader header;
                archive.ReadChunkHeader(&header);
                if (kind == kIdRgba) {
                    MImage image;
                    image.Load(archive);
                    benchmark::DoNotOptimize(image.pixels.data());
                } else if (kind == kIdAnim) {
                    long frames = 0;
                    archive.ReadLong(&frames);
                    for (long i = 0; i < frames; ++i) {
                        archive.ReadChunkHeader(&header);
                        MImage image;
                        image.Load(archive);
                        benchmark::DoNotOptimize(image.pixels.data());
                        archive.Ascend();
                    }
                } else if (kind == kIdWave) {
                    MWaveFile wave;
                    wave.Open(&archive, nullptr, MWaveFile::kModeRead);
                    buffer.resize(wave.GetSize());
                    std::uint32_t got = 0;
                    wave.Read(buffer.data(), wave.GetSize(), &got);
                } else {
                    ReadWhole(archive, buffer);
                }
                archive.Ascend();
            }
        }
        archive.Close();
    }
    state.SetBytesProcessed(state.iterations() * f.archiveBytes);
}
BENCHMARK(BM_OpenAndDecodeEveryChunk)->Unit(benchmark::kMillisecond);

void BM_DecodeRunLengthTga800x600(benchmark::State& state) {
    const Fixture& f = Setup();
    for (auto _ : state) {
        MFileMMIO file;
        std::vector<char> name(f.tgaPath.begin(), f.tgaPath.end());
        name.push_back('\0');
        file.OpenFile(name.data(), kModeReadExistingBinary, kByteOrderLittle);
        MImage image;
        image.Load(file);
        benchmark::DoNotOptimize(image.pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BM_DecodeRunLengthTga800x600)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
