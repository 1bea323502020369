#include "game/front/COptionsScene.h"

#include "common/widgets/CActorButton.h"
#include "common/actors/CActorFade.h"
#include "common/widgets/CActorHotspot.h"
#include "common/widgets/CActorSlider.h"
#include "common/actors/CActorSprite.h"
#include "common/widgets/CEditBox.h"
#include "formats/CFileMM.h"
#include "common/scene/CGame.h"
#include "common/scene/COptions.h"
#include "common/scene/CScreen.h"
#include "common/scene/SceneKinds.h"
#include "common/scene/CFixPoint.h"
#include "game/play/CPlayScene.h"
#include "game/rules/CGameOptions.h"

namespace {

constexpr int kBackgroundDepth = 32767;
constexpr int kControlDepth = 100;
constexpr int kClickAreaDepth = 200;
constexpr int kInitialsDepth = 300;
constexpr int kInitialsCapacity = 12;
constexpr int kInitialsLetters = 7;
constexpr int kFontFirstChar = 32;
constexpr int VK_RETURN_KEY = 13;

struct LatchPlace {
    int key;
    int group;
    int x;
    int y;
    CRect words;  // the click area over the option's words, beside the latch
};
constexpr LatchPlace kLatches[] = {
    {COptionsScene::kKeyWindow, 0, 277, 226, {298, 230, 406, 253}},
    {COptionsScene::kKeyFullScreen, 0, 443, 226, {459, 230, 575, 253}},
    {COptionsScene::kKeyHints2, 1, 277, 261, {298, 265, 410, 288}},
    {COptionsScene::kKeyHints1, 1, 443, 261, {459, 265, 586, 288}},
    {COptionsScene::kKeyHints0, 1, 622, 261, {634, 265, 685, 288}},
    {COptionsScene::kKeyMarkersOn, 2, 277, 296, {298, 300, 363, 323}},
    {COptionsScene::kKeyMarkersOff, 2, 443, 296, {459, 300, 518, 323}},
    {COptionsScene::kKeyDiceNormal, 3, 277, 331, {298, 335, 362, 358}},
    {COptionsScene::kKeyDiceFast, 3, 373, 331, {401, 335, 440, 358}},
    {COptionsScene::kKeyPreviewOn, 4, 559, 331, {587, 335, 612, 358}},
    {COptionsScene::kKeyPreviewOff, 4, 622, 331, {650, 335, 680, 358}},
    {COptionsScene::kKeyOpponentOff, 5, 277, 366, {298, 370, 335, 393}},
    {COptionsScene::kKeyOpponentEasy, 5, 373, 366, {401, 370, 445, 393}},
    {COptionsScene::kKeyOpponentMedium, 5, 459, 366, {487, 370, 552, 393}},
    {COptionsScene::kKeyOpponentHard, 5, 577, 366, {605, 370, 645, 393}},
};

const LatchPlace* FindLatch(int key) {
    for (const LatchPlace& place : kLatches)
        if (place.key == key) return &place;
    return nullptr;
}

bool IsEditingKey(int key) {
    switch (key) {
    case VK_BACK_KEY:
    case VK_END_KEY:
    case VK_HOME_KEY:
    case VK_LEFT_KEY:
    case VK_RIGHT_KEY:
    case VK_DELETE_KEY:
    case VK_NUMPAD6_KEY: return true;
    default: return key >= VK_A_KEY && key <= VK_Z_KEY;
    }
}

// A slider's fraction as a volume of 0..100. Rounded, not truncated: a float
// fraction such as 0.29 is a little below the true value, and truncating it
// would lower a stored volume by one every time the page is confirmed.
int Volume(float fraction) { return static_cast<int>(fraction * 100.0f + 0.5f); }

int KnobPlace(int volume) {
    const int clamped = volume < 0 ? 0 : volume > 100 ? 100 : volume;
    return COptionsScene::kSliderMin + 2 * clamped;
}

// What a slider stores: a volume that was off (-1) stays off unless its knob was moved.
int SliderVolume(const CActorSlider* slider, int stored) {
    if (stored < 0 && slider->GetPosition() == KnobPlace(stored)) return stored;
    return Volume(slider->GetFraction());
}

}  // namespace

COptionsScene::COptionsScene(CScreen* screen, CPlayScene* play, int originX, int originY)
    : CScene(screen, originX, originY, 0, 0, 1), playScene(play) {
    sceneId = kSceneKindOptions;
}

COptionsScene::~COptionsScene() { FreeAssets(); }

void COptionsScene::LoadAssets() {
    StartPageReveal(this);
    CFileMM& archive = *screen->archive;
    archive.SeekEntry(0);
    background = assets.Picture(archive);
    okFrames = assets.Array(archive);
    cancelFrames = assets.Array(archive);
    latchFrames = assets.Array(archive);
    knob = assets.Picture(archive);
    archive.SeekEntry(7);
    font = assets.Font(archive, kFontFirstChar);
}

int COptionsScene::Begin() {
    COptions* options = CScreen::Options();
    new CActorSprite(this, 0, 0, ToFixed(kBackgroundDepth), background, 0);

    CButtonRecord push;
    push.mode = kButtonPush;
    push.key = VK_RETURN_KEY;
    okButton =
        new CActorButton(CTextRecord{}, push, this, ToFixed(280), ToFixed(445), ToFixed(kControlDepth), okFrames, 0);
    push.key = VK_ESCAPE_KEY;
    cancelButton = new CActorButton(CTextRecord{}, push, this, ToFixed(410), ToFixed(445), ToFixed(kControlDepth),
                                    cancelFrames, 0);

    for (int i = 0; i < kLatchCount; ++i) {
        const LatchPlace& place = kLatches[i];
        CButtonRecord latch;
        latch.mode = kButtonLatch;
        latch.key = place.key;
        latches[i] = new CActorButton(CTextRecord{}, latch, this, ToFixed(place.x), ToFixed(place.y),
                                      ToFixed(kControlDepth), latchFrames, 0);
        // A click on an option's words selects it, as a click on its latch does.
        new CActorHotspot(this, place.words, ToFixed(kClickAreaDepth), place.key);
    }

    const int sfx = options != nullptr ? options->GetSFX() : 100;
    const int music = options != nullptr ? options->GetMusic() : 100;
    effectSlider = new CActorSlider(this, ToFixed(395), ToFixed(102), ToFixed(kControlDepth), kSliderMin, kSliderMax,
                                    KnobPlace(sfx), 0, knob, 0);
    musicSlider = new CActorSlider(this, ToFixed(395), ToFixed(171), ToFixed(kControlDepth), kSliderMin, kSliderMax,
                                   KnobPlace(music), 0, knob, 0);

    CTextRecord text;
    text.maxLength = kInitialsCapacity;
    text.hAlign = kAlignLeft;
    text.vAlign = kAlignTop;
    text.font = font;
    CButtonRecord box;
    box.key = kKeyInitials;
    initialsBox = new CEditBox(this, ToFixed(285), ToFixed(398), ToFixed(kInitialsDepth), text, box);
    initialsBox->SetMaxLength(kInitialsLetters);
    initialsBox->SetText(options != nullptr ? options->GetTypedInitials() : "");

    if (options != nullptr) {
        SelectLatch(options->GetFullscreen() ? kKeyFullScreen : kKeyWindow);
        fullScreenAtOpen = screen ? screen->IsFullScreenNow() : options->GetFullscreen();
        storedFullScreenAtOpen = options->GetFullscreen();
        const int hints = options->GetShowHints();
        SelectLatch(hints == 2 ? kKeyHints2 : hints == 1 ? kKeyHints1 : kKeyHints0);
        SelectLatch(options->GetShowColMarkers() ? kKeyMarkersOn : kKeyMarkersOff);
    }
    const CGameOptions* game = GameOptions();
    SelectLatch(game && game->GetDiceSpeed() == CGameOptions::kDiceFast ? kKeyDiceFast : kKeyDiceNormal);
    SelectLatch(!game || game->GetScorePreview() ? kKeyPreviewOn : kKeyPreviewOff);
    SelectLatch(kKeyOpponentOff + static_cast<int>(game ? game->GetOpponent() : OpponentLevel::Off));
    return CScene::Begin();
}

void COptionsScene::FreeAssets() { assets.Free(); }

CActorButton* COptionsScene::GetLatch(int key) const {
    for (int i = 0; i < kLatchCount; ++i)
        if (kLatches[i].key == key) return latches[i];
    return nullptr;
}

void COptionsScene::SelectLatch(int key) {
    const LatchPlace* chosen = FindLatch(key);
    if (chosen == nullptr) return;
    for (int i = 0; i < kLatchCount; ++i) {
        if (kLatches[i].group != chosen->group || latches[i] == nullptr) continue;
        latches[i]->SetState(kLatches[i].key == key ? kStateDown : kStateUp);
    }
}

void COptionsScene::StepGroup(int group) {
    int first = -1, chosen = -1;
    for (int i = 0; i < kLatchCount; ++i) {
        if (kLatches[i].group != group) continue;
        if (first < 0) first = i;
        if (chosen >= 0) {
            SelectLatch(kLatches[i].key);
            return;
        }
        if (IsSelected(kLatches[i].key)) chosen = i;
    }
    if (first >= 0) SelectLatch(kLatches[first].key);
}

bool COptionsScene::IsSelected(int key) const {
    const CActorButton* latch = GetLatch(key);
    return latch != nullptr && latch->GetState() == kStateDown;
}

bool COptionsScene::AcceptsAnswer() { return fade != nullptr && !IsLeaving(); }

int COptionsScene::OnKeyDown(int key) {
    if (IsEditingKey(key) && initialsBox != nullptr && initialsBox->OnKey(key)) return 1;
    if (FindLatch(key) != nullptr) {
        SelectLatch(key);
        ApplyScreenLatch();
    } else if (key >= kKeyFirstRow && key < kKeyFirstRow + kGroupCount) {
        StepGroup(key - kKeyFirstRow);
        ApplyScreenLatch();
    } else if (key == VK_RETURN_KEY && AcceptsAnswer()) {
        okButton->SetState(kStateDown);
    } else if (key == VK_ESCAPE_KEY && AcceptsAnswer()) {
        cancelButton->SetState(kStateDown);
    }
    return 1;
}

int COptionsScene::OnKeyUp(int key) {
    if (key == VK_RETURN_KEY && AcceptsAnswer()) {
        okButton->SetState(kStateUp);
        StoreOptions();
        StartPageCover(this);
    } else if (key == VK_ESCAPE_KEY && AcceptsAnswer()) {
        cancelButton->SetState(kStateUp);
        // Leaving the changes leaves the screen mode the page was opened in, and its stored value.
        SelectLatch(fullScreenAtOpen ? kKeyFullScreen : kKeyWindow);
        ApplyScreenLatch();
        if (COptions* options = CScreen::Options(); options && options->GetFullscreen() != storedFullScreenAtOpen) {
            options->SetFullscreen(storedFullScreenAtOpen);
            options->Save();
        }
        StartPageCover(this);
    }
    return 1;
}

void COptionsScene::ApplyScreenLatch() {
    // The screen latch switches at once, as F11 does.
    if (!screen) return;
    const int wanted = IsSelected(kKeyFullScreen) ? 1 : 0;
    if (wanted != screen->IsFullScreenNow()) screen->ToggleFullScreen();
}

void COptionsScene::StoreOptions() {
    COptions* options = CScreen::Options();
    if (options == nullptr) return;
    const float music = musicSlider->GetFraction();
    options->SetSFX(SliderVolume(effectSlider, options->GetSFX()));
    if (playScene != nullptr) playScene->SetSoundVolume(options->GetSFX());
    options->SetMusic(SliderVolume(musicSlider, options->GetMusic()));
    options->SetInitials(initialsBox->GetText());
    screen->SetMusicVolume(music);
    options->SetFullscreen(IsSelected(kKeyFullScreen) ? 1 : 0);
    options->SetShowHints(IsSelected(kKeyHints2) ? 2 : IsSelected(kKeyHints1) ? 1 : 0);
    options->SetShowColMarkers(IsSelected(kKeyMarkersOn) ? 1 : 0);
    if (CGameOptions* game = GameOptions()) {
        game->SetDiceSpeed(IsSelected(kKeyDiceFast) ? CGameOptions::kDiceFast : CGameOptions::kDiceNormal);
        game->SetScorePreview(IsSelected(kKeyPreviewOn) ? 1 : 0);
        for (int level = 0; level <= static_cast<int>(OpponentLevel::Hard); ++level)
            if (IsSelected(kKeyOpponentOff + level)) game->SetOpponent(level);
    }
    options->Save();
    if (playScene != nullptr) playScene->OnOptionsChanged();
}

void COptionsScene::Tick() {
    CScene::Tick();
    RequestPageRemovalWhenCovered(this, removalRequested);
}
