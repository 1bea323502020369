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

bool SameChoice(const CoachChoice& a, const CoachChoice& b, const CoachState& s) {
    if (a.kind != b.kind) return false;
    switch (a.kind) {
    case ChoiceKind::Hold: return CanonicalHold(s, a.holdMask) == CanonicalHold(s, b.holdMask);
    case ChoiceKind::Score: return a.category == b.category && a.line == b.line;
    default: return true;
    }
}

const CoachChoice* Find(const CoachAdvice& advice, const CoachChoice& choice, const CoachState& s) {
    for (const CoachChoice& c : advice.choices)
        if (SameChoice(c, choice, s)) return &c;
    return nullptr;
}

}  // namespace

void CDecisionLog::Clear() { *this = CDecisionLog{}; }

void CDecisionLog::NoteAdvice(const CoachState& state, const CoachAdvice& advice) {
    if (!AdviceFor(state)) advised.emplace_back(state, advice);
}

const CoachAdvice* CDecisionLog::AdviceFor(const CoachState& state) const {
    // The holds are the player's answer to the advice, not part of the moment.
    CoachState unheld = state;
    std::fill(std::begin(unheld.held), std::end(unheld.held), false);
    for (const auto& [s, advice] : advised) {
        CoachState other = s;
        std::fill(std::begin(other.held), std::end(other.held), false);
        if (SameState(other, unheld)) return &advice;
    }
    return nullptr;
}

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

    std::vector<ReviewedDecision> all;
    for (const Decision& d : log.Decisions()) {
        if (cancelled()) break;
        const bool swapped = d.before.IsSecondHalf() && !SameState(d.before, d.after);
        // The advice the player was shown, else the coach's own now.
        auto advise = [&](const CoachState& s, const CoachChoice* also) {
            const CoachAdvice* shown = log.AdviceFor(s);
            if (shown && (!also || Find(*shown, *also, d.before))) return *shown;
            return coach.Advise(s, seed, also);
        };
        const CoachAdvice before = advise(d.before, swapped ? nullptr : &d.chosen);
        if (before.choices.empty()) continue;
        // The game's first estimate: what the coach expected at its first decision.
        if (&d == &log.Decisions().front()) {
            review.expectedAtStart = before.Best();
            review.firstMoment = d.before;
        }
        const CoachAdvice after = swapped ? advise(d.after, &d.chosen) : before;
        const CoachChoice* chosen = Find(after, d.chosen, d.before);
        if (!chosen) continue;
        ReviewedDecision r{d, before.choices.front(), chosen->expected, 0};
        if (!swapped && SameChoice(r.preferred, d.chosen, d.before)) r.preferred = *chosen;
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
    // Named with the number of the key that picks it.
    const std::string key = std::to_string(line + 1);
    if (line == kFallingDiagonal || line == kRisingDiagonal) return "diagonal " + key;
    return "column " + key;
}

std::string DieName(int face, int colour) {
    static const char* const colours[4] = {"red", "green", "blue", "gold"};
    return std::string(colours[colour & 3]) + " " + std::to_string(face);
}

namespace {

// "the red 5", "the red 5 and the gold 2", "the two red 5s, the blue 1 and the gold 2".
std::string DiceList(const CoachState& s, const std::vector<int>& places) {
    std::vector<std::pair<std::string, int>> names;  // name, how many
    for (int place : places) {
        const std::string name = DieName(s.face[place], s.colour[place]);
        auto same = std::find_if(names.begin(), names.end(), [&](const auto& n) { return n.first == name; });
        if (same == names.end())
            names.emplace_back(name, 1);
        else
            ++same->second;
    }
    static const char* const counts[6] = {"", "", "two", "three", "four", "five"};
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        const auto& [name, n] = names[i];
        text += n == 1 ? "the " + name : "the " + std::string(counts[n]) + " " + name + "s";
    }
    return text;
}

// A hold in the fewest words: the dice kept when two or fewer, else the
// dice rolled again.
std::string HoldText(const CoachState& s, int holdMask) {
    if (holdMask == 0) return "roll all five again";
    std::vector<int> kept, rolled;
    for (int col = 0; col < kBoardCols; ++col)
        (holdMask & (1 << col) ? kept : rolled).push_back(DieIndex(s.handIndex, col));
    if (kept.size() <= 2) return "keep " + DiceList(s, kept) + ", roll again";
    return "roll " + DiceList(s, rolled) + " again";
}

std::string ScoreText(const CoachChoice& choice) {
    if (choice.line >= 0) return "score " + LineName(choice.line) + " as " + CategoryName(choice.category);
    return "score as " + CategoryName(choice.category);
}

HandValue FirstHalfValue(const CoachState& s, int code) {
    return ScoreHand(code, s.face + DieIndex(s.handIndex, 0), s.colour + DieIndex(s.handIndex, 0));
}

std::string Points(double value) { return std::to_string(static_cast<long long>(value + (value < 0 ? -0.5 : 0.5))); }

}  // namespace

std::string DescribeChoice(const CoachChoice& choice, const CoachState& s) {
    switch (choice.kind) {
    case ChoiceKind::Roll:
        return "roll the dice";
    case ChoiceKind::Hold:
        return HoldText(s, choice.holdMask);
    case ChoiceKind::Score:
        return ScoreText(choice);
    case ChoiceKind::Swaps: {
        if (choice.swaps.empty()) return "rearrange";
        const auto [a, b] = choice.swaps.front();
        std::string text = "swap " + DiceList(s, {a, b}) + " in row " + std::to_string(a / kBoardCols + 1);
        if (choice.swaps.size() > 1) text += " (1 of " + std::to_string(choice.swaps.size()) + ")";
        return text;
    }
    }
    return "";
}

std::string ReasonFor(const CoachAdvice& advice, const CoachState& s) {
    if (advice.choices.empty()) return "";
    const CoachChoice& best = advice.choices.front();
    const CoachChoice* next = advice.choices.size() > 1 ? &advice.choices[1] : nullptr;
    const std::string margin = next ? Points(best.expected - next->expected) : "";
    switch (best.kind) {
    case ChoiceKind::Roll:
        return "Every row starts with a roll of all five dice.";
    case ChoiceKind::Hold: {
        const CoachChoice* score = nullptr;
        for (const CoachChoice& c : advice.choices)
            if (c.kind == ChoiceKind::Score) {
                score = &c;
                break;
            }
        if (score)
            return "Rolling on should make " + Points(best.expected - score->expected) + " more than " +
                   CategoryName(score->category) + " now.";
        return next ? "These dice give the best chances, " + margin + " ahead of the next hold." : "";
    }
    case ChoiceKind::Score: {
        const std::string name = CategoryName(best.category);
        if (best.line >= 0) {
            if (!next) return "The last line and category left.";
            // Along a plan, a line it has completed is scored before the swaps still to come.
            bool planGoesOn = false;
            for (std::size_t i = 0; i < best.planFace.size() && i < kDieCount; ++i)
                planGoesOn = planGoesOn || best.planFace[i] != s.face[i] || best.planColour[i] != s.colour[i];
            return LineName(best.line) + " as " + name +
                   (planGoesOn ? " now; the plan's other swaps can wait." : " now; no swap adds to it.");
        }
        const HandValue v = FirstHalfValue(s, best.category);
        std::string text = name + ": " + std::to_string(v.points) + (v.colourBonus ? " with colour bonus" : "") + " now";
        if (!next) return text + ", the last category left.";
        if (next->kind == ChoiceKind::Score) return text + "; " + CategoryName(next->category) + " can wait.";
        return text + "; rolling on would risk it.";
    }
    case ChoiceKind::Swaps: {
        // The whole plan: how many swaps, then the line to score.
        std::string text = "Plan: " + std::to_string(best.swaps.size()) + (best.swaps.size() == 1 ? " swap" : " swaps");
        if (best.planLine >= 0) text += ", then " + LineName(best.planLine) + " as " + CategoryName(best.planCategory);
        return text + (next ? " (+" + margin + ")." : ".");
    }
    }
    return "";
}

namespace {

std::vector<const Decision*> RowDecisions(const CDecisionLog& log, int row) {
    std::vector<const Decision*> out;
    for (const Decision& d : log.Decisions())
        if (!d.before.IsSecondHalf() && d.before.handIndex == row) out.push_back(&d);
    return out;
}

bool SameRowDice(const CoachState& a, const CoachState& b, int row) {
    for (int col = 0; col < kBoardCols; ++col) {
        const int i = DieIndex(row, col);
        if (a.face[i] != b.face[i] || a.colour[i] != b.colour[i]) return false;
    }
    return a.rollsUsed == b.rollsUsed;
}

}  // namespace

std::vector<DuelParting> CompareDuel(const CDecisionLog& mine, const CDecisionLog& theirs) {
    std::vector<DuelParting> partings;
    for (int row = 0; row < kFirstHalfHands; ++row) {
        const std::vector<const Decision*> a = RowDecisions(mine, row), b = RowDecisions(theirs, row);
        if (a.empty() || b.empty() || a.back()->chosen.kind != ChoiceKind::Score ||
            b.back()->chosen.kind != ChoiceKind::Score)
            continue;
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
            // Equal dice kept from different places roll on as different
            // dice: from there the two rows share no more luck to compare.
            if (!SameRowDice(a[i]->before, b[i]->before, row)) break;
            if (SameChoice(a[i]->chosen, b[i]->chosen, a[i]->before)) continue;
            DuelParting p{*a[i], *b[i], a.back()->chosen.category, b.back()->chosen.category, 0, 0};
            p.myPoints = FirstHalfValue(a.back()->before, p.myCategory).points;
            p.theirPoints = FirstHalfValue(b.back()->before, p.theirCategory).points;
            partings.push_back(p);
            break;
        }
    }
    return partings;
}

std::pair<std::string, std::string> DescribeParting(const DuelParting& p, const std::string& opponent) {
    const CoachState& s = p.mine.before;
    const std::string moment = "Row " + std::to_string(s.handIndex + 1) + ", roll " + std::to_string(s.rollsUsed) + ": ";
    const std::string scored = CategoryName(p.myCategory) + " for " + std::to_string(p.myPoints);
    const std::string mine = p.mine.chosen.kind == ChoiceKind::Score
                                 ? "you scored " + scored + "."
                                 : "you chose to " + HoldText(s, p.mine.chosen.holdMask) + "; scored " + scored + ".";
    const std::string theirs = opponent + ": " + DescribeChoice(p.theirs.chosen, p.theirs.before) + "; scored " +
                               CategoryName(p.theirCategory) + " for " + std::to_string(p.theirPoints) + ".";
    return {moment + mine, theirs};
}

std::string DescribeMoment(const Decision& d) {
    const CoachState& s = d.before;
    if (s.IsSecondHalf()) return "Second half, hand " + std::to_string(s.handIndex - kFirstHalfHands + 1) + " of 7";
    return "Row " + std::to_string(s.handIndex + 1) + ", after roll " + std::to_string(s.rollsUsed);
}

}  // namespace coach
