#include "game/front/CAboutScene.h"

#include "common/widgets/CActorButton.h"
#include "common/actors/CActorSprite.h"
#include "formats/CFileMM.h"
#include "common/scene/CScreen.h"
#include "common/scene/SceneKinds.h"
#include "common/scene/CFixPoint.h"

namespace {

struct ButtonPlace {
    int key;
    int x;
    int y;
};
// In the archive's order of the button arrays: 'a', Esc, 'd', 'b'.
constexpr ButtonPlace kButtons[] = {
    {CAboutScene::kKeyPage1, 88, 512}, {VK_ESCAPE_KEY, 216, 512}, {CAboutScene::kKeyPage2, 94, 428},
    {CAboutScene::kKeyPage3, 206, 428}};
constexpr int kButtonDepth = 500;
constexpr int kPageDepth = 100;
// Every page's top-left corner: under the title, over the page buttons' panel.
constexpr int kPageX = 92;
constexpr int kPageY = 56;
constexpr int kBackgroundDepth = 32766;

}  // namespace

CAboutScene::CAboutScene(CScreen* screen, int originX, int originY)
    : CScene(screen, originX, originY, 0, 0, 1) {
    sceneId = kSceneKindAbout;
}

CAboutScene::~CAboutScene() { FreeAssets(); }

void CAboutScene::LoadAssets() {
    StartPageReveal(this);
    CFileMM& archive = *screen->archive;
    archive.SeekEntry(2);
    background = new CActorSprite(this, 0, 0, ToFixed(kBackgroundDepth), assets.Picture(archive), 0);
    for (const ButtonPlace& place : kButtons) {
        CButtonRecord record;
        record.mode = kButtonPush;
        record.key = place.key;
        auto* button = new CActorButton(CTextRecord{}, record, this, ToFixed(place.x), ToFixed(place.y),
                                        ToFixed(kButtonDepth), assets.Array(archive), 0);
        if (place.key == VK_ESCAPE_KEY) backButton = button;
    }
    pages[1] = new CActorSprite(this, ToFixed(kPageX), ToFixed(kPageY), ToFixed(kPageDepth), assets.Picture(archive), 0);
    pages[2] = new CActorSprite(this, ToFixed(kPageX), ToFixed(kPageY), ToFixed(kPageDepth), assets.Picture(archive), 0);
    archive.SeekEntry(6);
    pages[0] = new CActorSprite(this, ToFixed(kPageX), ToFixed(kPageY), ToFixed(kPageDepth), assets.Picture(archive), 0);
    for (CActorSprite* page : pages) page->Hide();
}

void CAboutScene::FreeAssets() { assets.Free(); }

void CAboutScene::ShowPage(int page) {
    for (int i = 0; i < kPageCount; ++i) {
        if (pages[i] == nullptr) continue;
        if (i == page && !IsCovering())
            pages[i]->Show();
        else
            pages[i]->Hide();
    }
}

int CAboutScene::OnKeyDown(int key) {
    key = PadKeyOfDigit(key);
    if (key == VK_ESCAPE_KEY && backButton != nullptr) backButton->SetState(kStateDown);
    return 1;
}

int CAboutScene::OnKeyUp(int key) {
    key = PadKeyOfDigit(key);
    switch (key) {
    case kKeyPage1: ShowPage(0); break;
    case kKeyPage2: ShowPage(1); break;
    case kKeyPage3: ShowPage(2); break;
    case VK_ESCAPE_KEY:
        if (backButton != nullptr) backButton->SetState(kStateUp);
        StartPageCover(this);
        break;
    default: break;
    }
    return 1;
}

void CAboutScene::HidePagesAt(int x, int y) {
    for (CActorSprite* page : pages) {
        if (page == nullptr || page->hidden) continue;
        if (RectContains(page->bounds, x, y)) page->Hide();
    }
}

void CAboutScene::OnLeftDown(int x, int y) { HidePagesAt(x, y); }
void CAboutScene::OnRightDown(int x, int y) { HidePagesAt(x, y); }

void CAboutScene::Tick() {
    CScene::Tick();
    RequestPageRemovalWhenCovered(this, removalRequested);
}
