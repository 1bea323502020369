#pragma once
// What a hand would score in every free cell of the sheet: the preview shown
// in the empty cells while the hand can be scored. It values the hand with the
// sheet's own ScoreHand, so the preview and the fill never differ.

#include <array>
#include <string>

#include "game/rules/HandScore.h"

class CScoreCells;

struct PreviewCell {
    bool shown = false;  // the cell is free
    HandValue value;
};

using ScorePreviewCells = std::array<PreviewCell, kCategoryCount>;

ScorePreviewCells PreviewHand(const CScoreCells& cells, const int faces[kHandSize], const int colours[kHandSize]);

// The preview's label: the points, and "*" where a colour bonus is in them.
std::string PreviewLabel(const HandValue& value);
