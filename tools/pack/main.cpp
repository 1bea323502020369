// zanbor-pack: builds the asset archive from a manifest, or lists an archive.
//   zanbor-pack [--output FILE] MANIFEST   (default: zanborassets.mm beside the program)
//   zanbor-pack --list ARCHIVE
//   zanbor-pack --preview LAYOUT --png OUT.png MANIFEST   (a screen made of the pictures)

#include "platform/core/CException.h"
#include "tools/pack/ArchiveLister.h"
#include "tools/pack/ArchiveWriter.h"
#include "tools/pack/Manifest.h"
#include "tools/pack/Preview.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

// The SVG and font libraries keep caches for the life of the process; in the
// sanitizer build they must not count as this program's leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:librsvg\nleak:libcairo\nleak:libfontconfig\nleak:libglib\nleak:libgobject\nleak:libgio\n"
           "leak:libpango\nleak:libpixman\nleak:libfreetype\nleak:libharfbuzz\n";
}
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }

namespace {

std::string ProgramFolder() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0) return ".";
    path[n] = '\0';
    std::string text(path);
    std::size_t slash = text.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : text.substr(0, slash);
}

int Usage() {
    std::cerr << "usage: zanbor-pack [--output FILE] MANIFEST\n"
                 "       zanbor-pack --list ARCHIVE\n"
                 "       zanbor-pack --preview LAYOUT --png OUT.png MANIFEST\n";
    return 64;
}

}  // namespace

int main(int argc, char** argv) {
    std::string output, manifestPath, listPath, layoutPath, pngPath;
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "--output" || arg == "-o") && i + 1 < argc) output = argv[++i];
        else if (arg == "--list" && i + 1 < argc) listPath = argv[++i];
        else if (arg == "--preview" && i + 1 < argc) layoutPath = argv[++i];
        else if (arg == "--png" && i + 1 < argc) pngPath = argv[++i];
        else if (arg == "--quiet" || arg == "-q") quiet = true;
        else if (!arg.empty() && arg[0] != '-' && manifestPath.empty()) manifestPath = arg;
        else return Usage();
    }
    if (!listPath.empty()) {
        if (!manifestPath.empty() || !output.empty()) return Usage();
        return pack::ListArchive(listPath, std::cout, std::cerr);
    }
    if (manifestPath.empty()) return Usage();
    if (!layoutPath.empty() || !pngPath.empty()) {
        if (layoutPath.empty() || pngPath.empty()) return Usage();
        try {
            pack::WritePreview(pack::LoadManifest(manifestPath), layoutPath, pngPath);
            return 0;
        } catch (const std::exception& e) {
            std::cerr << "zanbor-pack: " << e.what() << "\n";
            return 1;
        }
    }
    if (output.empty()) output = ProgramFolder() + "/zanborassets.mm";

    const auto started = std::chrono::steady_clock::now();
    try {
        pack::Manifest manifest = pack::LoadManifest(manifestPath);
        pack::PackCounts counts = pack::WriteArchive(manifest, output);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (!quiet)
            std::printf("zanbor-pack: %s: %d entries, %d pictures in %d arrays or alone, %d sounds, %d tunes, "
                        "%ld bytes in %.2f s\n",
                        output.c_str(), counts.entries, counts.pictures, counts.arrays, counts.sounds, counts.tunes,
                        counts.bytes, seconds);
        return 0;
    } catch (const pack::SourceError& e) {
        std::cerr << "zanbor-pack: " << e.what() << "\n";
    } catch (const CException& e) {
        std::cerr << "zanbor-pack: " << output << ": " << e.Report() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "zanbor-pack: " << e.what() << "\n";
    }
    return 1;
}
