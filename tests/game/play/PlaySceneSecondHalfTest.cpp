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

// A drag that a dialog or the fade to a page interrupts ends where it began:
// released over the neighbour it swaps nothing, and no copy follows the pointer.
TEST_F(SecondHalfTest, ADragEndsWithoutASwapWhenADialogOrAPageInterruptsIt) {
    ToSecondHalf();
    for (SDL_Keycode interruption : {SDLK_ESCAPE, SDLK_0}) {
        const int before[2] = {Face(2, 2), Face(2, 3)};
        const int x = MidX(Die(2, 2)), y = MidY(Die(2, 2));
        Move(x, y);
        Button(SDL_MOUSEBUTTONDOWN, x, y);
        Move(x + 50, y);
        Run(8);
        ASSERT_TRUE(Shown(scene->pDiceDrag));
        Tap(interruption);
        Button(SDL_MOUSEBUTTONUP, x + 50, y);
        Run(400);                // the dialog is up, or the page has opened
        Tap(interruption == SDLK_ESCAPE ? SDLK_n : SDLK_ESCAPE);
        Run(400);
        ASSERT_EQ(CScene::Last(), scene) << interruption;
        Move(x + 20, y + 30);
        Run(8);
        EXPECT_FALSE(Shown(scene->pDiceDrag)) << interruption;
        EXPECT_FALSE(Shown(scene->pDiceDrag->Overlay())) << interruption;
        EXPECT_EQ(Face(2, 2), before[0]) << interruption;
        EXPECT_EQ(Face(2, 3), before[1]) << interruption;
    }
}

// In click mode a left press on the background released over a die leaves
// that die without the mouse: the next pick is the player's.
TEST_F(SecondHalfTest, ClickModeALeftReleaseOverADieAfterAPressElsewhereTakesNothing) {
    Options()->SetDiceMoveMode(1);
    ToSecondHalf();
    Press(240, 470);
    Move(MidX(Die(1, 0)), MidY(Die(1, 0)));
    Release(MidX(Die(1, 0)), MidY(Die(1, 0)));
    Run(8);
    StopSounds();
    Click(MidX(Die(3, 2)), MidY(Die(3, 2)), SDL_BUTTON_RIGHT);
    Run(8);
    EXPECT_EQ(scene->board.pickedDie, DieIndex(3, 2));
    EXPECT_FALSE(DiePlaying(kDieSoundRefuse));
}

// The second press of a double click on a die is a press of its own: it takes
// back the hold of the first half and, in click mode, the pick of the second.
TEST_F(SecondHalfTest, TheSecondClickOfADoubleClickCountsOnADie) {
    Options()->SetDiceMoveMode(1);
    Start();
    PastIntro();
    RollAndSettle();
    auto doubleClick = [&](CActorDie* die, Uint8 button, auto marked) {
        const int x = MidX(die), y = MidY(die);
        Move(x, y);
        for (Uint8 clicks : {1, 2}) {
            Button(SDL_MOUSEBUTTONDOWN, x, y, button, clicks);
            Button(SDL_MOUSEBUTTONUP, x, y, button, clicks);
            Run(8);
            EXPECT_EQ(marked(), clicks == 1) << "button " << int(button) << ", click " << int(clicks);
        }
    };
    doubleClick(Die(0, 1), SDL_BUTTON_LEFT, [&] { return scene->board.dice[DieIndex(0, 1)].held; });
    const int codes[] = {97, 98, 99, 100, 101};
    PlayFirstHalf(codes);
    Run(300);
    doubleClick(Die(1, 0), SDL_BUTTON_RIGHT, [&] { return scene->board.pickedDie == DieIndex(1, 0); });
}

}  // namespace
}  // namespace playtest
