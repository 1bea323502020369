// The game scene driving its status panel, an animation played backwards to a
// stop, and the screen deleting the scenes laid over its current one.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/EngineTestSupport.h"
#include "common/actors/CActorAnim.h"
#include "common/scene/CGame.h"
#include "common/widgets/CSceneDialog.h"
#include "common/actors/CSpriteA.h"
#include "common/widgets/CStatus.h"

using namespace enginetest;

namespace {

// A panel that notes what its game asks of it.
class PanelProbe : public CStatus {
public:
    using CStatus::CStatus;
    ~PanelProbe() override { gLog.push_back("panel deleted"); }
    void Update(int elapsed) override { gLog.push_back("update " + std::to_string(elapsed)); }
    void ShowPausePicture(int show) override { gLog.push_back("show pause " + std::to_string(show)); }
    int HidePausePicture() override {
        gLog.push_back("hide pause");
        return 0;
    }
    void TurnEndHook() override { gLog.push_back("turn end"); }
};

class ModeGame : public CGame {
public:
    ModeGame(CScreen* screen, int gameMode) : CGame(screen, 0, 0, 0, 0, 1), mode(gameMode) {}
    int GetMode() override { return mode; }
    int mode;
};

}  // namespace

using GamePanel = EngineTest;

TEST_F(GamePanel, TickFeedsARunningGamesPanelAndPauseShowsItsPicture) {
    {
        ModeGame game(screen, 4);
        game.SetStatus(new PanelProbe(&game));
        game.Tick();  // the first step is 0
        AdvanceTicks(10);
        game.Tick();  // not running: the panel is left alone
        game.running = 1;
        AdvanceTicks(7);
        game.Tick();
        game.Pause(1);
        EXPECT_TRUE(game.paused);
        AdvanceTicks(5);
        game.Tick();  // paused: no time passes for the panel either
        game.Unpause();
        EXPECT_FALSE(game.paused);
        AdvanceTicks(40);
        game.Tick();  // a stall is cut to 25 ticks
    }
    EXPECT_EQ(gLog, (std::vector<std::string>{"update 7", "show pause 1", "update 0", "hide pause", "update 25",
                                              "panel deleted"}));
}

TEST_F(GamePanel, EndTurnMarksTheNamedAndTheCurrentPlayerOnlyInModeTwo) {
    struct Case {
        int mode;
        int index;
        int flag1[4];  // flag 3 follows flag 1 (it starts at 1 for everybody)
    };
    const Case cases[] = {
        {2, 2, {0, 1, 1, 0}},
        {2, -1, {0, 1, 0, 0}},
        {4, 2, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + "/" + std::to_string(c.index));
        gLog.clear();
        ModeGame game(screen, c.mode);
        auto* panel = new PanelProbe(&game);
        game.SetStatus(panel);
        for (int p = 0; p < 4; ++p) panel->SetPlayerFlag3(p, 0);
        game.currentPlayer = 1;
        game.pendingValue = 5;
        game.turnIndex = 3;
        game.EndTurn(c.index);
        EXPECT_EQ(game.pendingValue, 0);
        EXPECT_EQ(game.turnIndex, 0);
        EXPECT_EQ(gLog.front(), "turn end");
        for (int p = 0; p < 4; ++p) {
            EXPECT_EQ(panel->GetPlayerFlag1(p), c.flag1[p]) << p;
            EXPECT_EQ(panel->GetPlayerFlag3(p), c.flag1[p]) << p;
        }
    }
}

using AnimationBackwards = EngineTest;

TEST_F(AnimationBackwards, StopAtEndHaltsOnTheFirstFrameWhenPlayedDownwards) {
    struct Case {
        const char* name;
        int startIndex;
        int backwards;
        int pingPong;
        std::vector<int> indices;  // one update of a whole frame each
    };
    const Case cases[] = {
        {"downwards", 3, 1, 0, {3, 2, 1, 0, 0, 0}},
        {"there and back", 0, 0, 1, {0, 1, 2, 3, 2, 1, 0, 0, 0}},
    };
    CSpriteArray frames(4);
    for (int i = 0; i < 4; ++i) frames.Set(i, MakeFrame(i + 1, 1, 0, 0));
    frames.count = 4;
    LogScene scene(screen);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* glow = new CActorAnim(&scene, 0, 0, 256, 0, 1);
        glow->SetAnimation(&frames, CAnimParams{c.startIndex, 0, 10.0f}, 0, 0);
        glow->backwards = c.backwards;
        glow->SetPingPong(c.pingPong);
        std::vector<int> indices, shown;
        for (std::size_t i = 0; i < c.indices.size(); ++i) {
            glow->Update(25);
            indices.push_back(glow->index);
            shown.push_back(glow->frame ? glow->frame->w - 1 : -1);
        }
        EXPECT_EQ(indices, c.indices);
        EXPECT_EQ(shown, c.indices);
        EXPECT_TRUE(glow->stopped);
        EXPECT_FALSE(glow->dead);
    }
}

namespace {
class NotedScene : public LogScene {
public:
    using LogScene::LogScene;
    ~NotedScene() override { gLog.push_back("delete " + name); }
};
}  // namespace

using ScreenScenes = EngineTest;

TEST_F(ScreenScenes, ReleaseAndOnDestroyDeleteTheScenesOverTheCurrentOneNewestFirst) {
    for (const bool destroy : {false, true}) {
        SCOPED_TRACE(destroy ? "OnDestroy" : "Release");
        gLog.clear();
        auto* older = new NotedScene(screen, "older");
        auto* current = new NotedScene(screen, "current");
        screen->scene.reset(current);
        // A dialog over the current scene lowers its count when it goes, so
        // it must go first.
        new CSceneDialog(screen, current, nullptr, nullptr, nullptr, nullptr, CButtonRecord{}, 0, 400, 300, -1, 0, 0);
        new NotedScene(screen, "top");
        ASSERT_EQ(current->openDialogs, 1);
        if (destroy)
            screen->OnDestroy();
        else
            screen->Release();
        EXPECT_EQ(gLog, (std::vector<std::string>{"delete top", "delete current"}));
        EXPECT_EQ(screen->scene, nullptr);
        EXPECT_EQ(CScene::Last(), older);
        EXPECT_EQ(CScene::First(), older);
        delete older;
    }
}
