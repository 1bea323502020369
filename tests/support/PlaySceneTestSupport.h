#pragma once
// The play scene on the shared window harness, with a fresh settings store
// with an options record, a seeded Random and the harness's game clock.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/widgets/CActorButton.h"
#include "common/actors/CActorSprite.h"
#include "game/play/CActorDiceDrag.h"
#include "game/sheet/CScoreCell.h"
#include "game/sheet/CScoreSheet.h"
#include "game/play/DieAssets.h"
#include "game/rules/Random.h"
#include "game/sheet/ScoreSheetAssets.h"
#include "platform/audio/MSound.h"
#include "tests/support/GameHarness.h"
#include "tests/support/SettingsSandbox.h"

namespace playtest {

using harness::FakeNow;
using harness::gNanos;
using OptionsApplication = harness::OptionsApplication;
using PlayScreen = harness::RequestScreen;

class PlaySceneTest : public testing::Test, public harness::PlayDriver {
protected:
    using PlayDriver::Run;
    void SetUp() override {
        harness::StartClock();
        SeedRandom(1234);
        sandbox = std::make_unique<SettingsSandbox>();
        previousApp = gApplication;
        app = std::make_unique<OptionsApplication>();
        app->OpenRegistryRoot();
        gApplication = app.get();
        app->GetOptions()->Load();
        target = screen = new PlayScreen;
        ASSERT_NE(harness::OpenWindow(*screen), nullptr);
        ASSERT_TRUE(harness::OpenSound());
        ASSERT_TRUE(harness::OpenArchive(*screen, ZANBOR_BIN_DIR));
    }
    void TearDown() override {
        harness::CloseAll(screen);
        gApplication = previousApp;
        app.reset();
        sandbox.reset();
    }
    void Failed(const char* what) override { ADD_FAILURE() << what; }

    static FileSpec ArchiveSpec() { return harness::ArchiveSpec(ZANBOR_BIN_DIR); }
    COptions* Options() { return app->GetOptions(); }

    CPlayScene* Start() {
        Begin();
        EXPECT_EQ(loadResult, 0);
        return scene;
    }
    static bool Shown(const CActor* actor) { return actor && !actor->hidden; }
    void Settle() { ASSERT_TRUE(SettleRow()) << "the row never came to rest"; }
    void RollAndSettle() {
        Tap(SDLK_RETURN);
        Settle();
    }
    // Rows 0..4, each rolled once and scored into the next code.
    void PlayFirstHalf(const int codes[kFirstHalfHands]) {
        for (int row = 0; row < kFirstHalfHands; ++row) {
            RollAndSettle();
            Category(codes[row]);
            Settle();
        }
    }
    // A whole game: line 0 chosen by its key, the later lines as preselected.
    void PlayGame() {
        const int first[] = {108, 97, 98, 99, 100};
        PlayFirstHalf(first);
        Tap(SDLK_1);
        for (int code = 101; code <= 107; ++code) Category(code);
    }

    // Every sound of the scene, the dice and the sheet.
    std::vector<MSound*> Sounds() const {
        std::vector<MSound*> all{scene->assets.dialogOpenSound, scene->assets.introSound, gCellAssets.undoSound};
        for (MSound* s : DieAssets().sounds) all.push_back(s);
        for (MSound* s : gSheetAssets.sounds) all.push_back(s);
        return all;
    }
    std::vector<MSound*> Playing() const {
        std::vector<MSound*> playing;
        for (MSound* s : Sounds())
            if (s && s->IsPlaying()) playing.push_back(s);
        return playing;
    }
    void StopSounds() {
        for (MSound* s : Sounds())
            if (s) s->Stop();
    }
    static bool DiePlaying(DieSound which) { return DieAssets().sounds[which]->IsPlaying() != 0; }

    std::unique_ptr<SettingsSandbox> sandbox;
    std::unique_ptr<OptionsApplication> app;
    MApplication* previousApp = nullptr;
};

}  // namespace playtest
