// Who plays each game: the initials card comes up at every new game with the
// last player's initials ready to keep with Return, and the known players
// listed under it, picked with Up and Down or a click. A letter typed first
// replaces the initials shown; any other editing key edits them.

#include "game/play/CPlayScene.h"
#include "game/play/PlayLabel.h"

#include "common/actors/CActorSprite.h"
#include "common/scene/COptions.h"
#include "common/scene/CScreen.h"
#include "common/widgets/CEditBox.h"
#include "game/rules/Records.h"

namespace {

// Under the card, over the empty board: a title and two rows of three names.
constexpr int kPlayersTitleX = 399;
constexpr int kPlayersTitleY = 321;
constexpr int kPlayersX = 319;
constexpr int kPlayersStepX = 80;
constexpr int kPlayersY = 341;
constexpr int kPlayersStepY = 18;
constexpr int kPlayersPerRow = 3;
constexpr int kPlayersDepth = 490;
constexpr int kPlayersFont = 3;
constexpr int kPlayersLabelLength = 40;
constexpr D3DCOLOR kPlayerColour = 0xFFE8E0C8u;
constexpr D3DCOLOR kPickedColour = 0xFFFFD23Fu;
// Today's dice: on the card under the known players; during and after today's
// game over the right of SCORE (a duel's running total stands over its left).
constexpr int kTodayCardX = 399;
constexpr int kTodayCardY = 381;
constexpr int kTodayLineX = 494;
constexpr int kTodayLineY = 24;

CTextRecord PlayerText(D3DCOLOR colour) {
    CTextRecord text;
    text.systemFontIndex = kPlayersFont;
    text.maxLength = kPlayersLabelLength;
    text.hAlign = kAlignCentre;
    text.vAlign = kAlignCentre;
    text.colour = colour;
    text.shadow = 1;
    return text;
}

// A line of text that a click answers as its key would.
CActorButton* Clickable(CScene* scene, D3DCOLOR colour, int code, int x, int y) {
    CButtonRecord click;
    click.key = code;
    click.mouseEnabled = 1;
    auto* label =
        new CActorButton(PlayerText(colour), click, scene, ToFixed(x), ToFixed(y), ToFixed(kPlayersDepth), nullptr, 0);
    label->Hide();
    return label;
}

bool IsLetter(int code) { return code >= VK_A_KEY && code <= VK_Z_KEY; }

}  // namespace

void CPlayScene::CreatePlayerObjects() {
    playersTitle = NewHiddenLabel(this, PlayerText(kPlayerColour), kPlayersTitleX, kPlayersTitleY, kPlayersDepth);
    playersTitle->SetText("or pick a player: Up, Down");
    for (int slot = 0; slot < kPlayerSlots; ++slot) {
        const int x = kPlayersX + kPlayersStepX * (slot % kPlayersPerRow);
        const int y = kPlayersY + kPlayersStepY * (slot / kPlayersPerRow);
        playerLabels[slot] = Clickable(this, kPlayerColour, kCodeFirstPlayer + slot, x, y);
    }
    todayChoice = Clickable(this, kPickedColour, kCodeToday, kTodayCardX, kTodayCardY);
    todayEnd = Clickable(this, kPickedColour, kCodeCopyToday, kTodayLineX, kTodayLineY);
}

void CPlayScene::ForgetPlayerObjects() {
    playersTitle = nullptr;
    for (CActorButton*& label : playerLabels) label = nullptr;
    todayChoice = todayEnd = nullptr;
}

void CPlayScene::ShowInitialsCard(bool reload) {
    if (reload) ReloadInitials();
    // What was typed while the intro ran stays; stored initials are replaced by a letter.
    COptions* options = CScreen::Options();
    initialsFresh = !options || std::string(GetEditedInitials()) == options->GetTypedInitials();
    if (pasInitEditBoxBkgnd) pasInitEditBoxBkgnd->Show();
    if (initialsEditBox) {
        initialsEditBox->SetState(kStateUp);
        initialsEditBox->Show();
    }
    knownPlayers = KnownPlayers(kPlayerSlots);
    pickedPlayer = -1;
    const std::string shown = GetEditedInitials();
    for (int i = 0; i < static_cast<int>(knownPlayers.size()); ++i)
        if (knownPlayers[i] == shown) pickedPlayer = i;
    ShowKnownPlayers();
}

void CPlayScene::HideInitialsCard() {
    if (pasInitEditBoxBkgnd) pasInitEditBoxBkgnd->Hide();
    if (initialsEditBox) initialsEditBox->Hide();
    if (playersTitle) playersTitle->Hide();
    for (CActorButton* label : playerLabels)
        if (label) label->Hide();
    HideTodayChoice();
}

void CPlayScene::ShowKnownPlayers() {
    if (playersTitle) {
        if (knownPlayers.empty())
            playersTitle->Hide();
        else
            playersTitle->Show();
    }
    for (int slot = 0; slot < kPlayerSlots; ++slot) {
        CActorButton* label = playerLabels[slot];
        if (!label) continue;
        if (slot >= static_cast<int>(knownPlayers.size())) {
            label->Hide();
            continue;
        }
        label->colour = slot == pickedPlayer ? kPickedColour : kPlayerColour;
        label->SetText(knownPlayers[static_cast<std::size_t>(slot)].c_str());
        label->Show();
    }
    // Whether today's game would count follows the initials shown.
    ShowTodayChoice();
}

void CPlayScene::PickPlayer(int index) {
    if (index < 0 || index >= static_cast<int>(knownPlayers.size()) || !initialsEditBox) return;
    pickedPlayer = index;
    initialsEditBox->SetText(knownPlayers[static_cast<std::size_t>(index)].c_str());
    initialsFresh = true;
    ShowKnownPlayers();
}

bool CPlayScene::InitialsKeyDown(int code) {
    if (TodayKeyDown(code)) return true;
    if (initialsCommitted || !initialsEditBox || initialsEditBox->hidden) return false;
    if (code >= kCodeFirstPlayer && code < kCodeFirstPlayer + kPlayerSlots) {
        PickPlayer(code - kCodeFirstPlayer);
        return true;
    }
    if (code == kKeyUp || code == kKeyDown) {
        const int count = static_cast<int>(knownPlayers.size());
        if (count == 0) return true;
        const int step = code == kKeyDown ? 1 : count - 1;
        PickPlayer(pickedPlayer < 0 ? (code == kKeyDown ? 0 : count - 1) : (pickedPlayer + step) % count);
        return true;
    }
    if (initialsFresh && IsLetter(code)) initialsEditBox->SetText("");
    return false;
}

void CPlayScene::EditedInitials() {
    // Whatever was typed is no longer the picked player's (unless it reads the same).
    initialsFresh = false;
    pickedPlayer = -1;
    const std::string shown = GetEditedInitials();
    for (int i = 0; i < static_cast<int>(knownPlayers.size()); ++i)
        if (knownPlayers[static_cast<std::size_t>(i)] == shown) pickedPlayer = i;
    ShowKnownPlayers();
}
