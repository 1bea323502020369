// Whole games at the player's pace, on the running program with real SDL key
// events only: no numeric-pad key and no mouse. Holds by the digits, lines by
// the digits, swaps by the board cursor (arrows and Space), categories by the
// letters A to L. The board is read only to choose what to press; the sheet
// and the records in the store are then checked against ScoreHand.

#include <algorithm>
#include <map>
#include <string>

#include "tests/support/ProgramTestSupport.h"
#include "common/actors/CActorSprite.h"
#include "common/widgets/CActorButton.h"
#include "common/widgets/CScore.h"
#include "game/play/CActorDie.h"
#include "game/rules/HandScore.h"
#include "game/rules/Records.h"
#include "game/rules/ScorePreview.h"
#include "game/sheet/CScoreCell.h"
#include "game/sheet/CScoreSheet.h"

namespace e2e {
namespace {

class PlayerPaceGame : public ProgramTest {
protected:
    CBoardState& Board() { return Scene()->board; }

    // Every key of these games is one a keyboard without a numeric pad has.
    void Press(SDL_Keycode key) {
        ASSERT_FALSE(key >= SDLK_KP_DIVIDE && key <= SDLK_KP_PERIOD) << "a numeric-pad key";
        Tap(key);
    }
    bool Busy() {
        for (const CActorDie* die : Scene()->dice)
            if (die->vy != 0 || die->rollTimer > 0) return true;
        if (Board().handIndex >= kFirstHalfHands) return false;
        for (int col = 0; col < kBoardCols; ++col) {
            const DieState& d = Board().dice[DieIndex(Board().handIndex, col)];
            if (d.moving || d.rolling || d.rollPending) return true;
        }
        return false;
    }
    // Frames until the dice rest; returns the ticks that took.
    int Settle() {
        int ticks = 0;
        for (; ticks < 6000 && Busy(); ticks += frameTicks) Frame(frameTicks);
        EXPECT_FALSE(Busy()) << "the dice never came to rest";
        Run(25);
        return ticks;
    }

    bool LineHand(int line, int faces[kHandSize], int colours[kHandSize]) {
        int dice[kHandSize];
        if (line < 0) {
            for (int col = 0; col < kBoardCols; ++col) dice[col] = DieIndex(Board().handIndex, col);
        } else if (!GetLineDice(line, dice)) {
            return false;
        }
        for (int p = 0; p < kHandSize; ++p) {
            faces[p] = Board().dice[dice[p]].face;
            colours[p] = Board().dice[dice[p]].colour;
        }
        return true;
    }
    int BestFree(const int faces[kHandSize], const int colours[kHandSize], int* points = nullptr) {
        int best = 0, bestPoints = -1;
        for (int code = kFirstCategory; code <= kLastCategory; ++code) {
            if (Scene()->boardCells.IsFilled(code)) continue;
            if (const int p = ScoreHand(code, faces, colours).points; p > bestPoints) best = code, bestPoints = p;
        }
        if (points) *points = bestPoints;
        return best;
    }
    // The preview in every free cell is what the hand would score there; none in filled cells.
    void CheckPreview(const int faces[kHandSize], const int colours[kHandSize]) {
        Frame(frameTicks);
        for (int code = kFirstCategory; code <= kLastCategory; ++code) {
            const CActorButton* label = Scene()->previewLabels[CategoryIndex(code)];
            const bool free = !Scene()->boardCells.IsFilled(code);
            ASSERT_EQ(Shown(label), free) << char(code);
            if (free) {
                EXPECT_EQ(label->GetText(), PreviewLabel(ScoreHand(code, faces, colours))) << char(code);
            }
        }
    }
    // Scores the current hand by its best free category's letter.
    void ScoreByLetter(int line) {
        int faces[kHandSize], colours[kHandSize];
        ASSERT_TRUE(LineHand(line, faces, colours));
        ASSERT_NO_FATAL_FAILURE(CheckPreview(faces, colours));
        const int code = BestFree(faces, colours), hand = Board().handIndex;
        Press(static_cast<SDL_Keycode>(SDLK_a + CategoryIndex(code)));
        ASSERT_EQ(Board().handIndex, hand + 1) << "'" << char(code) << "' by its letter";
        expected[code] = ScoreHand(code, faces, colours).points;
        // The preview goes once the hand is scored (the next row waits for its roll).
        Frame(frameTicks);
        if (line < 0 && hand + 1 < kFirstHalfHands) {
            for (const CActorButton* label : Scene()->previewLabels) EXPECT_FALSE(Shown(label));
        }
    }

    // A row: rolled by Return, the most frequent face held by the digits 1 to 5, rolled again.
    void PlayRow(int rolls) {
        const int row = Board().handIndex;
        EXPECT_EQ(Scene()->rollCounter->GetText(), std::string("1 of 3"));  // the roll to come
        Press(SDLK_RETURN);
        rollTicks.push_back(Settle());
        EXPECT_EQ(Scene()->rollCounter->GetText(), std::string("2 left"));  // then the rolls left
        // The counter's widest text stands clear of the roll button and of the
        // left sheet's panel, whose frame ends at x 215.
        EXPECT_GE(Scene()->rollButton->bounds.left - Scene()->rollCounter->textRight, 8);
        EXPECT_GE(Scene()->rollCounter->textLeft, 219);
        for (int roll = 2; roll <= rolls; ++roll) {
            int count[7] = {}, keep = 1;
            for (int col = 0; col < kBoardCols; ++col) ++count[Board().dice[DieIndex(row, col)].face];
            for (int f = 2; f <= 6; ++f)
                if (count[f] >= count[keep]) keep = f;
            if (count[keep] == kBoardCols) break;
            for (int col = 0; col < kBoardCols; ++col) {
                const int index = DieIndex(row, col);
                const bool hold = Board().dice[index].face == keep;
                if (Board().dice[index].held != hold) Press(static_cast<SDL_Keycode>(SDLK_1 + col));
                ASSERT_EQ(Board().dice[index].held, hold) << "digit " << col + 1 << " did not hold its die";
                EXPECT_EQ(Shown(Scene()->dice[index]->SelectFrame()), hold);
            }
            Press(SDLK_RETURN);
            rollTicks.push_back(Settle());
            ASSERT_EQ(Board().rollsUsed, roll);
            EXPECT_EQ(Scene()->rollCounter->GetText(), std::to_string(3 - roll) + " left");
            EXPECT_TRUE(Shown(Scene()->rollCounter));
        }
        ASSERT_NO_FATAL_FAILURE(ScoreByLetter(-1));
        Settle();
    }

    // The cursor walked by the arrows onto a die.
    void CursorTo(int index) {
        if (!Shown(Scene()->pasCursor)) Press(SDLK_UP);  // the first arrow shows it
        while (Scene()->cursorIndex != index) {
            const int row = Scene()->cursorIndex / kBoardCols, col = Scene()->cursorIndex % kBoardCols;
            const int wantRow = index / kBoardCols, wantCol = index % kBoardCols;
            Press(row < wantRow ? SDLK_UP : row > wantRow ? SDLK_DOWN : col < wantCol ? SDLK_RIGHT : SDLK_LEFT);
        }
        EXPECT_EQ(Scene()->pasCursor->x, Scene()->dice[index]->x);
    }
    // A second-half hand: the line worth most chosen by its digit, the best
    // swap into it made by the cursor, then scored by its letter.
    void PlayLine() {
        int line = -1, linePoints = -1;
        for (int l = 0; l < kLineCount; ++l) {
            int faces[kHandSize], colours[kHandSize], points = 0;
            if (Board().lineScored[l] || !LineHand(l, faces, colours)) continue;
            BestFree(faces, colours, &points);
            if (points > linePoints) line = l, linePoints = points;
        }
        Press(static_cast<SDL_Keycode>(SDLK_1 + line));
        ASSERT_EQ(Board().selectedLine, line);
        int onLine[kHandSize], from = -1, to = -1, best = linePoints;
        GetLineDice(line, onLine);
        for (int p = 0; p < kHandSize; ++p) {
            const int target = onLine[p], row = target / kBoardCols;
            for (int col = 0; col < kBoardCols && Board().dice[target].movable; ++col) {
                const int source = DieIndex(row, col);
                if (source == target || !Board().dice[source].movable) continue;
                int faces[kHandSize], colours[kHandSize], points = 0;
                LineHand(line, faces, colours);
                faces[p] = Board().dice[source].face, colours[p] = Board().dice[source].colour;
                BestFree(faces, colours, &points);
                if (points > best) best = points, from = source, to = target;
            }
        }
        if (from >= 0) {
            const DieState a = Board().dice[from], b = Board().dice[to];
            CursorTo(from);
            Press(SDLK_SPACE);
            EXPECT_EQ(Board().pickedDie, from);
            EXPECT_TRUE(Shown(Scene()->dice[from]->SelectFrame()));
            CursorTo(to);
            Press(SDLK_SPACE);
            ASSERT_EQ(Board().dice[to].face, a.face) << "no swap of " << from << " and " << to;
            EXPECT_EQ(Board().dice[from].face, b.face);
            EXPECT_EQ(Scene()->dice[to]->GetFace(), a.face);
            EXPECT_EQ(Board().selectedLine, line);
            ++swaps;
        }
        ASSERT_NO_FATAL_FAILURE(ScoreByLetter(line));
        Run(50);
    }

    // The whole game from the first roll; then every cell, the total and the records.
    void PlayGameAndCheck(const std::string& player) {
        for (int row = 0; row < kFirstHalfHands; ++row) ASSERT_NO_FATAL_FAILURE(PlayRow(1 + (row + 1) % 3));
        for (int hand = kFirstHalfHands; hand < kCategoryCount; ++hand) ASSERT_NO_FATAL_FAILURE(PlayLine());
        Run(100);
        ASSERT_TRUE(Scene()->gameOver);
        EXPECT_GT(swaps, 0);
        ScoreCells cells{};
        ASSERT_EQ(expected.size(), static_cast<std::size_t>(kCategoryCount));
        for (const auto& [code, points] : expected) {
            const CScoreCell* cell = Scene()->sheet->pScoreCell[CategoryIndex(code)];
            EXPECT_EQ(cell->filled, 1) << char(code);
            EXPECT_EQ(cell->value, points) << char(code);
            cells[CategoryIndex(code)] = {true, points};
        }
        const int total = SheetTotals(cells).total;
        EXPECT_EQ(Scene()->sheet->GetScore(), total);
        EXPECT_EQ(StoredDword("BestScore", -1), total);
        EXPECT_EQ(StoredString("Initials"), player);
        for (const std::string& scope : {player + "GamesFinished", std::string("GamesFinishedAll")})
            EXPECT_EQ(StoredDword(scope, 0), 1) << scope;
        EXPECT_EQ(StoredDword(TableScoreKey(kTableBestAll, 0, player), -1), total);
        EXPECT_EQ(StoredString(TableInitialsKey(kTableBestMine, 0, player)), player);
    }

    std::map<int, int> expected;  // category code -> what its hand was worth
    std::vector<int> rollTicks;   // from Return to the dice at rest, each roll
    int swaps = 0;
    int frameTicks = 25;
};

TEST_F(PlayerPaceGame, AWholeGameWithoutNumericPadOrMouse) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(11));
    // Return ends the intro as soon as it is up, and does not roll.
    for (int t = 0; t < 3000 && !Shown(Scene()->pasIntro); t += 25) Run(25);
    ASSERT_TRUE(Shown(Scene()->pasIntro));
    Press(SDLK_RETURN);
    Run(25);
    EXPECT_FALSE(Shown(Scene()->pasIntro));
    EXPECT_TRUE(Shown(Scene()->rollButton));
    EXPECT_EQ(Board().rollsUsed, 0);
    // Initials of category letters: typing them scores nothing.
    for (SDL_Keycode letter : {SDLK_l, SDLK_e, SDLK_k}) Press(letter);
    EXPECT_STREQ(Scene()->GetEditedInitials(), "LEK");
    EXPECT_EQ(Board().handIndex, 0);
    ASSERT_NO_FATAL_FAILURE(PlayGameAndCheck("LEK"));
}

TEST_F(PlayerPaceGame, AWholeGameAtFastWithEveryRollSettledWithinASecond) {
    StoreDword("DiceSpeed", 1);
    ASSERT_NO_FATAL_FAILURE(StartProgram(13));
    // Esc ends the intro at once and then asks to quit; No goes back to the game.
    Run(100);
    Press(SDLK_ESCAPE);
    Run(25);
    ASSERT_NE(Scene()->pSceneQuitConfirm, nullptr);
    EXPECT_FALSE(Shown(Scene()->pasIntro));
    Press(SDLK_n);
    Run(50);
    ASSERT_EQ(Scene()->pSceneQuitConfirm, nullptr);
    for (SDL_Keycode letter : {SDLK_f, SDLK_s, SDLK_t}) Press(letter);
    frameTicks = 4;  // about 60 frames a second
    ASSERT_NO_FATAL_FAILURE(PlayGameAndCheck("FST"));
    ASSERT_FALSE(rollTicks.empty());
    for (int ticks : rollTicks) EXPECT_LE(ticks, 256) << "a roll longer than a second";
}

TEST_F(PlayerPaceGame, KScoresAloneAndStillBeginsTheHiddenPicture) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(12));
    for (int t = 0; t < 3000 && !Shown(Scene()->rollButton); t += 25) Run(25);
    Press(SDLK_RETURN);
    Settle();
    // K and Q held, the left button down, X released: the picture, and no score.
    Key(SDL_KEYDOWN, SDLK_k);
    Key(SDL_KEYDOWN, SDLK_q);
    Button(SDL_MOUSEBUTTONDOWN, 5, 5, SDL_BUTTON_LEFT);
    Tap(SDLK_x);
    Key(SDL_KEYUP, SDLK_q);
    Key(SDL_KEYUP, SDLK_k);
    Button(SDL_MOUSEBUTTONUP, 5, 5, SDL_BUTTON_LEFT);
    ASSERT_NE(Scene()->pSceneHidden, nullptr);
    EXPECT_EQ(Board().handIndex, 0);
    Tap(SDLK_1);  // the picture's OK
    Run(50);
    ASSERT_EQ(Scene()->pSceneHidden, nullptr);
    ASSERT_EQ(Board().rollsUsed, 1);
    ASSERT_FALSE(Scene()->paused);
    // K alone scores Full house on its release.
    Key(SDL_KEYDOWN, SDLK_k);
    EXPECT_EQ(Board().handIndex, 0);
    Key(SDL_KEYUP, SDLK_k);
    EXPECT_EQ(Board().handIndex, 1);
    EXPECT_EQ(Scene()->sheet->pScoreCell[CategoryIndex(kFullHouse)]->filled, 1);
}

}  // namespace
}  // namespace e2e
