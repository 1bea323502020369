#include "game/front/CStatsScene.h"

#include <string>

#include "common/widgets/CActorButton.h"
#include "common/widgets/CActorHotspot.h"
#include "common/actors/CActorSprite.h"
#include "common/widgets/CEditBox.h"
#include "formats/CFileMM.h"
#include "common/scene/COptions.h"
#include "common/widgets/CSceneDialog.h"
#include "common/scene/CScreen.h"
#include "common/scene/SceneKinds.h"
#include "common/scene/CFixPoint.h"
#include "game/play/CPlayScene.h"
#include "game/sheet/CScoreSheet.h"
#include "game/rules/DuelRecords.h"
#include "game/rules/Records.h"

namespace {

constexpr int kBackgroundDepth = 32767;
constexpr int kButtonDepth = 100;
constexpr int kClickAreaDepth = 200;
constexpr int kInitialsDepth = 300;
constexpr int kTextDepth = 20;
constexpr int kColumnCapacity = 256;
constexpr int kFigureCapacity = 16;
constexpr int kInitialsCapacity = 12;
constexpr int kInitialsLetters = 7;
constexpr int kDialogCentreX = 400;
constexpr int kDialogCentreY = 238;
constexpr int kFontFirstChar = 32;

struct TextPlace {
    int x;
    int y;
    int capacity;
};
// In the order of CStatsScene::Text. The games-started count stands in the column of the two
// figures under it, so the three counts read as one column.
constexpr TextPlace kTexts[] = {
    {152, 86, kColumnCapacity},  {242, 86, kColumnCapacity},  {481, 86, kColumnCapacity},
    {571, 86, kColumnCapacity},  {527, 386, kFigureCapacity}, {527, 410, kFigureCapacity},
    {527, 434, kFigureCapacity}, {220, 332, kFigureCapacity}, {549, 332, kFigureCapacity},
};

// The duels table stands in its own panel left of the counts: the centres of
// its won, lost and drawn columns and of its three level rows.
constexpr int kDuelColumnX[CStatsScene::kDuelOutcomes] = {183, 228, 272};
constexpr int kDuelRowY[CStatsScene::kDuelLevels] = {411, 432, 453};
constexpr OpponentLevel kDuelLevelOrder[CStatsScene::kDuelLevels] = {OpponentLevel::Easy, OpponentLevel::Medium,
                                                                     OpponentLevel::Hard};

CActorButton* MakeButton(CScene* scene, int mode, int key, int x, int y, int z, CSpriteArray* frames) {
    CButtonRecord record;
    record.mode = mode;
    record.key = key;
    return new CActorButton(CTextRecord{}, record, scene, ToFixed(x), ToFixed(y), ToFixed(z), frames, 0);
}

CTextRecord LeftTopText(CFont* font, int capacity) {
    CTextRecord record;
    record.maxLength = capacity;
    record.hAlign = kAlignLeft;
    record.vAlign = kAlignTop;
    record.font = font;
    return record;
}

std::string Number(int value) { return std::to_string(value); }

}  // namespace

CStatsScene::CStatsScene(CScreen* screen, CPlayScene* play, int originX, int originY)
    : CScene(screen, originX, originY, 0, 0, 1), playScene(play) {
    sceneId = kSceneKindRecords;
}

CStatsScene::~CStatsScene() { FreeAssets(); }

void CStatsScene::LoadAssets() {
    StartPageReveal(this);
    CFileMM& archive = *screen->archive;
    archive.SeekEntry(1);
    background = assets.Picture(archive);
    latchFrames = assets.Array(archive);
    eraseFrames = assets.Array(archive);
    backFrames = assets.Array(archive);
    confirmPicture = assets.Picture(archive);
    confirmButtons = assets.Array(archive);
    confirmAllPicture = assets.Picture(archive);
    archive.SeekEntry(7);
    font = assets.Font(archive, kFontFirstChar);
}

int CStatsScene::Begin() {
    new CActorSprite(this, 0, 0, ToFixed(kBackgroundDepth), background, 0);
    myLatch = MakeButton(this, kButtonLatch, kKeyMyRecords, 201, 484, kButtonDepth, latchFrames);
    allLatch = MakeButton(this, kButtonLatch, kKeyAllPlayers, 201, 512, kButtonDepth, latchFrames);
    new CActorHotspot(this, CRect{223, 486, 341, 509}, ToFixed(kClickAreaDepth), kKeyMyRecords);
    new CActorHotspot(this, CRect{223, 518, 341, 540}, ToFixed(kClickAreaDepth), kKeyAllPlayers);
    MakeButton(this, kButtonPush, kKeyErase, 359, 483, kButtonDepth, eraseFrames);
    backButton = MakeButton(this, kButtonPush, VK_ESCAPE_KEY, 473, 483, kButtonDepth, backFrames);

    CButtonRecord plain;
    initialsBox = new CEditBox(this, ToFixed(283), ToFixed(34), ToFixed(kInitialsDepth),
                               LeftTopText(font, kInitialsCapacity), plain);
    initialsBox->SetMaxLength(kInitialsLetters);
    for (int i = 0; i < kTextCount; ++i) {
        const TextPlace& place = kTexts[i];
        texts[i] = new CActorButton(LeftTopText(font, place.capacity), plain, this, ToFixed(place.x), ToFixed(place.y),
                                    ToFixed(kTextDepth), nullptr, 0);
    }
    CreateDuelTable();
    SelectScope(false);
    return CScene::Begin();
}

void CStatsScene::CreateDuelTable() {
    CTextRecord centred = LeftTopText(font, kFigureCapacity);
    centred.hAlign = kAlignCentre;
    centred.vAlign = kAlignCentre;
    CButtonRecord plain;
    for (int level = 0; level < kDuelLevels; ++level)
        for (int outcome = 0; outcome < kDuelOutcomes; ++outcome)
            duelTexts[level][outcome] = new CActorButton(centred, plain, this, ToFixed(kDuelColumnX[outcome]),
                                                         ToFixed(kDuelRowY[level]), ToFixed(kTextDepth), nullptr, 0);
}

void CStatsScene::RefreshDuelTable(RecordScope scope) {
    for (int level = 0; level < kDuelLevels; ++level) {
        const DuelTally tally = ReadDuelTally(scope, kDuelLevelOrder[level]);
        const int counts[kDuelOutcomes] = {tally.won, tally.lost, tally.drawn};
        for (int outcome = 0; outcome < kDuelOutcomes; ++outcome)
            duelTexts[level][outcome]->SetText(Number(counts[outcome]).c_str());
    }
}

void CStatsScene::FreeAssets() { assets.Free(); }

void CStatsScene::SelectScope(bool all) {
    allPlayers = all;
    myLatch->SetState(all ? kStateUp : kStateDown);
    allLatch->SetState(all ? kStateDown : kStateUp);
    Refresh();
    COptions* options = CScreen::Options();
    initialsBox->SetReadOnly(0);
    initialsBox->SetText(all ? "ALL" : options != nullptr ? options->GetPlayerInitials() : "???");
    initialsBox->SetReadOnly(1);
}

void CStatsScene::Refresh() {
    const TableKind best = allPlayers ? kTableBestAll : kTableBestMine;
    const TableKind recent = allPlayers ? kTableRecentAll : kTableRecentMine;
    texts[kBestScores]->SetText(TableScoresText(best).c_str());
    texts[kBestInitials]->SetText(TableInitialsText(best).c_str());
    texts[kRecentScores]->SetText(TableScoresText(recent).c_str());
    texts[kRecentInitials]->SetText(TableInitialsText(recent).c_str());

    const RecordScope scope = allPlayers ? RecordScope::AllPlayers : RecordScope::ThisPlayer;
    const StatisticsFigures figures = GetStatisticsFigures(scope);
    texts[kStarted]->SetText(Number(figures.started).c_str());
    texts[kFinished]->SetText(Number(figures.finished).c_str());
    texts[kOverallAverage]->SetText(Number(figures.overallAverage).c_str());
    texts[kBestTenAverage]->SetText(Number(figures.bestTenAverage).c_str());
    texts[kRecentAverage]->SetText(Number(figures.recentAverage).c_str());
    for (Text average : {kOverallAverage, kBestTenAverage, kRecentAverage}) {
        if (figures.averagesShown)
            texts[average]->Show();
        else
            texts[average]->Hide();
    }
    RefreshDuelTable(scope);
}

int CStatsScene::OnKeyDown(int key) {
    key = PadKeyOfDigit(key);
    switch (key) {
    case kKeyMyRecords: SelectScope(false); break;
    case kKeyAllPlayers: SelectScope(true); break;
    case VK_ESCAPE_KEY:
        if (backButton != nullptr) backButton->SetState(kStateDown);
        break;
    default: break;
    }
    return 1;
}

int CStatsScene::OnKeyUp(int key) {
    key = PadKeyOfDigit(key);
    switch (key) {
    case VK_ESCAPE_KEY:
        if (backButton != nullptr) backButton->SetState(kStateUp);
        StartPageCover(this);
        break;
    case kKeyErase:
        if (pendingDialog == nullptr && !IsLeaving()) OpenEraseConfirmation();
        break;
    default: break;
    }
    return 1;
}

void CStatsScene::OpenEraseConfirmation() {
    Pause(0);
    CButtonRecord record;
    record.mode = kButtonPush;
    record.key = '0' - 1;  // the dialog numbers its buttons' keys from here: "0" (no) and "1" (yes)
    // The all-players view shows no player: its question says whose records go, and from where.
    CSprite* question = allPlayers ? confirmAllPicture : confirmPicture;
    auto* dialog = new CSceneDialog(screen, this, question, confirmButtons,
                                    playScene != nullptr ? playScene->assets.dialogOpenSound : nullptr, nullptr, record, 2,
                                    kDialogCentreX, kDialogCentreY, 0, 0, 0);
    pendingDialog = dialog;
    dialog->LoadAssets();
    dialog->Begin();
}

void CStatsScene::ChangeScene(CScene* scene, int code) {
    if (scene != nullptr && screen != nullptr) screen->RequestScene(scene, code, 1);
}

void CStatsScene::OnDialogClosed(CScene* dialog, int result) {
    if (dialog == nullptr || dialog != pendingDialog) return;
    pendingDialog = nullptr;
    if (result != 1) return;
    // A game is in progress once its first roll counted it, until it ends.
    const bool gameInProgress = playScene != nullptr && playScene->gamesStartedCounted && !playScene->gameOver;
    const int best = ResetPlayerRecords(gameInProgress);
    // The game's sheet shows the best score left, not the one just erased.
    if (playScene != nullptr && playScene->sheet != nullptr) playScene->sheet->SetBestScore(best);
    Refresh();
}

void CStatsScene::Tick() {
    CScene::Tick();
    RequestPageRemovalWhenCovered(this, removalRequested);
}
