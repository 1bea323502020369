#include "game/rules/coach/BoardPlay.h"

#include "game/rules/CScoreCells.h"
#include "game/rules/coach/CoachPolicies.h"
#include "game/rules/coach/CoachReview.h"

namespace coach {

std::optional<CoachChoice> CCoachPlayer::Decide(const CBoardState& board, const CScoreCells& sheet,
                                                const CCoach& coach, std::uint64_t seed, CDecisionLog* log) {
    CoachState state = SnapshotOf(board, sheet);
    if (plan && state.IsSecondHalf()) FollowPlan(state, *plan);
    const CoachAdvice advice = coach.Advise(state, seed);
    if (advice.choices.empty()) return std::nullopt;
    if (log) log->NoteAdvice(state, advice);
    const CoachChoice& choice = advice.choices.front();
    if (!choice.planFace.empty()) plan = choice;
    return choice;
}

void PlayChoice(CBoardState& board, const CoachChoice& choice, const std::function<void(int keep)>& rollKeeping) {
    switch (choice.kind) {
    case ChoiceKind::Roll: rollKeeping(0); break;
    case ChoiceKind::Hold: rollKeeping(choice.holdMask); break;
    case ChoiceKind::Score:
        if (choice.line >= 0) board.SelectLine(choice.line);
        board.ScoreCategory(choice.category);
        board.FinishMotion();
        break;
    case ChoiceKind::Swaps:
        for (const auto& [a, b] : choice.swaps) board.SwapDice(a, b);
        break;
    }
}

LineChoice GreedyLine(const CBoardState& board, unsigned freeCategories) {
    LineChoice best;
    int bestPoints = -1;
    for (int line = 0; line < kLineCount; ++line) {
        if (board.lineScored[line]) continue;
        int places[kHandSize], faces[kHandSize], colours[kHandSize];
        GetLineDice(line, places);
        for (int i = 0; i < kHandSize; ++i) {
            faces[i] = board.dice[places[i]].face;
            colours[i] = board.dice[places[i]].colour;
        }
        const int code = CategoryCodeOf(GreedyCategory(faces, colours, freeCategories));
        const int points = ScoreHand(code, faces, colours).points;
        if (points > bestPoints) {
            bestPoints = points;
            best = {line, code};
        }
    }
    return best;
}

}  // namespace coach
