// The numbers in sight: the roll counter beside the roll button in the first
// half, and the score preview in the sheet's free cells while a hand can be
// scored (option ScorePreview). The preview is drawn small and pale in the
// system font, without the filled cells' yellow digits and shadow, so that it
// never reads as a value already written.

#include "game/play/CPlayScene.h"
#include "game/play/PlayLabel.h"

#include <string>

#include "common/widgets/CActorButton.h"
#include "common/scene/CFixPoint.h"
#include "game/rules/CGameOptions.h"
#include "game/rules/ScorePreview.h"

namespace {

bool IsShown(const CActor* actor) { return actor && !actor->hidden; }

// The counter: "Roll" over "1 of 3", centred in the gap between the sheet and
// the roll button, in the game's fourth text font.
constexpr int kCounterX = 242;
constexpr int kCounterTitleY = 103;
constexpr int kCounterCountY = 120;
constexpr int kCounterFont = 3;
constexpr int kCounterDepth = 500;
constexpr D3DCOLOR kCounterColour = 0xFFFFD23Fu;

// The preview: in each cell's value box, its bottom where the cell's digits stand.
constexpr int kPreviewLeftX = 112;
constexpr int kPreviewRightX = 686;
constexpr int kPreviewTop = 52;
constexpr int kPreviewStep = 80;
constexpr int kCellsPerColumn = 6;
constexpr int kPreviewDepth = 990;
constexpr D3DCOLOR kPreviewColour = 0xA8C6D4C0u;       // pale sage, partly transparent
constexpr D3DCOLOR kPreviewBonusColour = 0xC8F2DA8Au;  // pale gold: a colour bonus is in it
constexpr int kLabelLength = 8;

CActorButton* AddLabel(CScene* scene, int x, int y, int depth, int vAlign, D3DCOLOR colour, int shadow,
                       int font = 0) {
    CTextRecord text;
    text.systemFontIndex = font;
    text.maxLength = kLabelLength;
    text.hAlign = kAlignCentre;
    text.vAlign = vAlign;
    text.colour = colour;
    text.shadow = shadow;
    return NewHiddenLabel(scene, text, x, y, depth);
}

void SetLabel(CActorButton* label, bool shown, const std::string& text) {
    if (!label) return;
    if (!shown) {
        label->Hide();
        return;
    }
    if (text != label->GetText()) label->SetText(text.c_str());
    label->Show();
}

}  // namespace

void CPlayScene::CreateAidObjects() {
    rollCounterTitle = AddLabel(this, kCounterX, kCounterTitleY, kCounterDepth, kAlignCentre, kCounterColour, 1,
                                kCounterFont);
    rollCounterTitle->SetText("Roll");
    rollCounterTitle->fixed = 1;
    rollCounter =
        AddLabel(this, kCounterX, kCounterCountY, kCounterDepth, kAlignCentre, kCounterColour, 1, kCounterFont);
    rollCounter->fixed = 1;
    for (int index = 0; index < kCategoryCount; ++index) {
        const int x = index < kCellsPerColumn ? kPreviewLeftX : kPreviewRightX;
        const int y = kPreviewTop + kPreviewStep * (index % kCellsPerColumn);
        previewLabels[index] = AddLabel(this, x, y, kPreviewDepth, kAlignBottom, kPreviewColour, 0);
    }
}

void CPlayScene::ForgetAidObjects() {
    rollCounterTitle = rollCounter = nullptr;
    for (CActorButton*& label : previewLabels) label = nullptr;
}

void CPlayScene::UpdateAids() {
    // Before a row's first roll the counter names the roll to come ("Roll" "1 of 3");
    // once rolled, how many rolls are left ("Rolls" "2 left" ... "0 left").
    const bool counting = board.handIndex < kFirstHalfHands && !gameOver && IsShown(rollButton);
    const bool rolled = board.rollsUsed > 0;
    SetLabel(rollCounterTitle, counting, rolled ? "Rolls" : "Roll");
    SetLabel(rollCounter, counting,
             rolled ? std::to_string(kMaxRolls - board.rollsUsed) + " left" : "1 of " + std::to_string(kMaxRolls));

    int faces[kHandSize], colours[kHandSize];
    bool scorable = ScorePreviewOn() && sheet && !gameOver && !IntroRunning();
    if (scorable && board.IsSecondHalf())
        scorable = board.selectedLine >= 0;
    else if (scorable)
        scorable = RowSettled() && (board.rollsUsed > 0 || boardCells.UndoUsed());
    scorable = scorable && board.GetLineFaces(faces) && board.GetLineColours(colours);
    const ScorePreviewCells preview = scorable ? PreviewHand(boardCells, faces, colours) : ScorePreviewCells{};
    for (int index = 0; index < kCategoryCount; ++index) {
        CActorButton* label = previewLabels[index];
        if (!label) continue;
        label->colour = preview[index].value.colourBonus ? kPreviewBonusColour : kPreviewColour;
        SetLabel(label, preview[index].shown, PreviewLabel(preview[index].value));
    }
}
