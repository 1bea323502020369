#include "game/sheet/CScoreSheet.h"

#include <algorithm>

#include "common/actors/CActorSprite.h"
#include "common/widgets/CEditBox.h"
#include "common/scene/CGame.h"
#include "common/widgets/CScore.h"
#include "game/sheet/CScoreCell.h"
#include "game/rules/Records.h"
#include "game/sheet/ScoreSheetAssets.h"
#include "game/sheet/ScoreSheetScene.h"
#include "platform/storage/MRegistryStore.h"

namespace {

constexpr D3DCOLOR kYellow = 0xFFFFFF00u;
constexpr int kLabelLength = 8;

constexpr int kScoreX = 385, kHighScoreX = 506, kScoreY = 69;
// The dark fields behind them reach this far left of those right edges.
constexpr int kFieldReach = 67;
constexpr int kLeftSubtotalX = 113, kRightSubtotalX = 687, kSubtotalY = 519;
constexpr int kDisplayDepth = 100;
constexpr int kLeftCellX = 112, kRightCellX = 686, kCellTop = 52, kCellStep = 80, kCellDepth = 1000;
constexpr int kLeftAreaLeft = 14, kLeftAreaRight = 211, kRightAreaLeft = 588, kRightAreaRight = 785;
constexpr int kAreaTop = 24, kAreaBottom = 95;
constexpr int kLeftMarkerX = 224, kRightMarkerX = 406, kMarkerY = 559, kMarkerDepth = 350;
// The markers' rows for levels 1..5.
constexpr int kLevelRowY[CScoreSheet::kLevels + 1] = {0, 555, 532, 509, 486, 463};
constexpr int kGameOverX = 270, kGameOverY = 401, kGameOverDepth = 200;
constexpr int kMessage1X = 400, kMessage1Y = 591, kMessage2X = 320, kMessage2Y = 250, kMessageDepth = 100;
// The line under the end message that says the records were not saved (the
// sheet's font has capitals only, and wide blanks).
constexpr int kNotSavedX = 400, kNotSavedY = 178;
constexpr const char* kRecordsNotSavedText = "RECORDS NOT SAVED";
constexpr int kLevelBlinks = 3, kLevelBlinkTicks = 38;
constexpr int kCellsPerColumn = kCategoryCount / 2;

CTextRecord DisplayText(int hAlign) {
    CTextRecord text;
    text.maxLength = kLabelLength;
    text.hAlign = hAlign;
    text.vAlign = kAlignCentre;
    text.font = gSheetAssets.font;
    text.colour = kYellow;
    text.shadow = 1;
    return text;
}

CButtonRecord DisplayButton(int key) {
    CButtonRecord button;
    button.mode = kButtonPlain;
    button.key = key;
    button.mouseEnabled = key != 0 ? 1 : 0;
    return button;
}

CActorSprite* NewPicture(CScene* scene, int x, int y, int depth, CSprite* frame) {
    auto* picture = new CActorSprite(scene, ToFixed(x), ToFixed(y), ToFixed(depth), frame, 0);
    picture->Hide();
    return picture;
}

void Retire(CActor* actor) {
    if (!actor) return;
    actor->Hide();
    actor->Kill();
}

}  // namespace

CScoreSheet::CScoreSheet(CGame* game) : CStatus(game) {
    CreateDisplays();
    CreateCells();
    pasGameOver = NewPicture(game, kGameOverX, kGameOverY, kGameOverDepth, gSheetAssets.gameOver);
    pasGameOverPicture = pasGameOver;
    CreateMessageLines();
}

void CScoreSheet::CreateDisplays() {
    CScene* scene = owner;
    pScore = std::make_unique<CScore>(this, scene, ToFixed(kScoreX), ToFixed(kScoreY), ToFixed(kDisplayDepth),
                                      DisplayText(kAlignRight), DisplayButton(0), kDisplayDigits);
    pHighScore = std::make_unique<CScore>(this, scene, ToFixed(kHighScoreX), ToFixed(kScoreY), ToFixed(kDisplayDepth),
                                          DisplayText(kAlignRight), DisplayButton(0), kDisplayDigits);
    // Five digits are a little wider than the dark fields of the background:
    // the digits stay inside them, clear of the captions at their left.
    for (CScore* display : {pScore.get(), pHighScore.get()})
        display->GetLabel()->LimitLabelTo(-kFieldReach, kFieldReach);
    pHighScore->Set(ReadBestScore());
    pasLeftLevel = NewPicture(scene, kLeftMarkerX, kMarkerY, kMarkerDepth, gSheetAssets.levelMarker);
    pasRightLevel = NewPicture(scene, kRightMarkerX, kMarkerY, kMarkerDepth, gSheetAssets.levelMarker);
    pLeftSubtotal =
        std::make_unique<CScore>(this, scene, ToFixed(kLeftSubtotalX), ToFixed(kSubtotalY), ToFixed(kDisplayDepth),
                                 DisplayText(kAlignCentre), DisplayButton(kLeftSubtotalKey), kDisplayDigits);
    pRightSubtotal =
        std::make_unique<CScore>(this, scene, ToFixed(kRightSubtotalX), ToFixed(kSubtotalY), ToFixed(kDisplayDepth),
                                 DisplayText(kAlignCentre), DisplayButton(kRightSubtotalKey), kDisplayDigits);
}

void CScoreSheet::CreateCells() {
    for (int index = 0; index < kCategoryCount; ++index) {
        const bool left = index < kCellsPerColumn;
        const int row = index % kCellsPerColumn;
        const int x = left ? kLeftCellX : kRightCellX;
        const int y = kCellTop + kCellStep * row;
        const CRect area{left ? kLeftAreaLeft : kRightAreaLeft, kAreaTop + kCellStep * row,
                         left ? kLeftAreaRight : kRightAreaRight, kAreaBottom + kCellStep * row};
        CButtonRecord button;
        button.mode = kButtonPlain;
        button.key = CategoryCodeOf(index);
        button.mouseEnabled = 1;
        pScoreCell[index] = new CScoreCell(button, owner, ToFixed(x), ToFixed(y), ToFixed(kCellDepth), area);
    }
}

void CScoreSheet::CreateMessageLines() {
    CTextRecord text = DisplayText(kAlignCentre);
    text.text = "";
    text.maxLength = CEditBox::kTextLimit;
    CButtonRecord button;
    button.mouseEnabled = 0;
    pMsgEditBox1 = new CEditBox(owner, ToFixed(kMessage1X), ToFixed(kMessage1Y), ToFixed(kMessageDepth), text, button);
    pMsgEditBox1->SetReadOnly(1);
    pMsgEditBox1->SetAcceptsKeys(0);
    pMsgEditBox2 = new CEditBox(owner, ToFixed(kMessage2X), ToFixed(kMessage2Y), ToFixed(kMessageDepth), text, button);
    pMsgEditBox2->SetReadOnly(1);
    pMsgEditBox2->SetAcceptsKeys(0);
    pMsgEditBox2->Hide();
}

CScoreSheet::~CScoreSheet() {
    if (gScoreSheet == this) gScoreSheet = nullptr;
    // The actors stay with the scene until it deletes them; none may draw the
    // assets freed here in the meantime.
    for (CScoreCell*& cell : pScoreCell) {
        Retire(cell);
        cell = nullptr;
    }
    Retire(pasLeftLevel);
    Retire(pasRightLevel);
    Retire(pasGameOver);
    Retire(pMsgEditBox1);
    Retire(pMsgEditBox2);
    FreeScoreSheetAssets();
}

ScoreCells CScoreSheet::CellValues() const {
    ScoreCells cells{};
    for (int index = 0; index < kCategoryCount; ++index) {
        if (const CScoreCell* cell = pScoreCell[index]) {
            cells[index].filled = cell->filled != 0;
            cells[index].value = cell->value;
        }
    }
    return cells;
}

void CScoreSheet::ShowGameOverPicture() {
    if (pasGameOver) pasGameOver->Show();
}

void CScoreSheet::Update(int elapsed) {
    CStatus::Update(elapsed);
    if (pLeftSubtotal) pLeftSubtotal->Refresh();
    if (pRightSubtotal) pRightSubtotal->Refresh();
}

void CScoreSheet::NewGame(int a, int b) { ResetForNewGame(a, b); }

int CScoreSheet::ScoreCategory(int id) {
    IScoreSheetScene* scene = gScoreSheetScene;
    int faces[kHandSize] = {};
    int colours[kHandSize] = {};
    if (!scene || !scene->GetLineFaces(faces) || !scene->GetLineColours(colours)) return 0;
    if (!IsCategoryCode(id)) return 0;
    const int index = CategoryIndex(id);
    CScoreCell* cell = pScoreCell[index];
    if (!cell) return 0;

    const HandValue hand = ScoreHand(id, faces, colours);
    ColourBonusPending = hand.colourBonus ? 1 : 0;
    if (!cell->Fill(hand.points)) {
        ColourBonusPending = 0;
        return 0;
    }
    if (id != kTotal && ColourBonusPending) {
        PlaySheetSound(kSheetSoundColourBonus);
        ColourBonusPending = 0;
        cell->ShowColourBonus();
    }
    LastFilledIndex = index;
    UndoUsed = 0;
    PlayScoreSound(index, hand.points, scene->IsLastHand());
    Recalculate();
    return 1;
}

void CScoreSheet::PlayScoreSound(int index, int points, bool lastHand) {
    const int id = CategoryCodeOf(index);
    if (id == kTotal) {
        PlaySheetSound(kSheetSoundTotal);
        return;
    }
    if (id > kTotal) {
        if (points > 0)
            PlaySheetSound(kSheetSoundFirstRight + (id - kFiveOfAKind));
        else if (!lastHand)
            PlaySheetSound(kSheetSoundZero);
        return;
    }
    // A face cell: how many dice showed the face, read from the points.
    const int face = 6 - index;
    const struct {
        int times;
        int sound;
    } tiers[] = {{10, kSheetSoundFiveOfFace},
                 {8, kSheetSoundFourOfFace},
                 {6, kSheetSoundThreeOfFace},
                 {4, kSheetSoundTwoOfFace}};
    for (const auto& tier : tiers) {
        if (points >= tier.times * face && gSheetAssets.sounds[tier.sound]) {
            PlaySheetSound(tier.sound);
            return;
        }
    }
    if (lastHand) return;
    PlaySheetSound(points > 0 ? kSheetSoundOneOfFace : kSheetSoundZero);
}

void CScoreSheet::ShowLevel(CActorSprite* marker, int level, int* shown) {
    if (level <= 0) {
        if (marker) marker->Hide();
        std::fill(shown + 1, shown + kLevels + 1, 0);
        return;
    }
    if (marker) {
        marker->SetXY(marker->AbsoluteX(), ToFixed(kLevelRowY[level]));
        marker->Show();
    }
    if (!shown[level]) {
        shown[level] = 1;
        PlaySheetSound(kSheetSoundLevel);
        if (marker) marker->Blink(kLevelBlinks, kLevelBlinkTicks, kLevelBlinkTicks);
    }
    // A level that dropped is announced again when reached anew.
    std::fill(shown + level + 1, shown + kLevels + 1, 0);
}

void CScoreSheet::Recalculate() {
    const SheetTotalsValue totals = Totals();
    bool allFilled = true;
    for (const CScoreCell* cell : pScoreCell)
        if (cell && !cell->filled) allFilled = false;

    if (pLeftSubtotal) pLeftSubtotal->Set(totals.leftSum);
    if (pRightSubtotal) pRightSubtotal->Set(totals.rightSum);
    ShowLevel(pasLeftLevel, totals.leftLevel, leftLevelShown);
    ShowLevel(pasRightLevel, totals.rightLevel, rightLevelShown);
    if (pScore) pScore->Set(totals.total);

    IScoreSheetScene* scene = gScoreSheetScene;
    if (allFilled && scene && !scene->IsGameOver()) {
        scene->EndTurn(0);
        ShowGameOver();
        scene->SetGameOver();
        FinishGame();
    }
}

int CScoreSheet::UndoLastEntry() {
    if (LastFilledIndex < 0 || LastFilledIndex >= kCategoryCount) return 0;
    // A complete sheet is a finished, recorded game.
    bool allFilled = true;
    for (const CScoreCell* cell : pScoreCell)
        if (cell && !cell->filled) allFilled = false;
    if (allFilled) return 0;
    CScoreCell* cell = pScoreCell[LastFilledIndex];
    if (!cell || !cell->Clear()) return 0;
    Recalculate();
    UndoUsed = 1;
    return 1;
}

int CScoreSheet::FinishGame() {
    const int total = Totals().total;
    const int best = ReadBestScore();
    IScoreSheetScene* scene = gScoreSheetScene;
    // A game whose record was not kept keeps no best score either.
    if (total > best && (!scene || scene->RecordsSaved())) SetBestScore(total);
    if (scene && scene->IsNewBestOverall()) {
        SetBestScore(total);
        PlaySheetSound(kSheetSoundRecord);
        return 1;
    }
    if (scene && scene->IsNewBestPersonal()) {
        PlaySheetSound(kSheetSoundRecord);
        return 1;
    }
    if (scene && scene->IsInTopTen()) {
        PlaySheetSound(kSheetSoundTopTen);
        return 1;
    }
    PlaySheetSound(kSheetSoundGameOver);
    return 0;
}

void CScoreSheet::SetBestScore(int value) {
    value = std::max(0, value);
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteDword("BestScore", static_cast<DWORD>(value), "Config");
    if (pHighScore) pHighScore->Set(value);
}

void CScoreSheet::ShowRecordsNotSaved() {
    if (pHighScore) pHighScore->Set(ReadBestScore());
    if (!pMsgEditBox2) return;
    SetLine(pMsgEditBox2, kRecordsNotSavedText);
    pMsgEditBox2->SetXY(ToFixed(kNotSavedX), ToFixed(kNotSavedY));
    pMsgEditBox2->Show();
}

void CScoreSheet::ResetForNewGame(int a, int b) {
    ColourBonusPending = 0;
    UndoUsed = 0;
    LastFilledIndex = -1;
    std::fill(std::begin(leftLevelShown), std::end(leftLevelShown), 0);
    std::fill(std::begin(rightLevelShown), std::end(rightLevelShown), 0);
    for (CScoreCell* cell : pScoreCell) {
        if (!cell) continue;
        cell->ResetCell();
        cell->Hide();
    }
    HideUndoButton();
    if (pasGameOver) pasGameOver->Hide();
    if (pMsgEditBox2) pMsgEditBox2->Hide();
    if (pasLeftLevel) pasLeftLevel->Hide();
    if (pasRightLevel) pasRightLevel->Hide();
    Recalculate();
    CStatus::NewGame(a, b);
}
