#pragma once
// Looking back over a game: the decisions the player made are noted as the
// game goes (from snapshots, frame by frame), and after the game the coach
// weighs each one against its own best choice at that moment.

#include <atomic>
#include <string>
#include <vector>

#include "game/rules/coach/CCoach.h"

namespace coach {

struct Decision {
    CoachState before;  // the moment of the decision (second half: the hand's start, before any swap)
    CoachState after;   // second half: the moment of scoring, after the player's swaps
    CoachChoice chosen;
};

// Notes the decisions of one game from successive snapshots.
class CDecisionLog {
public:
    void Clear();
    // The game as it is now; call it whenever the game may have changed.
    void Observe(const CoachState& now);

    // Advice shown for a moment of the game: the review weighs that moment
    // by the same advice, so that following it never costs anything.
    void NoteAdvice(const CoachState& state, const CoachAdvice& advice);
    // The advice noted for the moment, if any.
    const CoachAdvice* AdviceFor(const CoachState& state) const;

    const std::vector<Decision>& Decisions() const { return decisions; }
    bool HasStart() const { return started; }
    const CoachState& Start() const { return start; }

private:
    std::vector<Decision> decisions;
    std::vector<std::pair<CoachState, CoachAdvice>> advised;
    CoachState previous;
    CoachState handStart;  // second half: the current hand before any swap
    CoachState start;      // the game before its first roll
    bool observed = false;
    bool started = false;
};

struct ReviewedDecision {
    Decision decision;
    CoachChoice preferred;
    double chosenValue = 0;
    double cost = 0;  // expected points the choice gave away (0 or more)
};

struct GameReview {
    int finalTotal = 0;
    double expectedAtStart = 0;  // the coach's best total at the game's first decision
    CoachState firstMoment;      // that decision's moment
    std::vector<ReviewedDecision> costliest;  // at most three, costliest first
};

// The review weighs every decision of a game at once: fewer playouts each.
constexpr CoachBudget kReviewBudget{200, 120, 4000};

// Weighs every decision of the log (stops early, with what it has, when cancel is set).
GameReview ReviewGame(const CCoach& coach, const CDecisionLog& log, int finalTotal, std::uint64_t seed,
                      const std::atomic<bool>* cancel = nullptr);

// A duel looked back on. Both games roll the same dice, so in every row of
// the first half the two players start from the same five dice and keep
// seeing the same ones while they choose alike: where their choices first
// part in a row is a difference of decisions, not of luck.
struct DuelParting {
    Decision mine;    // the player's choice where the games parted
    Decision theirs;  // the opponent's at the same moment
    int myCategory = 0, theirCategory = 0;  // what each scored the row as
    int myPoints = 0, theirPoints = 0;      // and for how much
};
// The first parting of each row where there was one, in row order.
std::vector<DuelParting> CompareDuel(const CDecisionLog& mine, const CDecisionLog& theirs);
// Two lines: "Row 3, roll 1: you scored Flush for 62." and
// "Hard: keep the three gold 5s, roll again; scored Fives for 80."
std::pair<std::string, std::string> DescribeParting(const DuelParting& parting, const std::string& opponent);

// Short words for the player.
std::string CategoryName(int code);
// Lines by the number of their key: "diagonal 1", "column 2".."column 6", "diagonal 7".
std::string LineName(int line);
// "red 5": a die by colour and face.
std::string DieName(int face, int colour);
std::string DescribeChoice(const CoachChoice& choice, const CoachState& state);
// One short reason for the best choice of the advice.
std::string ReasonFor(const CoachAdvice& advice, const CoachState& state);
std::string DescribeMoment(const Decision& decision);

}  // namespace coach
