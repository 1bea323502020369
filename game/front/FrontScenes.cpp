// The scenes the play scene opens over itself after its fade-out.
#include "game/front/CAboutScene.h"
#include "game/front/COptionsScene.h"
#include "game/play/CPlayScene.h"
#include "game/front/CStatsScene.h"

CScene* MakeFrontScene(CScreen* screen, CPlayScene* owner, int kind) {
    const int originX = owner != nullptr ? owner->originX : 0;
    const int originY = owner != nullptr ? owner->originY : 0;
    switch (kind) {
    case kSceneKindOptions: return new COptionsScene(screen, owner, originX, originY);
    case kSceneKindRecords: return new CStatsScene(screen, owner, originX, originY);
    case kSceneKindAbout: return new CAboutScene(screen, originX, originY);
    default: return nullptr;
    }
}
