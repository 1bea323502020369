// A button's label taken from the button itself: a new text record or text
// that points into the current label.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/EngineTestSupport.h"
#include "common/widgets/CActorButton.h"

using namespace enginetest;

using ButtonOwnLabel = EngineTest;

TEST_F(ButtonOwnLabel, ANewRecordOrTextMayBeTheButtonsOwnLabel) {
    struct Case {
        int newMaxLength;  // of the new record; 0: SetText instead
        int offset;        // where in the current label the new text starts
        const char* expected;
    };
    const Case cases[] = {
        {7, 0, "PLAYER1"}, {20, 0, "PLAYER1"}, {3, 0, "PLA"}, {7, 2, "AYER1"}, {0, 0, "PLAYER1"}, {0, 3, "YER1"},
    };
    LogScene scene(screen);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.newMaxLength) + "/" + std::to_string(c.offset));
        CTextRecord label;
        label.text = "PLAYER1";
        label.maxLength = 7;
        CActorButton button(label, CButtonRecord{}, &scene, 0, 0, 256, nullptr, 0);
        if (c.newMaxLength) {
            CTextRecord again = label;
            again.text = button.GetText() + c.offset;
            again.maxLength = c.newMaxLength;
            button.SetTextRecord(again);
        } else {
            button.SetText(button.GetText() + c.offset);
        }
        EXPECT_STREQ(button.GetText(), c.expected);
    }
}
