// The score sheet on a real screen (dummy video driver, software renderer),
// real sounds (dummy audio driver, mixer paused so a played sound stays
// playing), the packed archive and a settings store in a temporary folder.
// A small scene stands in for the play scene.

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/widgets/CActorButton.h"
#include "common/widgets/CActorHotspot.h"
#include "common/actors/CActorSprite.h"
#include "common/actors/CFont.h"
#include "common/scene/CGame.h"
#include "common/widgets/CScore.h"
#include "common/scene/CScreen.h"
#include "common/actors/CSpriteA.h"
#include "game/sheet/CScoreCell.h"
#include "game/sheet/CScoreSheet.h"
#include "game/play/DieAssets.h"
#include "game/rules/Records.h"
#include "game/sheet/ScoreSheetAssets.h"
#include "game/sheet/ScoreSheetScene.h"
#include "platform/storage/MRegistryStore.h"
#include "platform/audio/MSound.h"
#include "tests/support/SettingsSandbox.h"
#include "tests/support/WindowTest.h"

namespace {

class SheetScreen : public CScreen {
public:
    int CreateContent() override { return 0; }
};

// The play scene's part, driven by the test.
class SheetScene : public CGame, public IScoreSheetScene {
public:
    explicit SheetScene(CScreen* owner) : CGame(owner, 0, 0, 0, 0, 1) {}

    bool GetLineFaces(int out[kHandSize]) override {
        std::copy(faces, faces + kHandSize, out);
        return haveLine;
    }
    bool GetLineColours(int out[kHandSize]) override {
        std::copy(colours, colours + kHandSize, out);
        return haveLine;
    }
    bool IsLastHand() override { return lastHand; }
    bool IsGameOver() override { return over; }
    bool IsNewBestOverall() override { return bestOverall; }
    bool IsNewBestPersonal() override { return bestPersonal; }
    bool IsInTopTen() override { return topTen; }
    void EndTurn(int index) override { log.push_back("EndTurn " + std::to_string(index)); }
    void SetGameOver() override {
        log.push_back("SetGameOver");
        over = true;
    }
    int OnKeyDown(int key) override {
        keys.push_back(key);
        return 1;
    }
    int OnKeyUp(int) override { return 1; }

    int faces[kHandSize] = {1, 2, 3, 4, 5};
    int colours[kHandSize] = {0, 1, 2, 3, 0};
    bool haveLine = true;
    bool lastHand = false;
    bool over = false;
    bool bestOverall = false;
    bool bestPersonal = false;
    bool topTen = false;
    std::vector<std::string> log;
    std::vector<int> keys;
};

struct SheetHand {
    int faces[kHandSize];
    int colours[kHandSize];
};

constexpr SheetHand kMixed = {{1, 2, 3, 4, 5}, {0, 1, 2, 3, 0}};
constexpr SheetHand kFiveSixes = {{6, 6, 6, 6, 6}, {0, 1, 2, 3, 0}};
constexpr SheetHand kFourSixes = {{6, 6, 6, 6, 1}, {0, 1, 2, 3, 0}};
constexpr SheetHand kThreeSixesOneColour = {{6, 6, 6, 2, 2}, {1, 1, 1, 0, 3}};

bool IsYellowish(std::uint32_t rgb) {
    const int r = static_cast<int>(rgb >> 16 & 0xFF), g = static_cast<int>(rgb >> 8 & 0xFF),
              b = static_cast<int>(rgb & 0xFF);
    return r > 160 && g > 160 && b < 110;
}

class ScoreSheetTest : public harness::WindowTest<SheetScreen> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        OpenSound();
        OpenArchive();
        ASSERT_FALSE(HasFatalFailure());
        scene = new SheetScene(screen);
        screen->scene.reset(scene);
        gScoreSheetScene = scene;
        SeekSheetRun();
        ASSERT_EQ(LoadScoreSheetAssets(screen), 0);
        sheet = new CScoreSheet(scene);
        scene->status.reset(sheet);
        gScoreSheet = sheet;
        NewGame();
    }

    void TearDown() override {
        gScoreSheetScene = nullptr;
        delete screen;  // its scene, the scene's sheet and with it the sheet's assets
        screen = nullptr;
        EXPECT_EQ(gScoreSheet, nullptr);
        FreeScoreSheetAssets();
        WindowTest::TearDown();
    }

    // The sheet's run follows the dice's: the dice's own loader reads up to it.
    void SeekSheetRun() {
        ASSERT_EQ(LoadDieAssets(screen), 0);
        FreeDieAssets();
    }

    // As the play scene starts a game: every actor's effects, then the sheet.
    void NewGame() {
        scene->ResetActors(0, 0);
        sheet->ResetForNewGame(0, 0);
        scene->over = false;
        scene->log.clear();
        StopAll();
    }

    int Score(int id, const SheetHand& hand = kMixed) {
        std::copy(hand.faces, hand.faces + kHandSize, scene->faces);
        std::copy(hand.colours, hand.colours + kHandSize, scene->colours);
        return sheet->ScoreCategory(id);
    }

    // The sheet's sounds now playing (0-based, as SheetSound numbers them).
    static std::vector<int> Playing() {
        std::vector<int> playing;
        for (int i = 0; i < kSheetSoundCount; ++i)
            if (gSheetAssets.sounds[i] && gSheetAssets.sounds[i]->IsPlaying()) playing.push_back(i);
        return playing;
    }
    static void StopAll() {
        for (MSound* sound : gSheetAssets.sounds)
            if (sound) sound->Stop();
        if (gCellAssets.undoSound) gCellAssets.undoSound->Stop();
    }

    CScoreCell* Cell(int id) { return sheet->pScoreCell[CategoryIndex(id)]; }
    static CActorButton* Undo() { return gCellAssets.undoButton; }

    // Fills every cell but 'l' with the mixed hand.
    void FillElevenCells() {
        for (int id = kFirstCategory; id < kLastCategory; ++id) ASSERT_EQ(Score(id), 1) << id;
        StopAll();
    }
    // Then the game ends with 'l' scratched on the last hand.
    void FinishByTheLastFill() {
        FillElevenCells();
        scene->lastHand = true;
        ASSERT_EQ(Score(kTwoPairs), 1);
    }

    // Draws the scene once and reads a region back as 0x00RRGGBB.
    std::vector<std::uint32_t> DrawAndRead(const SDL_Rect& rect) {
        sheet->Update(0);
        EXPECT_EQ(device->BeginFrame(), 0);
        SDL_SetRenderDrawColor(device->GetDevice(), 0, 0, 80, 255);
        SDL_RenderClear(device->GetDevice());
        scene->DrawActors(CRect{0, 0, 800, 600});
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(rect.w * rect.h));
        EXPECT_EQ(SDL_RenderReadPixels(device->GetDevice(), &rect, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                                       rect.w * 4),
                  0);
        device->EndFrame();
        for (std::uint32_t& p : pixels) p &= 0xFFFFFFu;
        return pixels;
    }

    // The leftmost and rightmost columns of yellow pixels in a region (left > right: none).
    std::pair<int, int> YellowSpan(const SDL_Rect& area) {
        const std::vector<std::uint32_t> pixels = DrawAndRead(area);
        int left = 10000, right = -1;
        for (int i = 0; i < area.w * area.h; ++i)
            if (IsYellowish(pixels[static_cast<std::size_t>(i)])) {
                left = std::min(left, area.x + i % area.w);
                right = std::max(right, area.x + i % area.w);
            }
        return {left, right};
    }

    SettingsSandbox sandbox;
    SheetScene* scene = nullptr;
    CScoreSheet* sheet = nullptr;
};

// ---------------------------------------------------------------- assets

TEST_F(ScoreSheetTest, AssetsLoadInTheArchiveOrderAndAgainWithoutLeftovers) {
    for (int i = 0; i < kSheetSoundCount; ++i) EXPECT_NE(gSheetAssets.sounds[i], nullptr) << i;
    ASSERT_NE(gSheetAssets.font, nullptr);
    EXPECT_EQ(gSheetAssets.font->firstChar, kSheetFontFirstChar);
    EXPECT_NE(gSheetAssets.font->Glyph('9'), nullptr);
    EXPECT_NE(gSheetAssets.levelMarker, nullptr);
    EXPECT_NE(gSheetAssets.gameOver, nullptr);
    EXPECT_NE(gCellAssets.undoSound, nullptr);
    EXPECT_NE(gCellAssets.sparkle, nullptr);
    ASSERT_NE(gCellAssets.cells, nullptr);
    EXPECT_EQ(gCellAssets.cells->GetCount(), 1);
    ASSERT_NE(gCellAssets.undoFrames, nullptr);
    EXPECT_EQ(gCellAssets.undoFrames->GetCount(), 2);  // up and down

    CActorButton* undo = Undo();
    ASSERT_NE(undo, nullptr);
    EXPECT_EQ(undo->scene, scene);
    EXPECT_TRUE(undo->hidden);
    EXPECT_EQ(undo->mode, kButtonPush);
    EXPECT_EQ(undo->key, kUndoKey);
    EXPECT_EQ(undo->z, kUndoButtonDepth * 256);

    // A second load (the scene loading again) replaces everything; the old
    // undo button is ended, not left over the sheet.
    SeekSheetRun();
    ASSERT_EQ(LoadScoreSheetAssets(screen), 0);
    EXPECT_TRUE(undo->dead);
    EXPECT_NE(Undo(), undo);
    int liveUndoButtons = 0;
    for (CActor* a = scene->FirstActor(); a; a = a->next) {
        auto* button = dynamic_cast<CActorButton*>(a);
        if (button && button->key == kUndoKey && !button->dead) ++liveUndoButtons;
    }
    EXPECT_EQ(liveUndoButtons, 1);

    FreeScoreSheetAssets();
    FreeScoreSheetAssets();
    for (MSound* sound : gSheetAssets.sounds) EXPECT_EQ(sound, nullptr);
    EXPECT_EQ(gSheetAssets.font, nullptr);
    EXPECT_EQ(gCellAssets.cells, nullptr);
    EXPECT_EQ(Undo(), nullptr);
}

TEST_F(ScoreSheetTest, AssetsReport68WhenNoSoundCanBeMade) {
    FreeScoreSheetAssets();
    SeekSheetRun();
    MSoundManager::Free();  // a manager that was never started makes no sounds
    EXPECT_EQ(LoadScoreSheetAssets(screen), kResultPlaySoundNotRead);
    EXPECT_EQ(gSheetAssets.font, nullptr);
    EXPECT_EQ(Undo(), nullptr);
    EXPECT_EQ(LoadCellAssets(screen), kResultPlaySoundNotRead);
    FreeScoreSheetAssets();
}

// ---------------------------------------------------------------- scoring

TEST_F(ScoreSheetTest, EachCategoryPlaysItsSoundByTheRulesOrder) {
    struct Case {
        const char* what;
        int id;
        SheetHand hand;
        bool lastHand;
        std::vector<int> sounds;
    };
    const SheetHand twoTwos = {{2, 2, 3, 4, 5}, {0, 1, 2, 3, 0}};
    const SheetHand noTwos = {{1, 3, 3, 4, 5}, {0, 1, 2, 3, 0}};
    const SheetHand straightInOrder = {{2, 3, 4, 5, 6}, {2, 2, 2, 2, 2}};
    const std::vector<Case> cases = {
        {"five sixes", kSixes, kFiveSixes, false, {kSheetSoundFiveOfFace}},
        {"four sixes", kSixes, kFourSixes, false, {kSheetSoundFourOfFace}},
        {"three sixes with the colour bonus", kSixes, kThreeSixesOneColour, false,
         {kSheetSoundColourBonus, kSheetSoundThreeOfFace}},
        {"two twos", kTwos, twoTwos, false, {kSheetSoundTwoOfFace}},
        {"one five", kFives, kMixed, false, {kSheetSoundOneOfFace}},
        {"one five, last hand", kFives, kMixed, true, {}},
        {"four sixes, last hand", kSixes, kFourSixes, true, {kSheetSoundFourOfFace}},
        {"no two: scratch", kTwos, noTwos, false, {kSheetSoundZero}},
        {"no two on the last hand", kTwos, noTwos, true, {}},
        {"the total", kTotal, kMixed, false, {kSheetSoundTotal}},
        {"five of a kind", kFiveOfAKind, kFiveSixes, false, {kSheetSoundFirstRight}},
        {"five of a kind scratched", kFiveOfAKind, kMixed, false, {kSheetSoundZero}},
        {"five of a kind scratched, last hand", kFiveOfAKind, kMixed, true, {}},
        {"flush with its bonus", kFlush, straightInOrder, false,
         {kSheetSoundColourBonus, kSheetSoundFirstRight + 1}},
        {"straight out of order", kStraight, {{3, 1, 2, 5, 4}, {0, 1, 2, 3, 0}}, false,
         {kSheetSoundFirstRight + 3}},
        {"two pairs", kTwoPairs, kThreeSixesOneColour, false, {kSheetSoundFirstRight + 5}},
    };
    for (const Case& c : cases) {
        NewGame();
        scene->lastHand = c.lastHand;
        ASSERT_EQ(Score(c.id, c.hand), 1) << c.what;
        const HandValue expected = ScoreHand(c.id, c.hand.faces, c.hand.colours);
        EXPECT_EQ(Cell(c.id)->value, expected.points) << c.what;
        EXPECT_FALSE(Cell(c.id)->hidden) << c.what;
        EXPECT_EQ(Playing(), c.sounds) << c.what;
        const bool bonusShown = c.id != kTotal && expected.colourBonus;
        EXPECT_EQ(!Cell(c.id)->sparkle->hidden, bonusShown) << c.what;
        EXPECT_EQ(Cell(c.id)->sparkle->blinking != 0, bonusShown) << c.what;
        EXPECT_EQ(sheet->ColourBonusPending, 0) << c.what;
        EXPECT_EQ(sheet->LastFilledIndex, CategoryIndex(c.id)) << c.what;
    }
}

TEST_F(ScoreSheetTest, TheSameCellTwiceIsRefusedAndKeepsItsFirstValue) {
    ASSERT_EQ(Score(kSixes, kFiveSixes), 1);
    const int first = Cell(kSixes)->value;
    StopAll();
    EXPECT_EQ(Score(kSixes, kThreeSixesOneColour), 0);
    EXPECT_EQ(Cell(kSixes)->value, first);
    EXPECT_STREQ(Cell(kSixes)->GetText(), std::to_string(first).c_str());
    EXPECT_EQ(sheet->ColourBonusPending, 0);  // the refused hand's bonus is dropped
    EXPECT_TRUE(Playing().empty());
}

TEST_F(ScoreSheetTest, NoCompleteLineOrAnIdOutsideTheCellsChangesNothing) {
    scene->haveLine = false;
    EXPECT_EQ(Score(kSixes), 0);
    scene->haveLine = true;
    for (int id : {0, kFirstCategory - 1, kLastCategory + 1, 109, 110}) EXPECT_EQ(Score(id), 0) << id;
    for (const CScoreCell* cell : sheet->pScoreCell) {
        EXPECT_EQ(cell->filled, 0);
        EXPECT_TRUE(cell->hidden);
    }
    EXPECT_EQ(sheet->LastFilledIndex, -1);
    EXPECT_TRUE(Playing().empty());
    EXPECT_TRUE(Undo()->hidden);
}

TEST_F(ScoreSheetTest, UndoRightAfterAFillEmptiesTheCellOnce) {
    ASSERT_EQ(Score(kStraight), 1);
    // The undo button stands just below the filled cell ('j': x 686, y 52 + 80 x 3).
    EXPECT_FALSE(Undo()->hidden);
    EXPECT_EQ(Undo()->x, 686 * 256);
    EXPECT_EQ(Undo()->y, (52 + 240 + 30) * 256);
    EXPECT_EQ(sheet->pRightSubtotal->GetValue(), Cell(kStraight)->value);
    StopAll();

    EXPECT_EQ(sheet->UndoLastEntry(), 1);
    EXPECT_EQ(Cell(kStraight)->filled, 0);
    EXPECT_EQ(Cell(kStraight)->value, 0);
    EXPECT_TRUE(Cell(kStraight)->hidden);
    EXPECT_TRUE(Undo()->hidden);
    EXPECT_TRUE(gCellAssets.undoSound->IsPlaying());
    EXPECT_EQ(sheet->UndoUsed, 1);
    EXPECT_EQ(sheet->pRightSubtotal->GetValue(), 0);
    EXPECT_EQ(sheet->pScore->GetValue(), 0);

    gCellAssets.undoSound->Stop();
    EXPECT_EQ(sheet->UndoLastEntry(), 0);
    EXPECT_FALSE(gCellAssets.undoSound->IsPlaying());
    // The cell can be scored again, and that clears the undo flag.
    EXPECT_EQ(Score(kStraight), 1);
    EXPECT_EQ(sheet->UndoUsed, 0);
}

TEST_F(ScoreSheetTest, ALevelIsAnnouncedOncePerGameUnlessItDropped) {
    const SheetHand sum20 = {{4, 4, 4, 4, 4}, {0, 1, 2, 3, 0}};       // 'f' 20
    const SheetHand sum21 = {{5, 4, 4, 4, 4}, {0, 1, 2, 3, 0}};       // 'f' 21
    const SheetHand oneTwo = {{2, 1, 1, 1, 1}, {0, 1, 2, 3, 0}};      // 'e' 4
    auto levelSounds = [] {
        const std::vector<int> p = Playing();
        return static_cast<int>(std::count(p.begin(), p.end(), static_cast<int>(kSheetSoundLevel)));
    };
    CActorSprite* marker = sheet->pasLeftLevel;

    ASSERT_EQ(Score(kSixes, kFiveSixes), 1);
    ASSERT_EQ(Score(kTotal, sum20), 1);
    EXPECT_EQ(sheet->pLeftSubtotal->GetValue(), 80);
    EXPECT_TRUE(marker->hidden);
    EXPECT_EQ(levelSounds(), 0);
    EXPECT_EQ(sheet->pScore->GetValue(), 80);  // level 0 counts once

    ASSERT_EQ(sheet->UndoLastEntry(), 1);
    StopAll();
    ASSERT_EQ(Score(kTotal, sum21), 1);
    EXPECT_EQ(sheet->pLeftSubtotal->GetValue(), 81);
    EXPECT_FALSE(marker->hidden);
    EXPECT_EQ(marker->y, 555 * 256);
    EXPECT_EQ(marker->x, 224 * 256);
    EXPECT_TRUE(marker->blinking);
    EXPECT_EQ(levelSounds(), 1);
    EXPECT_EQ(sheet->pScore->GetValue(), 162);  // level 1 doubles

    // Dropping below 81 hides the marker; rising again announces again.
    ASSERT_EQ(sheet->UndoLastEntry(), 1);  // back to 60
    EXPECT_TRUE(marker->hidden);
    StopAll();
    ASSERT_EQ(Score(kTotal, sum21), 1);
    EXPECT_FALSE(marker->hidden);
    EXPECT_EQ(levelSounds(), 1);

    // Staying at level 1, up or back down to 81: no further announcement.
    StopAll();
    ASSERT_EQ(Score(kTwos, oneTwo), 1);
    EXPECT_EQ(sheet->pLeftSubtotal->GetValue(), 85);
    EXPECT_EQ(levelSounds(), 0);
    ASSERT_EQ(sheet->UndoLastEntry(), 1);
    EXPECT_FALSE(marker->hidden);
    EXPECT_EQ(levelSounds(), 0);

    // A new game forgets the announcements.
    NewGame();
    EXPECT_TRUE(marker->hidden);
    ASSERT_EQ(Score(kSixes, kFiveSixes), 1);
    ASSERT_EQ(Score(kTotal, sum21), 1);
    EXPECT_EQ(levelSounds(), 1);
}

TEST_F(ScoreSheetTest, TheRightMarkerClimbsItsFiveRows) {
    // Right sums of 101, 151, 201, 251 and 301 reach levels 1 to 5.
    const int rows[] = {555, 532, 509, 486, 463};
    for (int level = 1; level <= 5; ++level) {
        NewGame();
        for (int i = 0; i < 6; ++i) {
            Cell(kFiveOfAKind + i)->Fill(i == 0 ? 50 * level + 51 : 0);
        }
        sheet->Recalculate();
        EXPECT_FALSE(sheet->pasRightLevel->hidden) << level;
        EXPECT_EQ(sheet->pasRightLevel->y, rows[level - 1] * 256) << level;
        EXPECT_EQ(sheet->pasRightLevel->x, 406 * 256) << level;
        EXPECT_EQ(sheet->pScore->GetValue(), (50 * level + 51) * (level + 1)) << level;
    }
}

// ---------------------------------------------------------------- end of game

TEST_F(ScoreSheetTest, TheTwelfthFillEndsTheGameWithExactlyOneEndSound) {
    struct Case {
        bool overall, personal, topTen;
        int sound;
        int result;
    };
    const Case cases[] = {
        {true, false, false, kSheetSoundRecord, 1},
        {false, true, false, kSheetSoundRecord, 1},
        {true, true, true, kSheetSoundRecord, 1},
        {false, false, true, kSheetSoundTopTen, 1},
        {false, false, false, kSheetSoundGameOver, 0},
    };
    for (const Case& c : cases) {
        NewGame();
        FillElevenCells();
        EXPECT_TRUE(scene->log.empty());
        EXPECT_TRUE(sheet->pasGameOver->hidden);
        scene->lastHand = true;
        scene->bestOverall = c.overall;
        scene->bestPersonal = c.personal;
        scene->topTen = c.topTen;
        ASSERT_EQ(Score(kTwoPairs), 1);  // a scratch: no zero sound on the last hand
        EXPECT_TRUE(Undo()->hidden);
        EXPECT_FALSE(sheet->pasGameOver->hidden);
        EXPECT_EQ(scene->log, (std::vector<std::string>{"EndTurn 0", "SetGameOver"}));
        EXPECT_EQ(Playing(), std::vector<int>{c.sound}) << c.overall << c.personal << c.topTen;
        // The finished game is recorded: its last fill cannot be taken back.
        EXPECT_EQ(sheet->UndoLastEntry(), 0);
        EXPECT_EQ(Cell(kTwoPairs)->filled, 1);
        StopAll();
        EXPECT_EQ(sheet->FinishGame(), c.result);
        scene->lastHand = false;
    }
}

TEST_F(ScoreSheetTest, ARecalculationAfterTheGameEndedDoesNotEndItAgain) {
    FinishByTheLastFill();
    scene->log.clear();
    sheet->Recalculate();
    EXPECT_TRUE(scene->log.empty());
}

TEST_F(ScoreSheetTest, BestScoreIsWrittenOnlyWhenBeatenOrANewBestOverall) {
    MRegistryStore* store = MRegistryStore::Get(HKEY_LOCAL_MACHINE);
    struct Case {
        int storedDelta;  // stored best minus the game's total
        bool overall;
        int stored;       // expected afterwards, as a delta
        bool displayRewritten;
    };
    const Case cases[] = {
        {0, false, 0, false},   // equal: left alone
        {0, true, 0, true},     // equal but a new best overall: written again
        {-1, false, 0, true},   // beaten
        {5, false, 5, false},   // not reached
    };
    // The total of the mixed hand in every cell.
    FinishByTheLastFill();
    const int total = sheet->Totals().total;
    ASSERT_GT(total, 0);
    for (const Case& c : cases) {
        store->WriteDword("BestScore", static_cast<DWORD>(total + c.storedDelta), "Config");
        scene->bestOverall = c.overall;
        sheet->pHighScore->Set(7);
        sheet->FinishGame();
        EXPECT_EQ(ReadBestScore(), total + c.stored) << c.storedDelta << c.overall;
        EXPECT_EQ(sheet->pHighScore->GetValue(), c.displayRewritten ? total : 7) << c.storedDelta << c.overall;
    }
}

TEST_F(ScoreSheetTest, TheBestScoreDisplayStartsFromTheStore) {
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteDword("BestScore", 4321, "Config");
    auto* second = new CScoreSheet(scene);
    EXPECT_EQ(second->pHighScore->GetValue(), 4321);
    second->SetBestScore(555);
    EXPECT_EQ(ReadBestScore(), 555);
    EXPECT_EQ(second->pHighScore->GetValue(), 555);
    // The scene keeps its first sheet; this one goes now (and the assets with it).
    delete second;
    EXPECT_EQ(gSheetAssets.font, nullptr);
}

// ---------------------------------------------------------------- input

TEST_F(ScoreSheetTest, ClicksOnCellAreasAndSubtotalsReachTheSceneAsKeys) {
    struct Case {
        int x, y, key;
    };
    std::vector<Case> cases;
    for (int row = 0; row < 6; ++row) {
        cases.push_back({14, 24 + 80 * row, kFirstCategory + row});          // top-left corner of the area
        cases.push_back({210, 94 + 80 * row, kFirstCategory + row});         // bottom-right corner
        cases.push_back({588, 24 + 80 * row, kFirstCategory + 6 + row});
        cases.push_back({784, 94 + 80 * row, kFirstCategory + 6 + row});
    }
    cases.push_back({113, 519, CScoreSheet::kLeftSubtotalKey});
    cases.push_back({687, 519, CScoreSheet::kRightSubtotalKey});
    sheet->Update(0);
    for (const Case& c : cases) {
        scene->keys.clear();
        Click(c.x, c.y);
        EXPECT_EQ(scene->keys, std::vector<int>{c.key}) << c.x << "," << c.y;
    }
    // Outside every area: nothing.
    scene->keys.clear();
    Click(300, 300);
    Click(212, 60);
    EXPECT_TRUE(scene->keys.empty());

    // A filled cell takes the click itself, with the same key.
    ASSERT_EQ(Score(kFives), 1);
    scene->keys.clear();
    Click(112, 52 + 80 - 5);
    EXPECT_EQ(scene->keys, std::vector<int>{kFives});
}

TEST_F(ScoreSheetTest, TheUndoButtonSendsItsKeyWhereItStands) {
    ASSERT_EQ(Score(kFives), 1);
    ASSERT_FALSE(Undo()->hidden);
    scene->keys.clear();
    const CRect& b = Undo()->bounds;
    Click((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    EXPECT_EQ(scene->keys, std::vector<int>{kUndoKey});
    HideUndoButton();
    EXPECT_TRUE(Undo()->hidden);
}

// ---------------------------------------------------------------- displays

TEST_F(ScoreSheetTest, TheLargestScoresStayInsideTheirFieldsClearOfTheCaptions) {
    sheet->pScore->Set(99999);
    sheet->pHighScore->Set(2147483647);  // a stored best from another program
    // The fields' dark boxes run from x 318 and 439; SCORE and BEST end left of them.
    EXPECT_EQ(YellowSpan({250, 50, 68, 40}).second, -1);
    EXPECT_EQ(YellowSpan({391, 50, 48, 40}).second, -1);
    EXPECT_GT(YellowSpan({439, 50, 72, 40}).second, 480) << "the best score is drawn";
}

TEST_F(ScoreSheetTest, DisplaysDrawAtTheirAnchorsAndClampAtFiveDigits) {
    sheet->pScore->Set(12345);
    sheet->pHighScore->Set(54321);
    sheet->pLeftSubtotal->Set(80);
    sheet->pRightSubtotal->Set(101);
    // Score: right edge on x 385; the best score's left edge lies between 400 and 506.
    const int rightmostScore = YellowSpan({250, 50, 151, 40}).second;
    const int leftmostHigh = YellowSpan({401, 50, 149, 40}).first;
    ASSERT_GT(rightmostScore, 300) << "the score's digits are not drawn";
    EXPECT_LE(rightmostScore, 385);
    EXPECT_GE(rightmostScore, 385 - 16);
    EXPECT_LT(leftmostHigh, 506);
    EXPECT_GT(leftmostHigh, 400);

    // Subtotals: centred on x 113 and 687.
    for (const auto& [anchor, display] :
         {std::pair{113, sheet->pLeftSubtotal.get()}, std::pair{687, sheet->pRightSubtotal.get()}}) {
        const auto [left, right] = YellowSpan({anchor - 60, 500, 120, 40});
        ASSERT_GE(right, left) << display->GetText();
        EXPECT_NEAR((left + right) / 2.0, anchor, 3.0) << display->GetText();
    }

    for (CScore* display :
         {sheet->pScore.get(), sheet->pHighScore.get(), sheet->pLeftSubtotal.get(), sheet->pRightSubtotal.get()}) {
        display->Set(123456);
        sheet->Update(0);
        EXPECT_STREQ(display->GetLabel()->GetText(), "99999");
        EXPECT_EQ(display->GetLabel()->colour, 0xFFFFFF00u);
        EXPECT_EQ(display->GetLabel()->font, gSheetAssets.font);
    }
    EXPECT_EQ(sheet->pScore->GetLabel()->hAlign, kAlignRight);
    EXPECT_EQ(sheet->pLeftSubtotal->GetLabel()->hAlign, kAlignCentre);
    EXPECT_EQ(sheet->pScore->GetLabel()->key, 0);
    EXPECT_EQ(sheet->pScore->GetLabel()->mouseEnabled, 0);
}

TEST_F(ScoreSheetTest, CellLabelsShowUpToThreeDigitsInOpaqueYellowWithShadow) {
    const std::vector<std::pair<int, const char*>> values = {{0, "0"}, {7, "7"}, {40, "40"}, {123, "123"},
                                                             {999, "999"}, {1234, "999"}};
    for (const auto& [value, text] : values) {
        NewGame();
        CScoreCell* cell = Cell(kTwos);
        ASSERT_EQ(cell->Fill(value), 1);
        EXPECT_STREQ(cell->GetText(), text) << value;
        EXPECT_EQ(cell->colour, 0xFFFFFF00u);
        EXPECT_EQ(cell->shadow, 1);
        EXPECT_EQ(cell->vAlign, kAlignBottom);
        EXPECT_EQ(cell->hAlign, kAlignCentre);
    }
    // A filled cell's label is drawn in the sheet's yellow font at the cell.
    const std::vector<std::uint32_t> pixels = DrawAndRead(SDL_Rect{60, 330, 110, 80});
    EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(), IsYellowish));
}

// The sparkle covers no text: it stands beside the value, over the pad label
// (of no use once the cell is filled), and no lower than the value's box, so
// the category's name and description under it stay readable.
TEST_F(ScoreSheetTest, EveryCellsSparkleStandsClearOfItsValueAndOfTheTextUnderIt) {
    for (int index = 0; index < kCategoryCount; ++index) {
        CScoreCell* cell = Cell(CategoryCodeOf(index));
        ASSERT_EQ(cell->Fill(20), 1);
        cell->ShowColourBonus();
        DrawAndRead(SDL_Rect{0, 0, 1, 1});  // a frame places every actor's bounds
        const CRect& star = cell->sparkle->bounds;
        const CRect& value = cell->bounds;
        EXPECT_FALSE(RectsOverlap(star, value)) << index;
        EXPECT_LE(star.bottom, value.bottom + 2) << index;
        EXPECT_LT(star.right, value.left) << index;
    }
}

TEST_F(ScoreSheetTest, ACellsResetEmptiesItAndItsBonusShowsThreeBlinks) {
    CScoreCell* cell = Cell(kFours);
    ASSERT_EQ(cell->Fill(12), 1);
    cell->ShowColourBonus();
    EXPECT_FALSE(cell->sparkle->hidden);
    EXPECT_EQ(cell->sparkle->blinkChanges, 6);
    EXPECT_EQ(cell->sparkle->shownPeriod, 38);
    EXPECT_EQ(cell->sparkle->hiddenPeriod, 38);
    EXPECT_EQ(cell->sparkle->x, cell->x + CScoreCell::kSparkleOffsetX * 256);
    EXPECT_EQ(cell->sparkle->y, cell->y + CScoreCell::kSparkleOffsetY * 256);
    EXPECT_EQ(cell->sparkle->z, cell->z + 256);
    scene->ResetActors(0, 0);
    EXPECT_EQ(cell->filled, 0);
    EXPECT_EQ(cell->value, 0);
    EXPECT_TRUE(cell->sparkle->hidden);
    EXPECT_TRUE(Undo()->hidden);
    EXPECT_EQ(cell->Clear(), 0);  // already empty
    // The click area and the sparkle go with the cell.
    CActorHotspot* hotspot = cell->hotspot;
    cell->Kill();
    EXPECT_TRUE(hotspot->dead);
    EXPECT_TRUE(cell->sparkle->dead);
}

}  // namespace
