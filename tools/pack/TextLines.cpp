#include "tools/pack/TextLines.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace pack {

std::vector<std::string> SplitWords(const std::string& text, const std::string& file, int line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r')) ++i;
        if (i >= text.size()) break;
        // A comment: "#" first on the line, or "#" alone as a word; "#ff0000" later on is a word.
        if (text[i] == '#' && (words.empty() || i + 1 == text.size() || text[i + 1] == ' ' || text[i + 1] == '\t'))
            break;
        std::string word;
        bool quoted = false;
        bool hadQuotes = false;
        while (i < text.size()) {
            char c = text[i];
            if (quoted) {
                if (c == '\\' && i + 1 < text.size()) {
                    word += text[i + 1];
                    i += 2;
                    continue;
                }
                if (c == '"') {
                    quoted = false;
                    ++i;
                    continue;
                }
                word += c;
                ++i;
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r') break;
            if (c == '"') {
                quoted = true;
                hadQuotes = true;
                ++i;
                continue;
            }
            word += c;
            ++i;
        }
        if (quoted) throw SourceError(file, line, "a quote is not closed");
        if (!word.empty() || hadQuotes) words.push_back(word);
    }
    return words;
}

std::vector<Line> SplitLines(const std::string& text, const std::string& file) {
    std::vector<Line> lines;
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        Line line;
        line.file = file;
        line.number = number;
        while (line.indent < static_cast<int>(raw.size()) && (raw[line.indent] == ' ' || raw[line.indent] == '\t'))
            ++line.indent;
        line.words = SplitWords(raw, file, number);
        if (!line.words.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SourceError(path, 0, "cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Params ParseParams(const Line& line, std::size_t first, std::vector<std::string>* rest) {
    Params params;
    for (std::size_t i = first; i < line.words.size(); ++i) {
        const std::string& word = line.words[i];
        std::size_t eq = word.find('=');
        if (eq == std::string::npos || eq == 0) {
            if (!rest) throw SourceError(line.file, line.number, "expected key=value, found \"" + word + "\"");
            rest->push_back(word);
            continue;
        }
        params[word.substr(0, eq)] = word.substr(eq + 1);
    }
    return params;
}

static std::string EscapeXml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Substitute(const std::string& text, const std::vector<const Params*>& scopes, bool escapeXml,
                       const std::string& file, int line, bool keepUnknown) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t open = text.find("${", i);
        if (open == std::string::npos) {
            out.append(text, i, std::string::npos);
            break;
        }
        out.append(text, i, open - i);
        std::size_t close = text.find('}', open);
        if (close == std::string::npos) throw SourceError(file, line, "\"${\" without \"}\"");
        std::string name = text.substr(open + 2, close - open - 2);
        std::string fallback;
        bool hasFallback = false;
        std::size_t dash = name.find(":-");
        if (dash != std::string::npos) {
            fallback = name.substr(dash + 2);
            name = name.substr(0, dash);
            hasFallback = true;
        }
        const std::string* value = nullptr;
        for (const Params* scope : scopes) {
            auto it = scope->find(name);
            if (it != scope->end()) {
                value = &it->second;
                break;
            }
        }
        if (!value && keepUnknown) {
            out.append(text, open, close + 1 - open);
            i = close + 1;
            continue;
        }
        if (!value && !hasFallback) throw SourceError(file, line, "no value for ${" + name + "}");
        const std::string& chosen = value ? *value : fallback;
        out += escapeXml ? EscapeXml(chosen) : chosen;
        i = close + 1;
    }
    return out;
}

double ToNumber(const std::string& text, const Line& at) {
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0') throw SourceError(at.file, at.number, "\"" + text + "\" is not a number");
    return value;
}

double NumberParam(const Params& params, const std::string& key, double fallback, const Line& at) {
    auto it = params.find(key);
    return it == params.end() ? fallback : ToNumber(it->second, at);
}

std::string DirectoryOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string JoinPath(const std::string& directory, const std::string& name) {
    if (!name.empty() && name[0] == '/') return name;
    if (directory.empty() || directory == ".") return name;
    return directory + "/" + name;
}

}  // namespace pack
