#pragma once
// The value of one hand in each of the twelve categories and the totals of a
// score sheet. Pure functions: the score sheet and the board model call them.

#include <array>

// Category codes: the letters 'a'..'l', which are also their keys and cell ids.
enum CategoryCode : int {
    kSixes = 97,        // 'a'
    kFives = 98,        // 'b'
    kFours = 99,        // 'c'
    kThrees = 100,      // 'd'
    kTwos = 101,        // 'e'
    kTotal = 102,       // 'f', sum of the faces
    kFiveOfAKind = 103, // 'g'
    kFlush = 104,       // 'h'
    kFourOfAKind = 105, // 'i'
    kStraight = 106,    // 'j'
    kFullHouse = 107,   // 'k'
    kTwoPairs = 108,    // 'l'
};

constexpr int kFirstCategory = kSixes;
constexpr int kLastCategory = kTwoPairs;
constexpr int kCategoryCount = 12;
constexpr int kHandSize = 5;

constexpr bool IsCategoryCode(int code) { return code >= kFirstCategory && code <= kLastCategory; }
// Index 0..11 of a valid code; 0..5 are the left group, 6..11 the right.
constexpr int CategoryIndex(int code) { return code - kFirstCategory; }
constexpr int CategoryCodeOf(int index) { return kFirstCategory + index; }

struct HandValue {
    int points = 0;
    bool colourBonus = false;  // a colour bonus term was added
};

// The value of a hand (faces 1..6, colours 0..3, in reading order) in the
// category with the given code; 0 points for a code outside 'a'..'l'.
HandValue ScoreHand(int code, const int faces[kHandSize], const int colours[kHandSize]);
// The hand's value in all twelve categories (by index 0..11) from one pass
// over the dice; for callers that weigh every category at once.
void ScoreHandAll(const int faces[kHandSize], const int colours[kHandSize], HandValue out[kCategoryCount]);
// Points only, in the categories whose index bit is set in `categories`
// (the others are left as they are): for searches that weigh a few.
void ScoreHandPoints(const int faces[kHandSize], const int colours[kHandSize], unsigned categories,
                     int out[kCategoryCount]);

// True when the faces are 1..5 or 2..6 in any order.
bool IsStraight(const int faces[kHandSize]);
// True when, in reading order, the faces run up or down by one.
bool IsStraightInOrder(const int faces[kHandSize]);

struct ScoreCell {
    bool filled = false;
    int value = 0;
};

using ScoreCells = std::array<ScoreCell, kCategoryCount>;

struct SheetTotalsValue {
    int leftSum = 0;   // filled cells 'a'..'f'
    int rightSum = 0;  // filled cells 'g'..'l'
    int leftLevel = 0;
    int rightLevel = 0;
    int total = 0;     // both sums after their multipliers
    bool complete = false;
};

// Bonus levels 0..5 of the two groups and their multipliers (level 0 counts once).
int LeftLevel(int leftSum);
int RightLevel(int rightSum);
int LeftMultiplier(int level);
int RightMultiplier(int level);

SheetTotalsValue SheetTotals(const ScoreCells& cells);
