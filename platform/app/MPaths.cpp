#include "platform/app/MPaths.h"

#include <unistd.h>

#ifndef ZANBOR_DATA_DIR
#define ZANBOR_DATA_DIR "/usr/local/share/zanbor"
#endif

std::string GetProgramFolder() {
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return ".";
    std::string program(path, static_cast<std::size_t>(length));
    std::size_t slash = program.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? "/" : program.substr(0, slash);
}

std::string GetInstalledDataFolder() { return ZANBOR_DATA_DIR; }
