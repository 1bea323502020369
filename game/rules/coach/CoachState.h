#pragma once
// What the coach is told and what it answers. A snapshot of the board and the
// sheet is taken on the game's thread, so the coach can think about it on its
// own thread while the game goes on.

#include <utility>
#include <vector>

#include "game/rules/CBoardState.h"
#include "game/rules/HandScore.h"

class CScoreCells;

namespace coach {

struct CoachState {
    int face[kDieCount] = {};
    int colour[kDieCount] = {};
    bool held[kDieCount] = {};  // first half: the current row's holds
    int handIndex = 0;          // 0..4 first half (the row), 5..11 second half, 12 over
    int rollsUsed = 0;          // first half: rolls made for the current row
    bool lineScored[kLineCount] = {};
    ScoreCells cells{};
    // Second half, if given: the board that swaps advised before lead to (by
    // place). The search starts from it too, so that advice followed swap by
    // swap keeps to its plan unless a better one turns up.
    bool hasPlan = false;
    int planFace[kDieCount] = {};
    int planColour[kDieCount] = {};

    bool IsSecondHalf() const { return handIndex >= kFirstHalfHands; }
    bool IsOver() const;
};

CoachState SnapshotOf(const CBoardState& board, const CScoreCells& sheet);
// The same dice, holds, progress and sheet.
bool SameState(const CoachState& a, const CoachState& b);

enum class ChoiceKind {
    Roll,   // first roll of a row
    Hold,   // roll again keeping the dice of holdMask
    Score,  // score the current hand (first half) or a line (second half) into a category
    Swaps,  // second half: rearrange by these swaps before scoring more
};

struct CoachChoice {
    explicit CoachChoice(ChoiceKind k = ChoiceKind::Roll) : kind(k) {}

    ChoiceKind kind;
    int holdMask = 0;   // Hold: bit k keeps the die in column k
    int category = 0;   // Score: code 'a'..'l'
    int line = -1;      // Score in the second half: the line 0..6
    std::vector<std::pair<int, int>> swaps;  // Swaps: board indexes, in order
    // Second half: the board the plan leads to (Swaps: after the swaps; Score:
    // the arrangement the total counts on), and the line to score first.
    std::vector<int> planFace, planColour;
    int planLine = -1;
    int planCategory = 0;
    double expected = 0;  // expected final total of the game after this choice
};

struct CoachAdvice {
    std::vector<CoachChoice> choices;  // best first; empty when the game is over
    double Best() const { return choices.empty() ? 0.0 : choices.front().expected; }
};

// The state with a plan of swaps to keep to (see hasPlan).
void FollowPlan(CoachState& state, const CoachChoice& swaps);

}  // namespace coach
