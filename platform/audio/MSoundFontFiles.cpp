#include "platform/audio/MSoundFontFiles.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

namespace {

struct Cut {
    std::string path;
    std::shared_ptr<const MSoundFontCut> cut;
};

std::mutex gLock;
std::map<std::string, Cut>& Cuts() {
    static std::map<std::string, Cut> cuts;
    return cuts;
}

struct OpenFile {
    std::FILE* file = nullptr;
    long position = 0;
    long size = 0;
    std::shared_ptr<const MSoundFontCut> cut;  // null: the plain file

    bool ReadFile(long offset, void* into, long count) {
        return fseek(file, offset, SEEK_SET) == 0 &&
               std::fread(into, 1, static_cast<std::size_t>(count), file) == static_cast<std::size_t>(count);
    }
    // A cut file: its own header, the file's bytes up to the preset data, then its own preset data.
    bool Read(void* into, long count) {
        if (count < 0 || position + count > size) return false;
        auto* out = static_cast<std::uint8_t*>(into);
        while (count > 0) {
            long n = 0;
            if (position < 12) {
                n = std::min(count, 12 - position);
                std::memcpy(out, cut->head.data() + position, static_cast<std::size_t>(n));
            } else if (position < cut->presetDataOffset) {
                n = std::min(count, cut->presetDataOffset - position);
                if (!ReadFile(position, out, n)) return false;
            } else {
                n = count;
                std::memcpy(out, cut->presetData.data() + (position - cut->presetDataOffset),
                            static_cast<std::size_t>(n));
            }
            out += n;
            position += n;
            count -= n;
        }
        return true;
    }
};

void* Open(const char* name) {
    auto open = std::make_unique<OpenFile>();
    std::string path = name ? name : "";
    {
        std::lock_guard<std::mutex> guard(gLock);
        auto found = Cuts().find(path);
        if (found != Cuts().end()) {
            path = found->second.path;
            open->cut = found->second.cut;
        }
    }
    open->file = std::fopen(path.c_str(), "rb");
    if (!open->file) return nullptr;
    if (std::fseek(open->file, 0, SEEK_END) != 0) {
        std::fclose(open->file);
        return nullptr;
    }
    open->size = open->cut ? open->cut->Size() : std::ftell(open->file);
    std::fseek(open->file, 0, SEEK_SET);
    return open.release();
}

int Read(void* buffer, fluid_long_long_t count, void* handle) {
    auto* open = static_cast<OpenFile*>(handle);
    if (open->cut) return open->Read(buffer, static_cast<long>(count)) ? FLUID_OK : FLUID_FAILED;
    if (count < 0 || open->position + count > open->size || !open->ReadFile(open->position, buffer, static_cast<long>(count)))
        return FLUID_FAILED;
    open->position += static_cast<long>(count);
    return FLUID_OK;
}

int Seek(void* handle, fluid_long_long_t offset, int origin) {
    auto* open = static_cast<OpenFile*>(handle);
    const long base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? open->position : open->size;
    const long to = base + static_cast<long>(offset);
    if (to < 0 || to > open->size) return FLUID_FAILED;
    open->position = to;
    return FLUID_OK;
}

fluid_long_long_t Tell(void* handle) { return static_cast<OpenFile*>(handle)->position; }

int Close(void* handle) {
    auto* open = static_cast<OpenFile*>(handle);
    std::fclose(open->file);
    delete open;
    return FLUID_OK;
}

}  // namespace

namespace MSoundFontFiles {

bool AddLoader(fluid_settings_t* settings, fluid_synth_t* synth) {
    fluid_sfloader_t* loader = new_fluid_defsfloader(settings);
    if (!loader) return false;
    if (fluid_sfloader_set_callbacks(loader, Open, Read, Seek, Tell, Close) != FLUID_OK) {
        delete_fluid_sfloader(loader);
        return false;
    }
    fluid_synth_add_sfloader(synth, loader);  // the synthesizer owns it from now on
    return true;
}

void AddCut(const std::string& name, const std::string& path, std::shared_ptr<const MSoundFontCut> cut) {
    std::lock_guard<std::mutex> guard(gLock);
    Cuts()[name] = Cut{path, std::move(cut)};
}

void RemoveCut(const std::string& name) {
    std::lock_guard<std::mutex> guard(gLock);
    Cuts().erase(name);
}

}  // namespace MSoundFontFiles
