// The edit box: letters from key codes, caret keys, limits, read-only, and
// where the caret stands.

#include <gtest/gtest.h>

#include "tests/support/WidgetTestSupport.h"
#include "common/widgets/CEditBox.h"

using namespace enginetest;
using namespace widgettest;

class EditBoxTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        scene = new LogScene(screen);
        font = MakeFont(2);
    }
    // A left-aligned box at (100, 200) with a 12-character buffer.
    CEditBox* Box(int maxLength, const char* initial = "") {
        CTextRecord label;
        label.text = initial;
        label.maxLength = 12;
        label.font = font.get();
        label.hAlign = kAlignLeft;
        auto* box = new CEditBox(scene, 100 * 256, 200 * 256, 300 * 256, label, CButtonRecord{});
        box->SetMaxLength(maxLength);
        return box;
    }
    void Type(CEditBox* box, const char* keys) {
        for (const char* k = keys; *k; ++k) EXPECT_EQ(box->OnKey(static_cast<unsigned char>(*k)), 1);
    }

    LogScene* scene = nullptr;
    std::unique_ptr<CFont> font;
};

TEST_F(EditBoxTest, LettersGoInAtTheCaretUpToTheMaximum) {
    CEditBox* box = Box(3);
    Type(box, "ABC");
    EXPECT_STREQ(box->GetText(), "ABC");
    Type(box, "D");
    EXPECT_STREQ(box->GetText(), "ABC");
    EXPECT_EQ(box->caretPosition, 3);

    box->SetMaxLength(7);
    box->OnKey(VK_HOME_KEY);
    box->OnKey(39);  // Right
    Type(box, "X");
    EXPECT_STREQ(box->GetText(), "AXBC");
    EXPECT_EQ(box->caretPosition, 2);
    // Anything but a letter or a caret key is taken and ignored.
    Type(box, "1 ");
    EXPECT_EQ(box->OnKey(112), 1);
    EXPECT_STREQ(box->GetText(), "AXBC");
}

TEST_F(EditBoxTest, BackspaceAtTheStartAndDeleteAtTheEndDoNothing) {
    CEditBox* box = Box(7);
    Type(box, "ABCD");
    box->OnKey(VK_DELETE_KEY);  // caret at the end
    EXPECT_STREQ(box->GetText(), "ABCD");
    box->OnKey(37);  // Left
    box->OnKey(VK_BACK_KEY);
    EXPECT_STREQ(box->GetText(), "ABD");
    EXPECT_EQ(box->caretPosition, 2);
    box->OnKey(VK_DELETE_KEY);
    EXPECT_STREQ(box->GetText(), "AB");
    EXPECT_EQ(box->caretPosition, 2);

    box->OnKey(VK_HOME_KEY);
    box->OnKey(VK_BACK_KEY);
    EXPECT_STREQ(box->GetText(), "AB");
    EXPECT_EQ(box->caretPosition, 0);
    box->OnKey(100);  // keypad 4 cannot go below 0
    EXPECT_EQ(box->caretPosition, 0);
    box->OnKey(VK_END_KEY);
    box->OnKey(102);  // keypad 6 cannot go past the end
    EXPECT_EQ(box->caretPosition, 2);
}

TEST_F(EditBoxTest, ReadOnlyBoxKeepsItsTextButTheCaretStillMoves) {
    CEditBox* box = Box(7, "ABC");
    box->SetReadOnly(1);
    EXPECT_TRUE(box->GetCaret()->hidden);
    box->SetText("XYZ");
    Type(box, "D");
    box->OnKey(VK_BACK_KEY);
    box->OnKey(VK_DELETE_KEY);
    EXPECT_STREQ(box->GetText(), "ABC");
    EXPECT_EQ(box->caretPosition, 2);  // only the caret moved

    // Showing a read-only box leaves its caret hidden.
    box->Hide();
    box->Show();
    EXPECT_TRUE(box->GetCaret()->hidden);

    // The way to change it: clear read-only, set, set read-only again.
    box->SetReadOnly(0);
    EXPECT_FALSE(box->GetCaret()->hidden);
    EXPECT_TRUE(box->GetCaret()->blinking);
    box->SetText("XYZ");
    box->SetReadOnly(1);
    EXPECT_STREQ(box->GetText(), "XYZ");

    box->SetAcceptsKeys(0);
    EXPECT_EQ(box->OnKey('A'), 0);
}

TEST_F(EditBoxTest, MaximumLengthCutsAndTheBufferIsNeverOverrun) {
    CEditBox* box = Box(7, "ABCD");
    box->SetMaxLength(2);
    EXPECT_STREQ(box->GetText(), "AB");
    EXPECT_LE(box->caretPosition, 2);

    // A maximum above the label buffer's 12 characters stops at the buffer.
    box->SetMaxLength(40);
    Type(box, "CDEFGHIJKLMNOP");
    EXPECT_STREQ(box->GetText(), "ABCDEFGHIJKL");
}

TEST_F(EditBoxTest, SetTextStripsLeadingZerosButKeepsALastDigit) {
    CEditBox* box = Box(7);
    box->SetText("007", 1);
    EXPECT_STREQ(box->GetText(), "7");
    EXPECT_EQ(box->caretPosition, 1);
    box->SetText("000", 1);
    EXPECT_STREQ(box->GetText(), "0");
    box->SetText("0", 1);
    EXPECT_STREQ(box->GetText(), "0");
    box->SetText("0100", 0);
    EXPECT_STREQ(box->GetText(), "0100");
    EXPECT_EQ(box->caretPosition, 4);
}

TEST_F(EditBoxTest, CaretStandsAfterTheMeasuredTextAndBlinksForEver) {
    CEditBox* box = Box(7);
    CActorButton* caret = box->GetCaret();
    EXPECT_EQ(caret->z, box->z - 1);
    EXPECT_EQ(caret->y, box->y - 3 * 256);
    EXPECT_EQ(caret->x >> 8, 100 - 3);
    Type(box, "AB");  // 12 + 14 pixels with the spacing
    EXPECT_EQ(caret->x >> 8, 100 + 26 - 3);
    box->OnKey(37);
    EXPECT_EQ(caret->x >> 8, 100 + 12 - 3);

    EXPECT_TRUE(caret->blinking);
    EXPECT_EQ(caret->blinkChanges, 0);  // endless
    EXPECT_EQ(caret->shownPeriod, 192);
    EXPECT_EQ(caret->hiddenPeriod, 192);
    box->Hide();
    EXPECT_TRUE(caret->hidden);
    EXPECT_FALSE(caret->blinking);
    box->ToggleVisible();
    EXPECT_FALSE(box->hidden);
    EXPECT_TRUE(caret->blinking);
}
