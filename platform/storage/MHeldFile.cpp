#include "platform/storage/MHeldFile.h"

#include <fcntl.h>
#include <unistd.h>

std::shared_ptr<const MHeldFile> MHeldFile::Hold(int descriptor, const std::string& name) {
    // A descriptor of our own: the opener may close its own at any time.
    const int kept = descriptor >= 0 ? fcntl(descriptor, F_DUPFD_CLOEXEC, 3) : -1;
    if (kept < 0) return nullptr;
    // Opening the descriptor's entry gives a handle with an offset of its own,
    // so reading through it never moves the opener's position.
    std::string through = "/proc/self/fd/" + std::to_string(kept);
    if (access(through.c_str(), R_OK) != 0) through = name;
    return std::shared_ptr<const MHeldFile>(new MHeldFile(kept, std::move(through)));
}

MHeldFile::~MHeldFile() { close(descriptor); }
