#include "game/play/CDuelPanel.h"

#include <string>

#include "common/actors/CActorSprite.h"
#include "common/actors/CSpriteA.h"
#include "common/scene/CFixPoint.h"
#include "common/widgets/CActorButton.h"
#include "game/play/CPlayScene.h"
#include "game/play/PlayLabel.h"
#include "game/play/coach/CCoachPanel.h"
#include "game/play/coach/CoachAssets.h"
#include "game/rules/DuelRecords.h"
#include "game/rules/Today.h"

using namespace coach;

namespace {

constexpr D3DCOLOR kInk = 0xFF3B2A14u;
constexpr D3DCOLOR kRunningInk = 0xFFFFD23Fu;  // the roll counter's yellow
constexpr int kTitleFont = 0;
constexpr int kBodyFont = 2;
constexpr int kRunningFont = 3;

// The running total above the SCORE box, left of today's line; the card where
// the coach's card stands (the coach is done at the end); the page where the
// review's is.
constexpr int kRunningX = 322, kRunningY = 14;
constexpr int kCardX = 214, kCardY = 392, kCardWidth = 372, kCardHeight = 104;
constexpr int kPageX = 90, kPageY = 50;
constexpr int kCardDepth = 90, kPageDepth = 50;
constexpr int kSheetLeftX = 262, kSheetRightX = 470, kSheetTop = 136, kSheetStep = 20;

CActorButton* Text(CPlayScene* scene, int x, int y, int z, int font, D3DCOLOR colour, int hAlign = kAlignLeft) {
    CTextRecord text;
    text.maxLength = 120;
    text.hAlign = hAlign;
    text.vAlign = kAlignTop;
    text.systemFontIndex = font;
    text.colour = colour;
    text.shadow = colour == kRunningInk ? 1 : 0;
    return NewHiddenLabel(scene, text, x, y, z);
}

CActorSprite* Sprite(CPlayScene* scene, int x, int y, int z, CSprite* picture) {
    return NewHiddenSprite(scene, x, y, z, picture);
}

void Say(CActorButton* line, const std::string& words) {
    if (!line) return;
    const char* now = line->GetText();
    if (!now || words != now) line->SetText(words.c_str());
    line->Show();
}

}  // namespace

CDuelPanel::CDuelPanel(CPlayScene* owner) : scene(owner) {
    running = Text(scene, kRunningX, kRunningY, 500, kRunningFont, kRunningInk, kAlignCentre);
    if (!CoachAssetsLoaded()) return;
    const CoachAssetSet& a = CoachAssets();
    card = Sprite(scene, kCardX, kCardY, kCardDepth, a.card);
    const int cardLineY[3] = {6, 38, 58};
    for (int i = 0; i < 3; ++i)
        cardLines[i] = Text(scene, kCardX + 14, kCardY + cardLineY[i], kCardDepth - 1, i ? kBodyFont : kTitleFont, kInk);
    // The card's buttons at its right, clear of its lines: the copy beside
    // the title, the page below the words.
    pageButton = NewHiddenButton(scene, kCodeOpponent, kCardX + kCardWidth - 134, kCardY + kCardHeight - 34,
                                 kCardDepth - 1, a.duelPageButton);
    copyButton = NewHiddenButton(scene, kCodeCopyToday, kCardX + kCardWidth - 100, kCardY + 8, kCardDepth - 1,
                                 a.duelCopyButton);

    page = Sprite(scene, kPageX, kPageY, kPageDepth, a.page);
    // The brown button of the game's pages, where the review has its own.
    closeButton = NewHiddenButton(scene, kCodeOpponent, kPageX + 506, kPageY + 416, kPageDepth - 2, a.duelCloseButton);
    pageTitle = Text(scene, kPageX + 24, kPageY + 16, kPageDepth - 1, kTitleFont, kInk);
    pageHeading = Text(scene, kPageX + 24, kPageY + 228, kPageDepth - 1, kTitleFont, kInk);
    for (CActorButton*& line : pageLines) line = Text(scene, 0, 0, kPageDepth - 1, kBodyFont, kInk);
    for (int i = 0; i < kDieCount; ++i) {
        const int row = i / kBoardCols, col = i % kBoardCols;
        dice[i] = Sprite(scene, kPageX + 40 + 26 * col, kPageY + 96 + 26 * (4 - row), kPageDepth - 1, a.miniDice->Get(0));
    }
}

CDuelPanel::~CDuelPanel() = default;  // the workers stop and join as they go

void CDuelPanel::OnGame(const GameSetup& setup) {
    HidePage();
    HideCard();
    if (worker) {
        worker->Stop();
        retired.push_back(std::move(worker));
    }
    level = setup.seeded ? setup.opponent : OpponentLevel::Off;
    recorded = false;
    if (running) running->Hide();
    if (level == OpponentLevel::Off) return;
    worker = std::make_unique<COpponentWorker>(setup.seed, level);
}

const OpponentGame* CDuelPanel::Opponent() const {
    const OpponentGame* game = worker ? worker->Result() : nullptr;
    return game && game->finished ? game : nullptr;
}

std::string CDuelPanel::RunningText() const {
    return running && !running->hidden && running->GetText() ? running->GetText() : "";
}

bool CDuelPanel::Thinking() const { return (worker && !worker->Ended()) || !retired.empty(); }

void CDuelPanel::Tick() {
    std::erase_if(retired, [](const std::unique_ptr<COpponentWorker>& w) { return w->Ended(); });
    if (!InDuel()) return;
    const std::string name = LevelName(level);
    const OpponentGame* game = Opponent();
    // Never further than the player: the total after as many hands as the player has scored.
    const int hands = scene->board.handIndex;
    Say(running, game ? name + " " + GroupedNumber(game->totalAfter[hands]) : name + " plays...");
    if (game && scene->IsGameOverFlag() && !cardShown) ShowCard();
    if (pageOpen && scene->coachPanel && scene->coachPanel->ReviewOpen()) HidePage();
}

bool CDuelPanel::OnKeyDown(int code) const { return code == kCodeOpponent && InDuel(); }

bool CDuelPanel::OnKeyUp(int code) {
    if (code != kCodeOpponent || !InDuel()) return false;
    if (cardShown) TogglePage();
    return true;
}

void CDuelPanel::ShowCard() {
    const OpponentGame* game = Opponent();
    if (!game) return;
    cardShown = true;
    const std::string name = LevelName(level);
    const int mine = scene->board.Total(), theirs = game->total;
    // A replay of today's dice is practice: it stays out of the duel records.
    const bool practice = scene->PracticeGame();
    if (!recorded && !practice) recorded = RecordDuelFinished(scene->gamePlayer, level, mine, theirs);
    // Today's counted duel: both totals are known now, so its result line is.
    scene->KeepTodayLine();
    // The record is kept even without the card's pictures.
    if (!card) return;
    card->Show();
    Say(cardLines[0], "You " + GroupedNumber(mine) + ", " + name + " " + GroupedNumber(theirs));
    const int margin = mine > theirs ? mine - theirs : theirs - mine;
    Say(cardLines[1], mine == theirs   ? std::string("A draw: the same total on the same dice.")
                      : mine > theirs ? "You win by " + GroupedNumber(margin) + "."
                                      : name + " wins by " + GroupedNumber(margin) + ".");
    Say(cardLines[2], std::string(practice   ? "Practice: not in the duel records."
                                  : recorded ? "Kept in the duel records."
                                             : "The duel records could not be kept."));
    if (scene->CountedTodayGame()) copyButton->Show();
    pageButton->Show();
}

void CDuelPanel::HideCard() {
    cardShown = false;
    if (card) card->Hide();
    for (CActorButton* line : cardLines)
        if (line) line->Hide();
    if (pageButton) pageButton->Hide();
    if (copyButton) copyButton->Hide();
}

void CDuelPanel::TogglePage() {
    if (pageOpen) {
        HidePage();
        return;
    }
    if (!page || !Opponent()) return;
    if (scene->coachPanel) scene->coachPanel->CloseReview();
    pageOpen = true;
    ShowPage();
}

void CDuelPanel::ShowPage() {
    const OpponentGame& game = *Opponent();
    const CoachAssetSet& a = CoachAssets();
    const std::string name = LevelName(level);
    page->Show();
    closeButton->Show();
    int n = 0;
    auto line = [&](int x, int y, const std::string& words) {
        if (n >= kPageLineCount) return;
        CActorButton* label = pageLines[n++];
        label->SetXY(ToFixed(x) - scene->originX, ToFixed(y) - scene->originY);
        Say(label, words);
    };
    Say(pageTitle, name + "'s game on your dice: " + GroupedNumber(game.total));
    for (int i = 0; i < kDieCount; ++i) {
        dice[i]->SetSprite(a.miniDice->Get(game.colour[i] * 6 + game.face[i] - 1));
        dice[i]->Show();
    }
    // The sheet as two columns of "Sixes 72" beside the board, then its sums.
    const SheetTotalsValue totals = SheetTotals(game.cells);
    for (int i = 0; i < kCategoryCount / 2; ++i) {
        const int c = i, d = i + kCategoryCount / 2;
        line(kSheetLeftX, kSheetTop + kSheetStep * i,
             CategoryName(CategoryCodeOf(c)) + " " + std::to_string(game.cells[c].value) + "      " +
                 CategoryName(CategoryCodeOf(d)) + " " + std::to_string(game.cells[d].value));
    }
    line(kSheetLeftX, kSheetTop + kSheetStep * 6 + 6,
         "Left " + GroupedNumber(totals.leftSum) + " x" + std::to_string(LeftMultiplier(totals.leftLevel)) +
             "   Right " + GroupedNumber(totals.rightSum) + " x" + std::to_string(RightMultiplier(totals.rightLevel)));

    // Where the games parted, row by row, on the same dice.
    const int top = kPageY + 228;
    Say(pageHeading, "Where your games parted");
    std::vector<DuelParting> partings;
    if (scene->coachPanel) partings = CompareDuel(scene->coachPanel->Log(), game.log);
    if (partings.empty()) line(kPageX + 24, top + 34, "In the first half you chose as " + name + " did on the same dice.");
    int y = top + 34;
    for (const DuelParting& p : partings) {
        if (n + 2 > kPageLineCount) break;
        const auto [mine, theirs] = DescribeParting(p, name);
        line(kPageX + 24, y, mine);
        line(kPageX + 40, y + 18, theirs);
        y += 40;
    }
    const int mine = scene->board.Total();
    if (mine != game.total)
        line(kPageX + 24, y + 4,
             (mine > game.total ? "You finished " : name + " finished ") + GroupedNumber(mine > game.total ? mine - game.total : game.total - mine) +
                 " ahead.");
}

void CDuelPanel::HidePage() {
    pageOpen = false;
    if (page) page->Hide();
    if (closeButton) closeButton->Hide();
    if (pageTitle) pageTitle->Hide();
    if (pageHeading) pageHeading->Hide();
    for (CActorButton* line : pageLines)
        if (line) line->Hide();
    for (CActorSprite* die : dice)
        if (die) die->Hide();
}
