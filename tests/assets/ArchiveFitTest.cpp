// The archive's art judged in place: every picture of the play screen, the
// score sheet and the front-end pages lies inside the 800 x 600 design at the
// positions the game puts it, and every roll array really turns.

#include "tests/support/ArchiveSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

namespace {

using archive_support::Item;

struct Place {
    int entry;
    int item;  // 1-based place in the entry's run
    std::vector<std::pair<int, int>> at;
    const char* what;
};

std::vector<std::pair<int, int>> Row(int x0, int step, int count, int y) {
    std::vector<std::pair<int, int>> at;
    for (int i = 0; i < count; ++i) at.push_back({x0 + step * i, y});
    return at;
}

std::vector<std::pair<int, int>> Cells(int x) {
    std::vector<std::pair<int, int>> at;
    for (int i = 0; i < 6; ++i) at.push_back({x, 52 + 80 * i});
    return at;
}

// Where the game shows each picture (actor positions; a picture's anchor is applied on top).
const std::vector<Place> kPlaces = {
    {3, 1, {{0, 0}}, "play background"},
    {3, 4, {{273, 88}}, "roll button"},
    {3, 5, {{-12, 527}}, "options button"},
    {3, 6, {{97, 527}}, "new-game button"},
    {3, 7, {{550, 527}}, "records button"},
    {3, 8, {{622, 527}}, "about button"},
    {3, 9, {{694, 527}}, "quit button"},
    {3, 10, {{513, 403}}, "second-half help button"},
    {3, 17, Row(269, 50, 5, 92), "column line buttons"},
    {3, 18, {{213, 89}}, "falling-diagonal button"},
    {3, 19, {{498, 89}}, "rising-diagonal button"},
    {3, 20, {{271, 118}}, "intro"},
    {3, 21, {{272, 22}}, "title"},
    {3, 22, {{274, 213}}, "initials box background"},
    {3, 23, {{273, 88}}, "roll button shadow"},
    {3, 24, {{271, 401}}, "start message"},
    {3, 25, {{271, 401}}, "hint: no roll yet"},
    {3, 26, {{240, 401}}, "hint: two rolls"},
    {3, 27, {{240, 401}}, "hint: one roll"},
    {3, 28, {{233, 401}}, "hint: second half"},
    {3, 29, {{226, 401}}, "hint: movable dice"},
    {3, 30, {{271, 401}}, "hint: fixed dice"},
    {3, 31, {{271, 401}}, "hint: three rolls"},
    {3, 32, {{273, 106}}, "end message 1"},
    {3, 33, {{273, 106}}, "end message 2"},
    {3, 34, {{273, 106}}, "end message 3"},
    {3, 35, {{273, 106}}, "end message 4"},
    {3, 36, {{273, 106}}, "end message 5"},
    {3, 37, {{273, 106}}, "end message 6"},
    {3, 38, {{269, 89}}, "top frame"},
    {3, 39, {{222, 439}}, "second-half help"},
    // Dice: the corners of the board, the waiting height, and the drag die's limits.
    {9, 7, {{300, 118}, {500, 365}}, "red faces"},
    {9, 10, {{300, 118}, {500, 365}}, "gold faces"},
    {9, 11, {{300, 173}, {500, 365}}, "red roll"},
    {9, 14, {{300, 173}, {500, 365}}, "gold roll"},
    {9, 15, {{300, 173}, {500, 365}}, "glow"},
    {9, 19, {{300, 173}, {500, 365}}, "selection frame"},
    {9, 20, {{300, 173}, {500, 365}}, "line marker"},
    {9, 21, {{208, 80}, {592, 450}}, "drag faces"},
    {9, 25, {{208, 80}, {592, 450}}, "drag overlay"},
    // The score sheet, after the dice in the same run.
    {9, 45, {{224, 463}, {224, 559}, {406, 463}, {406, 559}}, "level marker"},
    {9, 46, {{270, 401}}, "game over"},
    {9, 48, {{112, 77}, {686, 477}}, "colour-bonus sparkle"},
    {9, 49, Cells(112), "left cells"},
    {9, 49, Cells(686), "right cells"},
    {9, 50, {{112, 82}, {686, 482}}, "undo button"},
    // Options page.
    {0, 1, {{0, 0}}, "options background"},
    {0, 2, {{280, 445}}, "OK"},
    {0, 3, {{410, 445}}, "Cancel"},
    {0, 4, {{277, 226}, {443, 226}, {277, 279}, {443, 279}, {622, 279}, {277, 331}, {443, 331}}, "option latches"},
    {0, 5, {{300, 102}, {500, 102}, {300, 171}, {500, 171}}, "slider knob"},
    // Records page.
    {1, 1, {{0, 0}}, "records background"},
    {1, 2, {{201, 484}, {201, 512}}, "table latches"},
    {1, 3, {{359, 483}}, "erase button"},
    {1, 4, {{473, 483}}, "back button"},
    // About pages.
    {2, 1, {{0, 0}}, "about background"},
    {2, 2, {{88, 512}}, "button a"},
    {2, 3, {{216, 512}}, "back button"},
    {2, 4, {{94, 428}}, "button d"},
    {2, 5, {{206, 428}}, "button b"},
    {2, 6, {{92, 56}}, "page 2"},
    {2, 7, {{92, 56}}, "page 3"},
    {6, 1, {{92, 56}}, "page 1"},
};

// Dialog pictures are centred on a point, whatever their anchor.
struct Dialog {
    int entry, item, cx, cy;
    const char* what;
};
const std::vector<Dialog> kDialogs = {
    {3, 11, 400, 267, "new-game dialog"},
    {3, 12, 400, 267, "quit dialog"},
    {3, 14, 401, 267, "hidden picture dialog"},
    {1, 5, 400, 238, "erase confirmation"},
    {1, 7, 400, 238, "erase confirmation of the all-players view"},
};

class ArchiveFitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { runs = new std::map<int, std::vector<Item>>(archive_support::ReadGameArchive()); }
    static void TearDownTestSuite() { delete runs; }
    void SetUp() override { 
        ASSERT_FALSE(runs->empty()) << "the game's archive could not be read";
        ASSERT_EQ(runs->at(3).size(), 40u);
        ASSERT_EQ(runs->at(9).size(), 50u);  // the dice, then the score sheet
    }

    static const Item& At(int entry, int item) { return runs->at(entry).at(static_cast<std::size_t>(item - 1)); }

    static std::map<int, std::vector<Item>>* runs;
};

std::map<int, std::vector<Item>>* ArchiveFitTest::runs = nullptr;

TEST_F(ArchiveFitTest, EveryPictureLiesInsideTheScreenWhereTheGameShowsIt) {
    for (const Place& place : kPlaces) {
        const Item& item = At(place.entry, place.item);
        ASSERT_FALSE(item.frames.empty()) << place.what;
        for (const auto& [x, y] : place.at)
            for (std::size_t f = 0; f < item.frames.size(); ++f) {
                const MImage& p = item.frames[f];
                const int left = x + p.xOrigin, top = y + p.yOrigin;
                EXPECT_TRUE(left >= 0 && top >= 0 && left + p.width <= 800 && top + p.height <= 600)
                    << place.what << " frame " << f << " at " << x << "," << y << " covers " << left << "," << top
                    << " to " << left + p.width << "," << top + p.height;
            }
    }
}

TEST_F(ArchiveFitTest, PicturesShownOverTheBoardKeepClearOfWhatTheyWouldHide) {
    struct Clear {
        int entry, item, x, y;
        int left, top, right, bottom;  // what must stay visible
        std::string what;
    };
    // The title over the score plaque during the intro; the undo button beside each cell
    // (placed 30 pixels below it) against that category's value, name and description, and
    // against both subtotals.
    std::vector<Clear> checks = {{3, 21, 272, 22, 262, 48, 538, 88, "title over the score plaque"}};
    for (int column = 0; column < 2; ++column)
        for (int i = 0; i < 6; ++i) {
            const int dx = 574 * column, y = 80 * i, x = 112 + dx;
            const std::string cell = "undo of cell " + std::to_string(column * 6 + i);
            checks.push_back({9, 50, x, 82 + y, 70 + dx, 22 + y, 155 + dx, 48 + y, cell + " over its value"});
            checks.push_back({9, 50, x, 82 + y, 14 + dx, 54 + y, 211 + dx, 86 + y, cell + " over its texts"});
            for (int subtotal : {72, 646})
                checks.push_back({9, 50, x, 82 + y, subtotal, 506, subtotal + 82, 527, cell + " over a subtotal"});
        }
    for (const Clear& c : checks)
        for (const MImage& p : At(c.entry, c.item).frames) {
            const int left = c.x + p.xOrigin, top = c.y + p.yOrigin;
            EXPECT_TRUE(left + p.width <= c.left || left >= c.right || top + p.height <= c.top || top >= c.bottom)
                << c.what;
        }
}

TEST_F(ArchiveFitTest, DialogsAndTheirButtonsFitOnTheScreen) {
    for (const Dialog& d : kDialogs) {
        const MImage& p = At(d.entry, d.item).frames.at(0);
        const int left = d.cx - p.width / 2, top = d.cy - p.height / 2;
        EXPECT_TRUE(left >= 0 && top >= 0 && left + p.width <= 800 && top + p.height <= 600) << d.what;
    }
    // Two buttons stand at a third and two thirds of the picture, 35 pixels above its bottom
    // edge (by their centres): they must lie inside the picture and apart.
    const MImage& panel = At(3, 11).frames.at(0);
    const MImage& button = At(3, 15).frames.at(0);
    const int centreY = panel.height - button.height / 2 - 35;
    EXPECT_GE(centreY - button.height / 2, panel.height / 3) << "room for the question above the buttons";
    EXPECT_LT(panel.width / 3 + button.width / 2, 2 * panel.width / 3 - button.width / 2);
}

TEST_F(ArchiveFitTest, EveryRollArrayHasAtLeastSixDistinctTurningFrames) {
    for (int item = 11; item <= 14; ++item) {
        std::set<std::vector<std::uint32_t>> distinct;
        for (const MImage& frame : At(9, item).frames) distinct.insert(frame.pixels);
        EXPECT_GE(distinct.size(), 6u) << "roll array of colour " << item - 11;
    }
}

TEST_F(ArchiveFitTest, TheFourDieColoursDifferInMoreThanHue) {
    // Each colour's pips differ in brightness from its neighbours' and from the face they sit on:
    // the centre pip of face 1 against the face's own middle-left area.
    auto luma = [](std::uint32_t rgba) {
        return 0.299 * (rgba >> 24) + 0.587 * ((rgba >> 16) & 0xFF) + 0.114 * ((rgba >> 8) & 0xFF);
    };
    for (int colour = 0; colour < 4; ++colour) {
        const MImage& one = At(9, 7 + colour).frames.at(0);
        const double pip = luma(one.At(20, 20)), face = luma(one.At(8, 24));
        EXPECT_GT(std::abs(pip - face), 60) << "colour " << colour << ": pips stand out from the face";
    }
    // And each face sets its colour's mark at the top edge, different for every colour.
    std::set<std::vector<std::uint32_t>> marks;
    for (int colour = 0; colour < 4; ++colour) {
        const MImage& one = At(9, 7 + colour).frames.at(0);
        std::vector<std::uint32_t> mark;
        for (int y = 3; y < 10; ++y)
            for (int x = 16; x < 24; ++x) mark.push_back(std::abs(luma(one.At(x, y)) - luma(one.At(13, 5))) > 40 ? 1u : 0u);
        marks.insert(mark);
    }
    EXPECT_EQ(marks.size(), 4u);
}

TEST_F(ArchiveFitTest, NoDieMarkHasThePipColour) {
    // The mark's strip above the top pips, on every face of every colour: no pixel there may
    // look like the face's own pips, so the mark never reads as one more pip.
    for (int colour = 0; colour < 4; ++colour)
        for (int face = 0; face < 6; ++face) {
            const MImage& die = At(9, 7 + colour).frames.at(face);
            const std::uint32_t pip = At(9, 7 + colour).frames.at(0).At(20, 20);
            int pipLike = 0;
            for (int y = 2; y < 8; ++y)
                for (int x = 14; x < 27; ++x) {
                    int apart = 0;
                    for (int shift = 8; shift < 32; shift += 8)
                        apart = std::max(apart, std::abs(int((die.At(x, y) >> shift) & 0xFF) - int((pip >> shift) & 0xFF)));
                    pipLike += apart <= 48;
                }
            EXPECT_EQ(pipLike, 0) << "colour " << colour << " face " << face + 1;
        }
}

// How a colour looks to an eye that lacks one kind of cone (linear-light matrices for full
// red, green and blue blindness); the plain eye is the identity.
struct Vision {
    const char* name;
    double m[3][3];
};
const Vision kVisions[] = {
    {"plain", {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
    {"red-blind", {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}},
    {"green-blind", {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}},
    {"blue-blind", {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}},
};

// The grey a screenshot turned to greyscale shows for a pixel seen with that vision (0..255).
double GreyAsSeen(std::uint32_t rgba, const Vision& v) {
    auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    auto encoded = [](double c) {
        c = std::clamp(c, 0.0, 1.0);
        return 255 * (c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055);
    };
    const double in[3] = {linear((rgba >> 24) / 255.0), linear(((rgba >> 16) & 0xFF) / 255.0),
                          linear(((rgba >> 8) & 0xFF) / 255.0)};
    double out[3];
    for (int i = 0; i < 3; ++i) out[i] = encoded(v.m[i][0] * in[0] + v.m[i][1] * in[1] + v.m[i][2] * in[2]);
    return 0.2126 * out[0] + 0.7152 * out[1] + 0.0722 * out[2];
}

TEST_F(ArchiveFitTest, TheFourDieBodiesStayApartInGreyForEveryEye) {
    // The body of face 1 away from its pip and its mark, averaged, in every vision; any two
    // colours must differ clearly in grey.
    for (const Vision& v : kVisions) {
        double grey[4];
        for (int colour = 0; colour < 4; ++colour) {
            const MImage& one = At(9, 7 + colour).frames.at(0);
            double sum = 0;
            int count = 0;
            for (int y = 12; y < 35; ++y)
                for (int x = 5; x < 35; ++x)
                    if ((x - 20) * (x - 20) + (y - 20) * (y - 20) > 36) sum += GreyAsSeen(one.At(x, y), v), ++count;
            grey[colour] = sum / count;
        }
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b)
                EXPECT_GT(std::abs(grey[a] - grey[b]), 30) << v.name << ": colours " << a << " and " << b << " greys "
                                                           << grey[a] << " and " << grey[b];
    }
}

}  // namespace
