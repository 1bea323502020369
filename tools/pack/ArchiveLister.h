#pragma once
// Lists any archive: for each entry point its run of chunks with kinds, sizes
// and what each holds. A damaged archive is reported with the exception's unit
// and line; the result is then non-zero.

#include <iosfwd>
#include <string>

namespace pack {

// 0 listed; 1 the file could not be opened; 2 the archive is damaged.
int ListArchive(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace pack
