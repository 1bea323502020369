#include "platform/app/MInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

// A folder only this user can add files to: a directory (not a link to one),
// owned by the user, with no access for group or others.
bool IsPrivate(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == getuid() && (info.st_mode & 077) == 0;
}

// Creates the missing folders of path (mode 0700); existing ones are left as they are.
void MakeFolders(const std::string& path) {
    for (std::size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '/') continue;
        mkdir(path.substr(0, pos).c_str(), 0700);
    }
}

// Opens folder as a directory without following a link; -1 unless private.
// ownFolder: the folder is the program's own, so it is made when missing and
// closed to others when the user left it open.
int OpenPrivateFolder(const std::string& folder, bool ownFolder) {
    if (ownFolder) MakeFolders(folder);
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir < 0) return -1;
    struct stat info {};
    if (fstat(dir, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid()) {
        close(dir);
        return -1;
    }
    if ((info.st_mode & 077) != 0 && ownFolder) {
        if (fchmod(dir, 0700) != 0 || fstat(dir, &info) != 0) {
            close(dir);
            return -1;
        }
    }
    if (!IsPrivate(info)) {
        close(dir);
        return -1;
    }
    return dir;
}

}  // namespace

MInstanceLock::~MInstanceLock() { Release(); }

void MInstanceLock::Release() {
    if (fd >= 0) close(fd);  // closing ends the lock
    fd = -1;
    path.clear();
}

std::vector<std::string> MInstanceLock::CandidateFolders(const char* name) {
    std::vector<std::string> folders;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (IsAbsolute(runtime)) folders.push_back(runtime);
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    if (IsAbsolute(cache))
        folders.push_back(std::string(cache) + "/" + name);
    else if (IsAbsolute(home))
        folders.push_back(std::string(home) + "/.cache/" + name);
    const char* tmp = std::getenv("TMPDIR");
    folders.push_back(std::string(IsAbsolute(tmp) ? tmp : "/tmp") + "/" + name + "-" + std::to_string(getuid()));
    return folders;
}

int MInstanceLock::TryFolder(const std::string& folder, const std::string& file, bool ownFolder) {
    int dir = OpenPrivateFolder(folder, ownFolder);
    if (dir < 0) return kNoPlace;
    int lock = openat(dir, file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    close(dir);
    if (lock < 0) return kNoPlace;  // a link (ELOOP) or no way to create it
    struct stat info {};
    if (fstat(lock, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != getuid()) {
        close(lock);  // not ours: never lock it nor wait on it
        return kNoPlace;
    }
    if (flock(lock, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(lock);
        return error == EWOULDBLOCK ? kHeldElsewhere : kNoPlace;
    }
    fd = lock;
    path = folder + "/" + file;
    return kAcquired;
}

int MInstanceLock::Acquire(const char* name) {
    if (fd >= 0) return kAcquired;
    const std::string file = std::string(name) + ".lock";
    const std::vector<std::string> folders = CandidateFolders(name);
    const bool hasRuntime = IsAbsolute(std::getenv("XDG_RUNTIME_DIR"));
    for (std::size_t i = 0; i < folders.size(); ++i) {
        // The runtime folder belongs to the session; the others are ours.
        const bool ownFolder = !(i == 0 && hasRuntime);
        const int result = TryFolder(folders[i], file, ownFolder);
        if (result != kNoPlace) return result;
    }
    return kNoPlace;
}

int MInstanceLock::AcquireIn(const std::string& folder, const char* name) {
    if (fd >= 0) return kAcquired;
    if (folder.empty() || folder[0] != '/') return kNoPlace;
    return TryFolder(folder, std::string(name) + ".lock", true);
}
