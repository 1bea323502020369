// Button actors: presses, captures and releases as keys of the top scene; the
// modes and the disabled state; bounds and labels without frames.

#include <gtest/gtest.h>

#include "tests/support/WidgetTestSupport.h"
#include "common/widgets/CActorButton.h"
#include "common/scene/CInputRouting.h"

using namespace enginetest;
using namespace widgettest;

namespace {

CButtonRecord Record(int mode, int key) {
    CButtonRecord record;
    record.mode = mode;
    record.key = key;
    record.mouseEnabled = 1;
    return record;
}

// Keys the scene saw, without the mouse lines.
std::vector<std::string> Keys() {
    std::vector<std::string> keys;
    for (const auto& line : gLog)
        if (line.find(" key-") != std::string::npos) keys.push_back(line);
    return keys;
}

}  // namespace

class ButtonTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        scene = new LogScene(screen);
    }
    // A 40 x 20 button centred on (100, 100).
    CActorButton* Button(int mode, int key, CSpriteArray* frames) {
        return new CActorButton(CTextRecord{}, Record(mode, key), scene, 100 * 256, 100 * 256, 300 * 256, frames, 0);
    }
    LogScene* scene = nullptr;
};

TEST_F(ButtonTest, PushButtonGoesDownOnPressAndUpOnReleaseSendingBothKeys) {
    auto frames = MakeFrames(2, 40, 20);
    CActorButton* button = Button(kButtonPush, 'R', frames.get());
    EXPECT_EQ(button->bounds.left, 80);
    EXPECT_EQ(button->bounds.bottom, 110);

    EXPECT_EQ(DeliverMouse(Mouse(MOUSE_LEFT_DOWN, 100, 100)), 1);
    EXPECT_EQ(button->state, kStateDown);
    EXPECT_EQ(button->GetSprite(), frames->Get(1));
    EXPECT_EQ(GetCaptureActor(), button);
    EXPECT_EQ(Keys(), std::vector<std::string>{"scene key-down 82"});

    // While held, a further press cannot push it past its last frame.
    EXPECT_EQ(DeliverMouse(Mouse(MOUSE_LEFT_DOWN, 100, 100)), 0);
    EXPECT_EQ(button->state, kStateDown);
    // Moves go to the capturing button and do nothing.
    EXPECT_EQ(DeliverMouse(Mouse(MOUSE_MOVE, 101, 101)), 0);

    EXPECT_EQ(DeliverMouse(Mouse(MOUSE_LEFT_UP, 105, 102)), 1);
    EXPECT_EQ(button->state, kStateUp);
    EXPECT_EQ(button->GetSprite(), frames->Get(0));
    EXPECT_EQ(GetCaptureActor(), nullptr);
    EXPECT_EQ(Keys(), (std::vector<std::string>{"scene key-down 82", "scene key-up 82"}));
}

TEST_F(ButtonTest, ReleaseOutsideSendsThePressOnlyButStillRestoresTheButton) {
    auto frames = MakeFrames(2, 40, 20);
    CActorButton* button = Button(kButtonPush, 'R', frames.get());
    DeliverMouse(Mouse(MOUSE_LEFT_DOWN, 90, 95));
    EXPECT_EQ(DeliverMouse(Mouse(MOUSE_LEFT_UP, 300, 300)), 1);
    EXPECT_EQ(button->state, kStateUp);
    EXPECT_EQ(GetCaptureActor(), nullptr);
    EXPECT_EQ(Keys(), std::vector<std::string>{"scene key-down 82"});
    // The release went to the button, not to the scene.
    for (const auto& line : gLog) EXPECT_EQ(line.find("left-up"), std::string::npos) << line;
}

TEST_F(ButtonTest, KeyReleaseIsDroppedWhenAnotherSceneCameOnTopMeanwhile) {
    auto frames = MakeFrames(2, 40, 20);
    Button(kButtonPush, 'R', frames.get());
    DeliverMouse(Mouse(MOUSE_LEFT_DOWN, 100, 100));
    // Constructing a scene releases the capture, so the release goes nowhere.
    LogScene dialog(screen, "dialog");
    DeliverMouse(Mouse(MOUSE_LEFT_UP, 100, 100));
    EXPECT_EQ(Keys(), std::vector<std::string>{"scene key-down 82"});
}

TEST_F(ButtonTest, OneFramePushButtonDoesNothing) {
    auto frames = MakeFrames(1, 40, 20);
    CActorButton* button = Button(kButtonPush, 'R', frames.get());
    EXPECT_EQ(DeliverMouse(Mouse(MOUSE_LEFT_DOWN, 100, 100)), 0);
    EXPECT_EQ(button->state, kStateUp);
    EXPECT_EQ(GetCaptureActor(), nullptr);
    EXPECT_TRUE(Keys().empty());
}

TEST_F(ButtonTest, DisabledButtonsSendNothingAndKeepTheirState) {
    auto frames = MakeFrames(3, 40, 20);
    for (int mode : {kButtonPlain, kButtonLatch, kButtonToggle, kButtonPush}) {
        gLog.clear();
        CActorButton* button = Button(mode, 'R', frames.get());
        button->SetState(kStateDisabled);
        EXPECT_EQ(button->disabled, 1);
        EXPECT_EQ(DeliverMouse(Mouse(MOUSE_LEFT_DOWN, 100, 100)), 0) << "mode " << mode;
        EXPECT_EQ(button->state, kStateDisabled) << "mode " << mode;
        EXPECT_EQ(GetCaptureActor(), nullptr);
        EXPECT_TRUE(Keys().empty()) << "mode " << mode;
        button->SetState(kStateUp);
        EXPECT_EQ(button->disabled, 0);
        button->Hide();
    }
}

TEST_F(ButtonTest, LatchTurnsOnTogglesFlipAndPlainButtonsOnlySendTheirKey) {
    auto frames = MakeFrames(2, 40, 20);
    CActorButton* latch = Button(kButtonLatch, 'L', frames.get());
    DeliverMouse(Mouse(MOUSE_LEFT_DOWN, 100, 100));
    DeliverMouse(Mouse(MOUSE_LEFT_DOWN, 100, 100));
    EXPECT_EQ(latch->state, kStateDown);  // stays on until the scene turns it off
    EXPECT_EQ(GetCaptureActor(), nullptr);
    latch->Hide();

    CActorButton* toggle = Button(kButtonToggle, 'T', frames.get());
    DeliverMouse(Mouse(MOUSE_LEFT_DOWN, 100, 100));
    EXPECT_EQ(toggle->state, kStateDown);
    DeliverMouse(Mouse(MOUSE_LEFT_DOWN, 100, 100));
    EXPECT_EQ(toggle->state, kStateUp);
    toggle->Hide();

    CActorButton* plain = Button(kButtonPlain, 'P', frames.get());
    DeliverMouse(Mouse(MOUSE_LEFT_DOWN, 100, 100));
    EXPECT_EQ(plain->state, kStateUp);
    EXPECT_EQ(Keys(), (std::vector<std::string>{"scene key-down 76", "scene key-down 76", "scene key-down 84",
                                                "scene key-down 84", "scene key-down 80"}));

    // A plain button keeps its state while its scene is paused.
    scene->paused = 1;
    plain->SetState(kStateDown);
    EXPECT_EQ(plain->state, kStateUp);
    toggle->SetState(kStateDown);
    EXPECT_EQ(toggle->state, kStateDown);
}

TEST_F(ButtonTest, HiddenOrMouseDisabledButtonsLetTheClickThrough) {
    auto frames = MakeFrames(2, 40, 20);
    CActorButton* button = Button(kButtonPush, 'R', frames.get());
    button->mouseEnabled = 0;
    DeliverMouse(Mouse(MOUSE_LEFT_DOWN, 100, 100));
    button->mouseEnabled = 1;
    button->Hide();
    DeliverMouse(Mouse(MOUSE_LEFT_DOWN, 100, 100));
    EXPECT_TRUE(Keys().empty());
    EXPECT_EQ(gLog, (std::vector<std::string>{"scene left-down 100,100", "scene left-down 100,100"}));
}

TEST_F(ButtonTest, LabelIsCutAtItsMaximumLength) {
    CTextRecord label;
    label.text = "INITIALS";
    label.maxLength = 4;
    CActorButton button(label, Record(kButtonPlain, 0), scene, 0, 0, 256, nullptr, 0);
    EXPECT_STREQ(button.GetText(), "INIT");
    button.SetText("ABCDEFGHIJ");
    EXPECT_STREQ(button.GetText(), "ABCD");
    button.SetText(nullptr);
    EXPECT_STREQ(button.GetText(), "");

    label.text = "LONGER LABEL";
    label.maxLength = 12;
    button.SetTextRecord(label);
    EXPECT_STREQ(button.GetText(), "LONGER LABEL");

    // A number display starts at 0.
    CButtonRecord number = Record(kButtonPlain, 0);
    number.digits = 5;
    label.text = "";
    CActorButton digits(label, number, scene, 0, 0, 256, nullptr, 0);
    EXPECT_STREQ(digits.GetText(), "0");
}

TEST_F(ButtonTest, FramelessBoundsFollowTheAlignmentAndShiftWhenPressed) {
    auto font = MakeFont(2);
    CTextRecord label;
    label.text = "AB";  // (10 + 2) + (12 + 2) = 26 wide, 16 high
    label.maxLength = 8;
    label.font = font.get();
    label.hAlign = kAlignCentre;
    label.vAlign = kAlignTop;
    CButtonRecord record = Record(kButtonPush, 'K');
    record.plainRect = 1;
    CActorButton button(label, record, scene, 100 * 256, 50 * 256, 256, nullptr, 0);
    EXPECT_EQ(button.GetStateCount(), 3);
    EXPECT_EQ(button.bounds.left, 79);
    EXPECT_EQ(button.bounds.right, 121);
    EXPECT_EQ(button.bounds.top, 50);
    EXPECT_EQ(button.bounds.bottom, 82);
    EXPECT_EQ(button.textLeft, 87);  // centred in the bounds
    EXPECT_EQ(button.textRight, 113);
    EXPECT_EQ(button.textTop, 58);
    EXPECT_EQ(button.textBottom, 74);

    button.SetState(kStateDown);
    EXPECT_EQ(button.bounds.left, 81);
    EXPECT_EQ(button.bounds.top, 52);
    EXPECT_EQ(button.textLeft, 89);

    label.hAlign = kAlignRight;
    label.vAlign = kAlignBottom;
    CActorButton right(label, record, scene, 100 * 256, 50 * 256, 256, nullptr, 0);
    EXPECT_EQ(right.bounds.right, 100);
    EXPECT_EQ(right.bounds.left, 58);
    EXPECT_EQ(right.bounds.bottom, 50);
    EXPECT_EQ(right.bounds.top, 18);
    EXPECT_EQ(right.textLeft, 66);
    EXPECT_EQ(right.textTop, 26);

    // Vertical: the widest glyph by the sum of line heights and spacing.
    label.vertical = 1;
    label.hAlign = kAlignLeft;
    label.vAlign = kAlignTop;
    CActorButton column(label, record, scene, 100 * 256, 50 * 256, 256, nullptr, 0);
    EXPECT_EQ(column.bounds.right - column.bounds.left, 12 + 16);
    EXPECT_EQ(column.bounds.bottom - column.bounds.top, 2 * 18 + 16);

    // A space is measured as it is drawn: the widest glyph, no spacing.
    label.vertical = 0;
    label.text = "A B";
    CActorButton spaced(label, record, scene, 100 * 256, 50 * 256, 256, nullptr, 0);
    EXPECT_EQ(spaced.textRight - spaced.textLeft, 12 + 12 + 14);

    // Without frames or a plain rectangle a button has one state.
    record.plainRect = 0;
    CActorButton text(label, record, scene, 0, 0, 256, nullptr, 0);
    EXPECT_EQ(text.GetStateCount(), 1);
}
