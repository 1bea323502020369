// Number displays and the score display: clamping, the digits on the label,
// rebuilding only after a change, gradual adds, the bonus and the timed count.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "NumberTestSupport.h"

using namespace enginetest;
using namespace numbertest;

class NumberTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        scene = new LogScene(screen);
        font = MakeDigitFont();
    }
    void TearDown() override {
        // The displays go before the scene that holds their labels.
        delete panel;
        numbers.clear();
        EngineTest::TearDown();
    }
    CNumber* Number(int digits) {
        numbers.push_back(std::make_unique<CNumber>(scene, 300 * 256, 50 * 256, 100 * 256, DigitLabel(font.get()),
                                                    CButtonRecord{}, digits));
        return numbers.back().get();
    }
    // A score display that is also the panel's score.
    CScore* Score(int digits, int start) {
        panel = new CountingPanel(nullptr);
        panel->pScore = new CScore(panel, scene, 300 * 256, 50 * 256, 100 * 256, DigitLabel(font.get()),
                                   CButtonRecord{}, digits);
        panel->pScore->Set(start);
        panel->pScore->Refresh();
        return panel->pScore;
    }
    // The value's change in each of n frames.
    static std::vector<int> Deltas(CScore* score, int frames) {
        std::vector<int> deltas;
        for (int i = 0; i < frames; ++i) {
            const int before = score->GetValue();
            score->Refresh();
            deltas.push_back(score->GetValue() - before);
        }
        return deltas;
    }

    LogScene* scene = nullptr;
    std::unique_ptr<CFont> font;
    std::vector<std::unique_ptr<CNumber>> numbers;
    CountingPanel* panel = nullptr;
};

TEST_F(NumberTest, ValuesAreClampedAndShownWithoutLeadingZeros) {
    struct Case {
        int digits;
        int set;
        int add;
        const char* shown;
    };
    const Case cases[] = {
        {3, 1500, 0, "999"},                   // above the maximum
        {3, 1500, -2000, "0"},                 // and then below zero
        {5, 42, 0, "42"},                      // no padding
        {1, 0, 0, "0"},                        // zero is one digit
        {9, 0, INT_MAX, "999999999"},          // nine digits top out at 10^9 - 1
        {10, INT_MAX, 0, "2147483647"},        // ten digits top out at the largest 32-bit value
        {10, INT_MAX, INT_MAX, "2147483647"},  // and never wrap around
        {10, 5, INT_MIN, "0"},
        {0, 47, 0, "9"},                       // digits below 1 count as 1
        {14, 1000000000, 0, "1000000000"},     // and above 10 as 10
        {4, 1005, 0, "1005"},                  // inner zeros stay
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.digits) + " digits, " + std::to_string(c.set) + " + " + std::to_string(c.add));
        CNumber* number = Number(c.digits);
        number->Set(c.set);
        if (c.add) number->Add(c.add);
        number->Refresh();
        EXPECT_STREQ(number->GetLabel()->GetText(), c.shown);
        EXPECT_EQ(number->GetValue(), std::stoll(c.shown));
    }
}

TEST_F(NumberTest, TheLabelIsRebuiltOnlyAfterAChange) {
    CNumber* number = Number(5);
    CActorButton* label = number->GetLabel();
    EXPECT_STREQ(label->GetText(), "0");
    EXPECT_EQ(label->fixed, 1);

    number->Set(123);
    EXPECT_STREQ(label->GetText(), "0");  // not before the frame's refresh
    number->Refresh();
    EXPECT_STREQ(label->GetText(), "123");
    // Right edge on the anchor: three 10-pixel digits with 2 spacing each, 8 inset.
    EXPECT_EQ(label->bounds.right, 300);
    EXPECT_EQ(label->bounds.left, 300 - 36 - 16);

    // A frame without a change leaves the label alone.
    label->SetText("x");
    number->Refresh();
    number->Refresh();
    EXPECT_STREQ(label->GetText(), "x");
    number->Add(1);
    number->Refresh();
    EXPECT_STREQ(label->GetText(), "124");
}

TEST_F(NumberTest, GradualAddsArriveAStepAFrame) {
    struct Case {
        int amount;
        int step;
        std::vector<int> deltas;
    };
    const Case cases[] = {
        {-250, 25, {-25, -25, -25, -25, -25, -25, -25, -25, -25, -25, 0}},
        {30, 25, {25, 5, 0}},
        {-10, 25, {-25, 15, 0}},
        {100, 25, {25, 25, 25, 25, 0}},
        {40, 0, {40, 0}},  // without a step all of it at once, not never
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.amount) + " by " + std::to_string(c.step));
        CScore* score = Score(5, 1000);
        score->AddScore(c.amount, 1, c.step);
        EXPECT_EQ(score->GetValue(), 1000);  // nothing at once
        EXPECT_EQ(Deltas(score, static_cast<int>(c.deltas.size())), c.deltas);
        EXPECT_EQ(score->GetLabel()->GetText(), std::to_string(1000 + c.amount));
        delete panel;
        panel = nullptr;
    }
}

TEST_F(NumberTest, EveryAddTellsThePanelTheNewValue) {
    CScore* score = Score(7, 0);
    panel->pLives = new CNumber(scene, 0, 0, 100 * 256, DigitLabel(font.get()), CButtonRecord{}, 2);
    score->AddScore(99999, 0, 0);
    EXPECT_EQ(panel->lastChecked, 99999);
    EXPECT_EQ(panel->GetLives(), 0);
    score->AddScore(60, 1, 50);
    Deltas(score, 2);
    EXPECT_EQ(panel->bonusChecks, 3);
    EXPECT_EQ(panel->lastChecked, 100059);
    EXPECT_EQ(panel->GetLives(), 1);  // the 100000 mark was passed on the first step
    // Setting the score moves the bonus base with it.
    score->Set(250000);
    EXPECT_EQ(panel->nextBonusThreshold, 200000);
}

TEST_F(NumberTest, TheTimedCountAddsItsAmountEachFrameThenFinishesOnce) {
    struct Case {
        const char* name;
        int fast;
        int countFlag;
        int countValue;
        std::vector<int> deltas;
    };
    const std::vector<int> slow(25, 1000);
    std::vector<int> slowThenIdle = slow;
    slowThenIdle.push_back(0);
    const Case cases[] = {
        {"25 frames", 0, 0, 0, slowThenIdle},
        {"fast", 1, 0, 0, {25000, 0}},
        {"panel's length", 0, 1, 3, {1000, 1000, 1000, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CScore* score = Score(6, 0);
        panel->countFlag = c.countFlag;
        panel->countValue = c.countValue;
        score->StartCount();
        score->SetFastCount(c.fast);
        EXPECT_EQ(Deltas(score, static_cast<int>(c.deltas.size())), c.deltas);
        EXPECT_EQ(panel->countsFinished, 1);
        Deltas(score, 3);
        EXPECT_EQ(panel->countsFinished, 1);
        delete panel;
        panel = nullptr;
    }
}

TEST_F(NumberTest, AGradualAddLeavesTheCountsAmountAlone) {
    CScore* score = Score(6, 500);
    score->AddScore(-10, 1, 25);
    Deltas(score, 2);
    score->StartCount();
    EXPECT_EQ(Deltas(score, 2), (std::vector<int>{1000, 1000}));
    // A fast count started mid-way brings the rest; a reset ends the fast mode.
    score->SetFastCount(1);
    score->Reset(7, 8);
    EXPECT_EQ(score->fastCount, 0);
    EXPECT_EQ(score->GetValue(), 2490);  // a reset keeps the value
}

TEST_F(NumberTest, ABonusIsAddedOnceAndOnlyWhenThePanelAllowsIt) {
    CScore* score = Score(6, 100);
    panel->bonusFactor = 3;
    panel->RequestScoreBonus();
    EXPECT_EQ(Deltas(score, 2), (std::vector<int>{30000, 0}));
    panel->bonusAllowed = 0;
    panel->RequestScoreBonus();
    score->RequestBonus();
    EXPECT_EQ(Deltas(score, 1), (std::vector<int>{0}));
}
