// The options, records and about scenes opened over the play scene by its keys,
// driven with real SDL events, checked against the real settings store.

#include "tests/support/PlaySceneTestSupport.h"

#include <string>

#include "common/widgets/CActorSlider.h"
#include "common/widgets/CEditBox.h"
#include "common/widgets/CScore.h"
#include "common/widgets/CSceneDialog.h"
#include "game/front/CAboutScene.h"
#include "game/front/COptionsScene.h"
#include "game/front/CStatsScene.h"
#include "game/rules/DuelRecords.h"
#include "game/rules/Records.h"
#include "platform/storage/MRegistryStore.h"

namespace playtest {
namespace {

// The time a front scene needs to open or close: a fade of 26 steps of 4 ticks, and some.
constexpr int kFadeTicks = 300;

DWORD StoredInt(const char* name) {
    DWORD value = 0xDEAD;
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->ReadDword(&value, name, 0xDEAD, "Config");
    return value;
}

std::string StoredText(const char* name) {
    char text[64] = {};
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->ReadString(text, name, "<none>", "Config", sizeof text);
    return text;
}

class FrontScenesTest : public PlaySceneTest {
protected:
    template <class Scene>
    Scene* Open(SDL_Keycode key) {
        if (!scene) {
            Start();
            PastIntro();
        }
        Tap(key);
        Run(kFadeTicks);
        return dynamic_cast<Scene*>(CScene::Last());
    }
    // Back in the play scene once the front scene has covered and gone.
    void ExpectClosed() {
        Run(kFadeTicks);
        EXPECT_EQ(CScene::Last(), scene);
    }
    void ClickCentre(const CActor* actor) {
        ASSERT_NE(actor, nullptr);
        Click((actor->bounds.left + actor->bounds.right) / 2, (actor->bounds.top + actor->bounds.bottom) / 2);
    }
    void Drag(const CActor* actor, int toX) {
        const int y = (actor->bounds.top + actor->bounds.bottom) / 2;
        const int x = (actor->bounds.left + actor->bounds.right) / 2;
        Move(x, y);
        Button(SDL_MOUSEBUTTONDOWN, x, y, SDL_BUTTON_LEFT);
        Move(toX, y);
        Button(SDL_MOUSEBUTTONUP, toX, y, SDL_BUTTON_LEFT);
    }
};

TEST_F(FrontScenesTest, OptionsLatchesShowTheStoredValues) {
    struct Case {
        int fullscreen, hints, markers;
        int selected[3];
    };
    const Case cases[] = {{0, 2, 1, {'a', 'c', 'g'}}, {1, 1, 0, {'b', 'd', 'h'}}, {0, 0, 1, {'a', 'e', 'g'}}};
    for (const Case& c : cases) {
        Options()->SetFullscreen(c.fullscreen);
        Options()->SetShowHints(c.hints);
        Options()->SetShowColMarkers(c.markers);
        Options()->SetSFX(59);  // a float fraction of 0.59 truncates to 58
        auto* options = Open<COptionsScene>(SDLK_KP_DIVIDE);
        ASSERT_NE(options, nullptr);
        for (int key : {'a', 'b', 'c', 'd', 'e', 'g', 'h'}) {
            const bool selected = key == c.selected[0] || key == c.selected[1] || key == c.selected[2];
            EXPECT_EQ(options->GetLatch(key)->GetState(), selected ? kStateDown : kStateUp) << char(key);
        }
        EXPECT_EQ(options->GetEffectSlider()->GetPosition(), 418);
        Tap(SDLK_RETURN);  // unchanged values come back unchanged
        ExpectClosed();
        EXPECT_EQ(StoredInt("SFX"), 59u);
        EXPECT_EQ(StoredInt("Fullscreen"), static_cast<DWORD>(c.fullscreen));
        EXPECT_EQ(StoredInt("ShowHints"), static_cast<DWORD>(c.hints));
    }
}

TEST_F(FrontScenesTest, OptionsOkStoresWhatThePageShows) {
    auto* options = Open<COptionsScene>(SDLK_KP_DIVIDE);
    ASSERT_NE(options, nullptr);
    Drag(options->GetEffectSlider(), 100);  // far past the left end
    EXPECT_EQ(options->GetEffectSlider()->GetPosition(), COptionsScene::kSliderMin);
    Click(320, 240);  // the words beside the window latch
    Click(470, 276);  // hint level 1, by its words
    ClickCentre(options->GetLatch('h'));  // no column markers
    Click(500, 381);  // the opponent Medium, by its word
    Tap(SDLK_KP_2);   // full screen, by its key (the mode switches at once)
    for (SDL_Keycode key : {SDLK_BACKSPACE, SDLK_BACKSPACE, SDLK_BACKSPACE, SDLK_z, SDLK_e, SDLK_d}) Tap(key);
    Tap(SDLK_RETURN);
    EXPECT_EQ(StoredText("Initials"), "ZED");  // written at once
    ExpectClosed();
    EXPECT_EQ(StoredInt("SFX"), 0u);
    EXPECT_EQ(StoredInt("Music"), 100u);
    EXPECT_EQ(StoredInt("Fullscreen"), 1u);
    EXPECT_EQ(StoredInt("ShowHints"), 1u);
    EXPECT_EQ(StoredInt("ShowColMarkers"), 0u);
    EXPECT_EQ(StoredInt("Opponent"), 2u);
    EXPECT_EQ(CurrentPlayerInitials(), "ZED");
    int posAll = -1, posMine = -1;
    RecordGameFinished(321, &posAll, &posMine);
    EXPECT_EQ(StoredInt("ZEDGamesFinished"), 1u);
}

TEST_F(FrontScenesTest, OptionsCancelStoresNothing) {
    Options()->SetInitials("ABC");
    Options()->Save();
    auto* options = Open<COptionsScene>(SDLK_KP_DIVIDE);
    ASSERT_NE(options, nullptr);
    Drag(options->GetMusicSlider(), 350);
    const int modeAtOpen = screen->IsFullScreenNow();
    for (SDL_Keycode key : {SDLK_KP_2, SDLK_KP_5, SDLK_KP_8, SDLK_x}) Tap(key);
    EXPECT_EQ(screen->IsFullScreenNow(), 1);  // the screen latch switches at once, as F11 does
    Tap(SDLK_KP_1);
    EXPECT_EQ(screen->IsFullScreenNow(), 0);
    Tap(SDLK_KP_2);
    Tap(SDLK_ESCAPE);
    EXPECT_EQ(screen->IsFullScreenNow(), modeAtOpen);  // leaving the changes leaves the mode too
    ExpectClosed();
    const char* names[] = {"SFX", "Music", "Fullscreen", "ShowHints", "ShowColMarkers"};
    const DWORD expected[] = {100, 100, 1, 2, 1};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(StoredInt(names[i]), expected[i]) << names[i];
    EXPECT_EQ(StoredText("Initials"), "ABC");
}

// Volumes stored as off (-1) stay off through OK unless their slider moved.
TEST_F(FrontScenesTest, OptionsOkKeepsAVolumeThatIsOffUnlessItsSliderMoved) {
    Options()->SetMusic(-1);
    Options()->SetSFX(-1);
    Options()->Save();
    for (bool moved : {false, true}) {
        auto* options = Open<COptionsScene>(SDLK_KP_DIVIDE);
        ASSERT_NE(options, nullptr);
        if (moved) Drag(options->GetMusicSlider(), 350);
        const DWORD music = (options->GetMusicSlider()->GetPosition() - COptionsScene::kSliderMin) / 2;
        Tap(SDLK_RETURN);
        ExpectClosed();
        EXPECT_EQ(StoredInt("SFX"), static_cast<DWORD>(-1));
        EXPECT_EQ(StoredInt("Music"), moved ? music : static_cast<DWORD>(-1)) << moved;
    }
}

// A player without initials finds the options' box empty, whatever the
// records page put in their place, and the game's box stays empty too.
TEST_F(FrontScenesTest, OptionsShowNoInitialsAsAnEmptyBox) {
    ASSERT_NE(Open<CStatsScene>(SDLK_0), nullptr);  // the records name such a player "???"
    Tap(SDLK_ESCAPE);
    ExpectClosed();
    for (SDL_Keycode answer : {SDLK_ESCAPE, SDLK_RETURN}) {
        auto* options = Open<COptionsScene>(SDLK_KP_DIVIDE);
        ASSERT_NE(options, nullptr);
        EXPECT_STREQ(options->GetInitialsBox()->GetText(), "");
        Tap(answer);
        ExpectClosed();
        EXPECT_STREQ(scene->GetEditedInitials(), "");
    }
    Open<COptionsScene>(SDLK_KP_DIVIDE);
    for (SDL_Keycode key : {SDLK_a, SDLK_b, SDLK_RETURN}) Tap(key);
    ExpectClosed();
    EXPECT_EQ(StoredText("Initials"), "AB");
}

TEST_F(FrontScenesTest, RecordsShowThePlayerOrEveryone) {
    int posAll = -1, posMine = -1;
    for (const char* who : {"ABC", "XYZ", "ABC"}) {
        Options()->SetInitials(who);
        RecordGameFinished(who[0] == 'A' ? 150 : 90, &posAll, &posMine);
    }
    auto* records = Open<CStatsScene>(SDLK_0);
    ASSERT_NE(records, nullptr);
    struct View {
        bool all;
        const char* initials;
        TableKind best, recent;
    };
    for (const View& view : {View{true, "ALL", kTableBestAll, kTableRecentAll},
                             View{false, "ABC", kTableBestMine, kTableRecentMine}}) {
        Tap(view.all ? SDLK_KP_9 : SDLK_KP_8);
        EXPECT_EQ(records->ShowsAllPlayers(), view.all);
        EXPECT_STREQ(records->GetInitialsBox()->GetText(), view.initials);
        EXPECT_EQ(records->GetText(CStatsScene::kBestScores)->GetText(), TableScoresText(view.best));
        EXPECT_EQ(records->GetText(CStatsScene::kRecentInitials)->GetText(), TableInitialsText(view.recent));
        EXPECT_STREQ(records->GetText(CStatsScene::kFinished)->GetText(), view.all ? "3" : "2");
    }
    Click(280, 530);  // the words beside the all-players latch
    EXPECT_TRUE(records->ShowsAllPlayers());
    Tap(SDLK_ESCAPE);
    ExpectClosed();
}

TEST_F(FrontScenesTest, EraseAsksFirstAndErasesOnlyThisPlayer) {
    int posAll = -1, posMine = -1;
    for (const char* who : {"XYZ", "ABC"}) {
        Options()->SetInitials(who);
        RecordGameFinished(120, &posAll, &posMine);
    }
    auto* records = Open<CStatsScene>(SDLK_0);
    ASSERT_NE(records, nullptr);
    const std::string before = TableInitialsText(kTableBestAll);
    for (SDL_Keycode no : {SDLK_n, SDLK_0}) {
        Tap(SDLK_KP_2);  // erase
        ASSERT_NE(records->GetPendingDialog(), nullptr);
        EXPECT_TRUE(records->paused);
        Tap(no);
        Run(20);
        EXPECT_EQ(records->GetPendingDialog(), nullptr);
        EXPECT_FALSE(records->paused);
        EXPECT_EQ(TableInitialsText(kTableBestAll), before);
    }
    Tap(SDLK_KP_2);
    Tap(SDLK_y);
    Run(20);
    EXPECT_EQ(StoredInt("ABCGamesFinished"), 0xDEADu);
    EXPECT_EQ(StoredInt("XYZGamesFinished"), 1u);
    EXPECT_EQ(TableInitialsText(kTableBestAll).find("ABC"), std::string::npos);
    EXPECT_NE(TableInitialsText(kTableBestAll).find("XYZ"), std::string::npos);
    EXPECT_STREQ(records->GetText(CStatsScene::kFinished)->GetText(), "0");
}

// The duels table follows the page's scope, and an erase empties the player's row.
TEST_F(FrontScenesTest, TheDuelsTableShowsThePagesScopeAndGoesWithAnErase) {
    for (int i = 0; i < 3; ++i) RecordDuelFinished("ABC", OpponentLevel::Hard, 1900, 1800 + 50 * i);
    RecordDuelFinished("ABC", OpponentLevel::Easy, 900, 1200);
    RecordDuelFinished("XYZ", OpponentLevel::Hard, 900, 1200);
    Options()->SetInitials("ABC");
    auto* records = Open<CStatsScene>(SDLK_0);
    ASSERT_NE(records, nullptr);
    // "won lost drawn" for Easy, Medium and Hard.
    const auto table = [&] {
        std::string rows;
        for (int level = 0; level < CStatsScene::kDuelLevels; ++level) {
            for (int outcome = 0; outcome < CStatsScene::kDuelOutcomes; ++outcome)
                rows += std::string(outcome ? " " : level ? " | " : "") + records->GetDuelText(level, outcome)->GetText();
        }
        return rows;
    };
    EXPECT_EQ(table(), "0 1 0 | 0 0 0 | 2 0 1");
    Tap(SDLK_KP_9);
    EXPECT_EQ(table(), "0 1 0 | 0 0 0 | 2 1 1");
    Tap(SDLK_KP_8);
    Tap(SDLK_KP_2);
    Tap(SDLK_y);
    Run(20);
    EXPECT_EQ(table(), "0 0 0 | 0 0 0 | 0 0 0");
    Tap(SDLK_KP_9);
    EXPECT_EQ(table(), "0 0 0 | 0 0 0 | 0 1 0");
}

// The all-players view shows no player: its erase question is its own.
TEST_F(FrontScenesTest, TheAllPlayersViewAsksItsOwnEraseQuestion) {
    auto* records = Open<CStatsScene>(SDLK_0);
    ASSERT_NE(records, nullptr);
    const CSprite* asked[2] = {};
    for (bool all : {false, true}) {
        Tap(all ? SDLK_KP_9 : SDLK_KP_8);
        Tap(SDLK_KP_2);
        auto* dialog = dynamic_cast<CSceneDialog*>(records->GetPendingDialog());
        ASSERT_NE(dialog, nullptr);
        asked[all] = dialog->picture;
        Tap(SDLK_n);
        Run(20);
    }
    EXPECT_NE(asked[0], nullptr);
    EXPECT_NE(asked[1], asked[0]);
}

// The best score an erase leaves is the one the sheet shows from then on.
TEST_F(FrontScenesTest, EraseShowsTheBestScoreLeftOnTheSheet) {
    int posAll = -1, posMine = -1;
    for (const char* who : {"XYZ", "ABC"}) {
        Options()->SetInitials(who);
        RecordGameFinished(who[0] == 'A' ? 150 : 90, &posAll, &posMine);
    }
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteDword("BestScore", 150, "Config");
    ASSERT_NE(Open<CStatsScene>(SDLK_0), nullptr);
    ASSERT_EQ(scene->sheet->pHighScore->GetValue(), 150);
    Tap(SDLK_KP_2);
    Tap(SDLK_y);
    Run(20);
    EXPECT_EQ(scene->sheet->pHighScore->GetValue(), 90);
    Tap(SDLK_ESCAPE);
    ExpectClosed();
    EXPECT_EQ(scene->sheet->pHighScore->GetValue(), 90);
}

// Once Esc has started a page's closing cover, neither the numeric pad's 2 nor
// a click on a control does anything, up to the frame that removes the page.
TEST_F(FrontScenesTest, AClosingPageRefusesKeysAndClicks) {
    Options()->SetFullscreen(0);
    Options()->SetInitials("ABC");
    struct Case {
        SDL_Keycode open;
        int x, y;  // a control of the page: erase, the about button, the full-screen words
        bool (*unchanged)(CScene* page);
    };
    const Case cases[] = {
        {SDLK_0, 410, 500, [](CScene* p) { return static_cast<CStatsScene*>(p)->GetPendingDialog() == nullptr; }},
        {SDLK_KP_DIVIDE, 500, 240,
         [](CScene* p) { return static_cast<COptionsScene*>(p)->GetLatch('b')->GetState() == kStateUp; }},
        {SDLK_F1, 140, 530,
         [](CScene* p) {
             auto* about = static_cast<CAboutScene*>(p);
             for (int page = 0; page < CAboutScene::kPageCount; ++page)
                 if (!about->GetPage(page)->hidden) return false;
             return true;
         }},
    };
    for (const Case& c : cases) {
        CScene* page = Open<CScene>(c.open);
        ASSERT_NE(page, scene);
        Tap(SDLK_ESCAPE);
        for (int t = 0; t < kFadeTicks && CScene::Last() == page; t += 4) {
            harness::AdvanceTicks(4);
            screen->Frame();  // the frame whose tick asks for the removal, without the one that removes
            if (CScene::Last() != page) break;
            Tap(SDLK_KP_2);
            Click(c.x, c.y);
            ASSERT_TRUE(c.unchanged(page)) << "page kind " << page->sceneId << " at tick " << t;
        }
        Run(20);
        EXPECT_EQ(CScene::Last(), scene);
    }
}

// While the game fades out to a page it takes nothing more: a click does not
// unpause it, and Esc or the numeric pad's decimal point opens no dialog.
TEST_F(FrontScenesTest, TheGameFadingToAPageTakesNoInput) {
    Start();
    PastIntro();
    RollAndSettle();  // the new-game button works from the first roll on
    for (SDL_Keycode key : {SDLK_KP_DIVIDE, SDLK_0, SDLK_F1}) {
        Tap(key);
        for (int t = 0; t < kFadeTicks && CScene::Last() == scene; t += 4) {
            Click(240, 470);
            ASSERT_TRUE(scene->paused) << key << " at tick " << t;
            Tap(SDLK_ESCAPE);
            Tap(SDLK_KP_PERIOD);
            ASSERT_EQ(scene->pSceneQuitConfirm, nullptr) << key << " at tick " << t;
            ASSERT_EQ(scene->pSceneResetConfirm, nullptr) << key << " at tick " << t;
            harness::AdvanceTicks(4);
            screen->Frame();
        }
        ASSERT_NE(CScene::Last(), scene);
        EXPECT_NE(CScene::Last()->sceneId, kSceneKindDialog);
        Tap(SDLK_ESCAPE);
        ExpectClosed();
    }
}

TEST_F(FrontScenesTest, AboutPagesOpenByKeyAndButtonAndCloseByClick) {
    auto* about = Open<CAboutScene>(SDLK_F1);
    ASSERT_NE(about, nullptr);
    for (int page = 0; page < CAboutScene::kPageCount; ++page) EXPECT_TRUE(about->GetPage(page)->hidden);
    const SDL_Keycode keys[] = {SDLK_KP_1, SDLK_KP_4, SDLK_KP_2};
    for (int page = 0; page < CAboutScene::kPageCount; ++page) {
        Tap(keys[page]);
        for (int other = 0; other < CAboutScene::kPageCount; ++other)
            EXPECT_EQ(about->GetPage(other)->hidden, other != page) << page << " " << other;
        ClickCentre(about->GetPage(page));
        EXPECT_TRUE(about->GetPage(page)->hidden);
    }
    const int buttons[][2] = {{88, 512}, {94, 428}, {206, 428}};  // 'a', 'd', 'b'
    for (int page = 0; page < CAboutScene::kPageCount; ++page) {
        Click(buttons[page][0] + 20, buttons[page][1] + 10);
        EXPECT_FALSE(about->GetPage(page)->hidden) << page;
    }
    Key(SDL_KEYDOWN, SDLK_ESCAPE);
    EXPECT_EQ(about->GetBackButton()->GetState(), kStateDown);
    Key(SDL_KEYUP, SDLK_ESCAPE);
    EXPECT_EQ(about->GetBackButton()->GetState(), kStateUp);
    ExpectClosed();
}

TEST_F(FrontScenesTest, PagesAreOperableWithoutTheNumericPad) {
    // Options by F2; the top row's 1 to 5 step through the rows' choices.
    Options()->SetFullscreen(0);
    Options()->SetShowHints(2);
    Options()->SetShowColMarkers(1);
    auto* options = Open<COptionsScene>(SDLK_F2);
    ASSERT_NE(options, nullptr);
    for (SDL_Keycode key : {SDLK_1, SDLK_2, SDLK_3, SDLK_4, SDLK_5}) Tap(key);
    for (int key : {'b', 'd', 'h', 'j', 'l'}) EXPECT_EQ(options->GetLatch(key)->GetState(), kStateDown) << char(key);
    Tap(SDLK_RETURN);
    ExpectClosed();
    const char* names[] = {"Fullscreen", "ShowHints", "ShowColMarkers", "DiceSpeed", "ScorePreview"};
    const DWORD stored[] = {1, 1, 0, 1, 0};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(StoredInt(names[i]), stored[i]) << names[i];

    // Records: 9 and 8 are the pad's all-players and my-records keys.
    auto* records = Open<CStatsScene>(SDLK_0);
    ASSERT_NE(records, nullptr);
    Tap(SDLK_9);
    EXPECT_TRUE(records->ShowsAllPlayers());
    Tap(SDLK_8);
    EXPECT_FALSE(records->ShowsAllPlayers());
    Tap(SDLK_ESCAPE);
    ExpectClosed();

    // About: 1, 4 and 2 open its pages as the pad's keys do.
    auto* about = Open<CAboutScene>(SDLK_F1);
    ASSERT_NE(about, nullptr);
    const SDL_Keycode keys[] = {SDLK_1, SDLK_4, SDLK_2};
    for (int page = 0; page < CAboutScene::kPageCount; ++page) {
        Tap(keys[page]);
        EXPECT_FALSE(about->GetPage(page)->hidden) << page;
    }
    Tap(SDLK_ESCAPE);
    ExpectClosed();
}

}  // namespace
}  // namespace playtest
