// Scene clocks, the two update passes, depth order and drawing.

#include <gtest/gtest.h>

#include "tests/support/EngineTestSupport.h"
#include "common/scene/CCollisionMgr.h"
#include "common/scene/CGame.h"

using namespace enginetest;

namespace {

std::vector<std::string> Only(const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& line : gLog)
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}

}  // namespace

using SceneClock = EngineTest;

TEST_F(SceneClock, FirstStepIsZeroAndAStallGivesAtMost25Ticks) {
    LogScene scene(screen);
    auto* actor = new BoxActor(&scene, "a", 0, 0, 5);
    AdvanceTicks(90);  // a slow LoadAssets
    scene.UpdateActors();
    EXPECT_EQ(scene.actorStep, 0);

    AdvanceTicks(256);  // a one-second stall
    scene.UpdateActors();
    EXPECT_EQ(scene.actorStep, 25);

    AdvanceTicks(7);
    scene.UpdateActors();
    EXPECT_EQ(scene.actorStep, 7);
    EXPECT_EQ(scene.actorTime, 32);
    EXPECT_EQ(actor->steps, (std::vector<int>{0, 25, 7}));

    // The tick clock is a second, independent clock with the same clamp.
    scene.Tick();
    EXPECT_EQ(scene.sceneStep, 0);
    AdvanceTicks(300);
    scene.Tick();
    EXPECT_EQ(scene.sceneStep, 25);
}

TEST_F(SceneClock, PausedSuspendedAndInactiveScenesStepZeroButActorsStillUpdate) {
    LogScene scene(screen);
    auto* actor = new BoxActor(&scene, "a", 0, 0, 5);
    scene.UpdateActors();

    auto stepWhile = [&](auto stop, auto go) {
        stop();
        AdvanceTicks(10);
        scene.UpdateActors();
        const int stopped = scene.actorStep;
        go();
        AdvanceTicks(4);
        scene.UpdateActors();
        return std::make_pair(stopped, scene.actorStep);
    };
    // While stopped no time accumulates, so the first step after is only what
    // passed since then.
    EXPECT_EQ(stepWhile([&] { scene.Pause(0); }, [&] { scene.Unpause(); }), std::make_pair(0, 4));
    EXPECT_EQ(stepWhile([&] { scene.Suspend(); }, [&] { scene.Resume(); }), std::make_pair(0, 4));
    EXPECT_EQ(stepWhile([&] { screen->active = 0; }, [&] { screen->active = 1; }), std::make_pair(0, 4));
    EXPECT_EQ(stepWhile([&] { screen->minimised = 1; }, [&] { screen->minimised = 0; }), std::make_pair(0, 4));
    EXPECT_EQ(actor->steps, (std::vector<int>{0, 0, 4, 0, 4, 0, 4, 0, 4}));
    EXPECT_EQ(actor->postUpdates, 9);
}

TEST_F(SceneClock, ANewSceneRestartsTheClockAndTheOlderSceneSeesNoNegativeStep) {
    auto* older = new LogScene(screen, "older");
    AdvanceTicks(20);
    older->UpdateActors();
    AdvanceTicks(20);
    older->UpdateActors();
    EXPECT_EQ(older->actorStep, 20);
    auto* dialog = new LogScene(screen, "dialog");  // the game clock is back at 0
    EXPECT_EQ(CScene::Now(), 0);
    AdvanceTicks(5);
    CScene::UpdateAll();
    EXPECT_EQ(older->actorStep, 0);
    EXPECT_EQ(dialog->actorStep, 0);
    AdvanceTicks(5);
    CScene::UpdateAll();
    EXPECT_EQ(dialog->actorStep, 5);
    delete dialog;
    delete older;
}

using SceneUpdate = EngineTest;

TEST_F(SceneUpdate, AnActorKilledDuringUpdateIsDeletedAfterEveryOtherWasUpdated) {
    LogScene scene(screen);
    auto* first = new BoxActor(&scene, "first", 0, 0, 1);
    new BoxActor(&scene, "second", 0, 0, 2);
    new BoxActor(&scene, "third", 0, 0, 3);
    first->onUpdate = [](BoxActor* self) {
        self->Kill();
        self->Kill();  // twice: still deleted once
    };
    scene.UpdateActors();
    EXPECT_EQ(gLog, (std::vector<std::string>{"update first", "update second", "update third", "delete first"}));
    EXPECT_EQ(static_cast<BoxActor*>(scene.FirstActor())->name, "second");
}

TEST_F(SceneUpdate, AnActorMadeDuringThePassIsUpdatedOnlyWhenItLandsAfterTheSuccessor) {
    static LogScene* current = nullptr;
    LogScene scene(screen);
    current = &scene;
    auto* maker = new BoxActor(&scene, "maker", 0, 0, 10);
    new BoxActor(&scene, "next", 0, 0, 20);
    maker->onUpdate = [](BoxActor* self) {
        new BoxActor(current, "between", 0, 0, 15);  // before the successor: skipped this pass
        new BoxActor(current, "after", 0, 0, 30);    // after it: reached this pass
        new BoxActor(current, "before", 0, 0, 5);    // before the maker: skipped
        self->onUpdate = nullptr;
    };
    scene.UpdateActors();
    EXPECT_EQ(Only("update"), (std::vector<std::string>{"update maker", "update next", "update after"}));
    gLog.clear();
    scene.UpdateActors();
    EXPECT_EQ(Only("update"), (std::vector<std::string>{"update before", "update maker", "update between",
                                                        "update next", "update after"}));
}

TEST_F(SceneUpdate, EqualDepthsTheLaterActorIsDrawnFirstAndHitFirst) {
    LogScene scene(screen);
    auto* older = new BoxActor(&scene, "older", 100, 100, 50);
    auto* newer = new BoxActor(&scene, "newer", 100, 100, 50);
    auto* far = new BoxActor(&scene, "far", 100, 100, 60);
    older->wantsMouse = newer->wantsMouse = far->wantsMouse = 1;
    EXPECT_EQ(scene.FirstActor(), newer);

    scene.DrawActors(CRect{0, 0, 800, 600});
    EXPECT_EQ(Only("draw"), (std::vector<std::string>{"draw far", "draw older", "draw newer"}));
    EXPECT_EQ(scene.collisionManager->drawnCount, 3);

    CMouseEvent click{MOUSE_LEFT_DOWN, 105, 105};
    EXPECT_EQ(scene.Dispatch(click), 7);
    EXPECT_EQ(gLog.back(), "mouse newer 3");

    // SetZ onto an equal depth puts the actor in front of those already there.
    far->SetZ(50 * 256);
    EXPECT_EQ(scene.FirstActor(), far);
    EXPECT_EQ(Only("update").size(), 0u);
}

TEST_F(SceneUpdate, DepthZeroIsUpdatedNotDrawnAndVeryDeepActorsAreNeverHit) {
    LogScene scene(screen);
    auto* flat = new BoxActor(&scene, "flat", 0, 0, 0);
    auto* deep = new BoxActor(&scene, "deep", 0, 0, 10000);
    auto* hidden = new BoxActor(&scene, "hidden", 0, 0, 3);
    auto* outside = new BoxActor(&scene, "outside", 800, 0, 3);
    hidden->Hide();
    flat->wantsMouse = deep->wantsMouse = hidden->wantsMouse = 1;
    scene.UpdateActors();
    scene.DrawActors(CRect{0, 0, 800, 600});
    EXPECT_EQ(Only("draw"), (std::vector<std::string>{"draw deep"}));
    EXPECT_EQ(Only("update").size(), 4u);
    (void)outside;

    // Hidden and deep actors let the click through; the flat one takes it.
    EXPECT_EQ(scene.Dispatch(CMouseEvent{MOUSE_LEFT_DOWN, 5, 5}), 7);
    EXPECT_EQ(gLog.back(), "mouse flat 3");
    flat->wantsMouse = 0;
    EXPECT_EQ(scene.Dispatch(CMouseEvent{MOUSE_LEFT_DOWN, 5, 5}), 1);
    EXPECT_EQ(gLog.back(), "scene left-down 5,5");
}

TEST_F(SceneUpdate, DestroyingASceneDeletesItsActorsAndForgetsItInTheRouting) {
    auto* base = new LogScene(screen, "base");
    auto* dialog = new LogScene(screen, "dialog");
    new BoxActor(dialog, "button", 0, 0, 5);
    EXPECT_EQ(CScene::Last(), dialog);
    dialog->Dispatch(CMouseEvent{MOUSE_LEFT_DOWN, 400, 400});
    delete dialog;
    EXPECT_EQ(gLog.back(), "delete button");
    EXPECT_EQ(CScene::Last(), base);
    EXPECT_EQ(CScene::First(), base);
    // The release that follows finds no press on the scene now on top.
    base->Dispatch(CMouseEvent{MOUSE_LEFT_UP, 400, 400});
    EXPECT_EQ(gLog.back(), "delete button");
    delete base;
    EXPECT_EQ(CScene::First(), nullptr);
}

using SceneKeys = EngineTest;

TEST_F(SceneKeys, PauseKeyTogglesPauseAndUserPauseAndEscapeClosesThePagedOverlay) {
    LogScene scene(screen);
    EXPECT_EQ(scene.OnKeyDown(VK_PAUSE_KEY), 1);
    EXPECT_TRUE(scene.paused);
    EXPECT_TRUE(scene.userPaused);
    EXPECT_FALSE(scene.CanResumeMusic());
    EXPECT_EQ(scene.OnKeyDown(VK_PAUSE_KEY), 1);
    EXPECT_FALSE(scene.paused);

    scene.pauseAllowed = 0;
    EXPECT_EQ(scene.OnKeyDown(VK_PAUSE_KEY), 1);
    EXPECT_FALSE(scene.paused);

    EXPECT_EQ(scene.OnKeyDown(VK_ESCAPE_KEY), 0);
    scene.PagedOverlayNext();
    scene.paused = 1;
    scene.pagedOverlayFrame.reset(MakeFrame(4, 4, 0, 0));
    EXPECT_EQ(scene.OnKeyDown(VK_ESCAPE_KEY), 1);
    EXPECT_FALSE(scene.pagedOverlayShown);
    EXPECT_EQ(scene.pagedOverlayFrame, nullptr);
    EXPECT_FALSE(scene.paused);
    EXPECT_EQ(scene.OnKeyDown(VK_NUMPAD9_KEY), 1);
    EXPECT_EQ(scene.OnKeyDown('A'), 0);
}

TEST_F(SceneKeys, GameSceneKeepsDirectionFlagsAndRunsOnFirstKeyOnce) {
    struct Game : CGame {
        using CGame::CGame;
        void OnFirstKey() override {
            ++firstKeys;
            CGame::OnFirstKey();
        }
        int firstKeys = 0;
    } game(screen, 0, 0, 0, 0, 1);
    EXPECT_EQ(game.perGameValue, 870);
    EXPECT_EQ(game.OnKeyDown(VK_NUMPAD4_KEY), 1);
    EXPECT_EQ(game.OnKeyDown(VK_UP_KEY), 1);
    EXPECT_EQ(game.OnKeyDown(VK_CONTROL_KEY), 1);
    EXPECT_TRUE(game.keyHorizontal && game.keyUp && game.keyControl && !game.keyDown);
    EXPECT_EQ(game.OnKeyUp(VK_UP_KEY), 0);
    EXPECT_FALSE(game.keyUp);
    EXPECT_EQ(game.OnKeyUp('Q'), 1);
    EXPECT_EQ(game.firstKeys, 1);
    EXPECT_EQ(game.OnEscape(), 1);

    // A click unpauses a paused game unless an overlay is up.
    game.Pause(1);
    game.secondOverlayShown = 1;
    game.OnLeftUp(1, 1);
    EXPECT_TRUE(game.paused);
    game.secondOverlayShown = 0;
    game.OnLeftUp(1, 1);
    EXPECT_FALSE(game.paused);
    game.musicHoldB = 1;
    EXPECT_FALSE(game.CanResumeMusic());
}
