// The coach at the table: off until asked, advice on T until the player acts,
// and the review page after the game.
#include "tests/support/PlaySceneTestSupport.h"

#include <chrono>
#include <thread>

#include "game/play/coach/CCoachPanel.h"

namespace playtest {
namespace {

// The coach thinks on its own thread, in real time.
template <typename Ready>
bool WaitFor(harness::PlayDriver& driver, Ready ready) {
    for (int i = 0; i < 3000 && !ready(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        driver.Run(1);
    }
    return ready();
}

TEST_F(PlaySceneTest, TheCoachAdvisesOnTUntilThePlayerActsAndReviewsTheGameOnV) {
    Start();
    PastIntro();
    CCoachPanel* coach = scene->coachPanel.get();
    ASSERT_NE(coach, nullptr);
    RollAndSettle();
    EXPECT_FALSE(coach->AdviceShown());

    Tap(SDLK_t);
    // The answer comes from another thread: the loop must not sleep through it.
    // (a quarter of a second at most between looks).
    if (coach->Thinking()) {
        EXPECT_LE(scene->IdleTicks(), 64);
    }
    ASSERT_TRUE(WaitFor(*this, [&] { return coach->ShownAdvice() != nullptr; }));
    const coach::CoachAdvice& advice = *coach->ShownAdvice();
    ASSERT_GE(advice.choices.size(), 3u);
    EXPECT_GE(advice.choices[0].expected, advice.choices[2].expected);
    EXPECT_EQ(scene->board.rollsUsed, 1);  // asking changes nothing

    Click(MidX(Die(0, 2)), MidY(Die(0, 2)));
    Run(2);
    EXPECT_FALSE(coach->AdviceShown());

    PlayGame();
    ASSERT_TRUE(scene->IsGameOverFlag());
    Tap(SDLK_v);
    EXPECT_TRUE(coach->ReviewOpen());
    ASSERT_TRUE(WaitFor(*this, [&] { return coach->Review() != nullptr; }));
    EXPECT_EQ(coach->Review()->finalTotal, scene->board.Total());
    Tap(SDLK_v);
    EXPECT_FALSE(coach->ReviewOpen());
}

// A new game while the review thinks starts at once; the review is told to
// stop and collected later, never waited for on the game's thread.
TEST_F(PlaySceneTest, ANewGameDuringTheReviewSetsItAsideAndStartsAtOnce) {
    Start();
    PastIntro();
    CCoachPanel* coach = scene->coachPanel.get();
    PlayGame();
    Tap(SDLK_v);
    ASSERT_TRUE(coach->Thinking());
    Tap(SDLK_KP_PERIOD);
    EXPECT_FALSE(scene->gameOver);
    EXPECT_FALSE(coach->ReviewOpen());
    EXPECT_FALSE(coach->Thinking()) << "the frames need not wait for the old review";
    EXPECT_EQ(coach->RetiredReviews(), 1u);
    EXPECT_TRUE(WaitFor(*this, [&] { return coach->RetiredReviews() == 0; }));
    EXPECT_EQ(coach->Review(), nullptr);
}

TEST_F(PlaySceneTest, TDuringARollAnswersOnceTheDiceSettle) {
    Start();
    PastIntro();
    CCoachPanel* coach = scene->coachPanel.get();
    ASSERT_NE(coach, nullptr);
    Tap(SDLK_RETURN);
    Tap(SDLK_t);
    EXPECT_TRUE(coach->AdviceShown());
    EXPECT_EQ(coach->ShownAdvice(), nullptr);  // the dice still roll
    Settle();  // in game time, not a tick every 10 ms
    ASSERT_TRUE(WaitFor(*this, [&] { return coach->ShownAdvice() != nullptr; }));
    EXPECT_EQ(scene->board.rollsUsed, 1);
    EXPECT_FALSE(coach->ShownAdvice()->choices.empty());
}

}  // namespace
}  // namespace playtest
