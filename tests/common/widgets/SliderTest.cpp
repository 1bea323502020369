// The slider through real SDL mouse events: fractions, drags clamped to the
// track and ended far past its ends, the locked limit, the knob pictures, and
// which events it takes.

#include <algorithm>

#include "tests/support/EngineWindowSupport.h"
#include "common/widgets/CActorSlider.h"
#include "common/actors/CSpriteA.h"

using namespace enginewin;

class SliderTest : public EngineWindowTest {
protected:
    static constexpr int kKey = 200;
    void SetUp() override {
        EngineWindowTest::SetUp();
        scene = new ProbeScene(screen, "options");
        screen->scene.reset(scene);
    }
    // A 20 x 20 knob anchored at its top-left corner, on a track 100..200 at
    // x or y 300. The last one made is put out of the way.
    CActorSlider* Slider(int position, int vertical = 0) {
        if (last) last->Hide();
        const int x = vertical ? 300 : position;
        const int y = vertical ? position : 300;
        last = new CActorSlider(scene, x * 256, y * 256, 100 * 256, 100, 200, position, kKey, Picture(20, 20, false),
                                vertical);
        return last;
    }
    // Grabs the knob by its middle and moves the pointer to `to` on its axis.
    void Drag(CActorSlider* slider, int to) {
        const int grab = slider->GetPosition() + 10;
        Press(slider->vertical ? 310 : grab, slider->vertical ? grab : 310);
        gLog.clear();
        Move(slider->vertical ? 310 : to, slider->vertical ? to : 310);
    }
    ProbeScene* scene = nullptr;
    CActorSlider* last = nullptr;
};

TEST_F(SliderTest, TheFractionIsMeasuredFromTheLeftOrFromTheBottom) {
    const struct {
        int vertical, position;
        float fraction;
    } cases[] = {{0, 150, 0.5f}, {1, 150, 0.5f}, {1, 100, 1.0f}, {1, 200, 0.0f}, {0, 200, 1.0f}, {0, 125, 0.25f}};
    for (const auto& c : cases) {
        CActorSlider* slider = Slider(c.position, c.vertical);
        EXPECT_FLOAT_EQ(slider->GetFraction(), c.fraction) << c.vertical << " " << c.position;
        EXPECT_EQ(c.vertical ? slider->AbsoluteY() : slider->AbsoluteX(), c.position * 256);
    }
}

TEST_F(SliderTest, ADragMovesTheKnobTellsTheSceneAndEndsFarPastTheEnd) {
    const struct {
        int vertical, to, position;
        bool captured;
    } cases[] = {{0, 170, 170, true}, {0, 210, 200, true},  {0, 216, 200, false}, {0, 85, 100, true},
                 {0, 84, 100, false}, {1, 110, 110, true},  {1, 216, 200, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.vertical) + " to " + std::to_string(c.to));
        CActorSlider* slider = Slider(150, c.vertical);
        Drag(slider, c.to);
        const std::string at = c.vertical ? "310," + std::to_string(c.to) : std::to_string(c.to) + ",310";
        // The scene hears the command, then the move (so that the cursor follows).
        EXPECT_EQ(gLog, (std::vector<std::string>{"options key-down 200", "options move " + at}));
        EXPECT_EQ(slider->GetPosition(), c.position);
        EXPECT_EQ(GetCaptureActor() == slider, c.captured);
        Release(0, 0);
    }
}

TEST_F(SliderTest, OnlyACapturingSliderTakesMovesButEveryReleaseOverItIsTaken) {
    CActorSlider* slider = Slider(150);
    Move(160, 310);  // over the knob, but not dragging
    Release(160, 310);
    EXPECT_EQ(gLog, (std::vector<std::string>{"options move 160,310"}));  // no left-up for the scene
    EXPECT_EQ(slider->GetPosition(), 150);
    EXPECT_EQ(slider->OnMouse(CMouseEvent{MOUSE_MOVE, 180, 310}), 0);
    EXPECT_EQ(slider->WantsMouse(CMouseEvent{MOUSE_RIGHT_DOWN, 160, 310}), 0);
    // A disabled slider leaves every event to the scene.
    slider->SetEnabled(0);
    gLog.clear();
    Press(160, 310);
    EXPECT_EQ(gLog, (std::vector<std::string>{"options left-down 160,310"}));
}

TEST_F(SliderTest, ALockedKnobStopsAtItsLimitButMayComeBack) {
    const struct {
        int vertical, start, to, position;
    } cases[] = {{0, 140, 160, 140}, {0, 170, 160, 160}, {0, 140, 150, 150}, {1, 160, 140, 160}, {1, 130, 140, 140}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.vertical) + " from " + std::to_string(c.start));
        CActorSlider* slider = Slider(c.start, c.vertical);  // placed while no limit is set
        slider->SetLimit(150);
        Drag(slider, c.to);
        EXPECT_EQ(slider->GetPosition(), c.position);
        // The scene hears of a move only when the knob moved.
        EXPECT_EQ(gLog.front() == "options key-down 200", c.position != c.start);
        Release(0, 0);
    }
}

TEST_F(SliderTest, TheKnobPictureShowsTheSideOfTheLimitAndTheLock) {
    CSpriteArray two(2), four(4);
    for (int i = 0; i < 4; ++i) {
        if (i < 2) two.Set(i, MakePicture(20, 20, false));
        four.Set(i, MakePicture(20, 20, false));
    }
    two.count = 2;
    four.count = 4;
    const struct {
        CSpriteArray* pictures;
        int unlocked, position, frame;  // frame -1: no picture
    } cases[] = {{&two, 0, 140, 0},  {&two, 0, 150, 0},  {&two, 1, 170, -1},
                 {&four, 0, 140, 0}, {&four, 1, 140, 2}, {&four, 1, 170, 3}};
    for (const auto& c : cases) {
        CActorSlider* slider = Slider(c.position);
        slider->SetLimit(150);
        slider->SetKnobPictures(c.pictures);
        slider->SetUnlocked(c.unlocked);
        EXPECT_EQ(slider->frame, c.frame < 0 ? nullptr : c.pictures->Get(c.frame)) << c.position;
    }
    // Placed beyond the limit while unlocked, then locked: frame 1 until dragged back.
    CActorSlider* slider = Slider(140);
    slider->SetLimit(150);
    slider->SetKnobPictures(&two);
    slider->SetUnlocked(1);
    slider->SetPosition(170);
    slider->SetUnlocked(0);
    EXPECT_EQ(slider->frame, two.Get(1));
    Drag(slider, 135);
    EXPECT_EQ(slider->frame, two.Get(0));
    Release(0, 0);
}
