#include "game/play/coach/CoachAssets.h"

#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"
#include "common/scene/CScreen.h"
#include "formats/CFileMM.h"
#include "platform/core/CException.h"

namespace {

CoachAssetSet assets;
bool loaded = false;

template <typename T>
void FreeItem(T*& item) {
    delete item;
    item = nullptr;
}

void Array(CFileMM& archive, CSpriteArray*& slot) {
    slot = LoadSpriteArray(archive, 1);
    if (!slot) throw CFileException("game/CoachAssets", 1);
}

}  // namespace

const CoachAssetSet& CoachAssets() { return assets; }
bool CoachAssetsLoaded() { return loaded; }

int LoadCoachAssets(CScreen* screen) {
    FreeCoachAssets();
    if (!screen || !screen->archive) return kResultPlayAssetsNotLoaded;
    CFileMM& archive = *screen->archive;
    try {
        archive.SeekEntry(kCoachEntry);
        Array(archive, assets.coachButton);
        Array(archive, assets.reviewButton);
        assets.card = CSprite::LoadFrame(archive, 1);
        assets.ring = CSprite::LoadFrame(archive, 1);
        assets.cellFrame = CSprite::LoadFrame(archive, 1);
        assets.page = CSprite::LoadFrame(archive, 1);
        Array(archive, assets.closeButton);
        Array(archive, assets.miniDice);
        assets.miniRing = CSprite::LoadFrame(archive, 1);
        Array(archive, assets.duelCloseButton);
        Array(archive, assets.duelPageButton);
        Array(archive, assets.duelCopyButton);
    } catch (const CException&) {
        // An older archive has no coach: the game goes on without it.
        FreeCoachAssets();
        return kResultPlayAssetsNotLoaded;
    }
    loaded = true;
    return 0;
}

void FreeCoachAssets() {
    FreeItem(assets.coachButton);
    FreeItem(assets.reviewButton);
    FreeItem(assets.card);
    FreeItem(assets.ring);
    FreeItem(assets.cellFrame);
    FreeItem(assets.page);
    FreeItem(assets.closeButton);
    FreeItem(assets.miniDice);
    FreeItem(assets.miniRing);
    FreeItem(assets.duelCloseButton);
    FreeItem(assets.duelPageButton);
    FreeItem(assets.duelCopyButton);
    loaded = false;
}
