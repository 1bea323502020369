// Every key of the game's key table is written in the three places a player
// reads: the README's Playing section and the manual page's KEYS section
// (each under its place's heading), and the about pages (which may group them).

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/app/KeyGuide.h"

namespace {

std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(ZANBOR_SOURCE_DIR) + "/" + relative);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text from the line that is heading up to the next line starting with
// any of the stops (or the end).
std::string Section(const std::string& text, const std::string& heading, const std::vector<std::string>& stops) {
    std::size_t at = text.find("\n" + heading + "\n");
    if (at == std::string::npos) return "";
    at += heading.size() + 2;
    std::size_t end = text.size();
    for (const std::string& stop : stops) {
        const std::size_t found = text.find("\n" + stop, at);
        if (found < end) end = found;
    }
    return text.substr(at, end - at);
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// A manual page's lines as they read: macro names dropped, the alternating-font
// macros' arguments joined, the escapes used for keys turned into characters.
std::string ManText(const std::string& source) {
    std::istringstream lines(source);
    std::string line, out;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] == '.') {
            const std::size_t space = line.find(' ');
            const std::string macro = line.substr(1, space == std::string::npos ? std::string::npos : space - 1);
            const bool joined = macro.size() == 2 && std::string("BIR").find(macro[0]) != std::string::npos &&
                                std::string("BIR").find(macro[1]) != std::string::npos;
            std::string args = space == std::string::npos ? "" : line.substr(space + 1), word;
            std::vector<std::string> words;
            for (std::size_t i = 0; i < args.size();) {
                if (args[i] == ' ') { ++i; continue; }
                const bool quoted = args[i] == '"';
                const std::size_t end = quoted ? args.find('"', i + 1) : args.find(' ', i);
                words.push_back(args.substr(i + quoted, (end == std::string::npos ? args.size() : end) - i - quoted));
                i = end == std::string::npos ? args.size() : end + 1;
            }
            line.clear();
            for (const std::string& w : words) line += (line.empty() || joined ? "" : " ") + w;
        }
        out += line + "\n";
    }
    ReplaceAll(out, "\\(mu", "\u00d7");
    ReplaceAll(out, "\\(di", "\u00f7");
    ReplaceAll(out, "\\-", "\u2212");
    ReplaceAll(out, "\\&", "");
    return out;
}

// The words an SVG page draws, one text element a line.
std::string SvgText(const std::string& svg) {
    std::string out;
    for (std::size_t at = svg.find("<text"); at != std::string::npos; at = svg.find("<text", at + 1)) {
        const std::size_t start = svg.find('>', at) + 1;
        out += svg.substr(start, svg.find("</text>", start) - start) + "\n";
    }
    ReplaceAll(out, "&lt;", "<");
    ReplaceAll(out, "&gt;", ">");
    ReplaceAll(out, "&amp;", "&");
    return out;
}

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// The name as a whole: "U" is not found in "Undo", nor "1 to 5" in "11 to 50".
bool Mentions(const std::string& text, const std::string& name) {
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
        const bool clearBefore = at == 0 || !IsWordChar(text[at - 1]) || !IsWordChar(name.front());
        const std::size_t after = at + name.size();
        const bool clearAfter = after >= text.size() || !IsWordChar(text[after]) || !IsWordChar(name.back());
        if (clearBefore && clearAfter) return true;
    }
    return false;
}

struct Document {
    const char* name;
    std::string (*textOf)(KeyPlace place);
};

std::string ReadmeKeys(KeyPlace place) {
    const std::string playing = Section(ReadSource("README.md"), "## Playing", {"## "});
    return Section("\n" + playing, std::string("### ") + KeyPlaceTitle(place), {"### "});
}

std::string ManKeys(KeyPlace place) {
    const std::string keys = Section(ReadSource("game/app/zanbor.6"), ".SH KEYS", {".SH "});
    return ManText(Section("\n" + keys, std::string(".SS ") + KeyPlaceTitle(place), {".SS "}));
}

std::string AboutKeys(KeyPlace) {
    std::string text;
    for (const char* page : {"about-background.svg", "about-1.svg", "about-2.svg", "about-3.svg"})
        text += SvgText(ReadSource(std::string("assets/svg/") + page));
    return text;
}

TEST(KeyDocuments, EveryKeyOfTheGameIsWrittenInEachDocument) {
    const Document documents[] = {
        {"README.md, Playing", ReadmeKeys}, {"zanbor.6, KEYS", ManKeys}, {"the about pages", AboutKeys}};
    for (const Document& document : documents) {
        std::string missing;
        for (const KeyGuideEntry& entry : KeyGuide()) {
            const std::string name = KeyGuideName(entry);
            const std::string text = document.textOf(entry.place);
            if (!Mentions(text, name))
                missing += std::string("\n  ") + KeyPlaceTitle(entry.place) + ": \"" + name + "\" (" + entry.what + ")";
        }
        EXPECT_EQ(missing, "") << document.name << " lacks these keys:";
    }
}

// The checker itself: a key hidden in a longer word or number, or written
// under another place's heading, does not count.
TEST(KeyDocuments, AKeyCountsOnlyAsAWholeNameUnderItsOwnHeading) {
    EXPECT_TRUE(Mentions("| U | undo |", "U"));
    EXPECT_FALSE(Mentions("Undo the last score", "U"));
    EXPECT_FALSE(Mentions("pad 11 to pad 90", "pad 1 to pad 9"));
    EXPECT_TRUE(Mentions("F3 or pad ., new game", "F3 or pad ."));
    const std::string man = ".SS The board\n.BR \"pad 1\" \" to \" \"pad 9\"\n.SS The records page\n.B \"pad 8\"\n";
    EXPECT_TRUE(Mentions(ManText(man), "pad 1 to pad 9"));
    EXPECT_FALSE(Mentions(ManText(Section("\n" + man, ".SS The board", {".SS "})), "pad 8"));
    EXPECT_TRUE(Mentions(ManText(".B pad \\(di\n"), "pad \u00f7"));
}

}  // namespace
