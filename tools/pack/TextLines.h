#pragma once
// The line reader shared by the manifest, the sound recipes and the scores:
// whitespace-separated words, double quotes to keep spaces in a word, "#" at the
// start of a word for a comment, "key=value" words, and ${name} substitution.

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace pack {

// A fault in a source text, told with its file and line.
class SourceError : public std::runtime_error {
public:
    SourceError(const std::string& where, int line, const std::string& what)
        : std::runtime_error(where + ":" + std::to_string(line) + ": " + what) {}
};

struct Line {
    std::string file;
    int number = 0;
    int indent = 0;                  // leading blanks (tabs count as one)
    std::vector<std::string> words;  // quotes removed
};

using Params = std::map<std::string, std::string>;

// Splits text into lines of words; blank and comment lines are dropped.
std::vector<Line> SplitLines(const std::string& text, const std::string& file);
std::vector<std::string> SplitWords(const std::string& text, const std::string& file, int line);

// Reads a whole file; throws SourceError when it cannot be read.
std::string ReadTextFile(const std::string& path);

// "key=value" words into params; other words go to rest (in order).
Params ParseParams(const Line& line, std::size_t first, std::vector<std::string>* rest = nullptr);

// Replaces ${name} and ${name:-default} by values from the maps, the first map
// that has the name winning. With escapeXml the values are escaped for SVG text.
// Unknown names without a default throw SourceError.
// With keepUnknown, unknown names stay as they are (for a loop's body, whose
// other names are filled in later).
std::string Substitute(const std::string& text, const std::vector<const Params*>& scopes, bool escapeXml,
                       const std::string& file, int line, bool keepUnknown = false);

// Numbers in params, with the source position for the message.
double NumberParam(const Params& params, const std::string& key, double fallback, const Line& at);
double ToNumber(const std::string& text, const Line& at);
std::string DirectoryOf(const std::string& path);
std::string JoinPath(const std::string& directory, const std::string& name);

}  // namespace pack
