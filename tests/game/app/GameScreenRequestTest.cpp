// The game screen's scene requests on a real window (dummy video driver):
// quitting before anything else, closing dialog scenes and the options,
// records and about scenes, with the pause and the music as they leave them.

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/scene/CAssetLocation.h"
#include "formats/CFileMM.h"
#include "common/scene/CGame.h"
#include "common/scene/COptions.h"
#include "common/scene/SceneKinds.h"
#include "game/app/CGameApp.h"
#include "game/app/CGameScreen.h"
#include "platform/audio/MMusicManager.h"
#include "platform/audio/MMusicSegment.h"
#include "platform/audio/MSoundManager.h"
#include "tests/support/FileTestHelpers.h"
#include "tests/support/WindowTest.h"

namespace {

struct Closed {
    CScene* scene;
    int result;
};

class GameProbe : public CGame {
public:
    explicit GameProbe(CScreen* screen) : CGame(screen, 3, 12, 0, 0, 1) {}
    void OnDialogClosed(CScene* dialog, int result) override { closed.push_back({dialog, result}); }
    std::vector<Closed> closed;
};

// A scene laid over the game: a dialog counts itself on its owner as the
// dialog scene does; the front-end scenes do not.
class OverScene : public CScene {
public:
    OverScene(CScreen* screen, CScene* owner, int kind) : CScene(screen, 0, 0, 0, 0, 1), owner(owner) {
        sceneId = kind;
        if (kind == kSceneKindDialog) ++owner->openDialogs;
    }
    ~OverScene() override {
        if (sceneId == kSceneKindDialog) --owner->openDialogs;
    }
    CScene* owner;
};

class GameScreenRequests : public harness::WindowTest<CGameScreen> {
protected:
    void SetUp() override {
        previous = gApplication;
        app = std::make_unique<CGameApp>();
        gApplication = app.get();
        OpenWindow(794, 575);
        game = new GameProbe(screen);
        screen->scene.reset(game);
    }
    void TearDown() override {
        WindowTest::TearDown();
        app.reset();
        gApplication = previous;
    }

    // A real tune on the synthesizer, stopped as the engine leaves it; false without a SoundFont.
    bool GiveMusic() {
        unsetenv("ZANBOR_SOUNDFONT");
        if (MMusicManager::FindSoundFont().empty()) return false;
        if (AudioResult::Failed(MSoundManager::Get()->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 16))) return false;
        if (MMusicManager::Get()->Initialize(nullptr, MSoundManager::Get(), 64, 8) != 0) return false;
        const Bytes tune = Fixture("audio_tune.mid");
        MMusicSegment* segment = nullptr;
        MMusicManager::Get()->LoadSegment(&segment, tune.data(), static_cast<DWORD>(tune.size()), 1, 1);
        screen->music.reset(segment);
        screen->musicPaused = 1;
        return segment != nullptr;
    }
    bool QuitPosted() {
        SDL_Event events[8];
        int count = SDL_PeepEvents(events, 8, SDL_PEEKEVENT, SDL_USEREVENT, SDL_LASTEVENT);
        return count > 0 && events[0].user.code == 0;
    }
    void CloseWindow() { Window(SDL_WINDOWEVENT_CLOSE); }

    MApplication* previous = nullptr;
    std::unique_ptr<CGameApp> app;
    GameProbe* game = nullptr;
};

TEST_F(GameScreenRequests, ClosingTheWindowWhileTheQuitDialogIsOpenQuitsAtOnce) {
    auto* dialog = new OverScene(screen, game, kSceneKindDialog);
    game->Pause(0);
    // The dialog's answer waits for the frame; the close arrives first.
    screen->RequestScene(dialog, 0, 1);
    CloseWindow();
    EXPECT_EQ(screen->requestCode, kRequestQuit);
    screen->Frame();
    EXPECT_EQ(CScene::First(), nullptr);  // the dialog and the game are gone
    EXPECT_EQ(screen->scene, nullptr);
    EXPECT_TRUE(QuitPosted());
    screen->Frame();  // a further frame before the loop sees the quit reaches nothing
    EXPECT_EQ(screen->requestedScene, nullptr);
}

TEST_F(GameScreenRequests, ClosingAnInactiveWindowQuitsWithoutWaitingForAFrame) {
    screen->OnActivate(0);  // another window has the focus: no frame runs
    screen->OnClose();      // as the window's close or SIGTERM reach it
    EXPECT_EQ(screen->scene, nullptr);
    EXPECT_TRUE(QuitPosted());
}

TEST_F(GameScreenRequests, TheFrontEndScenesReturnToTheGameAndTheMusicOnlyWhileAGameRuns) {
    if (!GiveMusic()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    struct Case {
        int kind;
        int gameOver;
        int dialogOpenBelow;
        int musicPlaying;
        int paused;
    };
    const Case cases[] = {
        {7, 0, 0, 1, 0}, {7, 1, 0, 0, 0}, {8, 0, 0, 1, 0}, {8, 1, 0, 0, 0},
        {9, 0, 0, 1, 0}, {9, 1, 0, 0, 0}, {7, 0, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " over " << c.gameOver << " dialog " << c.dialogOpenBelow);
        screen->StopMusic();
        game->closed.clear();
        game->gameOver = c.gameOver;
        game->openDialogs = c.dialogOpenBelow;
        game->Pause(0);
        game->pagedOverlayShown = c.kind == 9;
        auto* frontEnd = new OverScene(screen, game, c.kind);
        screen->RequestScene(frontEnd, 5, 1);
        screen->Frame();
        EXPECT_EQ(screen->requestPending, 0);
        EXPECT_EQ(CScene::Last(), game);
        ASSERT_EQ(game->closed.size(), 1u);
        EXPECT_EQ(game->closed[0].scene, frontEnd);
        EXPECT_EQ(game->closed[0].result, 5);
        EXPECT_EQ(game->paused, c.paused);
        EXPECT_EQ(game->pagedOverlayShown, 0);
        EXPECT_EQ(screen->musicPaused, c.musicPlaying ? 0 : 1);
        game->openDialogs = 0;
    }
}

TEST_F(GameScreenRequests, AClosedDialogUnpausesTheSceneBelowOnlyWithResumeAndNoOtherDialog) {
    const bool music = GiveMusic();
    struct Case {
        int resume;
        int secondDialog;
        int paused;
    };
    const Case cases[] = {{1, 0, 0}, {0, 0, 1}, {1, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "resume " << c.resume << " second " << c.secondDialog);
        game->closed.clear();
        game->Pause(0);
        OverScene* second = c.secondDialog ? new OverScene(screen, game, kSceneKindDialog) : nullptr;
        auto* dialog = new OverScene(screen, game, kSceneKindDialog);
        screen->RequestScene(dialog, 1, c.resume);
        screen->Frame();
        EXPECT_EQ(screen->requestPending, 0);
        // The answer goes to the newest scene left.
        CScene* newest = second ? static_cast<CScene*>(second) : game;
        EXPECT_EQ(CScene::Last(), newest);
        if (!second) {
            ASSERT_EQ(game->closed.size(), 1u);
            EXPECT_EQ(game->closed[0].scene, dialog);
            EXPECT_EQ(game->closed[0].result, 1);
        }
        EXPECT_EQ(game->paused, c.paused);
        if (music) {
            EXPECT_EQ(screen->musicPaused, 1);  // this path never restarts the music
        }
        delete second;
    }
}

TEST_F(GameScreenRequests, ARequestNamingTheGameSceneStartsItAfresh) {
    // The new play scene reads its assets from the packed archive beside the program.
    setenv("ZANBOR_SOUNDFONT", "none", 1);
    ASSERT_FALSE(AudioResult::Failed(MSoundManager::Get()->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 16)));
    screen->archive = std::make_unique<CFileMM>();
    ASSERT_EQ(OpenAssetArchive(screen->archive.get(), kAssetArchiveName, nullptr, "."), 0);
    screen->RequestScene(nullptr, 4, 1);
    screen->Frame();
    EXPECT_EQ(screen->requestPending, 0);
    ASSERT_NE(screen->scene, nullptr);
    EXPECT_NE(screen->scene.get(), static_cast<CScene*>(game));
    EXPECT_EQ(CScene::First(), screen->scene.get());
    EXPECT_EQ(CScene::Last(), screen->scene.get());
    EXPECT_EQ(screen->scene->originX, 3 * 256);
    EXPECT_EQ(screen->scene->originY, 12 * 256);
    EXPECT_EQ(screen->scene->sceneId, kSceneKindPlay);
    game = nullptr;
    unsetenv("ZANBOR_SOUNDFONT");
}

}  // namespace
