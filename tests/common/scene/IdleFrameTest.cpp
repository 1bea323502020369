// Frames that show no change are neither drawn nor presented, and every kind
// of change is: counted in presents on the dummy driver with the software
// renderer, frame by frame through the screen as the application runs it.

#include <functional>
#include <memory>

#include "tests/support/EngineWindowSupport.h"
#include "common/actors/CActorAnim.h"
#include "common/widgets/CActorButton.h"
#include "common/actors/CActorFade.h"
#include "common/actors/CSpriteA.h"

using namespace enginewin;

namespace {

class IdleFrames : public EngineWindowTest {
protected:
    void SetUp() override {
        EngineWindowTest::SetUp();
        scene = new ProbeScene(screen, "board");
        screen->scene.reset(scene);
        shown = new ProbeSprite(scene, "shown", 10, 10, 20, Picture(16, 16, false));
        hidden = new ProbeSprite(scene, "hidden", 40, 10, 20, Picture(16, 16, false));
        hidden->Hide();
        strip = std::make_unique<CSpriteArray>(2);
        strip->Set(0, MakePicture(12, 12, false));
        strip->Set(1, MakePicture(12, 12, true));
        strip->count = 2;  // as loading them would say
        anim = new CActorAnim(scene, 80 * 256, 10 * 256, 20 * 256, strip.get(), CAnimParams{0, 0, 1.0f}, 0, 1);
        anim->stopped = 1;
        CTextRecord text;
        text.text = "0";
        text.maxLength = 4;
        label = new CActorButton(text, CButtonRecord{}, scene, 200 * 256, 10 * 256, 20 * 256, nullptr, 0);
        Settle();
    }
    void TearDown() override {
        // The scenes go first: the animation still points into the strip.
        while (CScene::Last()) delete CScene::Last();
        screen->scene.release();
        strip.reset();
        EngineWindowTest::TearDown();
    }
    long Presents() const { return MRenderDevice::Current()->GetPresentCount(); }
    // Frames of ticks game-clock ticks each; the presents they made.
    long RunFrames(int count, int ticks) {
        const long before = Presents();
        for (int i = 0; i < count; ++i) {
            AdvanceTicks(ticks);
            screen->Frame();
        }
        return Presents() - before;
    }
    // Runs frames until one presents nothing.
    void Settle() {
        for (int i = 0; i < 10 && RunFrames(1, 1) != 0; ++i) {
        }
    }

    ProbeScene* scene = nullptr;
    ProbeSprite* shown = nullptr;
    ProbeSprite* hidden = nullptr;
    std::unique_ptr<CSpriteArray> strip;
    CActorAnim* anim = nullptr;
    CActorButton* label = nullptr;
};

struct ChangeCase {
    const char* name;
    std::function<void(IdleFrames&)> change;
    int frames;
    int ticksPerFrame;
    long presents;
};

class IdleFrameChanges : public IdleFrames, public testing::WithParamInterface<ChangeCase> {
public:
    // The case's change reaches the fixture's actors through these.
    ProbeSprite* Shown() { return shown; }
    ProbeSprite* Hidden() { return hidden; }
    CActorAnim* Anim() { return anim; }
    CActorButton* Label() { return label; }
    ProbeScene* Scene() { return scene; }
    CSprite* NewPicture() { return Picture(8, 8, false); }
    void Expose() { Window(SDL_WINDOWEVENT_EXPOSED); }
    void Resize() { Window(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600); }
    void Activate() { Window(SDL_WINDOWEVENT_FOCUS_GAINED); }
};

void PrintTo(const ChangeCase& c, std::ostream* out) { *out << c.name; }

IdleFrameChanges& Fixture(IdleFrames& base) { return static_cast<IdleFrameChanges&>(base); }

const ChangeCase kChanges[] = {
    {"StillBoard", [](IdleFrames&) {}, 8, 4, 0},
    {"ShowingAnActor", [](IdleFrames& f) { Fixture(f).Hidden()->Show(); }, 8, 4, 1},
    {"HidingAnActor", [](IdleFrames& f) { Fixture(f).Shown()->Hide(); }, 8, 4, 1},
    {"ShowingAShownActor", [](IdleFrames& f) { Fixture(f).Shown()->Show(); }, 8, 4, 0},
    {"MovingAnActor", [](IdleFrames& f) { Fixture(f).Shown()->SetXY(30 * 256, 30 * 256); }, 8, 4, 1},
    {"MovingAHiddenActor", [](IdleFrames& f) { Fixture(f).Hidden()->SetXY(30 * 256, 30 * 256); }, 8, 4, 0},
    {"DepthOutOfSight", [](IdleFrames& f) { Fixture(f).Shown()->SetZ(0); }, 8, 4, 1},
    {"ScrollingAnActor", [](IdleFrames& f) { Fixture(f).Shown()->ScrollBy(5 * 256, 0); }, 8, 4, 1},
    {"NewActor", [](IdleFrames& f) { new ProbeSprite(Fixture(f).Scene(), "new", 5, 5, 20, Fixture(f).NewPicture()); },
     8, 4, 1},
    {"KillingAnActor", [](IdleFrames& f) { Fixture(f).Shown()->Kill(); }, 8, 4, 1},
    // Shown 8 ticks, hidden 8 ticks, then shown for good: two flips.
    {"OneBlink", [](IdleFrames& f) { Fixture(f).Shown()->Blink(1, 8, 8); }, 10, 4, 2},
    // A step every 4 ticks, one per frame: frame 0 again (the animation
    // starts over), frame 1, then it stops.
    {"AnimationSteps",
     [](IdleFrames& f) {
         CActorAnim* anim = Fixture(f).Anim();
         anim->SetAnimation(anim->frames, CAnimParams{0, 0, 64.0f}, 0, 0);
         anim->stopped = 0;
     },
     8, 4, 2},
    {"LabelText", [](IdleFrames& f) { Fixture(f).Label()->SetText("12"); }, 8, 4, 1},
    {"ButtonState", [](IdleFrames& f) { Fixture(f).Label()->SetState(kStateDisabled); }, 8, 4, 1},
    {"WindowExposed", [](IdleFrames& f) { Fixture(f).Expose(); }, 8, 4, 1},
    {"WindowResized", [](IdleFrames& f) { Fixture(f).Resize(); }, 8, 4, 1},
    {"WindowActivated", [](IdleFrames& f) { Fixture(f).Activate(); }, 8, 4, 1},
    {"DeviceReset", [](IdleFrames&) { MRenderDevice::Current()->OnDeviceReset(); }, 8, 4, 1},
};

}  // namespace

TEST_P(IdleFrameChanges, EachChangePresentsItsFramesAndNoMore) {
    ASSERT_EQ(RunFrames(4, 4), 0) << "the board did not settle";
    GetParam().change(*this);
    EXPECT_EQ(RunFrames(GetParam().frames, GetParam().ticksPerFrame), GetParam().presents);
    EXPECT_EQ(RunFrames(4, 4), 0);  // and still again afterwards
}

INSTANTIATE_TEST_SUITE_P(Changes, IdleFrameChanges, testing::ValuesIn(kChanges),
                         [](const testing::TestParamInfo<ChangeCase>& info) { return std::string(info.param.name); });

TEST_F(IdleFrames, EveryStepOfAFadeIsPresentedAndNothingAfterIt) {
    auto* fade = new CActorFade(scene, 0, 0, 10 * 256);
    scene->fade = fade;
    Settle();
    fade->Reveal(1);
    int frames = 0;
    long presents = 0;
    for (; fade->revealing && frames < 200; ++frames) presents += RunFrames(1, kFadeStepTicks32);
    EXPECT_EQ(fade->revealDone, 1);
    // A running fade changes the picture every frame, up to the one that hides it.
    EXPECT_EQ(presents, frames);
    EXPECT_GT(presents, kFadeStepCount32);
    EXPECT_EQ(RunFrames(4, 4), 0);
    scene->fade = nullptr;
}

TEST_F(IdleFrames, SkippedFramesStillUpdateAndTickTheScenes) {
    // Time goes on while nothing is drawn: a blink started during a still
    // spell flips on time.
    EXPECT_EQ(RunFrames(4, 4), 0);
    shown->Blink(1, 16, 16);
    EXPECT_EQ(RunFrames(3, 4), 0);
    EXPECT_EQ(RunFrames(1, 4), 1);
    EXPECT_TRUE(shown->hidden);
}

TEST_F(IdleFrames, AScreenDrawOutsideTheFrameAlwaysPresents) {
    const long before = Presents();
    screen->Draw();  // a move or a size change asks for it
    EXPECT_EQ(Presents() - before, 1);
    EXPECT_EQ(RunFrames(4, 4), 0);
}

// How long the loop may sleep after a quiet frame: until the next timed change.
struct IdleCase {
    const char* name;
    std::function<void(IdleFrameChanges&)> setUp;
    int milliseconds;  // -1: nothing timed
};

TEST_F(IdleFrameChanges, TheScreenSleepsUntilItsNextTimedChange) {
    const IdleCase cases[] = {
        {"still board", [](IdleFrameChanges&) {}, -1},
        {"blink due in 64 ticks", [](IdleFrameChanges& f) { f.Shown()->Blink(1, 64, 64); }, 250},
        {"animation stepping every 64 ticks",
         [](IdleFrameChanges& f) {
             f.Anim()->SetAnimation(f.Anim()->frames, CAnimParams{0, 0, 4.0f}, 0, 0);
             f.Anim()->stopped = 0;
         },
         250},
        {"moving actor", [](IdleFrameChanges& f) { f.Shown()->SetVelocity(256, 0, 0); f.Shown()->StartMoving(); }, 0},
        {"blink in a paused scene", [](IdleFrameChanges& f) { f.Shown()->Blink(1, 64, 64); f.Scene()->paused = 1; }, -1},
    };
    for (const IdleCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.setUp(*this);
        RunFrames(2, 0);
        EXPECT_EQ(screen->IdleMilliseconds(), c.milliseconds);
        shown->StopBlink();
        shown->StopMoving();
        shown->SetVelocity(0, 0, 0);
        anim->stopped = 1;
        scene->paused = 0;
        Settle();
    }
    EXPECT_EQ(RunFrames(1, 0), 0);
    label->SetText("7");
    EXPECT_EQ(screen->IdleMilliseconds(), 0) << "a change is drawn first";
}

TEST_F(IdleFrames, TheFrameAfterALongSleepStepsOverAllOfIt) {
    shown->Blink(1, 200, 200);
    RunFrames(2, 0);
    ASSERT_EQ(screen->IdleMilliseconds(), 782);
    // One frame 200 ticks later flips the blink, as 25-tick frames would have.
    EXPECT_EQ(RunFrames(1, 200), 1);
    EXPECT_TRUE(shown->hidden);
}
