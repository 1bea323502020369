// Who plays: the initials card at every new game, the last player's initials
// kept with Return, a typed name replacing them, the known players picked by
// arrows or a click, and each game's records under its own initials.

#include "tests/support/PlaySceneTestSupport.h"

#include "common/widgets/CEditBox.h"
#include "game/rules/Records.h"

namespace playtest {
namespace {

class PlayScenePlayersTest : public PlaySceneTest {
protected:
    void NewGame() {
        const bool asks = !scene->gameOver;  // a game on asks first
        Tap(SDLK_KP_PERIOD);
        Run(50);
        if (asks) {
            Tap(SDLK_y);
            Run(50);
        }
    }
    void Type(const char* letters) {
        for (const char* c = letters; *c; ++c) Tap(static_cast<SDL_Keycode>(*c - 'A' + 'a'));
    }
    int Finished(const std::string& player) {
        DWORD value = 0;
        Store()->ReadDword(&value, (player + "GamesFinished").c_str(), 0, "Config");
        return static_cast<int>(value);
    }
    std::string Edited() const { return scene->GetEditedInitials(); }
};

TEST_F(PlayScenePlayersTest, TwoPlayersTakingTurnsEachHaveTheirGamesUnderTheirOwnInitials) {
    Options()->SetInitials("MOU");
    Start();
    PastIntro();
    PlayGame();
    Run(100);
    ASSERT_TRUE(scene->gameOver);

    // A new game asks again: MOU is ready, a letter typed replaces it.
    NewGame();
    EXPECT_TRUE(Shown(scene->initialsEditBox));
    EXPECT_EQ(Edited(), "MOU");
    EXPECT_TRUE(Shown(scene->playerLabels[0]));
    Type("COA");
    EXPECT_EQ(Edited(), "COA");
    PlayGame();
    Run(100);
    ASSERT_TRUE(scene->gameOver);

    // The next game: Return keeps COA; then MOU is picked back with Down.
    NewGame();
    EXPECT_EQ(Edited(), "COA");
    EXPECT_EQ(scene->knownPlayers, (std::vector<std::string>{"COA", "MOU"}));
    Tap(SDLK_DOWN);
    EXPECT_EQ(Edited(), "MOU");
    Tap(SDLK_DOWN);
    EXPECT_EQ(Edited(), "COA");
    Tap(SDLK_UP);
    EXPECT_EQ(Edited(), "MOU");
    PlayGame();
    Run(100);
    ASSERT_TRUE(scene->gameOver);

    // Mid-game the options may change the stored initials; the game stays its starter's.
    NewGame();
    Click(MidX(scene->playerLabels[0]), MidY(scene->playerLabels[0]));
    EXPECT_EQ(Edited(), "MOU");
    Tap(SDLK_BACKSPACE);  // an editing key edits what is shown
    Type("X");
    EXPECT_EQ(Edited(), "MOX");
    RollAndSettle();
    EXPECT_FALSE(Shown(scene->playerLabels[0]));
    Options()->SetInitials("ZZZ");
    Category(97);
    Settle();
    const int codes[] = {98, 99, 100, 108};
    for (int code : codes) {
        RollAndSettle();
        Category(code);
        Settle();
    }
    Tap(SDLK_1);
    for (int code = 101; code <= 107; ++code) Category(code);
    Run(100);
    ASSERT_TRUE(scene->gameOver);

    EXPECT_EQ(Finished("MOU"), 2);
    EXPECT_EQ(Finished("COA"), 1);
    EXPECT_EQ(Finished("MOX"), 1);
    EXPECT_EQ(Finished("ZZZ"), 0);
    EXPECT_NE(TableInitialsText(kTableRecentAll).find("MOX\rMOU\rCOA\rMOU\r"), std::string::npos);
}

TEST(KnownPlayers, MostRecentFirstThenTheTablesInitialsAndAResetPlayerLeaves) {
    SettingsSandbox sandbox;
    for (const char* who : {"AB", "CD", "AB", "EF"}) RecordGameStarted(who);
    Store()->WriteString("LSI1All", "OLD", "Config");
    Store()->WriteString("TSI1All", "AB", "Config");
    EXPECT_EQ(KnownPlayers(6), (std::vector<std::string>{"EF", "AB", "CD", "OLD"}));
    EXPECT_EQ(KnownPlayers(2), (std::vector<std::string>{"EF", "AB"}));
    Store()->WriteString("Initials", "CD", "Config");
    ResetPlayerRecords(false);
    EXPECT_EQ(KnownPlayers(6), (std::vector<std::string>{"EF", "AB", "OLD"}));
}

}  // namespace
}  // namespace playtest
