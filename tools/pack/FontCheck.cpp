#include "tools/pack/FontCheck.h"

#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "tools/pack/TextLines.h"

namespace pack {
namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

// fontconfig's answer for a family and weight, asked once a run (a null
// pattern: no font at all).
const FcPattern* MatchFont(const std::string& family, bool bold) {
    static std::map<std::pair<std::string, bool>, PatternPtr> matches;
    const auto key = std::make_pair(family, bold);
    auto found = matches.find(key);
    if (found != matches.end()) return found->second.get();
    PatternPtr pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    return matches.emplace(key, std::move(match)).first->second.get();
}

bool HasFamily(const FcPattern* match, const std::string& family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family.c_str())) == 0) return true;
    return false;
}

std::string FirstFamily(const FcPattern* match) {
    FcChar8* name = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) != FcResultMatch) return "a font without a name";
    return "\"" + std::string(reinterpret_cast<const char*>(name)) + "\"";
}

// The code points of UTF-8 text; a malformed byte stands for itself.
std::vector<char32_t> CodePoints(const std::string& text) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        if (extra == 0 || i + extra >= text.size()) {
            out.push_back(lead);
            ++i;
            continue;
        }
        char32_t code = lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(code);
        i += extra + 1;
    }
    return out;
}

std::string Shown(char32_t code) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
    return hex;
}

std::string DecodeEntities(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t semicolon = text[i] == '&' ? text.find(';', i) : std::string::npos;
        if (semicolon == std::string::npos) {
            out += text[i];
            continue;
        }
        const std::string name = text.substr(i + 1, semicolon - i - 1);
        static const std::map<std::string, std::string> named = {
            {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}};
        if (auto it = named.find(name); it != named.end()) {
            out += it->second;
        } else if (name.size() > 1 && name[0] == '#') {
            const unsigned long code = name[1] == 'x' ? std::stoul(name.substr(2), nullptr, 16) : std::stoul(name.substr(1));
            char32_t c = static_cast<char32_t>(code);
            // Back to UTF-8, so that the label reads as written.
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if (c < 0x800) {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            } else if (c < 0x10000) {
                out += static_cast<char>(0xE0 | (c >> 12));
                out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                out += static_cast<char>(0xF0 | (c >> 18));
                out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        } else {
            out += text.substr(i, semicolon - i + 1);
        }
        i = semicolon;
    }
    return out;
}

// The words of every <text> element (its tspans' too), one string each.
std::vector<std::string> SvgLabels(const std::string& svg) {
    std::vector<std::string> labels;
    for (std::size_t at = svg.find("<text"); at != std::string::npos; at = svg.find("<text", at + 5)) {
        const std::size_t open = svg.find('>', at);
        const std::size_t close = svg.find("</text>", at);
        if (open == std::string::npos || close == std::string::npos || svg[open - 1] == '/') continue;
        std::string words;
        bool inTag = false;
        for (std::size_t i = open + 1; i < close; ++i) {
            if (svg[i] == '<') inTag = true;
            if (!inTag) words += svg[i];
            if (svg[i] == '>') inTag = false;
        }
        words = DecodeEntities(words);
        if (words.find_first_not_of(" \t\r\n") != std::string::npos) labels.push_back(words);
    }
    return labels;
}

// Every value of an attribute, as font-family="Liberation Sans" gives it.
std::set<std::string> AttributeValues(const std::string& svg, const std::string& attribute) {
    std::set<std::string> values;
    const std::string key = attribute + "=\"";
    for (std::size_t at = svg.find(key); at != std::string::npos; at = svg.find(key, at + 1)) {
        const std::size_t start = at + key.size(), end = svg.find('"', start);
        if (end != std::string::npos) values.insert(svg.substr(start, end - start));
    }
    return values;
}

}  // namespace

void CheckFontCovers(const std::string& family, bool bold, const std::string& label, const std::string& file,
                     int line) {
    const std::string font = "the font \"" + family + "\"" + (bold ? " (bold)" : "");
    const std::string what = "the label \"" + label + "\" asks for " + font;
    const FcPattern* match = MatchFont(family, bold);
    if (!match) throw SourceError(file, line, what + ", and fontconfig finds no font at all");
    if (!HasFamily(match, family))
        throw SourceError(file, line, what + ", which is not installed: fontconfig matches " + FirstFamily(match));
    FcCharSet* charset = nullptr;
    if (FcPatternGetCharSet(match, FC_CHARSET, 0, &charset) != FcResultMatch)
        throw SourceError(file, line, what + ", whose characters fontconfig does not know");
    for (char32_t code : CodePoints(label)) {
        if (code == ' ' || code == '\n' || code == '\t' || code == '\r') continue;
        if (!FcCharSetHasChar(charset, code))
            throw SourceError(file, line, what + ", which has no glyph for " + Shown(code));
    }
}

void CheckSvgFonts(const std::string& svg, const std::string& where) {
    const std::vector<std::string> labels = SvgLabels(svg);
    if (labels.empty()) return;
    const std::set<std::string> families = AttributeValues(svg, "font-family");
    if (families.empty())
        throw SourceError(where, 0, "the label \"" + labels.front() + "\" names no font family; the renderer would "
                                    "draw it in whatever font it has");
    const bool bold = AttributeValues(svg, "font-weight").count("bold") != 0;
    for (const std::string& family : families) {
        for (const std::string& label : labels) {
            CheckFontCovers(family, false, label, where, 0);
            if (bold) CheckFontCovers(family, true, label, where, 0);
        }
    }
}

}  // namespace pack
