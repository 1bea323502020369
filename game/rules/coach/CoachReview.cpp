#include "game/rules/coach/CoachReview.h"

#include <algorithm>

namespace coach {

namespace {

int HeldMask(const CoachState& s) {
    int mask = 0;
    for (int col = 0; col < kBoardCols; ++col)
        if (s.held[DieIndex(s.handIndex, col)]) mask |= 1 << col;
    return mask;
}

int NewlyFilled(const CoachState& was, const CoachState& now) {
    for (int c = 0; c < kCategoryCount; ++c)
        if (now.cells[c].filled && !was.cells[c].filled) return CategoryCodeOf(c);
    return 0;
}

int NewlyScoredLine(const CoachState& was, const CoachState& now) {
    for (int l = 0; l < kLineCount; ++l)
        if (now.lineScored[l] && !was.lineScored[l]) return l;
    return -1;
}

bool SameChoice(const CoachChoice& a, const CoachChoice& b) {
    if (a.kind != b.kind) return false;
    switch (a.kind) {
    case ChoiceKind::Hold: return a.holdMask == b.holdMask;
    case ChoiceKind::Score: return a.category == b.category && a.line == b.line;
    default: return true;
    }
}

const CoachChoice* Find(const CoachAdvice& advice, const CoachChoice& choice) {
    for (const CoachChoice& c : advice.choices)
        if (SameChoice(c, choice)) return &c;
    return nullptr;
}

}  // namespace

void CDecisionLog::Clear() { *this = CDecisionLog{}; }

void CDecisionLog::Observe(const CoachState& now) {
    if (!started && now.handIndex == 0 && now.rollsUsed == 0) {
        start = now;
        started = true;
    }
    if (!observed) {
        previous = handStart = now;
        observed = true;
        return;
    }
    const CoachState& was = previous;
    if (now.handIndex == was.handIndex && !now.IsSecondHalf() && was.rollsUsed >= 1 &&
        now.rollsUsed == was.rollsUsed + 1) {
        Decision d{was, was, CoachChoice(ChoiceKind::Hold)};
        d.chosen.holdMask = HeldMask(was);
        decisions.push_back(d);
    } else if (now.handIndex == was.handIndex + 1) {
        Decision d{was.IsSecondHalf() ? handStart : was, was, CoachChoice(ChoiceKind::Score)};
        d.chosen.category = NewlyFilled(was, now);
        d.chosen.line = was.IsSecondHalf() ? NewlyScoredLine(was, now) : -1;
        if (d.chosen.category) decisions.push_back(d);
        handStart = now;
    } else if (now.handIndex == was.handIndex - 1) {
        // An undo takes the scoring back, and its decision with it.
        if (!decisions.empty() && decisions.back().chosen.kind == ChoiceKind::Score &&
            decisions.back().before.handIndex == now.handIndex)
            decisions.pop_back();
        handStart = now;
    }
    previous = now;
}

GameReview ReviewGame(const CCoach& coach, const CDecisionLog& log, int finalTotal, std::uint64_t seed,
                      const std::atomic<bool>* cancel) {
    GameReview review;
    review.finalTotal = finalTotal;
    auto cancelled = [&] { return cancel && cancel->load(); };
    if (log.HasStart()) review.expectedAtStart = coach.Advise(log.Start(), seed).Best();

    std::vector<ReviewedDecision> all;
    for (const Decision& d : log.Decisions()) {
        if (cancelled()) break;
        const CoachAdvice before = coach.Advise(d.before, seed);
        if (before.choices.empty()) continue;
        const bool swapped = d.before.IsSecondHalf() && !SameState(d.before, d.after);
        const CoachAdvice after = swapped ? coach.Advise(d.after, seed) : before;
        const CoachChoice* chosen = Find(after, d.chosen);
        if (!chosen) continue;
        ReviewedDecision r{d, before.choices.front(), chosen->expected, 0};
        if (!swapped && SameChoice(r.preferred, d.chosen)) r.preferred = *chosen;
        r.cost = std::max(0.0, r.preferred.expected - chosen->expected);
        all.push_back(r);
    }
    std::stable_sort(all.begin(), all.end(), [](const ReviewedDecision& a, const ReviewedDecision& b) { return a.cost > b.cost; });
    for (const ReviewedDecision& r : all) {
        if (review.costliest.size() == 3 || r.cost < 0.5) break;
        review.costliest.push_back(r);
    }
    return review;
}

std::string CategoryName(int code) {
    static const char* const names[kCategoryCount] = {"Sixes",        "Fives", "Fours",          "Threes",
                                                      "Twos",         "Total", "Five of a kind", "Flush",
                                                      "Four of a kind", "Straight", "Full house", "Two pairs"};
    return IsCategoryCode(code) ? names[CategoryIndex(code)] : "?";
}

std::string LineName(int line) {
    if (line == kFallingDiagonal) return "the falling diagonal";
    if (line == kRisingDiagonal) return "the rising diagonal";
    return "column " + std::to_string(line);
}

std::string DescribeChoice(const CoachChoice& choice, const CoachState& s) {
    switch (choice.kind) {
    case ChoiceKind::Roll:
        return "roll the dice";
    case ChoiceKind::Hold: {
        if (choice.holdMask == 0) return "roll all five again";
        std::string kept;
        for (int col = 0; col < kBoardCols; ++col)
            if (choice.holdMask & (1 << col)) kept += (kept.empty() ? "" : " ") + std::to_string(s.face[DieIndex(s.handIndex, col)]);
        return "keep " + kept + ", roll again";
    }
    case ChoiceKind::Score:
        if (choice.line >= 0) return "score " + LineName(choice.line) + " as " + CategoryName(choice.category);
        return "score as " + CategoryName(choice.category);
    case ChoiceKind::Swaps: {
        if (choice.swaps.empty()) return "rearrange";
        const auto [a, b] = choice.swaps.front();
        std::string text = "swap in row " + std::to_string(a / kBoardCols + 1) + ": columns " +
                           std::to_string(a % kBoardCols + 1) + " and " + std::to_string(b % kBoardCols + 1);
        if (choice.swaps.size() > 1) text += " (+" + std::to_string(choice.swaps.size() - 1) + " more)";
        return text;
    }
    }
    return "";
}

std::string DescribeMoment(const Decision& d) {
    const CoachState& s = d.before;
    if (s.IsSecondHalf()) return "Second half, hand " + std::to_string(s.handIndex - kFirstHalfHands + 1) + " of 7";
    return "Row " + std::to_string(s.handIndex + 1) + ", after roll " + std::to_string(s.rollsUsed);
}

}  // namespace coach
