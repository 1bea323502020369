// Rolling and scoring rows with the real dice and score sheet: what is refused
// before its time, the roll button's states, the hints under the board, and
// the sheet and the model keeping one score through a whole game and its undo.

#include "tests/support/PlaySceneTestSupport.h"

#include "game/rules/Records.h"

namespace playtest {
namespace {

TEST_F(PlaySceneTest, ACategoryBeforeTheFirstRollOrWhileADieFallsChangesNothingAndOnlyTheFallIsRefusedAloud) {
    Start();
    PastIntro();
    struct Moment {
        const char* name;
        int framesAfterRoll;  // -1: no roll yet
        bool refused;         // answered by the refusal sound
    };
    for (const Moment& m : {Moment{"before the first roll", -1, false}, Moment{"while the dice fall", 2, true}}) {
        if (m.framesAfterRoll >= 0) {
            Tap(SDLK_RETURN);
            Run(m.framesAfterRoll * 8);
            ASSERT_TRUE(RowBusy()) << m.name;
        }
        StopSounds();
        for (int code : {97, 102, 107}) Category(code);
        EXPECT_EQ(scene->board.handIndex, 0) << m.name;
        EXPECT_EQ(scene->boardCells.FilledCount(), 0) << m.name;
        for (const CScoreCell* cell : scene->sheet->pScoreCell) EXPECT_EQ(cell->filled, 0) << m.name;
        if (m.refused) {
            EXPECT_TRUE(DiePlaying(kDieSoundRefuse)) << m.name;
        } else {
            EXPECT_TRUE(Playing().empty()) << m.name;
        }
    }
}

TEST_F(PlaySceneTest, AfterTheThirdRollTheRollButtonStaysDisabledUntilTheRowIsScored) {
    Start();
    PastIntro();
    for (int roll = 1; roll <= kMaxRolls; ++roll) {
        EXPECT_EQ(scene->rollButton->GetState(), kStateUp) << roll;
        RollAndSettle();
        ASSERT_EQ(scene->board.rollsUsed, roll);
    }
    Run(100);
    EXPECT_EQ(scene->rollButton->GetState(), kStateDisabled);
    for (int col = 0; col < kBoardCols; ++col) {
        EXPECT_TRUE(scene->board.dice[col].locked);
        EXPECT_FALSE(Shown(Die(0, col)->SelectFrame()));
    }
    Tap(SDLK_RETURN);
    EXPECT_EQ(scene->board.rollsUsed, kMaxRolls);
    Category(97);
    Run(8);
    EXPECT_EQ(scene->board.handIndex, 1);
    EXPECT_EQ(scene->rollButton->GetState(), kStateUp);
    // Undone, the row rises back into the rolling place with its three rolls used.
    Tap(SDLK_u);
    Settle();
    EXPECT_EQ(scene->board.handIndex, 0);
    EXPECT_EQ(scene->board.rollsUsed, kMaxRolls);
    for (int col = 0; col < kBoardCols; ++col) EXPECT_EQ(Die(0, col)->AbsoluteY(), DieRestY(kRollingRow)) << col;
    Run(8);
    EXPECT_EQ(scene->rollButton->GetState(), kStateDisabled);
    Category(98);
    EXPECT_EQ(scene->sheet->pScoreCell[CategoryIndex(98)]->filled, 1);
}

TEST_F(PlaySceneTest, AReRollDropsOnlyTheDiceNotHeld) {
    Start();
    PastIntro();
    RollAndSettle();
    const int faces[2] = {scene->board.dice[1].face, scene->board.dice[3].face};
    for (int col : {1, 3}) Click(MidX(Die(0, col)), MidY(Die(0, col)));
    ASSERT_TRUE(scene->board.dice[1].held && scene->board.dice[3].held);
    EXPECT_TRUE(Shown(Die(0, 1)->SelectFrame()));
    RollAndSettle();
    EXPECT_EQ(scene->board.rerolledCount, 3);
    EXPECT_EQ(scene->board.dice[1].face, faces[0]);
    EXPECT_EQ(scene->board.dice[3].face, faces[1]);
    for (int col = 0; col < kBoardCols; ++col) EXPECT_EQ(Die(0, col)->GetFace(), scene->board.dice[col].face) << col;
}

TEST_F(PlaySceneTest, EachStateShowsItsHintAtItsXAndAShownHintDoesNotBlinkAgain) {
    Options()->SetShowHints(2);
    Start();
    PastIntro();
    const PlaySceneAssets& a = scene->assets;
    struct Step {
        const char* name;
        int code;  // 13: a roll, else a category
        CSprite* hint;
        int x;
        bool blinks;
    };
    const Step steps[] = {
        {"one roll", 13, a.hintRoll1, kHintXRoll1, true},
        {"two rolls", 13, a.hintRoll2, kHintXRoll2, false},
        {"three rolls", 13, a.hintRoll3, kHintXRoll3, true},
        {"next row", 97, a.hintRoll0, kHintXRoll0, true},
    };
    for (const Step& s : steps) {
        if (s.code == 13)
            RollAndSettle();
        else
            Category(s.code);
        Run(8);
        EXPECT_EQ(scene->pasMsgBottom->frame, s.hint) << s.name;
        EXPECT_EQ(scene->pasMsgBottom->AbsoluteX(), s.x * 256) << s.name;
        EXPECT_EQ(scene->pasMsgBottom->blinking != 0, s.blinks) << s.name;
        Run(400);  // the blink is over; the row at rest asks for the hint every frame
        EXPECT_EQ(scene->pasMsgBottom->blinking, 0) << s.name;
        EXPECT_TRUE(Shown(scene->pasMsgBottom)) << s.name;
    }
    const int rest[] = {98, 99, 100, 101};
    for (int code : rest) {
        RollAndSettle();
        Category(code);
        Settle();
    }
    EXPECT_EQ(scene->pasMsgBottom->frame, a.hintSecondHalf);
    EXPECT_EQ(scene->pasMsgBottom->AbsoluteX(), kHintXSecondHalf * 256);
    Tap(SDLK_3);
    Category(102);
    EXPECT_EQ(scene->pasMsgBottom->frame, a.hintMovable);
    EXPECT_EQ(scene->pasMsgBottom->AbsoluteX(), kHintXMovable * 256);
}

TEST_F(PlaySceneTest, SheetAndModelScoreTheSameHandsAndTheGameEndsOnce) {
    Start();
    PastIntro();
    const int first[] = {108, 97, 98, 99, 100};
    PlayFirstHalf(first);
    Tap(SDLK_1);
    for (int code = 101; code <= 107; ++code) {
        int faces[kHandSize], colours[kHandSize];
        ASSERT_TRUE(scene->board.GetLineFaces(faces) && scene->board.GetLineColours(colours));
        const int expected = ScoreHand(code, faces, colours).points;
        StopSounds();
        Category(code);
        EXPECT_EQ(scene->sheet->pScoreCell[CategoryIndex(code)]->value, expected) << code;
        if (code == 106) {
            // The last fill but one can be taken back and scored again.
            Tap(SDLK_u);
            EXPECT_EQ(scene->sheet->pScoreCell[CategoryIndex(code)]->filled, 0);
            EXPECT_EQ(scene->boardCells.FilledCount(), 10);
            Category(code);
        }
    }
    for (int code = 97; code <= 108; ++code)
        EXPECT_EQ(scene->sheet->pScoreCell[CategoryIndex(code)]->value, scene->boardCells.Value(code)) << code;
    EXPECT_TRUE(scene->gameOver);
    EXPECT_EQ(scene->sheet->GetScore(), scene->boardCells.Totals().total);
    EXPECT_TRUE(Shown(scene->sheet->pasGameOver));
    EXPECT_EQ(GetStatisticsFigures(RecordScope::ThisPlayer).finished, 1);
    int endSounds = 0;
    for (int sound : {kSheetSoundRecord, kSheetSoundTopTen, kSheetSoundGameOver})
        endSounds += gSheetAssets.sounds[sound]->IsPlaying() ? 1 : 0;
    EXPECT_EQ(endSounds, 1);
    // A finished game is recorded and stays.
    Tap(SDLK_u);
    EXPECT_EQ(scene->boardCells.FilledCount(), kCategoryCount);
    EXPECT_EQ(scene->sheet->pScoreCell[CategoryIndex(107)]->filled, 1);
}

}  // namespace
}  // namespace playtest
