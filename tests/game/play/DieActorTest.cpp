// The dice on screen against the board model: roll timing and the cascade,
// holds and locks, the mouse through real SDL events in both ways of moving
// dice, the roll sounds on the real sound objects, and the end-of-game shows.

#include "tests/support/DiceTestSupport.h"

#include <algorithm>
#include <map>

using namespace dicetest;

namespace {

using DieRolling = DiceTest;

// Frame by frame: the tick at which each die of a row started falling, and at
// which its roll ended and it landed.
struct RowTimes {
    std::map<int, int> start, rollEnd, landed;
};

RowTimes WatchRow(DiceScene* scene, int row, int ticks, int step = 2) {
    RowTimes times;
    for (int t = 0; t <= ticks; t += step) {
        for (int col = 0; col < kBoardCols; ++col) {
            CActorDie* die = scene->Die(row, col);
            if (die->vy > 0 && !times.start.count(col)) times.start[col] = t;
            if (times.start.count(col) && !die->IsRolling() && !times.rollEnd.count(col)) times.rollEnd[col] = t;
            if (times.start.count(col) && die->landed && !times.landed.count(col)) times.landed[col] = t;
        }
        AdvanceTicks(step);
        CScene::UpdateAll();
    }
    return times;
}

TEST_F(DieRolling, ARollLastsOneOfThreeLengths) {
    std::map<int, int> seen;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SeedRandom(seed);
        scene->board.StartGame();
        scene->ResetActors(0, 0);
        ASSERT_TRUE(scene->Roll());
        const int length = scene->Die(0, 0)->rollTimer;
        ++seen[length];
    }
    EXPECT_EQ(seen.size(), 3u);
    for (const auto& [length, count] : seen) EXPECT_TRUE(length == 435 || length == 486 || length == 537) << length;
}

TEST_F(DieRolling, TheDiceOfARowStartFortyPixelsApartAndLandBeforeTheirFaceIsFinal) {
    ASSERT_TRUE(scene->Roll());
    const RowTimes times = WatchRow(scene, 0, 1400);
    ASSERT_EQ(times.start.size(), 5u);
    for (int col = 1; col < kBoardCols; ++col) {
        // 40 px at 100 px/s is 102.4 ticks; frames of 2 ticks, the height
        // checked before the frame's move and the scene's first frame of no
        // time add up to three frames.
        const int gap = times.start.at(col) - times.start.at(col - 1);
        EXPECT_GE(gap, 102) << col;
        EXPECT_LE(gap, 108) << col;
    }
    // The first die falls 56 px (0.56 s) and rolls on for at least 1.7 s.
    EXPECT_NEAR(times.landed.at(0), 146, 3);
    EXPECT_GT(times.rollEnd.at(0), times.landed.at(0) + 250);
    // Actor and model agree once the row is at rest: faces, colours, places, locks.
    for (int col = 0; col < kBoardCols; ++col) {
        CActorDie* die = scene->Die(0, col);
        const DieState& state = scene->board.dice[DieIndex(0, col)];
        EXPECT_EQ(die->GetFace(), state.face);
        EXPECT_EQ(die->ShownColour(), state.colour);
        EXPECT_EQ(die->AbsoluteY(), DieRestY(kRollingRow));
        EXPECT_EQ(die->z, die->homeZ);
        EXPECT_FALSE(state.moving || state.rolling || state.locked);
    }
}

TEST_F(DieRolling, AReRollSkipsHeldDiceAndStartsTheOthersLeftToRight) {
    ASSERT_TRUE(scene->Roll());
    Settle();
    scene->Die(0, 1)->ToggleHold(false);
    scene->Die(0, 2)->ToggleHold(false);
    ASSERT_TRUE(scene->board.dice[1].held && scene->board.dice[2].held);
    const int heldFaces[2] = {scene->Die(0, 1)->GetFace(), scene->Die(0, 2)->GetFace()};

    ASSERT_TRUE(scene->Roll());
    EXPECT_EQ(scene->board.rerolledCount, 3);
    const RowTimes times = WatchRow(scene, 0, 1600);
    EXPECT_EQ(times.start.count(1) + times.start.count(2), 0u);
    ASSERT_EQ(times.start.size(), 3u);
    EXPECT_LT(times.start.at(0), times.start.at(3));
    EXPECT_LT(times.start.at(3), times.start.at(4));
    EXPECT_NEAR(times.start.at(3) - times.start.at(0), 105, 3);
    EXPECT_EQ(scene->Die(0, 1)->GetFace(), heldFaces[0]);
    EXPECT_EQ(scene->Die(0, 2)->GetFace(), heldFaces[1]);
    EXPECT_TRUE(scene->Die(0, 1)->SelectFrame()->hidden == 0);
}

TEST_F(DieRolling, ASecondDropInTheSameFrameLeavesTheStartedDieRolling) {
    ASSERT_TRUE(scene->Roll());
    CActorDie* first = scene->Die(0, 0);
    const int timer = first->rollTimer;
    const int colour = scene->board.dice[0].colour;
    first->Drop(kRollingRow);  // as a second die reporting back at the top would
    EXPECT_EQ(first->rollTimer, timer);
    EXPECT_EQ(scene->board.dice[0].colour, colour);
    EXPECT_EQ(scene->Die(0, 1)->vy, 0);  // the cascade keeps its 40 px gap
}

TEST_F(DieRolling, TheGlowRunsToTheFixedLookAndBack) {
    CActorDie* die = scene->Die(0, 0);
    CActorAnim* glow = die->Glow();
    const int last = glow->FrameCount() - 1;
    ASSERT_GT(last, 0);
    struct Step {
        bool movable;
        int frame;
    } steps[] = {{false, last}, {false, last}, {true, 0}, {true, 0}, {false, last}};
    for (const Step& s : steps) {
        die->SetMovable(s.movable);
        Run(256);
        EXPECT_EQ(glow->index, s.frame) << s.movable;
        EXPECT_EQ(glow->stopped, 1) << s.movable;
    }
    die->ResetGlow();
    EXPECT_EQ(glow->index, 0);
    EXPECT_EQ(glow->GetSprite(), DieAssets().glows[die->Colour()]->Get(0));
    // Back on the movable look before it left it: it stays there.
    die->SetMovable(true);
    Run(256);
    die->SetMovable(false);
    die->SetMovable(true);
    for (int t = 0; t < 64; t += 4) {  // one glow frame is 16 ticks
        Run(4, 4);
        EXPECT_EQ(glow->index, 0) << t;
    }
}

using DieHolds = DiceTest;

TEST_F(DieHolds, RefusedWhileRollingOrLockedAndSilentThen) {
    MSound* hold = Sound(kDieSoundHold);
    CActorDie* die = scene->Die(0, 0);
    struct Case {
        const char* when;
        int ticks;  // after the first roll
    } cases[] = {{"waiting", -1}, {"falling", 20}, {"landed but rolling", 300}};
    for (const Case& c : cases) {
        if (c.ticks >= 0) {
            scene->board.StartGame();
            scene->ResetActors(0, 0);
            ASSERT_TRUE(scene->Roll());
            Run(c.ticks);
        }
        die->SetHold(true, true);
        die->ToggleHold(true);
        EXPECT_FALSE(die->IsHeld()) << c.when;
        EXPECT_NE(die->SelectFrame()->hidden, 0) << c.when;
        EXPECT_EQ(hold->IsPlaying(), 0) << c.when;
    }
    Settle();
    die->ToggleHold(true);
    EXPECT_TRUE(die->IsHeld());
    EXPECT_EQ(die->SelectFrame()->hidden, 0);
    EXPECT_EQ(hold->IsPlaying(), 1);
}

TEST_F(DieHolds, AfterTheThirdRollTheRowIsLocked) {
    for (int roll = 0; roll < 3; ++roll) {
        scene->Die(0, 4)->SetHold(true, false);  // dropped by the third roll
        ASSERT_TRUE(scene->Roll());
        Settle();
    }
    for (int col = 0; col < kBoardCols; ++col) {
        CActorDie* die = scene->Die(0, col);
        die->ToggleHold(true);
        EXPECT_TRUE(die->IsLocked());
        EXPECT_FALSE(die->IsHeld());
        EXPECT_NE(die->SelectFrame()->hidden, 0);
        EXPECT_EQ(die->AbsoluteY(), DieRestY(kRollingRow));
    }
    EXPECT_EQ(Sound(kDieSoundHold)->IsPlaying(), 0);
    EXPECT_FALSE(scene->Roll());
}

using DieMouse = DiceTest;

// Finishes the first half by the model alone, then lays the dice out on their
// rows showing what the model says.
void EnterSecondHalf(DiceScene* scene) {
    for (int row = 0; row < kFirstHalfHands; ++row) {
        ASSERT_TRUE(scene->board.Roll());
        scene->board.FinishMotion();
        ASSERT_EQ(scene->board.ScoreCategory('a' + row), ScoreResult::Scored);
        scene->board.FinishMotion();
    }
    for (int row = 0; row < kBoardRows; ++row) {
        for (int col = 0; col < kBoardCols; ++col) {
            CActorDie* die = scene->Die(row, col);
            die->SetY(DieRestY(row));
            die->ShowFace(scene->board.dice[DieIndex(row, col)].face);
            die->Show();
        }
    }
    ASSERT_TRUE(scene->board.IsSecondHalf());
}

TEST_F(DieMouse, ALeftClickTogglesAHoldInTheFirstHalf) {
    ASSERT_TRUE(scene->Roll());
    Settle();
    CActorDie* die = scene->Die(0, 2);
    Press(MidX(die), MidY(die));
    EXPECT_EQ(GetCaptureActor(), die);
    Release(MidX(die), MidY(die));
    EXPECT_EQ(GetCaptureActor(), nullptr);
    EXPECT_TRUE(die->IsHeld());
    EXPECT_EQ(die->SelectFrame()->hidden, 0);
    EXPECT_EQ(Sound(kDieSoundHold)->IsPlaying(), 1);
    // Pressed on the die but released off it: no change.
    Press(MidX(die), MidY(die));
    Release(MidX(die), 580);
    EXPECT_TRUE(die->IsHeld());
    EXPECT_EQ(scene->log, (std::vector<std::string>{"press-left 2", "release 2 " + std::to_string(MidX(die)) + "," +
                                                                         std::to_string(MidY(die)) + " movable",
                                                    "press-left 2", "release 2 " + std::to_string(MidX(die)) +
                                                                         ",580 movable"}));
    // Right clicks belong to click mode only.
    Button(SDL_MOUSEBUTTONDOWN, MidX(die), MidY(die), SDL_BUTTON_RIGHT);
    EXPECT_EQ(GetCaptureActor(), nullptr);
}

TEST_F(DieMouse, InClickModeARightClickPicksADieInTheSecondHalf) {
    app.record.SetDiceMoveMode(1);
    EnterSecondHalf(scene);
    CActorDie* die = scene->Die(1, 3);
    scene->log.clear();
    Button(SDL_MOUSEBUTTONDOWN, MidX(die), MidY(die), SDL_BUTTON_RIGHT);
    EXPECT_EQ(GetCaptureActor(), die);
    Button(SDL_MOUSEBUTTONUP, MidX(die), MidY(die), SDL_BUTTON_RIGHT);
    EXPECT_EQ(GetCaptureActor(), nullptr);
    // Released off the die: no pick.
    Button(SDL_MOUSEBUTTONDOWN, MidX(die), MidY(die), SDL_BUTTON_RIGHT);
    Button(SDL_MOUSEBUTTONUP, 20, 20, SDL_BUTTON_RIGHT);
    EXPECT_EQ(scene->log, (std::vector<std::string>{"press-right 8"}));

    // With the game over the dice take nothing.
    scene->log.clear();
    scene->gameOver = 1;
    Button(SDL_MOUSEBUTTONDOWN, MidX(die), MidY(die), SDL_BUTTON_RIGHT);
    Press(MidX(die), MidY(die));
    EXPECT_TRUE(scene->log.empty());
    EXPECT_EQ(GetCaptureActor(), nullptr);
}

TEST_F(DieMouse, ADragFollowsThePointerShowsTheOverlayAndEndsOffTheBoard) {
    EnterSecondHalf(scene);
    CActorDie* die = scene->Die(2, 1);  // at (350, 269)
    CActorDiceDrag* drag = pDiceDrag;
    ASSERT_NE(drag, nullptr);
    scene->log.clear();

    const int px = MidX(die) + 3, py = MidY(die) - 4;
    Press(px, py);
    ASSERT_TRUE(drag->dragging);
    EXPECT_EQ(drag->GetFace(), die->GetFace());
    EXPECT_EQ(drag->colour, die->Colour());
    EXPECT_EQ(drag->offsetX, 350 - px);
    EXPECT_EQ(drag->offsetY, 269 - py);
    EXPECT_EQ(drag->bandTop, die->bounds.top);
    EXPECT_EQ(drag->bandBottom, die->bounds.bottom);

    struct Step {
        int x, y;
        bool overlay;
    } steps[] = {
        {px + 40, py + 5, false},   // along the row, inside the middle columns
        {px - 90, py, true},        // beside the middle columns (x < 266)
        {px, py + 60, true},        // out of the row's band
        {px + 190, py, true},       // x > 536
        {px, py, false},            // back home
    };
    for (const Step& s : steps) {
        Move(s.x, s.y);
        Run(2, 2);
        EXPECT_EQ(drag->hidden, 0);
        EXPECT_EQ(drag->AbsoluteX(), (s.x + drag->offsetX) * 256) << s.x << "," << s.y;
        EXPECT_EQ(drag->AbsoluteY(), (s.y + drag->offsetY) * 256);
        EXPECT_EQ(drag->Overlay()->hidden == 0, s.overlay) << s.x << "," << s.y;
    }
    EXPECT_EQ(scene->log, (std::vector<std::string>{"press-left 11"}));

    // Off the board: a release on nothing, and the real release later finds no capture.
    Move(px, 60);
    Run(2, 2);
    EXPECT_FALSE(drag->dragging);
    EXPECT_NE(drag->hidden, 0);
    EXPECT_NE(drag->Overlay()->hidden, 0);
    EXPECT_EQ(GetCaptureActor(), nullptr);
    EXPECT_EQ(scene->log.back(), "release 11 0,0 movable");

    // The edges themselves are on the board: a die's x of 592 still drags.
    scene->log.clear();
    Press(px, py);
    Move(px + (592 - 350), py);
    Run(2, 2);
    EXPECT_TRUE(drag->dragging);
    Move(px + (593 - 350), py);
    Run(2, 2);
    EXPECT_FALSE(drag->dragging);
    EXPECT_EQ(scene->log.back(), "release 11 0,0 movable");
}

TEST_F(DieMouse, TheDraggedFaceStandsStill) {
    EnterSecondHalf(scene);
    CActorDie* die = scene->Die(0, 0);
    Press(MidX(die), MidY(die));
    const int face = pDiceDrag->GetFace();
    Run(5 * 256);
    EXPECT_EQ(pDiceDrag->GetFace(), face);
    Release(MidX(die), MidY(die));
}

using DieSounds = DiceTest;

// Plays a roll and reports, per started die, whether the long roll sound began
// again from its start when that die started.
std::vector<bool> RestartsPerStart(DiceScene* scene, MSound* many, int ticks) {
    std::vector<bool> restarts;
    bool started[kBoardCols] = {};
    std::vector<std::int16_t> out(172 * 2);
    for (int t = 0; t < ticks; t += 2) {
        MSoundManager::Get()->Mix(out.data(), 172);  // what the device plays in 2 ticks
        const bool playingBefore = many->IsVoicePlaying(0) != 0;
        const std::size_t before = many->GetVoicePosition(0);
        AdvanceTicks(2);
        CScene::UpdateAll();
        for (int col = 0; col < kBoardCols; ++col) {
            CActorDie* die = scene->Die(scene->board.handIndex, col);
            if (die->vy > 0 && !started[col]) {
                started[col] = true;
                restarts.push_back(many->IsVoicePlaying(0) && many->GetVoicePosition(0) == 0 &&
                                   (before != 0 || !playingBefore));
            }
        }
    }
    return restarts;
}

TEST_F(DieSounds, TheLongRollSoundRestartsAsTheThirdAndFourthOfFiveStart) {
    MSound* many = Sound(kDieSoundRollMany);
    ASSERT_TRUE(scene->Roll());
    EXPECT_EQ(RollSoundMode(), 5);
    EXPECT_EQ(many->IsPlaying(), 1);
    // The first die counted before PlayRollSound; the rest are watched.
    const std::vector<bool> restarts = RestartsPerStart(scene, many, 600);
    ASSERT_EQ(restarts.size(), 5u);
    EXPECT_EQ(std::vector<bool>(restarts.begin() + 1, restarts.end()), (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(RollSoundCountdown(), 1);
}

TEST_F(DieSounds, WithFourDiceItRestartsAsTheThird) {
    MSound* many = Sound(kDieSoundRollMany);
    ASSERT_TRUE(scene->Roll());
    Settle();
    scene->Die(0, 2)->ToggleHold(false);
    StopRollSounds();
    EXPECT_EQ(many->IsPlaying(), 0);
    ASSERT_TRUE(scene->Roll());
    const std::vector<bool> restarts = RestartsPerStart(scene, many, 900);
    // Started: the first at the top (before PlayRollSound(4)), then three more.
    EXPECT_EQ(RollSoundMode(), 4);
    EXPECT_EQ(restarts.size(), 4u);
    EXPECT_EQ(std::vector<bool>(restarts.begin() + 1, restarts.end()), (std::vector<bool>{false, true, false}));
}

TEST_F(DieSounds, OneOrTwoDiceHaveTheirOwnSounds) {
    struct Case {
        int n;
        DieSound plays;
    } cases[] = {{1, kDieSoundRollOne}, {2, kDieSoundRollTwo}, {3, kDieSoundRollMany}, {5, kDieSoundRollMany}};
    for (const Case& c : cases) {
        StopRollSounds();
        PlayRollSound(c.n);
        for (DieSound s : {kDieSoundRollOne, kDieSoundRollTwo, kDieSoundRollMany})
            EXPECT_EQ(Sound(s)->IsPlaying(), s == c.plays ? 1 : 0) << c.n;
    }
    StopRollSounds();
    PlayRollSound(0);
    for (DieSound s : {kDieSoundRollOne, kDieSoundRollTwo, kDieSoundRollMany}) EXPECT_EQ(Sound(s)->IsPlaying(), 0);
}

// The first die rolled and at rest, with the game over and the die movable.
class DieEndOfGame : public DiceTest {
protected:
    CActorDie* RestingDie(bool cycleFaces) {
        EXPECT_TRUE(scene->Roll());
        Settle();
        scene->gameOver = 1;
        CActorDie* die = scene->Die(0, 0);
        die->SetMovable(true);
        die->cycleFaces = cycleFaces;
        return die;
    }
};

TEST_F(DieEndOfGame, FaceCyclingWalksTheColoursThenTheFace) {
    CActorDie* die = RestingDie(true);
    // From whatever it shows: colour + 1 each period, face + 1 after colour 3.
    std::vector<std::pair<int, int>> seen;
    int colour = die->ShownColour(), face = die->GetFace();
    for (int period = 0; period < 9; ++period) {
        Run(die->cyclePeriod, 1);
        if (++colour == 4) {
            colour = 0;
            face = face % 6 + 1;
        }
        EXPECT_EQ(die->ShownColour(), colour) << period;
        EXPECT_EQ(die->GetFace(), face) << period;
    }
    // The model keeps the scored look.
    EXPECT_EQ(die->Colour(), scene->board.dice[0].colour);
}

TEST_F(DieEndOfGame, FaceSixWrapsToOneWithColourZero) {
    CActorDie* die = RestingDie(true);
    // Walk on until it shows colour 3 with a six.
    for (int i = 0; i < 24 && !(die->ShownColour() == 3 && die->GetFace() == 6); ++i) Run(die->cyclePeriod, 1);
    ASSERT_TRUE(die->ShownColour() == 3 && die->GetFace() == 6);
    Run(die->cyclePeriod, 1);
    EXPECT_EQ(die->ShownColour(), 0);
    EXPECT_EQ(die->GetFace(), 1);
}

TEST_F(DieEndOfGame, FaceCyclingStopsAfterItsTimeOnTheScoredLook) {
    CActorDie* die = RestingDie(true);
    Run(die->cyclePeriod * 2, 1);
    ASSERT_TRUE(die->cycleFaces);
    Run(kEndCycleTicks, 4);
    EXPECT_FALSE(die->cycleFaces);
    EXPECT_EQ(die->GetFace(), scene->board.dice[0].face);
    EXPECT_EQ(die->ShownColour(), scene->board.dice[0].colour);
    Run(die->cyclePeriod * 2, 4);
    EXPECT_EQ(die->GetFace(), scene->board.dice[0].face);
}

TEST_F(DieEndOfGame, TheRollShowEndsOnTheSavedFace) {
    CActorDie* die = RestingDie(false);
    const int face = die->GetFace(), colour = die->ShownColour();
    die->rollShow = true;
    Run(2, 2);
    EXPECT_FALSE(die->rollShow);
    EXPECT_GT(die->rollTimer, 500);
    EXPECT_EQ(die->savedFace, face);
    EXPECT_NE(die->Glow()->hidden, 0);
    Run(600, 7);
    EXPECT_EQ(die->rollTimer, 0);
    EXPECT_EQ(die->GetFace(), face);
    EXPECT_EQ(die->ShownColour(), colour);
    EXPECT_EQ(die->z, die->homeZ);
}

TEST_F(DieEndOfGame, AfterResetADieKeepsItsColourUntilItsNextRoll) {
    ASSERT_TRUE(scene->Roll());
    Settle();
    int colours[kBoardCols];
    for (int col = 0; col < kBoardCols; ++col) colours[col] = scene->Die(0, col)->Colour();
    scene->board.StartGame();
    scene->ResetActors(0, 0);
    for (int col = 0; col < kBoardCols; ++col) {
        CActorDie* die = scene->Die(0, col);
        EXPECT_EQ(die->Colour(), colours[col]);
        EXPECT_EQ(die->ShownColour(), colours[col]);
        EXPECT_NE(die->hidden, 0);
        EXPECT_EQ(die->AbsoluteY(), kDiceTop);
        EXPECT_EQ(die->rollTimer, 0);
    }
    // The next roll draws the colours anew, exactly when each die starts.
    SeedRandom(99);
    ASSERT_TRUE(scene->Roll());
    EXPECT_EQ(scene->Die(0, 1)->Colour(), colours[1]);  // still waiting
    Run(120);
    EXPECT_GT(scene->Die(0, 1)->vy, 0);
    EXPECT_EQ(scene->Die(0, 1)->ShownColour(), scene->board.dice[1].colour);
}

}  // namespace
