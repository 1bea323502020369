// The status panel: verdicts once per game, the bonus threshold, message lines,
// new games, the pause picture's answer, penalties, empty slots, and the game
// scene that runs its panel every frame.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "NumberTestSupport.h"
#include "WidgetTestSupport.h"
#include "common/CActorSlider.h"
#include "common/CEditBox.h"
#include "common/CGame.h"

using namespace enginetest;
using namespace numbertest;

namespace {

// A panel with every slot filled, as a game with all displays would build it.
class FullPanel : public CountingPanel {
public:
    FullPanel(CGame* game, CFont* font) : CountingPanel(game) {
        const CTextRecord digits = DigitLabel(font);
        pScore = new CScore(this, game, 0, 0, 256, digits, CButtonRecord{}, 7);
        pHighScore = new CScore(nullptr, game, 0, 0, 256, digits, CButtonRecord{}, 7);
        pCounter1 = new CCounter(game, 0, 0, 256, digits, CButtonRecord{}, 4);
        pLives = new CNumber(game, 0, 0, 256, digits, CButtonRecord{}, 2);
        pLevel = new CNumber(game, 0, 0, 256, digits, CButtonRecord{}, 5);
        pCounter2 = new CCounter(game, 0, 0, 256, digits, CButtonRecord{}, 4);
        pCounter3 = new CCounter(game, 0, 0, 256, digits, CButtonRecord{}, 4);
        pSlider = new CActorSlider(game, 0, 10 * 256, 256, 100, 200, 175, 0, nullptr, 0);
        pasGameOverPicture = new BoxActor(game, "over", 0, 0, 5);
        pasPausePicture = new BoxActor(game, "pause", 0, 0, 5);
        pasGameOverPicture->Hide();
        pasPausePicture->Hide();
        CTextRecord line;
        line.maxLength = 40;
        line.font = font;
        for (CEditBox** box : {&pMsgEditBox1, &pMsgEditBox2, &pMsgEditBox3}) {
            *box = new CEditBox(game, 400 * 256, 300 * 256, 256, line, CButtonRecord{});
            (*box)->SetMaxLength(40);
            (*box)->SetReadOnly(1);
            (*box)->Hide();
        }
    }
};

const char* Line(CEditBox* box) { return box->hidden ? "(hidden)" : box->GetText(); }

}  // namespace

class StatusPanelTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        game = new CGame(screen, 0, 0, 0, 0, 1);
        font = widgettest::MakeFont(1);
        digitFont = MakeDigitFont();
    }
    // The panel belongs to the game, as in play.
    FullPanel* Full(int players) {
        game->players = players;
        auto* panel = new FullPanel(game, font.get());
        game->SetStatus(panel);
        return panel;
    }

    CGame* game = nullptr;
    std::unique_ptr<CFont> font;
    std::unique_ptr<CFont> digitFont;
};

TEST_F(StatusPanelTest, AGameShowsAtMostOneVerdictUntilTheNextNewGame) {
    struct Case {
        int players;
        const char* noWinnerText;
    };
    const Case cases[] = {{1, "(hidden)"}, {2, CStatus::kNoWinnerBoth}, {3, CStatus::kNoWinnerAll},
                          {4, CStatus::kNoWinnerAll}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.players) + " players");
        FullPanel* panel = Full(c.players);
        panel->ShowNoWinner();
        EXPECT_STREQ(Line(panel->pMsgEditBox1), c.noWinnerText);
        EXPECT_EQ(panel->noWinnerShown, 1);
        panel->ShowWinner();  // blocked, even when nothing was shown
        EXPECT_STREQ(Line(panel->pMsgEditBox1), c.noWinnerText);

        panel->NewGame(1, 0);
        panel->ShowWinner();
        EXPECT_STREQ(Line(panel->pMsgEditBox1), "Winner!  Way to go!");
        EXPECT_EQ(panel->pMsgEditBox1->readOnly, 1);
        EXPECT_TRUE(panel->pMsgEditBox2->hidden);
        panel->ShowNoWinner();
        EXPECT_STREQ(Line(panel->pMsgEditBox1), "Winner!  Way to go!");
    }
}

TEST_F(StatusPanelTest, MessagesFillTheirLinesWithoutLeadingZeros) {
    FullPanel* panel = Full(1);
    panel->ShowMessage3("007", "0", "AB");
    EXPECT_STREQ(Line(panel->pMsgEditBox1), "7");
    EXPECT_STREQ(Line(panel->pMsgEditBox2), "0");
    EXPECT_STREQ(Line(panel->pMsgEditBox3), "AB");
    panel->ShowMessage2("0012", "X");
    EXPECT_STREQ(Line(panel->pMsgEditBox1), "12");
    EXPECT_STREQ(Line(panel->pMsgEditBox2), "X");
    EXPECT_STREQ(Line(panel->pMsgEditBox3), "(hidden)");
    panel->ShowMessage1("Hello");
    EXPECT_STREQ(Line(panel->pMsgEditBox2), "(hidden)");
    panel->ShowNotThisTime();
    EXPECT_STREQ(Line(panel->pMsgEditBox1), "Oh, no!  Not this time!");
    panel->ShowCongratulations();
    EXPECT_STREQ(Line(panel->pMsgEditBox1), "Congratulations!!");
    // The lines stay read-only and show no caret.
    for (CEditBox* box : {panel->pMsgEditBox1, panel->pMsgEditBox2, panel->pMsgEditBox3}) {
        EXPECT_EQ(box->readOnly, 1);
        EXPECT_TRUE(box->GetCaret()->hidden);
    }
}

TEST_F(StatusPanelTest, TheBonusThresholdStepsBy100000) {
    struct Case {
        int base;
        int threshold;
        int checked;
        int lives;
        int thresholdAfter;
    };
    const Case cases[] = {
        {250000, 200000, 299999, 0, 200000}, {250000, 200000, 300000, 1, 300000},
        {200000, 100000, 200000, 1, 200000}, {200001, 200000, 350000, 1, 300000},
        {100000, 0, 99999, 0, 0},            {100001, 100000, 199999, 0, 100000},
        {0, 0, 100000, 1, 100000},           {-5, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("base " + std::to_string(c.base) + ", checked " + std::to_string(c.checked));
        FullPanel* panel = Full(1);
        panel->SetBonusBase(c.base);
        EXPECT_EQ(panel->nextBonusThreshold, c.threshold);
        panel->CheckScoreBonus(c.checked);
        EXPECT_EQ(panel->GetLives(), c.lives);
        EXPECT_EQ(panel->nextBonusThreshold, c.thresholdAfter);
    }
}

TEST_F(StatusPanelTest, ANewGameResetsTheDisplaysAndTheCurrentPlayer) {
    FullPanel* panel = Full(2);
    game->currentPlayer = 1;
    panel->SetPlayerFlag1(1, 1);
    panel->SetPlayerFlag2(1, 1);
    panel->SetPlayerFlag1(0, 1);
    panel->penalty = 40;
    panel->extraAmount = 7;
    panel->pCounter1->Set(30);
    panel->pCounter3->Set(30);
    panel->pScore->Set(500);
    panel->pScore->SetFastCount(1);

    panel->NewGame(70000, 2);  // the level takes the first value as 16 bits
    EXPECT_EQ(panel->pLevel->GetValue(), 4464);
    EXPECT_EQ(panel->pCounter1->GetValue(), 0);
    EXPECT_EQ(panel->pCounter3->GetValue(), 0);
    EXPECT_EQ(panel->GetScore(), 500);  // the score display only leaves its fast mode
    EXPECT_EQ(panel->pScore->fastCount, 0);
    EXPECT_EQ(panel->pCounter2->stale, 1);  // the mark was player 0
    EXPECT_EQ(panel->currentPlayerMark, 1);
    EXPECT_EQ(panel->GetPlayerFlag1(1), 0);
    EXPECT_EQ(panel->GetPlayerFlag2(1), 0);
    EXPECT_EQ(panel->GetPlayerFlag1(0), 1);  // only the current player's flags
    EXPECT_EQ(panel->penalty, 0);
    EXPECT_EQ(panel->extraAmount, 0);
    EXPECT_EQ(panel->IsMarkStale(), 0);
    panel->NewGame(3, 0);
    EXPECT_EQ(panel->pCounter2->stale, 0);
    game->players = 1;
    EXPECT_EQ(panel->IsMarkStale(), 1);

    panel->ClearTables();
    EXPECT_EQ(panel->GetScore(), 0);
}

TEST_F(StatusPanelTest, HidingThePausePictureReportsWhatKeepsTheTurn) {
    struct Case {
        int pending;
        int flag1;
        int flag2;
        int result;
        int hold;
    };
    const Case cases[] = {{5, 1, 1, 5, 0}, {0, 3, 1, 3, 0}, {0, 0, 2, 2, 0}, {0, 0, 0, 0, 1}};
    for (const Case& c : cases) {
        FullPanel* panel = Full(2);
        game->currentPlayer = 2;
        game->pendingValue = c.pending;
        panel->SetPlayerFlag1(2, c.flag1);
        panel->SetPlayerFlag2(2, c.flag2);
        panel->ShowPausePicture(1);
        EXPECT_FALSE(panel->pasPausePicture->hidden);
        EXPECT_EQ(panel->HidePausePicture(), c.result);
        EXPECT_TRUE(panel->pasPausePicture->hidden);
        EXPECT_EQ(panel->pCounter2->hold, c.hold);
        panel->ShowPausePicture(0);  // no picture, but the counter runs again
        EXPECT_TRUE(panel->pasPausePicture->hidden);
        EXPECT_EQ(panel->pCounter2->hold, 0);
    }
    game->pendingValue = 0;
}

TEST_F(StatusPanelTest, PenaltiesComeOffTheScoreGradually) {
    FullPanel* panel = Full(2);
    panel->pScore->Set(1000);
    panel->penalty = 100;
    panel->MarkPlayerOut(3);
    EXPECT_EQ(panel->GetPlayerFlag2(3), 1);
    std::vector<int> scores;
    for (int i = 0; i < 5; ++i) {
        panel->Update(0);
        scores.push_back(panel->GetScore());
    }
    EXPECT_EQ(scores, (std::vector<int>{975, 950, 925, 900, 900}));

    // ApplyPenalty spares a current player whose flag 1 is set.
    panel->SetPlayerFlag1(0, 1);
    panel->ApplyPenalty();
    panel->Update(0);
    EXPECT_EQ(panel->GetScore(), 900);
    panel->SetPlayerFlag1(0, 0);
    panel->ApplyPenalty();
    panel->Update(0);
    EXPECT_EQ(panel->GetScore(), 875);
}

TEST_F(StatusPanelTest, FilledSlotsAnswerAndEmptySlotsAreSkipped) {
    FullPanel* full = Full(2);
    full->pCounter1->Set(12);
    full->SetLives(3);
    full->AddLives(2);
    full->AddToCounter3(4);
    full->SetBestScoreDisplay(250000);
    full->pCounter2->hold = 0;
    full->Update(600);  // two whole seconds on counter 2
    full->ShowGameOverPicture();
    EXPECT_FLOAT_EQ(full->GetCounter1Hundredths(), 1200.0f);
    EXPECT_EQ(full->GetLives(), 5);
    EXPECT_EQ(full->pCounter3->GetValue(), 4);
    EXPECT_EQ(full->GetCounter2(), 2);
    EXPECT_STREQ(full->pHighScore->GetLabel()->GetText(), "250000");
    EXPECT_EQ(full->nextBonusThreshold, 0);  // the best score does not move the bonus base
    EXPECT_FLOAT_EQ(full->GetSliderValue(), 0.75f);
    EXPECT_FALSE(full->pasGameOverPicture->hidden);

    CStatus empty(game);
    empty.ClearTables();
    empty.SetTableEntry(2, 1, 9);
    EXPECT_EQ(empty.GetTableEntry(2, 1), 9);
    empty.SetTableEntry(101, 0, 9);  // outside the table: ignored
    empty.SetTableEntry(0, 3, 9);
    EXPECT_EQ(empty.GetTableEntry(1, 0), CStatus::kTableEmpty);
    empty.ClearTableEntry(2, 1);
    EXPECT_EQ(empty.GetTableEntry(2, 1), CStatus::kTableEmpty);
    empty.SetPlayerFlag1(7, 1);  // no such player: ignored
    empty.MarkPlayerFlag1(1);
    empty.MarkPlayerOut(1);
    empty.ApplyPenalty();
    empty.SetBonusBase(500000);
    empty.CheckScoreBonus(900000);
    empty.ShowPausePicture(1);
    EXPECT_EQ(empty.HidePausePicture(), 0);  // the current player 0 has neither flag
    empty.ShowGameOverPicture();
    empty.ShowMessage3("a", "b", "c");
    empty.ShowWinner();
    empty.RequestScoreBonus();
    empty.ClearScoreFastCount();
    empty.AddToCounter3(5);
    empty.AddLives(1);
    empty.SetLives(4);
    empty.SetBestScoreDisplay(10);
    empty.Update(100);
    empty.NewGame(1, 2);
    EXPECT_EQ(empty.GetScore(), 0);
    EXPECT_EQ(empty.GetLives(), 0);
    EXPECT_EQ(empty.GetCounter2(), 0);
    EXPECT_FLOAT_EQ(empty.GetCounter1Hundredths(), 0.0f);
    EXPECT_FLOAT_EQ(empty.GetSliderValue(), 1.0f);
    EXPECT_EQ(empty.GetPlayerFlag1(1), 1);
    EXPECT_EQ(empty.GetPlayerFlag2(1), 1);
    EXPECT_EQ(empty.ScoreCategory('a'), 0);
}

TEST_F(StatusPanelTest, TheGameScenesTickRunsItsPanelEveryFrameWhileRunning) {
    FullPanel* panel = Full(1);
    panel->pScore->Set(1000);
    panel->pScore->AddScore(-100, 1, 25);
    game->Tick();
    EXPECT_EQ(panel->GetScore(), 1000);  // no game running: the panel rests
    game->running = 1;
    std::vector<std::string> shown;
    for (int i = 0; i < 5; ++i) {
        AdvanceTicks(4);
        game->Tick();
        shown.push_back(panel->pScore->GetLabel()->GetText());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"975", "950", "925", "900", "900"}));

    // A second panel replaces the first, which goes with everything it owned.
    game->SetStatus(new CStatus(game));
    EXPECT_EQ(game->status->pScore, nullptr);
}
