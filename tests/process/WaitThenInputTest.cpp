// The loop sleeps towards the next timed change; a key that wakes it early
// must not let what it sets moving step over the time slept.

#include "tests/support/ProgramTestSupport.h"
#include "common/actors/CActorSprite.h"
#include "game/play/CActorDie.h"

namespace e2e {
namespace {

class WaitThenInput : public ProgramTest {};

TEST_F(WaitThenInput, ARollStartedByAKeyAfterAWaitFallsOneFrameStepInItsFirstFrame) {
    StoreDword("Fullscreen", 0);
    ASSERT_NO_FATAL_FAILURE(StartProgram(3));
    // Frames until the board rests with only a timed change ahead (the caret's blink).
    int wait = 0;
    const auto resting = [&] {
        const CPlayScene* scene = Scene();
        return scene->rollButton && !scene->rollButton->hidden && (!scene->pasIntro || scene->pasIntro->hidden) &&
               (wait = Screen()->IdleMilliseconds()) > 0;
    };
    for (int i = 0; i < 400 && !resting(); ++i) Frame(25);
    ASSERT_GT(wait, 0);
    const int slept = wait * 256 / 1000;  // the whole wait, in ticks, as the loop sleeps it
    ASSERT_GT(slept, 2 * kMaxStepTicks);
    const CActorDie* first = Scene()->dice[0];
    const int top = first->y;
    gNanos += static_cast<std::int64_t>(slept - 1) * 1'000'000'000 / 256;  // woken just before it ends
    Tap(SDLK_RETURN);
    Frame(1);
    const int fell = first->y - top;
    // Then a frame after one more tick and 25 ticks: the fall per tick, measured.
    Frame(kMaxStepTicks);
    const int perStep = first->y - top - fell;
    EXPECT_GT(perStep, 0);
    EXPECT_LE(fell, perStep + 256) << "fell " << fell / 256.0 << " px in its first frame";
}

}  // namespace
}  // namespace e2e
