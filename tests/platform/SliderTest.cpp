// The slider through real SDL mouse events: fractions, drags clamped to the
// track and ended far past its ends, the locked limit, the knob pictures, and
// which events it takes.

#include "EngineWindowSupport.h"
#include "common/CActorSlider.h"
#include "common/CSpriteA.h"

using namespace enginewin;

namespace {

constexpr int kSliderKey = 200;

}  // namespace

class SliderTest : public EngineWindowTest {
protected:
    void SetUp() override {
        EngineWindowTest::SetUp();
        scene = new ProbeScene(screen, "options");
        screen->scene = scene;
    }
    // A 20 x 20 knob (anchored at its top-left corner) on a track 100..200.
    CActorSlider* Slider(int position, int vertical = 0) {
        const int x = vertical ? 300 : position;
        const int y = vertical ? position : 300;
        return new CActorSlider(scene, x * 256, y * 256, 100 * 256, 100, 200, position, kSliderKey,
                                Picture(20, 20, false), vertical);
    }
    // Grabs a horizontal knob by its middle and drags it through the x values.
    void Drag(CActorSlider* slider, std::initializer_list<int> xs) {
        Press(slider->GetPosition() + 10, 310);
        for (int x : xs) Move(x, 310);
    }
    ProbeScene* scene = nullptr;
};

TEST_F(SliderTest, TheFractionIsMeasuredFromTheLeftOrFromTheBottom) {
    struct Case {
        int vertical;
        int position;
        float fraction;
    };
    const Case cases[] = {{0, 150, 0.5f}, {1, 150, 0.5f}, {1, 100, 1.0f}, {1, 200, 0.0f},
                          {0, 100, 0.0f}, {0, 200, 1.0f}, {0, 125, 0.25f}};
    for (const Case& c : cases) {
        CActorSlider* slider = Slider(c.position, c.vertical);
        EXPECT_FLOAT_EQ(slider->GetFraction(), c.fraction) << c.vertical << " " << c.position;
        EXPECT_EQ(slider->limit, c.vertical ? 99 : 201);  // past the end the fraction 1.0 is at
        EXPECT_EQ(slider->unlocked, 0);
        EXPECT_EQ(c.vertical ? slider->AbsoluteY() : slider->AbsoluteX(), c.position * 256);
    }
}

TEST_F(SliderTest, ADragMovesTheKnobTellsTheSceneAndEndsFarPastTheEnd) {
    struct Case {
        const char* name;
        std::vector<int> moves;
        int position;
        bool captured;
    };
    const Case cases[] = {
        {"within the track", {170}, 170, true},
        {"10 past the maximum", {210}, 200, true},
        {"16 past the maximum", {170, 216}, 200, false},
        {"15 past the minimum", {85}, 100, true},
        {"16 past the minimum", {84}, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CActorSlider* slider = Slider(150);
        gLog.clear();
        Press(160, 310);
        EXPECT_EQ(GetCaptureActor(), slider);
        std::vector<std::string> expected;
        int at = 150;
        for (int x : c.moves) {
            Move(x, 310);
            const int clamped = std::clamp(x, 100, 200);
            if (clamped != at) expected.push_back("options key-down " + std::to_string(kSliderKey));
            expected.push_back("options move " + std::to_string(x) + ",310");  // the cursor follows
            at = clamped;
        }
        EXPECT_EQ(gLog, expected);
        EXPECT_EQ(slider->GetPosition(), c.position);
        EXPECT_EQ(slider->AbsoluteX(), c.position * 256);
        EXPECT_EQ(GetCaptureActor() == slider, c.captured);
        Release(0, 0);
        EXPECT_EQ(GetCaptureActor(), nullptr);
        slider->Kill();
        slider->Hide();
    }
}

TEST_F(SliderTest, AFreshVerticalSliderDragsBothWays) {
    CActorSlider* slider = Slider(150, 1);
    Press(310, 160);
    Move(310, 110);
    EXPECT_EQ(slider->GetPosition(), 110);
    EXPECT_FLOAT_EQ(slider->GetFraction(), 0.9f);
    Move(310, 190);
    EXPECT_EQ(slider->GetPosition(), 190);
    Move(310, 80);
    EXPECT_EQ(slider->GetPosition(), 100);
    EXPECT_EQ(gLog, (std::vector<std::string>{"options key-down 200", "options move 310,110", "options key-down 200",
                                              "options move 310,190", "options key-down 200",
                                              "options move 310,80"}));
}

TEST_F(SliderTest, OnlyACapturingSliderTakesMovesButEveryReleaseOverItIsTaken) {
    CActorSlider* slider = Slider(150);
    Move(160, 310);  // over the knob, but not dragging
    Release(160, 310);
    EXPECT_EQ(gLog, (std::vector<std::string>{"options move 160,310"}));  // no left-up for the scene
    EXPECT_EQ(slider->GetPosition(), 150);

    CMouseEvent move{MOUSE_MOVE, 180, 310};
    EXPECT_EQ(slider->OnMouse(move), 0);
    EXPECT_EQ(slider->WantsMouse(move), 1);
    CMouseEvent right{MOUSE_RIGHT_DOWN, 160, 310};
    EXPECT_EQ(slider->WantsMouse(right), 0);
    EXPECT_EQ(slider->OnMouse(right), 0);
    // A disabled slider leaves every event to the scene.
    slider->SetEnabled(0);
    gLog.clear();
    Press(160, 310);
    EXPECT_EQ(gLog, (std::vector<std::string>{"options left-down 160,310"}));
    EXPECT_EQ(GetCaptureActor(), nullptr);
}

TEST_F(SliderTest, ALockedKnobStopsAtItsLimitButMayComeBack) {
    struct Case {
        const char* name;
        int vertical;
        int start;
        int target;
        int position;
    };
    const Case cases[] = {
        {"no further past the limit", 0, 140, 160, 140},
        {"back toward the limit", 0, 170, 160, 160},
        {"up to the limit", 0, 140, 150, 150},
        {"vertical: no further past", 1, 160, 140, 160},
        {"vertical: back toward it", 1, 130, 140, 140},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CActorSlider* slider = Slider(c.start, c.vertical);
        slider->SetLimit(150);
        EXPECT_EQ(slider->GetPosition(), c.start);  // placed while the limit was off
        const int grabX = c.vertical ? 310 : c.start + 10;
        const int grabY = c.vertical ? c.start + 10 : 310;
        Press(grabX, grabY);
        gLog.clear();
        if (c.vertical)
            Move(310, c.target);
        else
            Move(c.target, 310);
        EXPECT_EQ(slider->GetPosition(), c.position);
        // The scene hears of a move only when the knob moved.
        const bool told = !gLog.empty() && gLog.front().find("key-down") != std::string::npos;
        EXPECT_EQ(told, c.position != c.start);
        Release(0, 0);
        slider->Kill();
        slider->Hide();
    }
}

TEST_F(SliderTest, TheKnobPictureShowsTheSideOfTheLimitAndTheLock) {
    CSpriteArray two(2);
    two.Set(0, MakePicture(20, 20, false));
    two.Set(1, MakePicture(20, 20, false));
    two.count = 2;
    CSpriteArray four(4);
    for (int i = 0; i < 4; ++i) four.Set(i, MakePicture(20, 20, false));
    four.count = 4;

    struct Case {
        CSpriteArray* pictures;
        int unlocked;
        int position;
        int frame;  // -1: no picture
    };
    const Case cases[] = {
        {&two, 0, 140, 0},  {&two, 0, 150, 0},  {&two, 1, 170, -1}, {&two, 1, 140, -1},
        {&four, 0, 140, 0}, {&four, 1, 140, 2}, {&four, 1, 170, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.pictures->GetCount()) + " pictures at " + std::to_string(c.position));
        CActorSlider* slider = Slider(c.position);
        slider->SetLimit(150);
        slider->SetKnobPictures(c.pictures);
        slider->SetUnlocked(c.unlocked);
        slider->SetPosition(c.position);
        EXPECT_EQ(slider->frame, c.frame < 0 ? nullptr : c.pictures->Get(c.frame));
        slider->Kill();
        slider->Hide();
    }

    // Locked, a two-picture knob shows frame 1 beyond the limit once placed there unlocked.
    CActorSlider* slider = Slider(140);
    slider->SetLimit(150);
    slider->SetKnobPictures(&two);
    slider->SetUnlocked(1);
    slider->SetPosition(170);
    slider->SetUnlocked(0);
    EXPECT_EQ(slider->frame, two.Get(1));
    Press(180, 310);
    Move(145, 310);
    EXPECT_EQ(slider->frame, two.Get(0));
    Release(145, 310);
}
