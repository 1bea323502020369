#include "platform/dialogs/MMessageText.h"

#include <algorithm>
#include <vector>

namespace {

// Pixels a character takes, and the box's margins around its text, as the
// widest dialog fonts met draw them (a 12-point X core font measures about 8).
constexpr int kCharacterWidth = 9;
constexpr int kBoxMargins = 2 * 25;
// Never fewer characters a line than this, however small the desktop.
constexpr int kFewestColumns = 20;

bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

int Columns(const std::string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), StartsCharacter));
}

// The byte length of the first count characters of text.
std::size_t PrefixBytes(const std::string& text, int count) {
    std::size_t i = 0;
    for (int seen = 0; i < text.size(); ++i) {
        if (StartsCharacter(text[i]) && seen++ == count) break;
    }
    return i;
}

// Breaks one line of the text (no line ends in it) into lines of at most columns characters.
void WrapLine(const std::string& text, int columns, std::vector<std::string>* lines) {
    std::string line;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t wordStart = text.find_first_not_of(' ', at);
        if (wordStart == std::string::npos) break;
        const std::string gap = text.substr(at, wordStart - at);
        std::size_t wordEnd = text.find(' ', wordStart);
        if (wordEnd == std::string::npos) wordEnd = text.size();
        std::string word = text.substr(wordStart, wordEnd - wordStart);
        at = wordEnd;
        if (!line.empty() && Columns(line) + Columns(gap) + Columns(word) <= columns) {
            line += gap + word;
            continue;
        }
        if (!line.empty()) lines->push_back(line);
        // A word wider than a line goes out in pieces: after a '/' where it can.
        while (Columns(word) > columns) {
            const std::string head = word.substr(0, PrefixBytes(word, columns));
            const std::size_t slash = head.find_last_of('/');
            const std::size_t cut = slash != std::string::npos && slash > 0 ? slash + 1 : head.size();
            lines->push_back(word.substr(0, cut));
            word.erase(0, cut);
        }
        line = word;
    }
    lines->push_back(line);
}

}  // namespace

int MessageTextWidth(const std::string& line) { return Columns(line) * kCharacterWidth; }

int MessageLineWidth(int desktopWidth) { return desktopWidth * 6 / 10 - kBoxMargins; }

std::string WrapMessageText(const std::string& text, int maxWidth) {
    const int columns = std::max(kFewestColumns, maxWidth / kCharacterWidth);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        WrapLine(text.substr(start, end == std::string::npos ? std::string::npos : end - start), columns, &lines);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? "\n" : "") + lines[i];
    return out;
}
