#include "tools/pack/Manifest.h"

#include <algorithm>
#include <set>

namespace pack {

namespace {

std::vector<std::string> SplitComma(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return parts;
}

// "for a,b in x1,y1 x2,y2": the body once per group, with ${a} and ${b} filled in.
void ExpandInto(const std::vector<Line>& lines, std::size_t begin, std::size_t end, std::vector<Line>& out) {
    for (std::size_t i = begin; i < end; ++i) {
        const Line& line = lines[i];
        if (line.words[0] == "endfor") throw SourceError(line.file, line.number, "\"endfor\" without \"for\"");
        if (line.words[0] != "for") {
            out.push_back(line);
            continue;
        }
        if (line.words.size() < 4 || line.words[2] != "in")
            throw SourceError(line.file, line.number, "expected: for NAME[,NAME...] in VALUES...");
        std::size_t depth = 1, close = i + 1;
        for (; close < end; ++close) {
            if (lines[close].words[0] == "for") ++depth;
            if (lines[close].words[0] == "endfor" && --depth == 0) break;
        }
        if (close >= end) throw SourceError(line.file, line.number, "\"for\" without \"endfor\"");
        std::vector<std::string> names = SplitComma(line.words[1]);
        std::vector<Line> body;
        ExpandInto(lines, i + 1, close, body);
        for (std::size_t g = 3; g < line.words.size(); ++g) {
            std::vector<std::string> values = SplitComma(line.words[g]);
            if (values.size() != names.size())
                throw SourceError(line.file, line.number,
                                  "\"" + line.words[g] + "\" does not give " + std::to_string(names.size()) + " values");
            Params vars;
            for (std::size_t n = 0; n < names.size(); ++n) vars[names[n]] = values[n];
            for (const Line& inner : body) {
                Line copy = inner;
                for (std::string& word : copy.words)
                    word = Substitute(word, {&vars}, false, copy.file, copy.number, true);
                out.push_back(std::move(copy));
            }
        }
        i = close;
    }
}

class Parser {
public:
    Parser(std::vector<Line> lines, Manifest& manifest) : lines(std::move(lines)), m(manifest) {}

    void Run() {
        while (pos < lines.size()) {
            Line line = Next();
            const std::string& word = line.words[0];
            if (word == "set") {
                if (line.words.size() != 3) throw Error(line, "expected: set NAME VALUE");
                m.globals[line.words[1]] = line.words[2];
            } else if (word == "entry") {
                StartEntry(line);
            } else {
                if (m.entries.empty()) throw Error(line, "\"" + word + "\" before the first \"entry\"");
                if (m.entries.back().sameAs >= 0) throw Error(line, "an entry with \"same-as\" has no items");
                m.entries.back().items.push_back(ParseItem(line));
            }
        }
        std::set<int> seen;
        for (const EntrySpec& e : m.entries) {
            if (e.sameAs < 0) continue;
            bool found = std::any_of(m.entries.begin(), m.entries.end(),
                                     [&](const EntrySpec& o) { return o.index == e.sameAs && o.sameAs < 0; });
            if (!found) throw Error(e.at, "entry " + std::to_string(e.sameAs) + " has no run of its own");
        }
        for (const EntrySpec& e : m.entries) {
            if (e.sameAs < 0 && e.items.empty()) throw Error(e.at, "entry " + std::to_string(e.index) + " is empty");
        }
        for (int i = 0; i < m.entryCount; ++i) {
            bool found = std::any_of(m.entries.begin(), m.entries.end(), [&](const EntrySpec& e) { return e.index == i; });
            if (!found) throw SourceError(lines.empty() ? "" : lines[0].file, 0, "entry " + std::to_string(i) + " is missing");
        }
    }

private:
    static SourceError Error(const Line& at, const std::string& what) { return SourceError(at.file, at.number, what); }

    // The next line with the globals filled in.
    Line Next() {
        Line line = lines[pos++];
        for (std::string& word : line.words) word = Substitute(word, {&m.globals}, false, line.file, line.number);
        return line;
    }

    void StartEntry(const Line& line) {
        EntrySpec entry;
        entry.at = line;
        if (line.words.size() != 2 && !(line.words.size() == 4 && line.words[2] == "same-as"))
            throw Error(line, "expected: entry N [same-as M]");
        entry.index = static_cast<int>(ToNumber(line.words[1], line));
        if (entry.index < 0 || entry.index > 4095) throw Error(line, "entry number out of range");
        if (line.words.size() == 4) entry.sameAs = static_cast<int>(ToNumber(line.words[3], line));
        for (const EntrySpec& e : m.entries)
            if (e.index == entry.index) throw Error(line, "entry " + line.words[1] + " appears twice");
        m.entryCount = std::max(m.entryCount, entry.index + 1);
        m.entries.push_back(entry);
    }

    std::string Path(const std::string& name) const { return JoinPath(m.directory, name); }

    PictureSpec ParsePicture(const Line& line) {
        PictureSpec picture;
        picture.at = line;
        picture.params = ParseParams(line, 1);
        auto svg = picture.params.find("svg");
        if (svg == picture.params.end()) throw Error(line, "a picture needs svg=FILE");
        picture.svgPath = Path(svg->second);
        auto origin = picture.params.find("origin");
        if (origin != picture.params.end()) picture.origin = origin->second;
        return picture;
    }

    // Lines up to the matching "end" (blocks do not nest).
    std::vector<Line> Block(const Line& opener) {
        std::vector<Line> body;
        while (true) {
            if (pos >= lines.size()) throw Error(opener, "\"" + opener.words[0] + "\" without \"end\"");
            Line line = Next();
            if (line.words[0] == "end") return body;
            body.push_back(line);
        }
    }

    std::vector<PictureSpec> Frames(const Line& opener) {
        std::vector<PictureSpec> frames;
        for (const Line& line : Block(opener)) {
            if (line.words[0] != "frame") throw Error(line, "expected \"frame\" or \"end\"");
            frames.push_back(ParsePicture(line));
        }
        if (frames.empty()) throw Error(opener, "no frames");
        return frames;
    }

    ItemSpec ParseItem(const Line& line) {
        ItemSpec item;
        item.at = line;
        const std::string& word = line.words[0];
        if (word == "picture") {
            item.kind = ItemKind::Picture;
            item.frames.push_back(ParsePicture(line));
        } else if (word == "sprites") {
            item.kind = ItemKind::Sprites;
            if (line.words.size() != 1) throw Error(line, "\"sprites\" takes no parameters; frames follow");
            item.frames = Frames(line);
        } else if (word == "font") {
            item.kind = ItemKind::Font;
            item.fontParams = ParseParams(line, 1);
            if (item.fontParams.count("face")) {
                item.renderedFont = true;
                for (const char* key : {"first", "last", "size"})
                    if (!item.fontParams.count(key)) throw Error(line, std::string("a rendered font needs ") + key + "=");
            } else {
                item.frames = Frames(line);
            }
        } else if (word == "sound") {
            item.kind = ItemKind::Sound;
            Params params = ParseParams(line, 1);
            if (params.count("wave")) {
                item.wavePath = Path(params["wave"]);
            } else if (params.count("recipe")) {
                std::string path = Path(params["recipe"]);
                item.recipe = ExpandLoops(SplitLines(ReadTextFile(path), path));
            } else if (params.empty()) {
                item.recipe = Block(line);
            } else {
                throw Error(line, "expected: sound recipe=FILE | sound wave=FILE | sound (lines) end");
            }
        } else if (word == "music") {
            item.kind = ItemKind::Music;
            Params params = ParseParams(line, 1);
            if (params.count("midi")) item.midiPath = Path(params["midi"]);
            else if (params.count("score")) item.scorePath = Path(params["score"]);
            else throw Error(line, "expected: music score=FILE | music midi=FILE");
        } else {
            throw Error(line, "unknown item \"" + word + "\"");
        }
        return item;
    }

    std::vector<Line> lines;
    Manifest& m;
    std::size_t pos = 0;
};

}  // namespace

std::vector<Line> ExpandLoops(const std::vector<Line>& lines) {
    std::vector<Line> out;
    ExpandInto(lines, 0, lines.size(), out);
    return out;
}

Manifest ParseManifest(const std::string& text, const std::string& file, const std::string& directory) {
    Manifest manifest;
    manifest.directory = directory;
    Parser(ExpandLoops(SplitLines(text, file)), manifest).Run();
    return manifest;
}

Manifest LoadManifest(const std::string& path) {
    return ParseManifest(ReadTextFile(path), path, DirectoryOf(path));
}

}  // namespace pack
