#pragma once
// A board of 25 dice as the play scene builds it, on a real screen (SDL's dummy
// video driver), with the packed archive's die pictures and sounds on a real
// sound manager whose callback is paused, a game clock the test moves, and a
// scene that answers the dice the way the play scene does.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/scene/COptions.h"
#include "common/actors/CSpriteA.h"
#include "game/play/CActorDiceDrag.h"
#include "game/play/CActorDie.h"
#include "game/rules/CBoardState.h"
#include "game/rules/CScoreCells.h"
#include "game/play/DieAssets.h"
#include "game/rules/Random.h"
#include "platform/app/MApplication.h"
#include "platform/audio/MSound.h"
#include "platform/audio/MSoundManager.h"
#include "tests/support/EngineWindowSupport.h"

namespace dicetest {

using enginewin::AdvanceTicks;

// Holds the options record the dice read (DiceMoveMode).
class OptionsApp : public MApplication {
public:
    void OnExit() override {}
    const char* GetMakerName() override { return "Brevant"; }
    COptions* GetOptions() override { return &record; }
    COptions record;
};

class DiceScene : public CScene, public IDiceScene {
public:
    explicit DiceScene(CScreen* screen) : CScene(screen, 0, 0, 0, 0, 1), board(cells) {
        board.StartGame();
        for (int row = 0; row < kBoardRows; ++row) {
            CActorDie* right = nullptr;
            for (int col = kBoardCols - 1; col >= 0; --col) {
                right = new CActorDie(this, (300 + 50 * col) * 256, 118 * 256, 1000 * 256, right, DieIndex(row, col));
                dice[DieIndex(row, col)] = right;
            }
        }
        CreateDiceDrag(this);
        pDiceScene = this;
        ResetActors(0, 0);  // as a new game does: the dice wait at the top
    }
    ~DiceScene() override {
        if (pDiceScene == this) pDiceScene = nullptr;
    }

    CBoardState& DiceBoard() override { return board; }
    int DiceRollsUsed() override { return board.rollsUsed; }
    bool DiceGameOver() override { return gameOver != 0; }
    bool DiceSecondHalf() override { return board.IsSecondHalf(); }
    void OnDiePressed(CActorDie* die, DieButton button) override {
        log.push_back(std::string(button == DieButton::Left ? "press-left " : "press-right ") +
                      std::to_string(die->BoardIndex()));
    }
    void OnDieReleased(CActorDie* die, int x, int y, bool movable) override {
        log.push_back("release " + std::to_string(die->BoardIndex()) + " " + std::to_string(x) + "," +
                      std::to_string(y) + (movable ? " movable" : " fixed"));
    }
    void OnDieAtTop(CActorDie*) override {
        if (atTopHandled) return;  // the dice of one re-roll arrive together
        atTopHandled = true;
        Leftmost()->Drop(kRollingRow);
        PlayRollSound(board.rerolledCount);
    }

    CActorDie* Leftmost() { return dice[DieIndex(board.handIndex, 0)]; }
    CActorDie* Die(int row, int col) { return dice[DieIndex(row, col)]; }

    // The play scene's roll: the model decides, the dice show it.
    bool Roll() {
        const bool first = board.rollsUsed == 0;
        if (!board.Roll()) return false;
        if (first) {
            Leftmost()->Drop(kRollingRow);
            PlayRollSound(5);
        } else {
            atTopHandled = false;
            for (int col = 0; col < kBoardCols; ++col) {
                CActorDie* die = Die(board.handIndex, col);
                if (die->Row() < 0) die->Rise(-1);
            }
        }
        return true;
    }

    CScoreCells cells;
    CBoardState board;
    CActorDie* dice[kDieCount] = {};
    std::vector<std::string> log;
    bool atTopHandled = false;
    int gameOver = 0;
};

class DiceTest : public enginewin::EngineWindowTest {
protected:
    void SetUp() override {
        EngineWindowTest::SetUp();
        SeedRandom(1234);
        savedApp = gApplication;
        gApplication = &app;
        OpenSound();
        OpenArchive();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_EQ(LoadDieAssets(screen), 0);
        scene = new DiceScene(screen);
        screen->scene.reset(scene);
    }
    void TearDown() override {
        FreeDieAssets();
        EngineWindowTest::TearDown();  // deletes the scene and its dice
        gApplication = savedApp;
    }

    // Frames of at most `step` ticks until `ticks` have passed.
    void Run(int ticks, int step = 5) {
        while (ticks > 0) {
            const int now = ticks < step ? ticks : step;
            AdvanceTicks(now);
            CScene::UpdateAll();
            ticks -= now;
        }
    }
    // Frames until nothing of the current row moves or rolls.
    void Settle(int limit = 2000) {
        for (int t = 0; t < limit; t += 5) {
            bool busy = false;
            for (int col = 0; col < kBoardCols; ++col) {
                const DieState& d = scene->board.dice[DieIndex(scene->board.handIndex, col)];
                busy = busy || d.moving || d.rolling || d.rollPending;
            }
            if (!busy) return;
            Run(5);
        }
        ADD_FAILURE() << "the row never came to rest";
    }
    // Plays the die sound's voice on by some frames, as the device would.
    void Mix(int frames = 512) {
        std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
        MSoundManager::Get()->Mix(out.data(), frames);
    }
    MSound* Sound(DieSound which) { return DieAssets().sounds[which]; }
    // The pixel in the middle of a die.
    static int MidX(CActorDie* die) { return (die->bounds.left + die->bounds.right) / 2; }
    static int MidY(CActorDie* die) { return (die->bounds.top + die->bounds.bottom) / 2; }

    OptionsApp app;
    MApplication* savedApp = nullptr;
    DiceScene* scene = nullptr;
};

}  // namespace dicetest
