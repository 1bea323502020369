#pragma once
// A file's location as the open-file dialog returns it and as the archive's
// folder is stored: a directory and a name, each a terminated 256-byte text.

#include <cstddef>

struct FileSpec {
    static constexpr std::size_t kLength = 256;
    char directory[kLength] = {};  // with or without a trailing separator
    char name[kLength] = {};
};

// Splits a path at its last separator ('/' or '\\') into a FileSpec; a path
// without a separator names a file in the current folder (".\\"). Texts longer
// than a field are cut at 255 characters.
FileSpec MakeFileSpec(const char* path);
