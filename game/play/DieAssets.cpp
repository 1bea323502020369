#include "game/play/DieAssets.h"

#include "formats/CFileMM.h"
#include "common/scene/CScreen.h"
#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"
#include "platform/core/CException.h"
#include "platform/audio/MSound.h"
#include "game/rules/CGameOptions.h"

namespace {

DieAssetSet assets;
int rollSoundMode = 5;
int rollSoundCountdown = 5;

template <typename T>
void FreeItem(T*& item) {
    delete item;
    item = nullptr;
}

// Reads an array into its slot at once, so that a later failure still finds
// it there to free.
int ReadArray(CFileMM& archive, CSpriteArray*& slot) {
    slot = LoadSpriteArray(archive, 1);
    return slot ? 0 : kResultArrayOrMusicFailed;
}

int ReadArrays(CFileMM& archive, CSpriteArray* (&slots)[kDieColours]) {
    for (CSpriteArray*& slot : slots)
        if (const int result = ReadArray(archive, slot)) return result;
    return 0;
}

}  // namespace

const DieAssetSet& DieAssets() { return assets; }

int LoadDieAssets(CScreen* screen) {
    FreeDieAssets();
    if (!screen || !screen->archive) return kResultPlaySoundNotRead;
    CFileMM& archive = *screen->archive;
    archive.SeekEntry(kDiceEntry);

    for (MSound*& sound : assets.sounds) {
        // A chunk of another kind or a short file is a sound that cannot be read.
        try {
            if (screen->LoadSound(&sound, &archive) != 0) return kResultPlaySoundNotRead;
        } catch (const CFileException&) {
            return kResultPlaySoundNotRead;
        }
    }

    if (const int result = ReadArrays(archive, assets.faces)) return result;
    if (const int result = ReadArrays(archive, assets.rolls)) return result;
    if (const int result = ReadArrays(archive, assets.glows)) return result;
    assets.select = CSprite::LoadFrame(archive, 1);
    assets.marker = CSprite::LoadFrame(archive, 1);
    if (const int result = ReadArrays(archive, assets.dragFaces)) return result;
    return ReadArray(archive, assets.dragOverlay);
}

void FreeDieAssets() {
    for (MSound*& sound : assets.sounds) {
        if (sound) sound->Stop();
        FreeItem(sound);
    }
    for (int colour = 0; colour < kDieColours; ++colour) {
        FreeItem(assets.faces[colour]);
        FreeItem(assets.rolls[colour]);
        FreeItem(assets.glows[colour]);
        FreeItem(assets.dragFaces[colour]);
    }
    FreeItem(assets.select);
    FreeItem(assets.marker);
    FreeItem(assets.dragOverlay);
}

void SetDieSoundVolume(float level) {
    for (MSound* sound : assets.sounds)
        if (sound) sound->SetVolume(level);
}

void PlayDieSound(DieSound which) {
    if (which < 0 || which >= kDieSoundCount) return;
    if (MSound* sound = assets.sounds[which]) sound->Play(0);
}

void StopRollSounds() {
    for (int which : {kDieSoundRollOne, kDieSoundRollTwo, kDieSoundRollMany})
        if (MSound* sound = assets.sounds[which]) sound->Stop();
}

void PlayRollSound(int n) {
    rollSoundMode = rollSoundCountdown = n;
    if (n >= 3)
        PlayDieSound(kDieSoundRollMany);
    else if (n == 2)
        PlayDieSound(kDieSoundRollTwo);
    else if (n == 1)
        PlayDieSound(kDieSoundRollOne);
}

void CountRollStart() {
    const bool restart = (rollSoundMode == 5 && (rollSoundCountdown == 4 || rollSoundCountdown == 3)) ||
                         (rollSoundMode == 4 && rollSoundCountdown == 3);
    // At Fast the dice start 0.1 s apart: one sound covers the whole roll,
    // where restarting it for the third and fourth die would only chop it.
    if (restart && !DiceFast()) {
        if (MSound* sound = assets.sounds[kDieSoundRollMany]) {
            sound->Stop();
            sound->Rewind();
            sound->Play(0);
        }
    }
    --rollSoundCountdown;
}

int RollSoundMode() { return rollSoundMode; }
int RollSoundCountdown() { return rollSoundCountdown; }
void ResetRollSoundCountdown() { rollSoundCountdown = 0; }
