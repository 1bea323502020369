// The play scene's pictures, sounds and font: read from the archive in the
// order the archive holds them, freed together.

#include "game/play/CPlayScene.h"

#include "common/actors/CActorFade.h"
#include "formats/CFileMM.h"
#include "common/actors/CFont.h"
#include "common/scene/CScreen.h"
#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"
#include "platform/core/CException.h"
#include "platform/audio/MSound.h"

namespace {

// The edit box's font starts at "0".
constexpr int kEditFontFirstChar = 48;

// Reads one entry of the run after another; a wrong or short chunk throws.
class RunReader {
public:
    RunReader(CScreen* screen, CFileMM& archive) : screen(screen), archive(archive) {}

    void Picture(CSprite** slot) { *slot = CSprite::LoadFrame(archive, 1); }
    void Array(CSpriteArray** slot) {
        *slot = LoadSpriteArray(archive, 1);
        if (!*slot) throw CFileException("game/PlayScene", 1);
    }
    // False when the sound cannot be made.
    bool Sound(MSound** slot) { return screen->LoadSound(slot, &archive) == 0 && *slot; }
    void Font(CFont** slot) {
        *slot = LoadFont(kEditFontFirstChar, archive, 1, 0);
        if (!*slot) throw CFileException("game/PlayScene", 2);
    }

private:
    CScreen* screen;
    CFileMM& archive;
};

template <typename T>
void Delete(T*& item) {
    delete item;
    item = nullptr;
}

void DeleteSound(MSound*& sound) {
    if (sound) sound->Stop();
    delete sound;
    sound = nullptr;
}

}  // namespace

void CPlayScene::LoadAssets() {
    loadResult = LoadPlayAssets();
    CGame::LoadAssets();
}

int CPlayScene::LoadPlayAssets() {
    // A restart loads again: what the last load and Begin made goes first,
    // the sheet before the actors it names.
    SetStatus(nullptr);
    sheet = nullptr;
    while (actorFirst) delete actorFirst;
    ForgetObjects();
    FreeSceneAssets();
    fade = new CActorFade(this, 0, 0, ToFixed(10));
    FadeOut();

    if (!screen || !screen->archive) return kResultPlayAssetsNotLoaded;
    CFileMM& archive = *screen->archive;
    PlaySceneAssets& a = assets;
    RunReader read(screen, archive);
    bool soundPhase = false;
    try {
        archive.SeekEntry(kPlaySceneEntry);
        read.Picture(&a.background);
        soundPhase = true;
        if (!read.Sound(&a.dialogOpenSound) || !read.Sound(&a.introSound)) return kResultPlaySoundNotRead;
        soundPhase = false;
        read.Array(&a.rollButton);
        for (CSpriteArray*& array : a.buttons) read.Array(&array);
        read.Picture(&a.newGameDialog);
        read.Picture(&a.quitDialog);
        read.Picture(&a.unusedPicture);
        read.Picture(&a.hiddenDialog);
        read.Array(&a.dialogButtons);
        read.Array(&a.hiddenDialogButtons);
        read.Array(&a.columnLineButton);
        read.Array(&a.fallingLineButton);
        read.Array(&a.risingLineButton);
        read.Picture(&a.intro);
        read.Picture(&a.title);
        read.Picture(&a.editBoxBkgnd);
        read.Picture(&a.rollShadow);
        read.Picture(&a.msgBottomStart);
        read.Picture(&a.hintRoll0);
        read.Picture(&a.hintRoll2);
        read.Picture(&a.hintRoll1);
        read.Picture(&a.hintSecondHalf);
        read.Picture(&a.hintMovable);
        read.Picture(&a.hintFixed);
        read.Picture(&a.hintRoll3);
        for (CSprite*& message : a.endMessages) read.Picture(&message);
        read.Picture(&a.topFrame);
        read.Picture(&a.secHalfHelp);
        read.Font(&a.editFont);
    } catch (const CException&) {
        // A damaged archive: what was read stays until FreeAssets.
        return soundPhase ? kResultPlaySoundNotRead : kResultPlayAssetsNotLoaded;
    }
    const int result = LoadPartAssets();
    LoadKeyboardAssets();
    return result;
}

void CPlayScene::FreeSceneAssets() {
    PlaySceneAssets& a = assets;
    DeleteSound(a.dialogOpenSound);
    DeleteSound(a.introSound);
    Delete(a.rollButton);
    for (CSpriteArray*& array : a.buttons) Delete(array);
    Delete(a.dialogButtons);
    Delete(a.hiddenDialogButtons);
    Delete(a.columnLineButton);
    Delete(a.fallingLineButton);
    Delete(a.risingLineButton);
    for (CSprite** picture : {&a.background, &a.newGameDialog, &a.quitDialog, &a.unusedPicture, &a.hiddenDialog,
                              &a.intro, &a.title, &a.editBoxBkgnd, &a.rollShadow, &a.msgBottomStart, &a.hintRoll0,
                              &a.hintRoll2, &a.hintRoll1, &a.hintSecondHalf, &a.hintMovable, &a.hintFixed,
                              &a.hintRoll3, &a.topFrame, &a.secHalfHelp, &a.cursor})
        Delete(*picture);
    for (CSprite*& message : a.endMessages) Delete(message);
    Delete(a.editFont);
}

void CPlayScene::FreeAssets() {
    if (screen) screen->StopMusic();
    for (CActorDie*& die : dice) die = nullptr;
    FreeSceneAssets();
    FreePartAssets();
    CGame::FreeAssets();
}

void CPlayScene::SetSoundVolume(int volume) {
    const float level = static_cast<float>(volume) * 0.01f;
    if (assets.dialogOpenSound) assets.dialogOpenSound->SetVolume(level);
    if (assets.introSound) assets.introSound->SetVolume(level);
    SetPartSoundVolume(level);
}
