// Modal dialog layout and the dialog scene: button placement and keys, the
// answers by key and by button, the self-closing dialog, and keys off.

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/WidgetTestSupport.h"
#include "common/widgets/CActorHotspot.h"
#include "common/actors/CActorSprite.h"
#include "common/widgets/CDialogModal.h"
#include "common/scene/CInputRouting.h"
#include "common/widgets/CSceneDialog.h"

using namespace enginetest;
using namespace widgettest;

namespace {

void PressKey(int key) {
    DeliverKeyDown(key);
    DeliverKeyUp(key);
}

}  // namespace

class DialogTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        owner = new OwnerScene(screen, "owner");
        picture.reset(MakeFrame(300, 150, 0, 0));
        buttons = MakeFrames(2, 60, 30);
    }
    void TearDown() override {
        EngineTest::TearDown();  // the scenes go before the pictures they show
        buttons.reset();
        picture.reset();
    }
    // A dialog centred at (400, 300) with two push buttons answering 0 and 1.
    CSceneDialog* Open(int buttonCount, int keysOff = 0) {
        CButtonRecord record;
        record.mode = kButtonPush;
        record.key = '0' - 1;
        auto* dialog = new CSceneDialog(screen, owner, picture.get(), buttons.get(), nullptr, nullptr, record,
                                        buttonCount, 400, 300, -1, keysOff, 0);
        dialog->LoadAssets();
        dialog->Begin();
        return dialog;
    }
    void Click(CActor* button) {
        const int cx = (button->bounds.left + button->bounds.right) / 2;
        const int cy = (button->bounds.top + button->bounds.bottom) / 2;
        DeliverMouse(Mouse(MOUSE_LEFT_DOWN, cx, cy));
        DeliverMouse(Mouse(MOUSE_LEFT_UP, cx, cy));
    }

    OwnerScene* owner = nullptr;
    std::unique_ptr<CSprite> picture;
    std::unique_ptr<CSpriteArray> buttons;
};

TEST_F(DialogTest, ButtonsSpreadEvenlyAboveTheBottomEdgeWithConsecutiveKeys) {
    std::unique_ptr<CSprite> wide(MakeFrame(400, 200, 0, 0));
    auto frames = MakeFrames(6, 60, 30);
    CButtonRecord record;
    record.key = 47;
    const int x = 50 * 256, y = 80 * 256, z = 10 * 256;
    CDialogModal modal(owner, x, y, z, wide.get(), frames.get(), nullptr, record, 3, 0, 0);
    EXPECT_EQ(record.key, 50);  // the caller's record is left at key + count
    EXPECT_EQ(modal.background->bounds.left, 50);
    EXPECT_TRUE(modal.background->fixed);
    for (int i = 0; i < 3; ++i) {
        auto* button = static_cast<CActorButton*>(modal.buttons[i]);
        EXPECT_EQ(button->AbsoluteX(), x + (i + 1) * 100 * 256);
        EXPECT_EQ(button->AbsoluteY(), y + 200 * 256 - 30 * 128 - 35 * 256);
        EXPECT_EQ(button->z, z - 256);
        EXPECT_EQ(button->key, 48 + i);
        EXPECT_EQ(button->baseIndex, 2 * i);  // more than three frames: a pair per button
        EXPECT_TRUE(button->fixed);
        EXPECT_TRUE(button->hidden);
    }
    modal.ShowButtons();
    EXPECT_FALSE(modal.buttons[2]->hidden);
    modal.HideButtons();
    EXPECT_TRUE(modal.buttons[0]->hidden);
}

TEST_F(DialogTest, TwoButtonsFromKey47AreKeys0And1SharingTheirFrames) {
    CButtonRecord record;
    record.key = 47;
    CDialogModal modal(owner, 0, 0, 2560, picture.get(), buttons.get(), nullptr, record, 2, 0, 0);
    auto* no = static_cast<CActorButton*>(modal.buttons[0]);
    auto* yes = static_cast<CActorButton*>(modal.buttons[1]);
    EXPECT_EQ(no->key, '0');
    EXPECT_EQ(yes->key, '1');
    EXPECT_EQ(no->baseIndex, 0);
    EXPECT_EQ(yes->baseIndex, 0);
    EXPECT_EQ(no->AbsoluteX() >> 8, 100);
    EXPECT_EQ(yes->AbsoluteX() >> 8, 200);

    // More than eight buttons are held to eight.
    CDialogModal many(owner, 0, 0, 2560, picture.get(), buttons.get(), nullptr, record, 12, 0, 0);
    EXPECT_EQ(many.count, CDialogModal::kMaxButtons);
}

TEST_F(DialogTest, HotspotVariantCoversTheBackgroundWithDigitKeys) {
    CButtonRecord record;
    record.key = 47;
    CDialogModal modal(owner, 20 * 256, 30 * 256, 2560, picture.get(), nullptr, nullptr, record, 2, 300, 150);
    EXPECT_EQ(record.key, 47);
    auto* second = static_cast<CActorHotspot*>(modal.buttons[1]);
    EXPECT_EQ(second->commandId, '1');
    EXPECT_EQ(second->bounds.left, 20);
    EXPECT_EQ(second->bounds.bottom, 180);
    EXPECT_TRUE(second->hidden);
}

TEST_F(DialogTest, KeysAnswerOnReleaseAndTheOwnerCountsItsDialogs) {
    EXPECT_EQ(owner->openDialogs, 0);
    CSceneDialog* dialog = Open(2);
    EXPECT_EQ(owner->openDialogs, 1);
    // Centred on (400, 300): the 300 x 150 picture's corner is at (250, 225).
    EXPECT_EQ(dialog->modal->background->bounds.left, 250);
    EXPECT_EQ(dialog->modal->background->bounds.top, 225);

    EXPECT_EQ(DeliverKeyDown('Y'), 1);
    EXPECT_TRUE(owner->answers.empty());  // taken on the release
    DeliverKeyUp('Y');
    for (int key : std::initializer_list<int>{'N', '1', '0', '2', '3', 'y', 'n', 'X', 13}) PressKey(key);
    std::vector<int> codes;
    for (const auto& [from, code] : owner->answers) {
        EXPECT_EQ(from, dialog);
        codes.push_back(code);
    }
    EXPECT_EQ(codes, (std::vector<int>{1, 0, 1, 0, 2, 3, 1, 0}));
    // The keys went to the dialog, not to the scene under it.
    for (const auto& line : gLog) EXPECT_EQ(line.find("owner key"), std::string::npos) << line;

    delete dialog;
    EXPECT_EQ(owner->openDialogs, 0);
}

TEST_F(DialogTest, ButtonsAnswerLikeTheirKeysAndClicksBelowAreBlocked) {
    auto* below = new BoxActor(owner, "below", 0, 0, 20, 800, 600);
    below->wantsMouse = 1;
    CSceneDialog* dialog = Open(2);
    Click(dialog->modal->buttons[1]);
    Click(dialog->modal->buttons[0]);
    ASSERT_EQ(owner->answers.size(), 2u);
    EXPECT_EQ(owner->answers[0].second, 1);
    EXPECT_EQ(owner->answers[1].second, 0);
    // A click beside the picture reaches neither the dialog's buttons nor the scene below.
    DeliverMouse(Mouse(MOUSE_LEFT_DOWN, 10, 10));
    for (const auto& line : gLog) EXPECT_EQ(line.find("mouse below"), std::string::npos) << line;
    EXPECT_EQ(owner->answers.size(), 2u);
}

TEST_F(DialogTest, ADialogWithoutButtonsAnswers0Every2560Ticks) {
    CSceneDialog* dialog = Open(0);
    dialog->Tick();  // the first step of a new clock is 0
    int ticks = 0;
    while (owner->answers.empty() && ticks < 5000) {
        AdvanceTicks(25);
        dialog->Tick();
        ticks += 25;
    }
    EXPECT_EQ(ticks, 2575);  // 103 steps of 25 reach 2560
    ASSERT_EQ(owner->answers.size(), 1u);
    EXPECT_EQ(owner->answers[0], std::make_pair(static_cast<CScene*>(dialog), 0));
    EXPECT_EQ(dialog->selfCloseTimeLeft, 2560);
    for (int i = 0; i < 103; ++i) {
        AdvanceTicks(25);
        dialog->Tick();
    }
    EXPECT_EQ(owner->answers.size(), 2u);

    // One with buttons waits for ever.
    delete dialog;
    owner->answers.clear();
    CSceneDialog* asking = Open(2);
    for (int i = 0; i < 300; ++i) {
        AdvanceTicks(25);
        asking->Tick();
    }
    EXPECT_TRUE(owner->answers.empty());
}

TEST_F(DialogTest, WithKeysOffYAndNDoNothing) {
    Open(0, 1);
    EXPECT_EQ(DeliverKeyDown('Y'), 0);
    DeliverKeyUp('Y');
    PressKey('N');
    PressKey('1');
    EXPECT_TRUE(owner->answers.empty());
}
