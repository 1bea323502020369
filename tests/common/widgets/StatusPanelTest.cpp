// The status panel: verdicts once per game, the bonus threshold, message lines,
// new games, the pause picture's answer, penalties, empty slots, and the game
// scene that runs its panel every frame.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/NumberTestSupport.h"
#include "tests/support/WidgetTestSupport.h"
#include "common/widgets/CActorSlider.h"
#include "common/widgets/CEditBox.h"
#include "common/scene/CGame.h"

using namespace enginetest;
using namespace numbertest;

namespace {

// A panel with every slot filled, as a game with all displays would build it.
class FullPanel : public CountingPanel {
public:
    FullPanel(CGame* game, CFont* font) : CountingPanel(game) {
        const CTextRecord digits = DigitLabel(font);
        auto number = [&](int n) { return std::make_unique<CCounter>(game, 0, 0, 256, digits, CButtonRecord{}, n); };
        pScore = std::make_unique<CScore>(this, game, 0, 0, 256, digits, CButtonRecord{}, 7);
        pHighScore = std::make_unique<CScore>(nullptr, game, 0, 0, 256, digits, CButtonRecord{}, 7);
        pCounter1 = number(4);
        pLives = number(2);
        pLevel = number(5);
        pCounter2 = number(4);
        pCounter3 = number(4);
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

const char* Line(const CEditBox* box) { return box->hidden ? "(hidden)" : box->GetText(); }

}  // namespace

class StatusPanelTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        game = new CGame(screen, 0, 0, 0, 0, 1);
        font = widgettest::MakeFont(1);
    }
    // The panel belongs to the game, as in play; a new one replaces the last.
    FullPanel* Full(int players) {
        game->players = players;
        auto* panel = new FullPanel(game, font.get());
        game->SetStatus(panel);
        return panel;
    }

    CGame* game = nullptr;
    std::unique_ptr<CFont> font;
};

TEST_F(StatusPanelTest, AGameShowsAtMostOneVerdictUntilTheNextNewGame) {
    const std::pair<int, const char*> cases[] = {
        {1, "(hidden)"}, {2, "No winner.  You both need work!"}, {3, "No winner.  You all need work!"}};
    for (const auto& [players, noWinner] : cases) {
        FullPanel* panel = Full(players);
        panel->ShowNoWinner();
        panel->ShowWinner();  // blocked, even when nothing was shown
        EXPECT_STREQ(Line(panel->pMsgEditBox1), noWinner) << players;

        panel->NewGame(1, 0);
        panel->ShowWinner();
        panel->ShowNoWinner();
        EXPECT_STREQ(Line(panel->pMsgEditBox1), "Winner!  Way to go!");
        EXPECT_STREQ(Line(panel->pMsgEditBox2), "(hidden)");
    }
}

TEST_F(StatusPanelTest, MessagesFillTheirLinesWithoutLeadingZeros) {
    FullPanel* panel = Full(1);
    const auto lines = [&] {
        return std::vector<std::string>{Line(panel->pMsgEditBox1), Line(panel->pMsgEditBox2),
                                        Line(panel->pMsgEditBox3)};
    };
    panel->ShowMessage3("007", "0", "AB");
    EXPECT_EQ(lines(), (std::vector<std::string>{"7", "0", "AB"}));
    panel->ShowMessage2("0012", "X");
    EXPECT_EQ(lines(), (std::vector<std::string>{"12", "X", "(hidden)"}));
    panel->ShowMessage1("Hello");
    EXPECT_EQ(lines(), (std::vector<std::string>{"Hello", "(hidden)", "(hidden)"}));
    panel->ShowMessage3("A", "B", "C");
    panel->ShowNotThisTime();
    EXPECT_EQ(lines(), (std::vector<std::string>{"Oh, no!  Not this time!", "B", "C"}));
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
        int base, threshold, checked, lives, thresholdAfter;
    };
    const Case cases[] = {
        {250000, 200000, 299999, 0, 200000}, {250000, 200000, 300000, 1, 300000}, {200000, 100000, 200000, 1, 200000},
        {100000, 0, 99999, 0, 0},            {100001, 100000, 199999, 0, 100000}, {-5, 0, 100000, 1, 100000},
    };
    for (const Case& c : cases) {
        FullPanel* panel = Full(1);
        panel->SetBonusBase(c.base);
        EXPECT_EQ(panel->nextBonusThreshold, c.threshold) << c.base;
        panel->CheckScoreBonus(c.checked);
        EXPECT_EQ(panel->GetLives(), c.lives) << c.base << " then " << c.checked;
        EXPECT_EQ(panel->nextBonusThreshold, c.thresholdAfter);
    }
}

TEST_F(StatusPanelTest, ANewGameResetsTheDisplaysAndTheCurrentPlayer) {
    FullPanel* panel = Full(2);
    game->currentPlayer = 1;
    for (int player : {0, 1}) {
        panel->SetPlayerFlag1(player, 1);
        panel->SetPlayerFlag2(player, 1);
    }
    panel->penalty = 40;
    panel->pCounter1->Set(30);
    panel->pScore->Set(500);
    panel->pScore->SetFastCount(1);

    panel->NewGame(70000, 2);
    EXPECT_EQ(panel->pLevel->GetValue(), 4464);  // the level takes the first value as 16 bits
    EXPECT_EQ(panel->pCounter1->GetValue(), 0);
    EXPECT_EQ(panel->GetScore(), 500);  // the score display only leaves its fast mode
    EXPECT_EQ(panel->pScore->fastCount, 0);
    EXPECT_EQ(panel->pCounter2->stale, 1);  // the mark was player 0
    EXPECT_EQ(panel->currentPlayerMark, 1);
    EXPECT_EQ(std::vector<int>(panel->playerFlag1, panel->playerFlag1 + 2), (std::vector<int>{1, 0}));
    EXPECT_EQ(std::vector<int>(panel->playerFlag2, panel->playerFlag2 + 2), (std::vector<int>{1, 0}));
    EXPECT_EQ(panel->penalty, 0);
    panel->NewGame(3, 0);
    EXPECT_EQ(panel->pCounter2->stale, 0);
    game->players = 1;
    EXPECT_EQ(panel->IsMarkStale(), 1);
    panel->ClearTables();
    EXPECT_EQ(panel->GetScore(), 0);
}

TEST_F(StatusPanelTest, HidingThePausePictureReportsWhatKeepsTheTurn) {
    struct Case {
        int pending, flag1, flag2, result, hold;
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
        EXPECT_EQ(panel->pCounter2->hold, 0);
    }
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
    for (int flag1 : {1, 0}) {
        panel->SetPlayerFlag1(0, flag1);
        panel->ApplyPenalty();
        panel->Update(0);
    }
    EXPECT_EQ(panel->GetScore(), 875);
}

TEST_F(StatusPanelTest, FilledSlotsAnswerAndEmptySlotsAreSkipped) {
    FullPanel* full = Full(2);
    full->pCounter1->Set(12);
    full->SetLives(3);
    full->AddLives(2);
    full->AddToCounter3(4);
    full->SetBestScoreDisplay(250000);
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
    empty.SetTableEntry(2, 1, 9);
    empty.SetTableEntry(101, 0, 9);  // outside the table: ignored
    empty.SetTableEntry(0, 3, 9);
    EXPECT_EQ(empty.GetTableEntry(2, 1), 9);
    EXPECT_EQ(empty.GetTableEntry(1, 0), CStatus::kTableEmpty);
    empty.ClearTableEntry(2, 1);
    EXPECT_EQ(empty.GetTableEntry(2, 1), CStatus::kTableEmpty);
    empty.SetPlayerFlag1(7, 1);  // no such player: ignored
    empty.MarkPlayerOut(1);
    empty.ApplyPenalty();
    empty.CheckScoreBonus(900000);
    empty.ShowPausePicture(1);
    EXPECT_EQ(empty.HidePausePicture(), 0);
    empty.ShowGameOverPicture();
    empty.ShowMessage3("a", "b", "c");
    empty.ShowWinner();
    empty.RequestScoreBonus();
    empty.ClearScoreFastCount();
    empty.AddToCounter3(5);
    empty.AddLives(1);
    empty.SetBestScoreDisplay(10);
    empty.Update(100);
    empty.NewGame(1, 2);
    EXPECT_EQ(empty.GetScore() + empty.GetLives() + empty.GetCounter2(), 0);
    EXPECT_FLOAT_EQ(empty.GetCounter1Hundredths(), 0.0f);
    EXPECT_FLOAT_EQ(empty.GetSliderValue(), 1.0f);
    EXPECT_EQ(empty.GetPlayerFlag2(1), 1);
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
}
