// The game's archive as the build packs it, listed by the packer and checked
// against what the loaders read: the kinds, counts and order of every run, and
// the sizes and anchors the layout needs.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Frame {
    int w = 0, h = 0, ox = 0, oy = 0, type = 0;
};

struct Chunk {
    long pos = 0;
    long size = 0;
    std::string kind;  // rgba, anim, wave, midi
    Frame picture;                 // rgba
    std::vector<Frame> frames;     // anim
    int channels = 0, bits = 0;    // wave
    int tracks = 0;                // midi
    double seconds = 0;            // wave and midi
    long End() const { return pos + 8 + size + (size & 1); }
    // P picture, S sound, M music, An an array of n frames.
    std::string Code() const {
        if (kind == "rgba") return "P";
        if (kind == "wave") return "S";
        if (kind == "midi") return "M";
        if (kind == "anim") return "A" + std::to_string(frames.size());
        return "?";
    }
};

struct Entry {
    long pos = 0;
    int sameAs = -1;
    std::vector<Chunk> chunks;
};

Frame ParseFrame(const std::string& text) {
    Frame f;
    std::sscanf(text.c_str(), "%dx%d origin %d,%d type %d", &f.w, &f.h, &f.ox, &f.oy, &f.type);
    return f;
}

std::map<int, Entry> ListGameArchive(std::string* raw) {
    // Appended piece by piece: GCC 12 warns falsely (array bounds) about the
    // temporaries of one long sum of strings, depending on what it inlines.
    std::string command = ZANBOR_BIN_DIR;
    command.append("/zanbor-pack --list ").append(ZANBOR_BIN_DIR).append("/zanborassets.mm 2>&1");
    FILE* pipe = popen(command.c_str(), "r");
    std::map<int, Entry> entries;
    if (!pipe) return entries;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) raw->append(buffer, n);
    const int status = pclose(pipe);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};

    std::istringstream lines(*raw);
    std::string line;
    Entry* entry = nullptr;
    while (std::getline(lines, line)) {
        int index = 0, sameAs = -1;
        long pos = 0, size = 0;
        char kind[8] = {};
        if (std::sscanf(line.c_str(), "entry %d @%ld: same run as entry %d", &index, &pos, &sameAs) >= 2) {
            entry = &entries[index];
            entry->pos = pos;
            entry->sameAs = sameAs;
        } else if (entry && std::sscanf(line.c_str(), "  @%ld %4s %ld bytes:", &pos, kind, &size) == 3) {
            Chunk c;
            c.pos = pos;
            c.size = size;
            c.kind = kind;
            const std::string rest = line.substr(line.find("bytes: ") + 7);
            if (c.kind == "rgba") c.picture = ParseFrame(rest.substr(8));
            if (c.kind == "wave") std::sscanf(rest.c_str(), "sound PCM %d ch %*d Hz %d bit %*d frames %lf", &c.channels, &c.bits, &c.seconds);
            if (c.kind == "midi") std::sscanf(rest.c_str(), "music SMF format %*d %d tracks %*d ticks %lf", &c.tracks, &c.seconds);
            entry->chunks.push_back(c);
        } else if (entry && !entry->chunks.empty() && line.rfind("    frame ", 0) == 0) {
            entry->chunks.back().frames.push_back(ParseFrame(line.substr(line.find(": ") + 2)));
        }
    }
    return entries;
}

std::string Codes(const Entry& entry) {
    std::string codes;
    for (const Chunk& c : entry.chunks) codes += (codes.empty() ? "" : " ") + c.Code();
    return codes;
}

// "A*" in the pattern takes an array of any length; "Px3" stands for "P P P".
bool MatchesRun(const std::string& codes, std::string pattern) {
    std::istringstream in(pattern), got(codes);
    std::vector<std::string> want, have;
    std::string word;
    while (in >> word) {
        std::size_t x = word.find('x');
        int times = x == std::string::npos ? 1 : std::atoi(word.c_str() + x + 1);
        for (int i = 0; i < times; ++i) want.push_back(word.substr(0, x));
    }
    while (got >> word) have.push_back(word);
    if (want.size() != have.size()) return false;
    for (std::size_t i = 0; i < want.size(); ++i) {
        if (want[i] == "A*" ? have[i][0] != 'A' || have[i] == "A0" : want[i] != have[i]) return false;
    }
    return true;
}

class GameAssetsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        raw = new std::string;
        entries = new std::map<int, Entry>(ListGameArchive(raw));
    }
    static void TearDownTestSuite() {
        delete entries;
        delete raw;
    }
    void SetUp() override { ASSERT_FALSE(entries->empty()) << "zanborassets.mm could not be listed:\n" << *raw; }

    static const Entry& At(int index) { return entries->at(index); }

    static std::string* raw;
    static std::map<int, Entry>* entries;
};

std::string* GameAssetsTest::raw = nullptr;
std::map<int, Entry>* GameAssetsTest::entries = nullptr;

TEST_F(GameAssetsTest, EveryRunHoldsTheKindsCountsAndOrderItsLoaderReads) {
    ASSERT_EQ(entries->size(), 14u);
    const std::map<int, std::string> runs = {
        // options: background; OK, Cancel (up, down); latches (off, on); slider knob
        {0, "P A2 A2 A2 P"},
        // statistics: background; table latches; erase; back; confirmation; No and Yes (two frames each);
        // the all-players view's confirmation
        {1, "P A2 A2 A2 P A4 P"},
        // about: background; buttons a, Esc, d, b; pages 2 and 3
        {2, "P A2 A2 A2 A2 P P"},
        // play scene: background; two sounds; roll (up, down, disabled); options; new game (also disabled);
        // records, about, quit, help; four dialog pictures; dialog buttons (No, Yes); hidden-dialog button;
        // three line-button arrays; twenty pictures; the initials font "0".."Z"
        {3, "P S S A3 A2 A3 A2 A2 A2 A2 Px4 A4 A2 A2 A2 A2 Px20 A77"},
        {6, "P"},
        {7, "A*"},
        {8, "M"},
        {10, "M"},
        {11, "M"},
        // dice: six sounds; four face arrays; four roll and four glow arrays; selection; marker;
        // four drag-face arrays; drag overlay (one frame per colour); then the score sheet:
        // eighteen sounds; font; level marker; game over; undo sound; sparkle; cells; undo button
        {9, "Sx6 A6x4 A*x4 A*x4 P P A6x4 A4 Sx18 A* P P S P A* A2"},
        // the board cursor of the keyboard
        {12, "P"},
        // coach: its button and the review button; card; die ring; cell frame; review page;
        // close button; small dice (four colours of six faces); their ring; the duel page's close
        // button; the duel card's page and copy buttons
        {13, "A2 A2 P P P P A2 A24 P A2 A2 A2"},
    };
    for (const auto& [index, pattern] : runs) {
        ASSERT_TRUE(entries->count(index)) << "entry " << index;
        EXPECT_EQ(At(index).sameAs, -1) << "entry " << index;
        EXPECT_TRUE(MatchesRun(Codes(At(index)), pattern))
            << "entry " << index << "\n  has:  " << Codes(At(index)) << "\n  want: " << pattern;
    }
    // Entries 4 and 5 are never read, but must point at a chunk.
    for (int index : {4, 5}) EXPECT_GE(At(index).sameAs, 0) << "entry " << index;
}

TEST_F(GameAssetsTest, PlaySceneDiceAndScoreSheetFollowOneAnother) {
    // The play scene reads its 40 items, then the dice from entry 9, then the
    // score sheet without seeking: the three runs must touch.
    ASSERT_EQ(At(3).chunks.size(), 40u);
    EXPECT_EQ(At(3).chunks.back().End(), At(9).pos);
    for (std::size_t i = 1; i < At(9).chunks.size(); ++i)
        EXPECT_EQ(At(9).chunks[i - 1].End(), At(9).chunks[i].pos) << i;
    // Glow arrays need a movable (first) and a fixed (last) look.
    for (std::size_t i = 14; i < 18; ++i) EXPECT_GE(At(9).chunks[i].frames.size(), 2u);
}

TEST_F(GameAssetsTest, PicturesHaveTheSizesAndAnchorsTheLayoutNeeds) {
    for (int index : {0, 1, 2, 3}) {
        const Frame& bg = At(index).chunks[0].picture;
        EXPECT_TRUE(bg.w == 800 && bg.h == 600 && bg.ox == 0 && bg.oy == 0) << "background of entry " << index;
    }
    // Dice are placed by their centres: 40 x 40 at origin -20, -20, faces and drag faces alike.
    for (std::size_t i : {6u, 7u, 8u, 9u, 20u, 21u, 22u, 23u}) {
        const Chunk& array = At(9).chunks[i];
        for (const Frame& f : array.frames)
            EXPECT_TRUE(f.w == 40 && f.h == 40 && f.ox == -20 && f.oy == -20) << "dice array " << i;
    }
    // Hints and the start message stand at these x positions and are centred on the board (x 400).
    const std::vector<std::pair<int, int>> hints = {{23, 271}, {24, 271}, {25, 240}, {26, 240},
                                                     {27, 233}, {28, 226}, {29, 271}, {30, 271}};
    for (const auto& [item, x] : hints) {
        const Frame& f = At(3).chunks[static_cast<std::size_t>(item)].picture;
        EXPECT_NEAR(x + f.ox + f.w / 2.0, 400, 1) << "hint item " << item + 1;
    }
    // The bottom buttons stay on the screen, the options button although its position is x -12.
    const std::vector<std::pair<int, int>> bottom = {{4, -12}, {5, 97}, {6, 550}, {7, 622}, {8, 694}};
    for (const auto& [item, x] : bottom) {
        for (const Frame& f : At(3).chunks[static_cast<std::size_t>(item)].frames) {
            EXPECT_GE(x + f.ox, 0) << "button item " << item + 1;
            EXPECT_LE(x + f.ox + f.w, 800) << "button item " << item + 1;
            EXPECT_LE(527 + f.oy + f.h, 600) << "button item " << item + 1;
        }
    }
    // The column line buttons (x 269 + 50 per line) sit over the dice columns (x 300 + 50 per column).
    for (const Frame& f : At(3).chunks[16].frames) EXPECT_NEAR(269 + f.ox + f.w / 2.0, 300, 1);
    // Dialog buttons are placed by their centres.
    for (const Frame& f : At(3).chunks[14].frames) EXPECT_TRUE(f.ox == -f.w / 2 && f.oy == -f.h / 2);
    // Every picture decodes as the run-length true colour the archive carries.
    for (const auto& [index, entry] : *entries) {
        for (const Chunk& c : entry.chunks) {
            if (c.kind == "rgba") {
                EXPECT_EQ(c.picture.type, 10);
            }
            for (const Frame& f : c.frames) EXPECT_EQ(f.type, 10);
        }
    }
}

TEST_F(GameAssetsTest, SoundsAreSixteenBitAndTunesHaveParts) {
    for (const auto& [index, entry] : *entries)
        for (const Chunk& c : entry.chunks) {
            if (c.kind == "wave") {
                EXPECT_EQ(c.bits, 16) << "sound at " << c.pos;
                EXPECT_GT(c.seconds, 0.01) << "sound at " << c.pos;
                EXPECT_LT(c.seconds, 3.0) << "sound at " << c.pos;
            }
            if (c.kind == "midi") {
                EXPECT_GE(c.tracks, 3) << "tune of entry " << index;
                EXPECT_GT(c.seconds, 15.0) << "tune of entry " << index;
            }
        }
}

}  // namespace
