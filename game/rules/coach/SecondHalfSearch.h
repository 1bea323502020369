#pragma once
// The second half has no luck left: every line takes one die from each row,
// and since a scored line's dice stay where they are, the hands scored are
// those of the final arrangement. So the second half is one search: arrange
// the movable dice of each row, then give the unscored lines to the free
// categories. The assignment is exact (dynamic programming over line subsets,
// trying every split between the two groups, so the multiplier levels are
// weighed); the arrangement is searched by annealing over swaps in a row.

#include <cstdint>

#include "game/rules/CBoardState.h"
#include "game/rules/HandScore.h"

namespace coach {

struct SecondHalfProblem {
    int face[kDieCount] = {};
    int colour[kDieCount] = {};
    bool fixed[kDieCount] = {};  // the die in this place may not move
    bool lineScored[kLineCount] = {};
    unsigned freeCategories = 0;  // bit i: category index i is free
    int leftBase = 0;             // sums of the filled cells of each group
    int rightBase = 0;
};

// at[place] = the problem's place whose die stands there.
struct Arrangement {
    std::uint8_t at[kDieCount];
    static Arrangement Identity();
};

class CSecondHalfSearch {
public:
    explicit CSecondHalfSearch(const SecondHalfProblem& problem);

    // Final total of the arrangement with the best assignment of its lines;
    // lineCategory (optional) gets each unscored line's category index.
    int Evaluate(const Arrangement& a, int lineCategory[kLineCount] = nullptr) const;
    // Final totals with the given line scored into each free category (out by
    // category index; -1 for categories not free).
    void ForcedTotals(const Arrangement& a, int line, int out[kCategoryCount]) const;

    // The start that sorts each row's movable dice by face, high on the left.
    Arrangement Sorted() const;
    // A start with each row's movable dice in a random order.
    Arrangement Shuffled(std::uint64_t seed) const;

    struct Result {
        Arrangement arrangement;
        int total = 0;
    };
    // Annealing from a start for a number of tried swaps; the best seen.
    Result Anneal(const Arrangement& start, int iterations, std::uint64_t seed) const;
    // Climbing from a start: every swap of every row in turn, each kept when
    // it gains, until a round gains nothing or `tries` swaps were tried.
    Result Climb(const Arrangement& start, int tries) const;
    // The same total with fewer dice moved: pairs of places in a row whose
    // swap puts back more of the board's own dice (by face and colour) are
    // swapped while the total holds.
    Result FewerMoves(const Result& best) const;
    // Sorted, but with the face that most rows have in the first movable place
    // of each row that has it: the start of a Five of a kind.
    Arrangement SameFaceFirst() const;
    // What a line gathers: a face (1..6) or, below zero, a colour (-1 - colour).
    // Each row puts a die that fits a line's target in that line's movable
    // place (the k-th target, the k-th place), in the colour the line has
    // most of; the dice left over fill the other places sorted.
    Arrangement Gathered(const int* targets, int count) const;
    // Starts that gather what the free categories want: a line for each free
    // number category's face, with or without a line before them for the
    // face or the colour most rows have (Five of a kind, Flush). Returns how
    // many were written (at most four).
    int GatheredStarts(Arrangement out[4]) const;

private:
    struct Weights {
        int w[kLineCount][kCategoryCount];
    };
    void LineWeights(const Arrangement& a, int line, Weights& w) const;
    // The open lines through two places (at most four).
    int LinesThrough(int pa, int pb, int changed[4]) const;
    int Assign(const Weights& w, unsigned lines, unsigned categories, int leftBase, int rightBase,
               int lineCategory[kLineCount]) const;

    SecondHalfProblem p;
    int linePlaces[kLineCount][kHandSize];
    unsigned openLines = 0;
    int movable[kBoardRows][kBoardCols];  // the movable places of each row
    int movableCount[kBoardRows] = {};
    int swapRows[kBoardRows];  // rows with two or more movable places
    int swapRowCount = 0;
};

}  // namespace coach
