// The second half with the real dice: the line buttons and their undo, drags
// and drops, clicks on dice, markers, and click mode's right-button picks.

#include "tests/support/PlaySceneTestSupport.h"

namespace playtest {
namespace {

class SecondHalfTest : public PlaySceneTest {
protected:
    void ToSecondHalf() {
        Start();
        PastIntro();
        const int codes[] = {97, 98, 99, 100, 101};
        PlayFirstHalf(codes);
        ASSERT_EQ(scene->board.handIndex, kFirstHalfHands);
        Run(300);  // the glows have run to their movable look
        StopSounds();
    }
    // Presses the die, drags it by (dx, dy) over a few frames and lets go.
    void Drag(CActorDie* die, int dx, int dy) {
        const int x = MidX(die), y = MidY(die);
        Move(x, y);
        Button(SDL_MOUSEBUTTONDOWN, x, y, SDL_BUTTON_LEFT);
        for (int step = 1; step <= 4; ++step) {
            Move(x + dx * step / 4, y + dy * step / 4);
            Run(8);
        }
        Button(SDL_MOUSEBUTTONUP, x + dx, y + dy, SDL_BUTTON_LEFT);
        Run(8);
    }
    int Face(int row, int col) const { return scene->board.dice[DieIndex(row, col)].face; }
    std::vector<int> MarkedDice() const {
        std::vector<int> marked;
        for (int i = 0; i < kDieCount; ++i)
            if (scene->dice[i]->IsMarked()) marked.push_back(i);
        return marked;
    }
};

TEST_F(SecondHalfTest, TheFifthHandShowsTheLineButtonsAndItsUndoTakesThemAway) {
    Options()->SetShowHints(1);
    ToSecondHalf();
    for (const CActorButton* line : scene->lineButtons) EXPECT_TRUE(Shown(line));
    EXPECT_TRUE(Shown(scene->helpButton));
    EXPECT_FALSE(Shown(scene->rollButton));
    for (const CActorDie* die : scene->dice) EXPECT_TRUE(Shown(die->Glow()));
    Tap(SDLK_u);
    EXPECT_EQ(scene->board.handIndex, kFirstHalfHands - 1);
    for (const CActorButton* line : scene->lineButtons) EXPECT_FALSE(Shown(line));
    EXPECT_FALSE(Shown(scene->helpButton));
    EXPECT_TRUE(Shown(scene->rollButton));
    for (const CActorDie* die : scene->dice) EXPECT_FALSE(Shown(die->Glow()));
    // Row 4 may be scored again without a new roll.
    Category(101);
    EXPECT_EQ(scene->board.handIndex, kFirstHalfHands);
}

TEST_F(SecondHalfTest, LineKeysSelectAndMarkOnlyInTheSecondHalf) {
    ToSecondHalf();
    Tap(SDLK_3);
    EXPECT_EQ(scene->board.selectedLine, 2);
    EXPECT_EQ(scene->lineButtons[2]->GetState(), kStateDown);
    EXPECT_EQ(MarkedDice(), (std::vector<int>{1, 6, 11, 16, 21}));
}

TEST_F(SecondHalfTest, DropsBetweenDiceOnANeighbourAndBackOnThePressedDie) {
    ToSecondHalf();
    struct Case {
        const char* name;
        int dx, dy;
        bool refused, swapped;
        int selectedLine;
    };
    const Case cases[] = {
        {"between two rows, touching no die of its own", 0, -44, true, false, -1},
        {"back where it was pressed", 0, 0, false, false, 3},
        {"onto its right-hand neighbour", 50, 0, false, true, 4},
    };
    for (const Case& c : cases) {
        const int before[2] = {Face(2, 2), Face(2, 3)};
        scene->board.selectedLine = -1;
        StopSounds();
        Drag(Die(2, 2), c.dx, c.dy);
        EXPECT_EQ(DiePlaying(kDieSoundRefuse), c.refused) << c.name;
        EXPECT_EQ(DiePlaying(kDieSoundSwap), c.swapped) << c.name;
        EXPECT_EQ(Face(2, 2), c.swapped ? before[1] : before[0]) << c.name;
        EXPECT_EQ(Die(2, 2)->GetFace(), Face(2, 2)) << c.name;
        EXPECT_EQ(Die(2, 3)->GetFace(), Face(2, 3)) << c.name;
        EXPECT_EQ(scene->board.selectedLine, c.selectedLine) << c.name;
        EXPECT_FALSE(Shown(scene->pDiceDrag)) << c.name;
    }
}

TEST_F(SecondHalfTest, WithoutColumnMarkersNoneShowAndEverySwapSelectsTheTargetsColumn) {
    Options()->SetShowColMarkers(0);
    ToSecondHalf();
    Tap(SDLK_2);
    EXPECT_EQ(scene->board.selectedLine, 1);
    EXPECT_TRUE(MarkedDice().empty());
    struct Swap {
        int row, col, dx;
    };
    // The second swap lands on the selected column itself.
    for (const Swap& s : {Swap{1, 1, 50}, Swap{3, 3, 50}, Swap{0, 3, -50}, Swap{4, 1, -50}}) {
        Drag(Die(s.row, s.col), s.dx, 0);
        const int target = s.col + s.dx / 50;
        EXPECT_EQ(scene->board.selectedLine, target + 1) << s.row << "," << s.col;
        EXPECT_EQ(scene->lineButtons[target + 1]->GetState(), kStateDown);
        EXPECT_TRUE(MarkedDice().empty());
    }
}

TEST_F(SecondHalfTest, ClickModePicksAndSwapsWithRightClicks) {
    Options()->SetDiceMoveMode(1);
    ToSecondHalf();
    const int a = Face(1, 0), b = Face(1, 4);
    struct Click_ {
        const char* name;
        int row, col;
        int picked;  // board index or -1
        DieSound sound;
    };
    const Click_ clicks[] = {
        {"pick", 1, 0, DieIndex(1, 0), kDieSoundHold},
        {"drop the pick", 1, 0, -1, kDieSoundHold},
        {"pick again", 1, 0, DieIndex(1, 0), kDieSoundHold},
        {"another row", 3, 2, DieIndex(1, 0), kDieSoundRefuse},
        {"swap", 1, 4, -1, kDieSoundSwap},
    };
    for (const Click_& c : clicks) {
        StopSounds();
        Click(MidX(Die(c.row, c.col)), MidY(Die(c.row, c.col)), SDL_BUTTON_RIGHT);
        Run(8);
        EXPECT_EQ(scene->board.pickedDie, c.picked) << c.name;
        EXPECT_TRUE(DiePlaying(c.sound)) << c.name;
        EXPECT_EQ(Shown(Die(1, 0)->SelectFrame()), c.picked == DieIndex(1, 0)) << c.name;
    }
    EXPECT_EQ(Face(1, 0), b);
    EXPECT_EQ(Face(1, 4), a);
    EXPECT_EQ(Die(1, 4)->GetFace(), a);
    EXPECT_EQ(scene->board.selectedLine, 5);
}

}  // namespace
}  // namespace playtest
