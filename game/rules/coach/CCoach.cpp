#include "game/rules/coach/CCoach.h"

#include <algorithm>

namespace coach {

unsigned FreeCategories(const ScoreCells& cells) {
    unsigned mask = 0;
    for (int c = 0; c < kCategoryCount; ++c)
        if (!cells[c].filled) mask |= 1u << c;
    return mask;
}

CoachAdvice CCoach::Advise(const CoachState& state, std::uint64_t seed, const CoachChoice* also) const {
    CoachAdvice advice;
    if (state.IsOver()) return advice;
    advice = state.IsSecondHalf() ? SecondHalf(state, seed) : FirstHalf(state, seed, also);
    std::stable_sort(advice.choices.begin(), advice.choices.end(),
                     [](const CoachChoice& a, const CoachChoice& b) { return a.expected > b.expected; });
    return advice;
}

}  // namespace coach
