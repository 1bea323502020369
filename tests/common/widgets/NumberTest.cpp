// Number displays and the score display: clamping, the digits on the label,
// rebuilding only after a change, gradual adds, the bonus and the timed count.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "tests/support/NumberTestSupport.h"
#include "formats/CFileMM.h"
#include "platform/storage/FileLocation.h"

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
        panel.reset();
        numbers.clear();
        EngineTest::TearDown();
    }
    CNumber* Number(int digits, CFont* labelFont) {
        numbers.push_back(std::make_unique<CNumber>(scene, 300 * 256, 50 * 256, 256, DigitLabel(labelFont),
                                                    CButtonRecord{}, digits));
        return numbers.back().get();
    }
    // A fresh panel whose score display starts at start.
    CScore* Score(int start) {
        panel = std::make_unique<CountingPanel>(nullptr);
        panel->pScore =
            std::make_unique<CScore>(panel.get(), scene, 0, 0, 256, DigitLabel(font.get()), CButtonRecord{}, 6);
        panel->pScore->Set(start);
        return panel->pScore.get();
    }
    // The score's change in each of n frames.
    std::vector<int> Deltas(int frames) {
        std::vector<int> deltas;
        for (int i = 0; i < frames; ++i) {
            const int before = panel->GetScore();
            panel->pScore->Refresh();
            deltas.push_back(panel->GetScore() - before);
        }
        return deltas;
    }

    LogScene* scene = nullptr;
    std::unique_ptr<CFont> font;
    std::vector<std::unique_ptr<CNumber>> numbers;
    std::unique_ptr<CountingPanel> panel;
};

TEST_F(NumberTest, ValuesAreClampedAndShownWithoutLeadingZeros) {
    struct Case {
        int digits, set, add;
        const char* shown;
    };
    const Case cases[] = {
        {3, 1500, 0, "999"},    {3, 1500, -2000, "0"},         {5, 42, 0, "42"},
        {4, 1005, 0, "1005"},   {9, 0, INT_MAX, "999999999"},  {10, INT_MAX, INT_MAX, "2147483647"},
        {10, 5, INT_MIN, "0"},  {0, 47, 0, "9"},               {14, 1000000000, 0, "1000000000"},
    };
    for (const Case& c : cases) {
        CNumber* number = Number(c.digits, font.get());
        number->Set(c.set);
        number->Add(c.add);
        number->Refresh();
        EXPECT_STREQ(number->GetLabel()->GetText(), c.shown) << c.digits << " digits, " << c.set << " + " << c.add;
        EXPECT_EQ(number->GetValue(), std::stoll(c.shown));
    }
}

TEST_F(NumberTest, TheLabelIsRebuiltOnlyAfterAChangeAndMeasuredInItsFont) {
    // The options pages' font from the packed archive: characters from 32 on, spacing 1.
    CFileMM archive;
    const std::string path = std::string(ZANBOR_BIN_DIR) + "/zanborassets.mm";
    ASSERT_EQ(archive.OpenArchive(MakeFileSpec(path.c_str()), kModeReadExisting), 0);
    archive.SeekEntry(7);
    std::unique_ptr<CFont> packed(LoadFont(32, archive, 1, 0));
    ASSERT_NE(packed, nullptr);

    CNumber* number = Number(3, packed.get());
    CActorButton* label = number->GetLabel();
    EXPECT_EQ(label->fixed, 1);
    number->Set(1500);
    EXPECT_STREQ(label->GetText(), "0");  // not before the frame's refresh
    number->Refresh();
    EXPECT_STREQ(label->GetText(), "999");
    // Right edge on the anchor; the label's own inset of 8 on both sides.
    EXPECT_EQ(label->bounds.right, 300);
    EXPECT_EQ(label->bounds.right - label->bounds.left, 3 * (packed->Advance('9') + 1) + 16);

    label->SetText("x");
    number->Refresh();  // nothing changed: the label is left alone
    EXPECT_STREQ(label->GetText(), "x");
    number->Add(-2000);
    number->Refresh();
    EXPECT_STREQ(label->GetText(), "0");
}

TEST_F(NumberTest, GradualAddsArriveAStepAFrame) {
    struct Case {
        int amount, step;
        std::vector<int> deltas;
    };
    const Case cases[] = {
        {-250, 25, {-25, -25, -25, -25, -25, -25, -25, -25, -25, -25, 0}},
        {30, 25, {25, 5, 0}},
        {-10, 25, {-25, 15, 0}},
        {40, 0, {40, 0}},  // without a step all of it at once, not never
    };
    for (const Case& c : cases) {
        CScore* score = Score(1000);
        score->AddScore(c.amount, 1, c.step);
        EXPECT_EQ(score->GetValue(), 1000);  // nothing at once
        EXPECT_EQ(Deltas(static_cast<int>(c.deltas.size())), c.deltas) << c.amount << " by " << c.step;
        EXPECT_EQ(score->GetLabel()->GetText(), std::to_string(1000 + c.amount));
    }
}

TEST_F(NumberTest, TheTimedCountAddsItsAmountEachFrameThenFinishesOnce) {
    struct Case {
        int fast, countFlag, countValue;
        std::vector<int> deltas;
    };
    std::vector<int> slow(25, 1000);
    slow.push_back(0);
    const Case cases[] = {{0, 0, 0, slow}, {1, 0, 0, {25000, 0}}, {0, 1, 3, {1000, 1000, 1000, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.fast) + " " + std::to_string(c.countValue));
        Score(0);
        panel->countFlag = c.countFlag;
        panel->countValue = c.countValue;
        panel->pScore->StartCount();
        panel->pScore->SetFastCount(c.fast);
        EXPECT_EQ(Deltas(static_cast<int>(c.deltas.size())), c.deltas);
        Deltas(3);
        EXPECT_EQ(panel->countsFinished, 1);
    }
    // A gradual add leaves the count's per-frame amount alone; a reset keeps the value.
    CScore* score = Score(500);
    score->AddScore(-10, 1, 25);
    Deltas(2);
    score->StartCount();
    EXPECT_EQ(Deltas(2), (std::vector<int>{1000, 1000}));
    score->SetFastCount(1);
    score->Reset(7, 8);
    EXPECT_EQ(Deltas(1), (std::vector<int>{1000}));
}

TEST_F(NumberTest, EveryChangeReachesThePanelAndABonusArrivesOnceWhenAllowed) {
    CScore* score = Score(0);
    panel->pLives = std::make_unique<CNumber>(scene, 0, 0, 256, DigitLabel(font.get()), CButtonRecord{}, 2);
    score->AddScore(99999, 0, 0);
    EXPECT_EQ(panel->GetLives(), 0);
    score->AddScore(60, 1, 50);
    Deltas(2);
    EXPECT_EQ(panel->bonusChecks, 3);
    EXPECT_EQ(panel->lastChecked, 100059);
    EXPECT_EQ(panel->GetLives(), 1);  // the 100000 mark was passed on the first step

    panel->bonusFactor = 3;
    panel->RequestScoreBonus();
    EXPECT_EQ(Deltas(2), (std::vector<int>{30000, 0}));
    panel->bonusAllowed = 0;
    score->RequestBonus();
    EXPECT_EQ(Deltas(1), (std::vector<int>{0}));
    // Setting the score moves the bonus base with it.
    score->Set(250000);
    EXPECT_EQ(panel->nextBonusThreshold, 200000);
}
