#include "tools/pack/ArchiveWriter.h"

#include "formats/CFileMM.h"
#include "tools/pack/Music.h"
#include "tools/pack/Picture.h"
#include "tools/pack/Sound.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace pack {

namespace {

std::vector<std::uint8_t> ReadBinary(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SourceError(path, 0, "cannot be read");
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using Bytes = std::vector<std::uint8_t>;

// One asset chunk ready to write: a kind and its data, or an array of frames;
// a picture's (or each frame's) versions at densities 2 .. kHighestDensity.
struct Chunk {
    std::int32_t id = 0;
    Bytes data;
    std::vector<Bytes> frames;  // "anim" only
    std::vector<std::vector<Bytes>> dense;  // [picture][density - 2]
};

template <typename Render>
std::vector<Bytes> DenseVersions(Render render) {
    std::vector<Bytes> versions;
    for (int d = 2; d <= kHighestDensity; ++d) versions.push_back(EncodeDenseTga(render(d)));
    return versions;
}

Chunk BuildItem(const ItemSpec& item, const Params& globals, PackCounts& counts) {
    Chunk chunk;
    switch (item.kind) {
        case ItemKind::Picture:
            chunk.id = kIdRgba;
            chunk.data = EncodeRunLengthTga(RenderSvgPicture(item.frames[0], globals));
            chunk.dense.push_back(DenseVersions([&](int d) { return RenderSvgPicture(item.frames[0], globals, d); }));
            ++counts.pictures;
            break;
        case ItemKind::Sprites:
        case ItemKind::Font:
            chunk.id = kIdAnim;
            if (item.renderedFont) {
                for (const Picture& glyph : RenderFontGlyphs(item.fontParams, item.at))
                    chunk.frames.push_back(EncodeRunLengthTga(glyph));
                chunk.dense.resize(chunk.frames.size());
                for (int d = 2; d <= kHighestDensity; ++d) {
                    std::vector<Picture> glyphs = RenderFontGlyphs(item.fontParams, item.at, d);
                    for (std::size_t i = 0; i < glyphs.size(); ++i) chunk.dense[i].push_back(EncodeDenseTga(glyphs[i]));
                }
            } else {
                for (const PictureSpec& frame : item.frames) {
                    chunk.frames.push_back(EncodeRunLengthTga(RenderSvgPicture(frame, globals)));
                    chunk.dense.push_back(DenseVersions([&](int d) { return RenderSvgPicture(frame, globals, d); }));
                }
            }
            counts.pictures += static_cast<int>(chunk.frames.size());
            ++counts.arrays;
            break;
        case ItemKind::Sound:
            chunk.id = kIdWave;
            if (!item.wavePath.empty()) {
                chunk.data = ReadBinary(item.wavePath);
                if (chunk.data.size() < 12 || std::string(chunk.data.begin(), chunk.data.begin() + 4) != "RIFF" ||
                    std::string(chunk.data.begin() + 8, chunk.data.begin() + 12) != "WAVE")
                    throw SourceError(item.wavePath, 0, "not a RIFF WAVE file");
            } else {
                chunk.data = EncodeWave(SynthesiseRecipe(item.recipe));
            }
            ++counts.sounds;
            break;
        case ItemKind::Music:
            chunk.id = kIdMidi;
            if (!item.midiPath.empty()) {
                chunk.data = ReadBinary(item.midiPath);
                try {
                    SummariseMidi(chunk.data.data(), chunk.data.size());
                } catch (const std::runtime_error& e) {
                    throw SourceError(item.midiPath, 0, e.what());
                }
            } else {
                chunk.data = ScoreToMidi(SplitLines(ReadTextFile(item.scorePath), item.scorePath));
            }
            ++counts.tunes;
            break;
    }
    return chunk;
}

// A 1x picture as written: where its chunk starts, and its other densities.
struct PicturePlace {
    long position = 0;
    const std::vector<Bytes>* dense = nullptr;
};

void WriteChunk(CFileIFF& file, const Chunk& chunk, std::vector<PicturePlace>& pictures) {
    if (chunk.id != kIdAnim) {
        if (chunk.id == kIdRgba) pictures.push_back({file.Tell(), &chunk.dense[0]});
        file.WriteChunk(chunk.id, chunk.data.data(), static_cast<long>(chunk.data.size()));
        return;
    }
    file.BeginChunk(kIdAnim, 0);
    file.WriteLong(static_cast<long>(chunk.frames.size()));
    for (std::size_t i = 0; i < chunk.frames.size(); ++i) {
        pictures.push_back({file.Tell(), &chunk.dense[i]});
        file.WriteChunk(kIdRgba, chunk.frames[i].data(), static_cast<long>(chunk.frames[i].size()));
    }
    file.EndChunk();
}

// After the runs: every picture at each higher density, each density's table,
// the index of the tables and the closing reference to them.
void WriteDensities(CFileIFF& file, const std::vector<PicturePlace>& pictures) {
    const long areaStart = file.Tell();
    std::vector<std::pair<long, long>> tables;
    for (int d = 2; d <= kHighestDensity; ++d) {
        std::vector<long> placed;
        for (const PicturePlace& picture : pictures) {
            const Bytes& bytes = (*picture.dense)[static_cast<std::size_t>(d - 2)];
            placed.push_back(file.Tell());
            file.WriteChunk(kIdDenseRgba, bytes.data(), static_cast<long>(bytes.size()));
        }
        tables.emplace_back(d, file.Tell());
        file.BeginChunk(kIdDenseTable, 0);
        file.WriteLong(d);
        file.WriteLong(static_cast<long>(pictures.size()));
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            file.WriteLong(pictures[i].position);
            file.WriteLong(placed[i]);
        }
        file.EndChunk();
    }
    const long index = file.Tell();
    file.BeginChunk(kIdDenseIndex, 0);
    file.WriteLong(static_cast<long>(tables.size()));
    for (const auto& [density, at] : tables) {
        file.WriteLong(density);
        file.WriteLong(at);
    }
    file.EndChunk();
    file.BeginChunk(kIdDenseRef, 0);
    file.WriteLong(areaStart);
    file.WriteLong(index);
    file.EndChunk();
}

}  // namespace

PackCounts WriteArchive(const Manifest& manifest, const std::string& outPath) {
    PackCounts counts;
    counts.entries = manifest.entryCount;
    // Everything is built before the file is touched: a faulty source stops the run early.
    std::vector<std::vector<Chunk>> runs;
    for (const EntrySpec& entry : manifest.entries) {
        runs.emplace_back();
        for (const ItemSpec& item : entry.items) runs.back().push_back(BuildItem(item, manifest.globals, counts));
    }

    const std::string temporary = outPath + ".part";
    std::vector<long> positions(static_cast<std::size_t>(manifest.entryCount), 0);
    try {
        CFileIFF file(kIdRIFF, kIdMMFL);
        if (file.OpenChunkFile(MakeFileSpec(temporary.c_str()), kModeWriteBinary) != 0)
            throw SourceError(temporary, 0, "cannot be written");
        file.BeginChunk(kIdMap, 0);
        file.WriteLong(manifest.entryCount);
        const long table = file.Tell();
        for (int i = 0; i < manifest.entryCount; ++i) file.WriteLong(0);
        file.EndChunk();
        std::vector<PicturePlace> pictures;
        for (std::size_t e = 0; e < manifest.entries.size(); ++e) {
            const EntrySpec& entry = manifest.entries[e];
            if (entry.sameAs >= 0) continue;
            positions[static_cast<std::size_t>(entry.index)] = file.Tell();
            for (const Chunk& chunk : runs[e]) WriteChunk(file, chunk, pictures);
        }
        WriteDensities(file, pictures);
        for (const EntrySpec& entry : manifest.entries)
            if (entry.sameAs >= 0)
                positions[static_cast<std::size_t>(entry.index)] = positions[static_cast<std::size_t>(entry.sameAs)];
        for (int i = 0; i < manifest.entryCount; ++i) file.PatchLong(table + 4L * i, positions[static_cast<std::size_t>(i)]);
        counts.bytes = file.Tell();
        file.Close();
    } catch (...) {
        std::remove(temporary.c_str());
        throw;
    }
    if (std::rename(temporary.c_str(), outPath.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw SourceError(outPath, 0, "cannot be replaced");
    }
    return counts;
}

}  // namespace pack
