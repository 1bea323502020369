// Whole games played on the running program with real keys and clicks only:
// rolls by Return, holds by clicks on dice, categories by the numeric pad and
// by clicks on the sheet, lines by "1".."7" and by the line buttons, swaps by
// drags (and by right clicks in click mode), an undo in every game, new games
// by the new-game button and key. The board is read only to choose what to
// press and to note the hand each category was scored with; the sheet, the
// end message and the records in the store are then checked against it.

#include <algorithm>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "tests/support/ProgramTestSupport.h"
#include "common/widgets/CActorButton.h"
#include "common/widgets/CActorHotspot.h"
#include "common/actors/CActorSprite.h"
#include "common/scene/COptions.h"
#include "common/widgets/CScore.h"
#include "game/play/CActorDie.h"
#include "game/sheet/CScoreCell.h"
#include "game/sheet/CScoreSheet.h"
#include "game/rules/HandScore.h"
#include "game/rules/Records.h"
#include "game/sheet/ScoreSheetAssets.h"

namespace e2e {
namespace {

// How each game is played: which undo, how its categories and lines are given.
struct GamePlan {
    const char* name;
    enum Undo { kUndoKeyFirstHalf, kUndoButtonSecondHalf, kUndoKeyFifthHand, kUndoButtonFirstHalf } undo;
    SDL_Keycode newGameKey;  // 0: the new-game button (for games after the first)
};

constexpr SDL_Keycode kPadKeys[kCategoryCount] = {SDLK_KP_1, SDLK_KP_2, SDLK_KP_3,        SDLK_KP_4,
                                                  SDLK_KP_5, SDLK_KP_6, SDLK_KP_7,        SDLK_KP_8,
                                                  SDLK_KP_9, SDLK_KP_MULTIPLY, SDLK_KP_PLUS, SDLK_KP_COMMA};

class EndToEndGame : public ProgramTest {
protected:
    CBoardState& Board() { return Scene()->board; }
    CScoreSheet* Sheet() { return Scene()->sheet; }
    CActorDie* Die(int index) { return Scene()->dice[index]; }
    bool ClickMode() { return app->GetOptions()->GetDiceMoveMode() == 1; }

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
    // Frames until no die moves or rolls, and one more for the scene's Tick.
    void Settle() {
        for (int t = 0; t < 6000 && Busy(); t += 25) Run(25);
        ASSERT_FALSE(Busy()) << "the dice never came to rest";
        Run(25);
    }
    // Past the fade-in and the intro: the roll button is up.
    void PastIntro() {
        for (int t = 0; t < 3000 && !(Shown(Scene()->rollButton) && !Shown(Scene()->pasIntro)); t += 25) Run(25);
        ASSERT_TRUE(Shown(Scene()->rollButton));
    }

    // The hand as the dice of the current line show it: the row in play, or the selected line.
    bool Hand(int faces[kHandSize], int colours[kHandSize]) {
        int dice[kHandSize];
        if (Board().handIndex < kFirstHalfHands) {
            for (int col = 0; col < kBoardCols; ++col) dice[col] = DieIndex(Board().handIndex, col);
        } else if (!GetLineDice(Board().selectedLine, dice)) {
            return false;
        }
        for (int p = 0; p < kHandSize; ++p) {
            if (!Shown(Die(dice[p]))) return false;
            faces[p] = Die(dice[p])->GetFace();
            colours[p] = Die(dice[p])->ShownColour();
        }
        return true;
    }
    // The free category worth most for a hand (ties: the lowest code), leaving out `skip`.
    int BestFree(const int faces[kHandSize], const int colours[kHandSize], int skip = 0) {
        int best = 0, bestPoints = -1;
        for (int code = kFirstCategory; code <= kLastCategory; ++code) {
            if (code == skip || Scene()->boardCells.IsFilled(code)) continue;
            const int points = ScoreHand(code, faces, colours).points;
            if (points > bestPoints) best = code, bestPoints = points;
        }
        return best;
    }
    int BestPoints(const int faces[kHandSize], const int colours[kHandSize]) {
        return ScoreHand(BestFree(faces, colours), faces, colours).points;
    }

    // Scores the hand on the board by the category's key or a click on its
    // cell, and notes what that hand is worth there.
    void Score(int code, bool byClick) {
        int faces[kHandSize], colours[kHandSize];
        ASSERT_TRUE(Hand(faces, colours));
        const int hand = Board().handIndex;
        if (byClick)
            ClickOn(Sheet()->pScoreCell[CategoryIndex(code)]->hotspot);
        else
            Tap(kPadKeys[CategoryIndex(code)]);
        ASSERT_EQ(Board().handIndex, hand + 1) << "hand " << hand << " into '" << char(code) << "' by "
                                               << (byClick ? "click" : "key");
        expected[code] = ScoreHand(code, faces, colours).points;
        lastCode = code;
        ++used[byClick ? "cell click" : code == kTwoPairs ? "separator key" : "pad key"];
    }
    // Takes the last fill back by "U" or by the undo button under its cell.
    void UndoLast(bool byButton) {
        const int hand = Board().handIndex;
        if (byButton) {
            ASSERT_TRUE(Shown(gCellAssets.undoButton));
            ClickOn(gCellAssets.undoButton);
        } else {
            Tap(SDLK_u);
        }
        ASSERT_EQ(Board().handIndex, hand - 1);
        EXPECT_EQ(Sheet()->pScoreCell[CategoryIndex(lastCode)]->filled, 0);
        expected.erase(lastCode);
        ++used[byButton ? "undo button" : "undo key"];
    }
    // Scores the hand, and with `undo` takes it back and scores it again in the next best category.
    void ScoreHandOnBoard(bool byClick, bool undo, bool undoByButton) {
        int faces[kHandSize], colours[kHandSize];
        ASSERT_TRUE(Hand(faces, colours));
        ASSERT_NO_FATAL_FAILURE(Score(BestFree(faces, colours), byClick));
        if (!undo) return;
        const int undone = lastCode;
        ASSERT_NO_FATAL_FAILURE(UndoLast(undoByButton));
        ASSERT_NO_FATAL_FAILURE(Settle());
        ASSERT_TRUE(Hand(faces, colours));
        ASSERT_NO_FATAL_FAILURE(Score(BestFree(faces, colours, undone), !byClick));
    }

    // One row of the first half: rolled, the most frequent face held by
    // clicks on its dice and the rest rolled again, `rolls` times in all.
    void PlayRow(int rolls, bool byClick, bool undo, bool undoByButton) {
        const int row = Board().handIndex;
        // The first roll of a row by the roll button where the row's categories are clicked, else by Return.
        if (byClick)
            ClickOn(Scene()->rollButton), ++used["roll button"];
        else
            Tap(SDLK_RETURN);
        ASSERT_NO_FATAL_FAILURE(Settle());
        ASSERT_EQ(Board().rollsUsed, 1) << "no roll of row " << row;
        for (int roll = 2; roll <= rolls; ++roll) {
            int count[7] = {}, keep = 1, faces[kBoardCols];
            for (int col = 0; col < kBoardCols; ++col) ++count[faces[col] = Board().dice[DieIndex(row, col)].face];
            for (int f = 2; f <= 6; ++f)
                if (count[f] >= count[keep]) keep = f;
            if (count[keep] == kBoardCols) break;
            for (int col = 0; col < kBoardCols; ++col) {
                const int index = DieIndex(row, col);
                if (Board().dice[index].held != (faces[col] == keep)) ClickOn(Die(index)), ++used["hold click"];
                ASSERT_EQ(Board().dice[index].held, faces[col] == keep) << "a click did not hold die " << index;
                EXPECT_EQ(Shown(Die(index)->SelectFrame()), faces[col] == keep) << index;
            }
            Tap(SDLK_RETURN);
            ASSERT_NO_FATAL_FAILURE(Settle());
            ASSERT_EQ(Board().rollsUsed, roll);
            for (int col = 0; col < kBoardCols; ++col) {
                if (faces[col] == keep) {
                    EXPECT_EQ(Board().dice[DieIndex(row, col)].face, keep) << "a held die rolled";
                }
                EXPECT_EQ(Die(DieIndex(row, col))->GetFace(), Board().dice[DieIndex(row, col)].face);
            }
        }
        ASSERT_NO_FATAL_FAILURE(ScoreHandOnBoard(byClick, undo, undoByButton));
        ASSERT_NO_FATAL_FAILURE(Settle());
    }

    // Chooses a second-half line by its key, its button, or (a column) by a
    // click on one of its dice.
    enum LineWay { kLineKey, kLineButton, kLineDieClick };
    void ChooseLine(int line, LineWay way) {
        static const char* const names[] = {"line key", "line button", "die click"};
        if (way == kLineDieClick && (line == kFallingDiagonal || line == kRisingDiagonal)) way = kLineKey;
        if (way == kLineButton)
            ClickOn(Scene()->lineButtons[line]);
        else if (way == kLineDieClick)
            ClickOn(Die(DieIndex(2, line - 1)));
        else
            Tap(static_cast<SDL_Keycode>(SDLK_1 + line));
        ASSERT_EQ(Board().selectedLine, line) << "line " << line << " by " << names[way];
        EXPECT_EQ(Scene()->lineButtons[line]->GetState(), kStateDown);
        ++used[names[way]];
    }
    // The swap of two movable dice of one row, one on the line, that makes
    // the line worth most (no swap: -1s); a swap is made when it loses nothing.
    void BestSwap(int line, int* from, int* to) {
        int onLine[kHandSize], faces[kHandSize], colours[kHandSize];
        GetLineDice(line, onLine);
        ASSERT_TRUE(Hand(faces, colours));
        int best = BestPoints(faces, colours);
        *from = *to = -1;
        for (int p = 0; p < kHandSize; ++p) {
            const int target = onLine[p], row = target / kBoardCols;
            if (!Board().dice[target].movable) continue;
            for (int col = 0; col < kBoardCols; ++col) {
                const int source = DieIndex(row, col);
                if (source == target || !Board().dice[source].movable) continue;
                int f[kHandSize], c[kHandSize];
                std::copy(faces, faces + kHandSize, f);
                std::copy(colours, colours + kHandSize, c);
                f[p] = Board().dice[source].face;
                c[p] = Board().dice[source].colour;
                if (const int points = BestPoints(f, c); points >= best) best = points, *from = source, *to = target;
            }
        }
    }
    // Swaps two dice by dragging one onto the other, or in click mode by
    // right clicks on both.
    void SwapDice(int from, int to) {
        const DieState a = Board().dice[from], b = Board().dice[to];
        if (ClickMode()) {
            ClickOn(Die(from), SDL_BUTTON_RIGHT);
            Frame(8);
            EXPECT_EQ(Board().pickedDie, from);
            ClickOn(Die(to), SDL_BUTTON_RIGHT);
            Frame(8);
        } else {
            Drag(Die(from), Die(to));
        }
        ASSERT_EQ(Board().dice[from].face, b.face) << "no swap of " << from << " and " << to;
        ASSERT_EQ(Board().dice[to].face, a.face);
        EXPECT_EQ(Board().dice[to].colour, a.colour);
        EXPECT_EQ(Die(from)->GetFace(), b.face);
        EXPECT_EQ(Die(to)->GetFace(), a.face);
        ++used[ClickMode() ? "right-click swap" : "drag swap"];
    }
    // One hand of the second half: the line worth most chosen (by key or
    // button), the best swap into it, then the hand scored.
    void PlayLine(LineWay lineWay, bool byClick, bool undo, bool undoByButton) {
        int line = -1, linePoints = -1;
        for (int l = 0; l < kLineCount; ++l) {
            if (Board().lineScored[l]) continue;
            int dice[kHandSize], faces[kHandSize], colours[kHandSize];
            GetLineDice(l, dice);
            for (int p = 0; p < kHandSize; ++p) {
                faces[p] = Board().dice[dice[p]].face;
                colours[p] = Board().dice[dice[p]].colour;
            }
            if (const int points = BestPoints(faces, colours); points > linePoints) line = l, linePoints = points;
        }
        ASSERT_NO_FATAL_FAILURE(ChooseLine(line, lineWay));
        int from = -1, to = -1;
        ASSERT_NO_FATAL_FAILURE(BestSwap(line, &from, &to));
        if (from >= 0) {
            ASSERT_NO_FATAL_FAILURE(SwapDice(from, to));
            EXPECT_EQ(Board().selectedLine, line) << "a swap onto the marked line changed the line";
        }
        ASSERT_NO_FATAL_FAILURE(ScoreHandOnBoard(byClick, undo, undoByButton));
        Run(50);
    }

    // One whole game from its first roll to the end message.
    void PlayGame(int game, const GamePlan& plan) {
        SCOPED_TRACE(plan.name);
        expected.clear();
        for (int row = 0; row < kFirstHalfHands; ++row) {
            const bool undo = (plan.undo == GamePlan::kUndoKeyFirstHalf && row == 2) ||
                              (plan.undo == GamePlan::kUndoButtonFirstHalf && row == 1) ||
                              (plan.undo == GamePlan::kUndoKeyFifthHand && row == 4);
            ASSERT_NO_FATAL_FAILURE(PlayRow(1 + (row + game) % 3, (row + game) % 2 == 1, undo,
                                            plan.undo == GamePlan::kUndoButtonFirstHalf));
        }
        ASSERT_TRUE(Shown(Scene()->lineButtons[0]));
        for (int hand = kFirstHalfHands; hand < kCategoryCount; ++hand) {
            const bool undo = plan.undo == GamePlan::kUndoButtonSecondHalf && hand == 7;
            const LineWay way = static_cast<LineWay>((hand + game) % 3);
            ASSERT_NO_FATAL_FAILURE(PlayLine(way, (hand + game) % 2 == 0, undo, true));
        }
        Run(100);
        CheckFinishedGame();
    }

    // Every cell holds what its hand was worth; the total, the end message
    // and the best score follow from them and the games before.
    void CheckFinishedGame() {
        ASSERT_TRUE(Scene()->gameOver);
        ScoreCells cells{};
        ASSERT_EQ(expected.size(), static_cast<std::size_t>(kCategoryCount));
        for (const auto& [code, points] : expected) {
            const CScoreCell* cell = Sheet()->pScoreCell[CategoryIndex(code)];
            EXPECT_EQ(cell->filled, 1) << char(code);
            EXPECT_EQ(cell->value, points) << char(code);
            EXPECT_EQ(std::string(cell->cellDigits), std::to_string(points)) << char(code);
            EXPECT_TRUE(Shown(cell)) << char(code);
            cells[CategoryIndex(code)] = {true, points};
        }
        const SheetTotalsValue totals = SheetTotals(cells);
        EXPECT_TRUE(totals.complete);
        EXPECT_EQ(Sheet()->GetScore(), totals.total);
        EXPECT_EQ(Sheet()->pLeftSubtotal->GetValue(), totals.leftSum);
        EXPECT_EQ(Sheet()->pRightSubtotal->GetValue(), totals.rightSum);
        EXPECT_TRUE(Shown(Sheet()->pasGameOver));

        // The end message ranks the total among the games recorded before it.
        const std::string player = CurrentPlayerInitials();
        int placeAll = 0, placeMine = 0, best = 0;
        bool firstFinish = true;
        for (const Played& g : played) {
            placeAll += g.total >= totals.total;
            placeMine += g.player == player && g.total >= totals.total;
            firstFinish = firstFinish && g.player != player;
            best = std::max(best, g.total);
        }
        const bool ranked = !firstFinish || (best != 0 && best < totals.total);
        const int message = !ranked ? 6 : placeAll == 0 ? 1 : placeMine == 0 ? 2 : placeAll < kTableEntries ? 3 : 5;
        played.push_back({player, totals.total});
        best = std::max(best, totals.total);
        EXPECT_TRUE(Shown(Scene()->pasMsgTop));
        EXPECT_EQ(Scene()->pasMsgTop->frame, Scene()->assets.endMessages[message - 1]) << "end message " << message;
        EXPECT_EQ(Scene()->endMessage, message <= 4 ? message : 0);
        messages.push_back(message);
        EXPECT_EQ(Sheet()->pHighScore->GetValue(), best);
        EXPECT_EQ(StoredDword("BestScore", -1), best);
    }

    // A new game by the new-game button or its key, with the game over.
    void NewGame(SDL_Keycode key) {
        if (key)
            Tap(key);
        else
            ClickOn(Scene()->newGameButton);
        ASSERT_FALSE(Scene()->gameOver) << "no new game";
        ASSERT_EQ(Board().handIndex, 0);
        EXPECT_FALSE(Shown(Scene()->pasMsgTop));
        Run(50);
    }

    // The counts, averages and tables in the store: of all games, and of each player's.
    void CheckRecords() {
        for (const std::string& player : {std::string("All"), std::string("ABC"), std::string("XY")}) {
            SCOPED_TRACE(player);
            const bool all = player == "All";
            std::vector<int> totals;  // in the order played
            for (const Played& g : played)
                if (all || g.player == player) totals.push_back(g.total);
            const int games = static_cast<int>(totals.size());
            const std::string prefix = all ? "" : player, suffix = all ? "All" : "";
            const int left = static_cast<int>(
                std::count_if(abandoned.begin(), abandoned.end(), [&](auto& p) { return all || p == player; }));
            EXPECT_EQ(StoredDword(prefix + "GamesStarted" + suffix, 0), games + left);
            EXPECT_EQ(StoredDword(prefix + "GamesFinished" + suffix, 0), games);
            const int sum = std::accumulate(totals.begin(), totals.end(), 0);
            EXPECT_EQ(StoredDword(prefix + "AverageScore" + suffix, -1), games ? sum / games : -1);
            EXPECT_EQ(StoredDword(prefix + "Remainder" + suffix, -1), games ? sum % games : -1);
            // Best first, equal totals after the older ones; the recent tables newest first.
            std::vector<const Played*> best, recent;
            for (const Played& g : played)
                if (all || g.player == player) best.push_back(&g), recent.insert(recent.begin(), &g);
            std::stable_sort(best.begin(), best.end(),
                             [](const Played* a, const Played* b) { return a->total > b->total; });
            const TableKind kinds[2] = {all ? kTableBestAll : kTableBestMine, all ? kTableRecentAll : kTableRecentMine};
            for (TableKind kind : kinds) {
                const std::vector<const Played*>& order = kind == kinds[0] ? best : recent;
                const std::string owner = all ? "ABC" : player;  // names the player's own tables only
                for (int i = 0; i < kTableEntries; ++i) {
                    SCOPED_TRACE(TableScoreKey(kind, i, owner));
                    EXPECT_EQ(StoredDword(TableScoreKey(kind, i, owner), -1), i < games ? order[i]->total : -1);
                    EXPECT_EQ(StoredString(TableInitialsKey(kind, i, owner)), i < games ? order[i]->player : "");
                }
            }
        }
        int best = 0;
        for (const Played& g : played) best = std::max(best, g.total);
        EXPECT_EQ(StoredDword("BestScore", -1), best);
    }

    struct Played {
        std::string player;
        int total;
    };
    std::map<int, int> expected;  // category code -> what its hand was worth
    std::vector<Played> played;
    std::vector<std::string> abandoned;  // players of games given up for a new one
    std::vector<int> messages;
    int lastCode = 0;
    std::map<std::string, int> used;  // how often each way of input was used
};

TEST_F(EndToEndGame, GamesPlayedWithKeysAndClicksAreScoredShownAndRecorded) {
    StoreDword("Fullscreen", 0);  // a window: the layout shifted by the scene origin
    ASSERT_NO_FATAL_FAILURE(StartProgram(10));
    ASSERT_EQ(Scene()->originX, CGameScreen::kWindowedOriginX);
    ASSERT_NO_FATAL_FAILURE(PastIntro());
    // The player's initials, typed before the first roll.
    for (SDL_Keycode letter : {SDLK_a, SDLK_b, SDLK_c}) Tap(letter);

    const GamePlan plans[] = {
        {"first game: undo by key in the first half", GamePlan::kUndoKeyFirstHalf, 0},
        {"second game: new-game button, undo by button in the second half", GamePlan::kUndoButtonSecondHalf, 0},
        {"third game: new-game key, undo of the fifth hand", GamePlan::kUndoKeyFifthHand, SDLK_KP_PERIOD},
    };
    for (int game = 0; game < 3; ++game) {
        if (game > 0) {
            ASSERT_NO_FATAL_FAILURE(NewGame(plans[game].newGameKey));
        }
        ASSERT_NO_FATAL_FAILURE(PlayGame(game, plans[game]));
    }
    EXPECT_EQ(StoredString("Initials"), "ABC");
    CheckRecords();

    // Quit by Escape and the dialog's yes.
    Tap(SDLK_ESCAPE);
    Run(25);
    ASSERT_NE(Scene()->pSceneQuitConfirm, nullptr);
    Tap(SDLK_y);
    Run(50);
    EXPECT_EQ(Screen()->scene, nullptr);
    EXPECT_TRUE(QuitPosted());
    EndProgram();

    // The next run, full screen and in click mode, by another player whose
    // initials replace the stored ones in the box; its game joins the records.
    StoreDword("DiceMoveMode", 1);
    StoreDword("Fullscreen", 1);  // the whole layout, scaled to the desktop
    ASSERT_NO_FATAL_FAILURE(StartProgram(7));
    ASSERT_EQ(Scene()->originX, 0);
    ASSERT_NO_FATAL_FAILURE(PastIntro());
    for (SDL_Keycode key : {SDLK_END, SDLK_BACKSPACE, SDLK_BACKSPACE, SDLK_BACKSPACE, SDLK_x, SDLK_y}) Tap(key);
    // A game given up after its first roll, by the new-game key and the dialog's yes.
    Tap(SDLK_RETURN);
    ASSERT_NO_FATAL_FAILURE(Settle());
    abandoned.push_back("XY");
    Tap(SDLK_KP_PERIOD);
    Run(25);
    ASSERT_NE(Scene()->pSceneResetConfirm, nullptr);
    Tap(SDLK_y);
    Run(50);
    ASSERT_EQ(Board().rollsUsed, 0);
    ASSERT_FALSE(Scene()->paused);
    ASSERT_NO_FATAL_FAILURE(PlayGame(3, {"click mode: undo by button in the first half",
                                         GamePlan::kUndoButtonFirstHalf, 0}));
    EXPECT_EQ(StoredString("Initials"), "XY");
    CheckRecords();
    // Seeded: the games end unranked, with a new best and in the table.
    EXPECT_EQ(messages, (std::vector<int>{6, 1, 3, 6}));
    // Every way of giving a command was used: cell click, die click, drag swap, hold click, line button,
    // line key, pad key, right-click swap, roll button, separator key, undo button and undo key.
    EXPECT_EQ(used.size(), 12u);
    SendWindowEvent(SDL_WINDOWEVENT_CLOSE);
    Run(25);
    EXPECT_TRUE(QuitPosted());
}

}  // namespace
}  // namespace e2e
