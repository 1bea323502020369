#include "tools/coach/CoachGames.h"

#include <optional>

#include "game/rules/CBoardState.h"
#include "game/rules/CScoreCells.h"
#include "game/rules/Random.h"
#include "game/rules/coach/BoardPlay.h"
#include "game/rules/coach/CoachPolicies.h"
#include "game/rules/coach/CoachRandom.h"
#include "game/rules/coach/CoachReview.h"

namespace {

// The game's decisions are noted here when the caller asks for them.
coach::CDecisionLog* noting = nullptr;

void Note(const CBoardState& board, const CScoreCells& sheet) {
    if (noting) noting->Observe(coach::SnapshotOf(board, sheet));
}

// Common dice (see PlayGame): the game's seed, or 0 for the game's own sequence.
std::uint64_t commonDice = 0;

// Rolls the current row and lets the dice settle. With common dice each die
// is drawn from its own seed (game, row, roll, column), so that two policies
// that roll the same die at the same moment see the same face and colour.
void RollRow(CBoardState& board) {
    const int row = board.handIndex;
    board.Roll();
    if (commonDice)
        for (int col = 0; col < kBoardCols; ++col) {
            const auto which = static_cast<std::uint64_t>((row * 4 + board.rollsUsed) * 8 + col);
            SeedRandom(static_cast<unsigned>(coach::Combine(commonDice, which)));
            board.StartDieRoll(DieIndex(row, col));
            board.EndDieRoll(DieIndex(row, col));
        }
    board.FinishMotion();
}

void RowHand(const CBoardState& board, int faces[kHandSize], int colours[kHandSize]) {
    board.GetLineFaces(faces);
    board.GetLineColours(colours);
}

void RollKeeping(CBoardState& board, const CScoreCells& sheet, int keep) {
    for (int col = 0; col < kBoardCols; ++col) {
        const int index = DieIndex(board.handIndex, col);
        if (board.dice[index].held != ((keep >> col) & 1)) board.ToggleHold(index);
    }
    Note(board, sheet);
    RollRow(board);
}

unsigned FreeOf(const CScoreCells& sheet) { return coach::FreeCategories(sheet.Cells()); }

// Greedy: the most frequent face; the category, or line and category, worth most now.
void GreedyTurn(CBoardState& board, const CScoreCells& sheet) {
    int faces[kHandSize], colours[kHandSize];
    if (!board.IsSecondHalf()) {
        RollRow(board);
        RowHand(board, faces, colours);
        while (board.rollsUsed < kMaxRolls) {
            const int keep = coach::GreedyHold(faces);
            if (keep == coach::kHoldAll) break;
            RollKeeping(board, sheet, keep);
            RowHand(board, faces, colours);
        }
        board.ScoreCategory(CategoryCodeOf(coach::GreedyCategory(faces, colours, FreeOf(sheet))));
        board.FinishMotion();
        return;
    }
    const coach::LineChoice best = coach::GreedyLine(board, FreeOf(sheet));
    board.SelectLine(best.line);
    board.ScoreCategory(best.code);
}

// Coach: its best choice at every decision (a first roll needs no advice).
void CoachTurn(CBoardState& board, const CScoreCells& sheet, const coach::CCoach& c, std::uint64_t seed,
               coach::CCoachPlayer& player, PlayedGame& game) {
    if (!board.IsSecondHalf() && board.rollsUsed == 0) {
        RollRow(board);
        return;
    }
    const int handIndex = board.handIndex, rollsUsed = board.rollsUsed;
    const std::optional<coach::CoachChoice> choice = player.Decide(board, sheet, c, seed, noting);
    if (!choice) return;
    game.shown.push_back({handIndex, rollsUsed, choice->expected});
    coach::PlayChoice(board, *choice, [&](int keep) { RollKeeping(board, sheet, keep); });
}

}  // namespace

PlayedGame PlayGame(GamePolicy policy, const coach::CCoach& c, std::uint64_t adviceSeed, coach::CDecisionLog* log,
                    bool common) {
    commonDice = common ? coach::Combine(adviceSeed, 0xD1CE) : 0;
    CScoreCells sheet;
    CBoardState board(sheet);
    board.StartGame();
    noting = log;
    Note(board, sheet);
    PlayedGame game;
    coach::CCoachPlayer player;
    for (int step = 0; !board.gameOver && step < 200; ++step) {
        if (policy == GamePolicy::Greedy)
            GreedyTurn(board, sheet);
        else
            CoachTurn(board, sheet, c, coach::Combine(adviceSeed, static_cast<std::uint64_t>(step)), player, game);
        Note(board, sheet);
    }
    noting = nullptr;
    game.total = board.Total();
    game.cells = sheet.Cells();
    return game;
}
