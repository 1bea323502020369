#include "game/sheet/ScoreSheetAssets.h"

#include "common/widgets/CActorButton.h"
#include "formats/CFileMM.h"
#include "common/actors/CFont.h"
#include "common/scene/CScreen.h"
#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"
#include "platform/audio/MSound.h"

ScoreSheetAssets gSheetAssets;
CellAssets gCellAssets;

namespace {

// Glyphs follow one another with one pixel between them.
constexpr int kFontSpacing = 1;

// The shared undo button; it tells the module when its scene deletes it, so
// the module never holds a dangling pointer.
class CUndoButton : public CActorButton {
public:
    using CActorButton::CActorButton;
    ~CUndoButton() override {
        if (gCellAssets.undoButton == this) gCellAssets.undoButton = nullptr;
    }
};

void FreeSound(MSound** sound) {
    if (!*sound) return;
    (*sound)->Stop();
    delete *sound;
    *sound = nullptr;
}

template <typename T>
void FreeObject(T** object) {
    delete *object;
    *object = nullptr;
}

int LoadSoundAt(CScreen* screen, MSound** sound) {
    if (!screen || !screen->archive) return kResultPlaySoundNotRead;
    return screen->LoadSound(sound, screen->archive.get()) != 0 || !*sound ? kResultPlaySoundNotRead : 0;
}

void CreateUndoButton(CScreen* screen) {
    CScene* scene = screen->scene.get();
    if (!scene) return;
    CTextRecord text;
    text.text = "";
    CButtonRecord button;
    button.mode = kButtonPush;
    button.key = kUndoKey;
    button.mouseEnabled = 1;
    auto* undo = new CUndoButton(text, button, scene, ToFixed(100), ToFixed(100), ToFixed(kUndoButtonDepth),
                                 gCellAssets.undoFrames, 0);
    undo->Hide();
    gCellAssets.undoButton = undo;
}

}  // namespace

int LoadScoreSheetAssets(CScreen* screen) {
    FreeScoreSheetAssets();
    for (MSound*& sound : gSheetAssets.sounds) {
        if (LoadSoundAt(screen, &sound) != 0) return kResultPlaySoundNotRead;
    }
    CFileMM& archive = *screen->archive;
    gSheetAssets.font = LoadFont(kSheetFontFirstChar, archive, kFontSpacing, 0);
    gSheetAssets.levelMarker = CSprite::LoadFrame(archive, 1);
    gSheetAssets.gameOver = CSprite::LoadFrame(archive, 1);
    return LoadCellAssets(screen) != 0 ? kResultPlayAssetsNotLoaded : 0;
}

int LoadCellAssets(CScreen* screen) {
    FreeCellAssets();
    if (LoadSoundAt(screen, &gCellAssets.undoSound) != 0) return kResultPlaySoundNotRead;
    CFileMM& archive = *screen->archive;
    gCellAssets.sparkle = CSprite::LoadFrame(archive, 1);
    gCellAssets.cells = LoadSpriteArray(archive, 1);
    gCellAssets.undoFrames = LoadSpriteArray(archive, 1);
    CreateUndoButton(screen);
    return 0;
}

void FreeScoreSheetAssets() {
    FreeCellAssets();
    for (MSound*& sound : gSheetAssets.sounds) FreeSound(&sound);
    FreeObject(&gSheetAssets.font);
    FreeObject(&gSheetAssets.levelMarker);
    FreeObject(&gSheetAssets.gameOver);
}

void FreeCellAssets() {
    if (CActorButton* undo = gCellAssets.undoButton) {
        // Its scene deletes it; until then it must not draw the frames freed below.
        gCellAssets.undoButton = nullptr;
        undo->Hide();
        undo->frames = nullptr;
        undo->Kill();
    }
    FreeSound(&gCellAssets.undoSound);
    FreeObject(&gCellAssets.sparkle);
    FreeObject(&gCellAssets.cells);
    FreeObject(&gCellAssets.undoFrames);
}

void HideUndoButton() {
    if (gCellAssets.undoButton) gCellAssets.undoButton->Hide();
}

void ShowUndoButtonAt(int x, int y) {
    CActorButton* undo = gCellAssets.undoButton;
    if (!undo) return;
    undo->SetXY(ToFixed(x), ToFixed(y));
    undo->Show();
}

void PlaySheetSound(int sound) {
    if (sound < 0 || sound >= kSheetSoundCount) return;
    if (MSound* s = gSheetAssets.sounds[sound]) s->Play(0);
}

void PlayUndoSound() {
    if (gCellAssets.undoSound) gCellAssets.undoSound->Play(0);
}

void SetScoreSheetSoundVolume(float level) {
    for (MSound* sound : gSheetAssets.sounds)
        if (sound) sound->SetVolume(level);
    if (gCellAssets.undoSound) gCellAssets.undoSound->SetVolume(level);
}
