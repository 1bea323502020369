#pragma once
// The single-instance guard: an advisory lock on a file in a folder that only
// this user can create files in, so that nobody else can take the lock first.
// Tried in order: $XDG_RUNTIME_DIR, a folder of the user's cache
// ($XDG_CACHE_HOME or ~/.cache), and a folder of the user's own in the
// temporary folder. A folder counts only when it is a real folder (no link),
// owned by the user and closed to everybody else; a lock file counts only when
// it is a plain file of the user's own, never reached through a link.

#include <string>
#include <vector>

class MInstanceLock {
public:
    enum Result { kAcquired = 0, kHeldElsewhere = 1, kNoPlace = 2 };

    MInstanceLock() = default;
    ~MInstanceLock();
    MInstanceLock(const MInstanceLock&) = delete;
    MInstanceLock& operator=(const MInstanceLock&) = delete;

    // Takes the lock "<name>.lock" in the first usable folder. kHeldElsewhere
    // when another process holds it; kNoPlace when no folder or file could be
    // used (the caller should then run without the guard).
    int Acquire(const char* name);
    // Takes the lock "<name>.lock" in folder, a folder of the program's own
    // (made, and closed to others, as needed). Results as Acquire.
    int AcquireIn(const std::string& folder, const char* name);
    void Release();
    bool Held() const { return fd >= 0; }
    // The lock file in use (empty when none).
    const std::string& Path() const { return path; }

    // The folders tried for name, in order (whether usable or not).
    static std::vector<std::string> CandidateFolders(const char* name);

private:
    int TryFolder(const std::string& folder, const std::string& file, bool ownFolder);

    int fd = -1;
    std::string path;
};
