#pragma once
// Decisions played on a real board, for whole games the computer plays (the
// duel's opponent, the coach's self-play tool): the coach's best choice, kept
// to its second-half plan, and the greedy rule's second-half line.

#include <cstdint>
#include <functional>
#include <optional>

#include "game/rules/CBoardState.h"
#include "game/rules/coach/CCoach.h"

class CScoreCells;

namespace coach {

class CDecisionLog;

// The coach's side of a game: asks for advice on the board as it stands and
// keeps the plan its second-half advice leads to.
class CCoachPlayer {
public:
    // The coach's best choice (noted in log, if given); nullopt when the game is over.
    std::optional<CoachChoice> Decide(const CBoardState& board, const CScoreCells& sheet, const CCoach& coach,
                                      std::uint64_t seed, CDecisionLog* log);
    // A decision that was not the coach's may leave its plan.
    void ForgetPlan() { plan.reset(); }

private:
    std::optional<CoachChoice> plan;
};

// Plays a choice on the board; a roll, keeping the dice of `keep`, goes through rollKeeping.
void PlayChoice(CBoardState& board, const CoachChoice& choice, const std::function<void(int keep)>& rollKeeping);

// The greedy rule in the second half: the open line and the category (code)
// worth most now, the first on a tie.
struct LineChoice {
    int line = -1;
    int code = 0;
};
LineChoice GreedyLine(const CBoardState& board, unsigned freeCategories);

}  // namespace coach
