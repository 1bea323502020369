#pragma once
// An open file kept open for whoever reads it again later. Its path names the
// file that was opened, even after its name was given to another file (a
// package upgrade replaces the asset archive while the game runs) or removed.

#include <memory>
#include <string>

class MHeldFile {
public:
    // Keeps the file open behind descriptor; name is where it was opened from.
    // Null when the descriptor cannot be duplicated.
    static std::shared_ptr<const MHeldFile> Hold(int descriptor, const std::string& name);
    ~MHeldFile();
    MHeldFile(const MHeldFile&) = delete;
    MHeldFile& operator=(const MHeldFile&) = delete;

    // A path that opens this very file: through the process's descriptor table
    // where the system has one, else the name it was opened from.
    const std::string& Path() const { return path; }

private:
    MHeldFile(int descriptor, std::string path) : descriptor(descriptor), path(std::move(path)) {}
    int descriptor;
    std::string path;
};
