#include "game/rules/ScorePreview.h"

#include "game/rules/CScoreCells.h"

ScorePreviewCells PreviewHand(const CScoreCells& cells, const int faces[kHandSize], const int colours[kHandSize]) {
    ScorePreviewCells preview{};
    for (int index = 0; index < kCategoryCount; ++index) {
        const int code = CategoryCodeOf(index);
        if (cells.IsFilled(code)) continue;
        preview[index].shown = true;
        preview[index].value = ScoreHand(code, faces, colours);
    }
    return preview;
}

std::string PreviewLabel(const HandValue& value) {
    return std::to_string(value.points) + (value.colourBonus ? "*" : "");
}
