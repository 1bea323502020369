#include "game/front/PageAssets.h"

#include "common/actors/CActorFade.h"
#include "formats/CFileMM.h"
#include "common/scene/CScene.h"
#include "common/scene/CScreen.h"

namespace {
constexpr int kPageFadeDepth = ToFixed(10);
constexpr int kUseTexture = 1;
constexpr int kFontSpacing = 1;
}  // namespace

CSprite* PageAssets::Picture(CFileMM& archive) {
    pictures.emplace_back(CSprite::LoadFrame(archive, kUseTexture));
    return pictures.back().get();
}

CSpriteArray* PageAssets::Array(CFileMM& archive) {
    arrays.emplace_back(LoadSpriteArray(archive, kUseTexture));
    return arrays.back().get();
}

CFont* PageAssets::Font(CFileMM& archive, int firstChar) {
    font.reset(LoadFont(firstChar, archive, kFontSpacing, 0));
    return font.get();
}

void PageAssets::Free() {
    pictures.clear();
    arrays.clear();
    font.reset();
}

CActorFade* StartPageReveal(CScene* scene) {
    auto* fade = new CActorFade(scene, 0, 0, kPageFadeDepth);
    scene->fade = fade;
    fade->Reveal(1);
    return fade;
}

void StartPageCover(CScene* scene) {
    if (scene->fade != nullptr && !scene->IsCovering() && !scene->fade->coverDone) scene->fade->Cover(1, 0);
}

void RequestPageRemovalWhenCovered(CScene* scene, bool& requested) {
    if (requested || scene->fade == nullptr || !scene->fade->coverDone || scene->screen == nullptr) return;
    requested = true;
    scene->screen->RequestScene(scene, 0, 1);
}

int PadKeyOfDigit(int key) {
    constexpr int kDigitOne = '1', kDigitNine = '9', kPadOne = 97;
    return key >= kDigitOne && key <= kDigitNine ? key - kDigitOne + kPadOne : key;
}
