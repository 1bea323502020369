// The play scene's start: its run of the archive, the objects of the play
// screen, the intro, and what a damaged archive does.

#include "tests/support/PlaySceneTestSupport.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "common/widgets/CEditBox.h"
#include "common/actors/CFont.h"
#include "common/widgets/CSceneDialog.h"
#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"

namespace playtest {
namespace {

TEST_F(PlaySceneTest, ObjectsStandWhereTheScreenNeedsThem) {
    Start();
    struct Row {
        const char* name;
        const CActor* actor;
        int x, y, depth;
        bool shown;
    };
    const Row rows[] = {
        {"background", scene->pasBackground, 0, 0, 32767, true},
        {"roll", scene->rollButton, 273, 88, 500, false},
        {"shadow", scene->pasRollButShadow, 273, 88, 400, false},
        {"options", scene->optionsButton, -12, 527, 200, true},
        {"new game", scene->newGameButton, 97, 527, 200, true},
        {"records", scene->recordsButton, 550, 527, 200, true},
        {"about", scene->aboutButton, 622, 527, 200, true},
        {"quit", scene->quitButton, 694, 527, 200, true},
        {"help", scene->helpButton, 513, 403, 200, false},
        {"line 0", scene->lineButtons[0], 213, 89, 200, false},
        {"line 1", scene->lineButtons[1], 269, 92, 200, false},
        {"line 5", scene->lineButtons[5], 469, 92, 200, false},
        {"line 6", scene->lineButtons[6], 498, 89, 200, false},
        {"title", scene->pasTitle, 272, 22, 100, true},
        {"top message", scene->pasMsgTop, 273, 106, 300, false},
        {"bottom message", scene->pasMsgBottom, 271, 401, 300, false},
        {"second-half help", scene->pasSecHalfHelp, 222, 439, 150, false},
        {"edit box plate", scene->pasInitEditBoxBkgnd, 274, 213, 500, false},
        {"edit box", scene->initialsEditBox, 342, 254, 300, false},
        {"top frame", scene->pasTopFrame, 269, 89, 500, true},
        {"intro", scene->pasIntro, 271, 118, 100, false},
    };
    for (const Row& row : rows) {
        ASSERT_NE(row.actor, nullptr) << row.name;
        EXPECT_EQ(row.actor->AbsoluteX(), row.x * 256) << row.name;
        EXPECT_EQ(row.actor->AbsoluteY(), row.y * 256) << row.name;
        EXPECT_EQ(row.actor->z, row.depth * 256) << row.name;
        EXPECT_EQ(Shown(row.actor), row.shown) << row.name;
    }
    EXPECT_EQ(scene->newGameButton->GetState(), kStateDisabled);
    EXPECT_EQ(scene->sceneId, kSceneKindPlay);
    EXPECT_EQ(gPlayScene, scene);
}

TEST_F(PlaySceneTest, EveryItemOfTheRunIsReadInItsPlace) {
    Start();
    const PlaySceneAssets& a = scene->assets;
    EXPECT_EQ(a.background->w, 800);
    EXPECT_EQ(a.rollButton->GetCount(), 3);  // up, down, disabled
    EXPECT_EQ(a.buttons[kButtonNewGame]->GetCount(), 3);
    EXPECT_EQ(a.dialogButtons->GetCount(), 4);
    EXPECT_EQ(a.editFont->firstChar, 48);
    // The hints stand centred on the board at their x.
    const std::pair<CSprite*, int> hints[] = {{a.hintRoll0, kHintXRoll0}, {a.hintRoll1, kHintXRoll1},
                                              {a.hintRoll2, kHintXRoll2}, {a.hintRoll3, kHintXRoll3},
                                              {a.hintSecondHalf, kHintXSecondHalf}, {a.hintMovable, kHintXMovable},
                                              {a.hintFixed, kHintXFixed}};
    for (const auto& [picture, x] : hints) EXPECT_NEAR(x + picture->ox + picture->w / 2.0, 400, 1);
    for (CSprite* message : a.endMessages) EXPECT_NE(message, nullptr);
    EXPECT_EQ(scene->pasMsgTop->frame, a.endMessages[3]);
}

TEST_F(PlaySceneTest, TheIntroEndsAfterItsTicksAndShowsTheRollButtonAndTheInitials) {
    Options()->SetInitials("ABC");
    Start();
    Run(300);  // the fade-in is over (one step a frame)
    EXPECT_TRUE(Shown(scene->pasIntro));
    EXPECT_FALSE(Shown(scene->rollButton));
    Run(kIntroTicks);
    EXPECT_FALSE(Shown(scene->pasIntro));
    EXPECT_FALSE(Shown(scene->pasTitle));
    EXPECT_TRUE(Shown(scene->rollButton));
    EXPECT_TRUE(Shown(scene->pasRollButShadow));
    EXPECT_TRUE(Shown(scene->initialsEditBox));
    EXPECT_STREQ(scene->initialsEditBox->GetText(), "ABC");
    // Typed initials are taken at the first roll.
    Tap(SDLK_BACKSPACE);
    Tap(SDLK_x);
    Tap(SDLK_RETURN);
    EXPECT_TRUE(scene->initialsCommitted);
    EXPECT_FALSE(Shown(scene->initialsEditBox));
    EXPECT_STREQ(Options()->GetPlayerInitials(), "ABX");
}

TEST_F(PlaySceneTest, PressCodesDoNothingBeforeTheirTime) {
    Start();
    PastIntro();
    // The new-game button is disabled until the first roll; "1".."7" act only in the second half.
    Tap(SDLK_KP_PERIOD);
    EXPECT_EQ(CScene::Last(), scene);
    for (SDL_Keycode key : {SDLK_1, SDLK_4, SDLK_7}) Tap(key);
    EXPECT_EQ(scene->board.selectedLine, -1);
    for (const CActorButton* line : scene->lineButtons) EXPECT_EQ(line->GetState(), kStateUp);
    // Return held shows the pressed button; the roll comes on release.
    Key(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_EQ(scene->rollButton->GetState(), kStateDown);
    EXPECT_EQ(scene->board.rollsUsed, 0);
    Run(4);
    EXPECT_FALSE(Shown(scene->pasRollButShadow));
    Key(SDL_KEYUP, SDLK_RETURN);
    EXPECT_EQ(scene->board.rollsUsed, 1);
    EXPECT_EQ(scene->newGameButton->GetState(), kStateUp);
}

// Return released over a dialog or a page never reaches the game: the roll
// button it pressed does not stay drawn pressed behind them.
TEST_F(PlaySceneTest, TheRollButtonComesUpWhenADialogOrAPageOpensWhileReturnIsHeld) {
    Start();
    PastIntro();
    for (SDL_Keycode other : {SDLK_ESCAPE, SDLK_KP_DIVIDE}) {
        Key(SDL_KEYDOWN, SDLK_RETURN);
        Tap(other);
        Run(400);  // the quit dialog is up, or the options page has opened
        ASSERT_NE(CScene::Last(), scene);
        Key(SDL_KEYUP, SDLK_RETURN);
        Tap(other == SDLK_ESCAPE ? SDLK_n : SDLK_ESCAPE);
        Run(400);
        ASSERT_EQ(CScene::Last(), scene);
        EXPECT_EQ(scene->rollButton->GetState(), kStateUp) << other;
        EXPECT_TRUE(Shown(scene->pasRollButShadow)) << other;
        EXPECT_EQ(scene->board.rollsUsed, 0);
    }
}

TEST_F(PlaySceneTest, QuitDialogEndsTheProgramOnYesAndResumesOnNo) {
    Start();
    PastIntro();
    struct Case {
        SDL_Keycode answer;
        int quitCode;
    };
    for (const Case& c : {Case{SDLK_n, 0}, Case{SDLK_y, kRequestQuit}}) {
        Tap(SDLK_ESCAPE);
        ASSERT_NE(CScene::Last(), scene);
        EXPECT_TRUE(scene->paused);
        EXPECT_EQ(screen->musicPaused, 1);
        Tap(c.answer);
        Run(1);
        EXPECT_EQ(CScene::Last(), scene);
        EXPECT_EQ(screen->quitCode, c.quitCode);
        if (c.quitCode == 0) {
            EXPECT_FALSE(scene->paused);
            if (screen->music) {
                EXPECT_EQ(screen->musicPaused, 0);
            }
        }
        EXPECT_EQ(scene->pSceneQuitConfirm, nullptr);
    }
}

TEST_F(PlaySceneTest, HiddenPictureOpensOnlyAfterKQAndXWithTheLeftButtonHeld) {
    Start();
    PastIntro();
    Tap(SDLK_RETURN);  // the initials box takes letters until the first roll
    Tap(SDLK_x);
    EXPECT_EQ(CScene::Last(), scene);
    Tap(SDLK_k);
    Tap(SDLK_q);
    Tap(SDLK_x);
    EXPECT_EQ(CScene::Last(), scene) << "the left button is up";
    Move(20, 20);
    Button(SDL_MOUSEBUTTONDOWN, 20, 20, SDL_BUTTON_LEFT);
    Tap(SDLK_x);
    ASSERT_NE(CScene::Last(), scene);
    EXPECT_EQ(static_cast<CScene*>(scene->pSceneHidden), CScene::Last());
    Button(SDL_MOUSEBUTTONUP, 20, 20, SDL_BUTTON_LEFT);
    Tap(SDLK_0);
    Run(1);
    EXPECT_EQ(CScene::Last(), scene);
    EXPECT_EQ(scene->pSceneHidden, nullptr);
}

TEST_F(PlaySceneTest, NewGameDialogRestartsTheGame) {
    Start();
    PastIntro();
    Tap(SDLK_RETURN);
    ASSERT_EQ(scene->board.rollsUsed, 1);
    Tap(SDLK_KP_PERIOD);
    ASSERT_EQ(static_cast<CScene*>(scene->pSceneResetConfirm), CScene::Last());
    Tap(SDLK_y);
    Run(1);
    EXPECT_EQ(CScene::Last(), scene);
    EXPECT_EQ(scene->board.rollsUsed, 0);
    EXPECT_TRUE(Shown(scene->rollButton));
}

// A copy of the archive with one byte range cut out or overwritten.
class DamagedArchiveTest : public PlaySceneTest {
protected:
    std::string Damage(long from, long count, bool cut) {
        // Built in two steps: GCC 12's -Warray-bounds misreads the one-line sum in some unity batches.
        std::string archive = ZANBOR_BIN_DIR;
        archive += "/zanborassets.mm";
        std::ifstream in(archive, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (cut)
            bytes.resize(static_cast<std::size_t>(from));
        else
            for (long i = 0; i < count; ++i) bytes[static_cast<std::size_t>(from + i)] = 'x';
        const std::string path = sandbox->ConfigHome() + "/damaged.mm";
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    int LoadFrom(const std::string& path) {
        screen->archive = std::make_unique<CFileMM>();
        FileSpec spec;
        std::strncpy(spec.directory, sandbox->ConfigHome().c_str(), FileSpec::kLength - 1);
        std::strncpy(spec.name, "damaged.mm", FileSpec::kLength - 1);
        (void)path;
        EXPECT_EQ(screen->archive->OpenArchive(spec, kModeReadExisting), 0);
        scene = new CPlayScene(screen, 0, 0, 0, 0, 1);
        screen->scene.reset(scene);
        scene->LoadAssets();
        return scene->GetLoadResult();
    }
};

TEST_F(DamagedArchiveTest, AMissingSoundGives68AndAShortPictureGives18) {
    const long entry3 = screen->archive->GetEntry(kPlaySceneEntry);
    // Item 2 (a sound) follows the background; its chunk id is overwritten.
    screen->archive->SeekEntry(kPlaySceneEntry);
    ChunkHeader header;
    screen->archive->ReadChunkHeader(&header);
    const long sound = entry3 + 8 + header.size + (header.size & 1);
    EXPECT_EQ(LoadFrom(Damage(sound, 4, false)), kResultPlaySoundNotRead);
    while (CScene::Last()) delete CScene::Last();
    screen->scene.release();
    // The file ends inside the background picture.
    EXPECT_EQ(LoadFrom(Damage(entry3 + header.size / 2, 0, true)), kResultPlayAssetsNotLoaded);
}

TEST_F(DamagedArchiveTest, DamageInTheDiceOrSheetRunGives18AndTheSceneStillRuns) {
    // Offsets of the dice run's chunks, read from the intact archive.
    const long entry9 = screen->archive->GetEntry(9);
    std::vector<long> chunk;
    std::vector<long> size;
    screen->archive->SeekEntry(9);
    long at = entry9;
    for (int i = 0; i < 7; ++i) {
        ChunkHeader header;
        screen->archive->ReadChunkHeader(&header);
        screen->archive->Ascend();
        chunk.push_back(at);
        size.push_back(header.size);
        at += 8 + header.size + (header.size & 1);
    }
    struct Case {
        const char* name;
        long from, count;
        bool cut;
    };
    const Case cases[] = {
        {"the dice's hold sound is missing", chunk[0], 4, false},
        {"the dice's roll-many sound is missing", chunk[5], 4, false},
        {"the file ends inside the first face array", chunk[6] + 8 + size[6] / 2, 0, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LoadFrom(Damage(c.from, c.count, c.cut)), kResultPlayAssetsNotLoaded) << c.name;
        // The screen does not act on the result: the scene begins and is played.
        scene->Begin();
        PastIntro();
        Tap(SDLK_RETURN);
        Run(1500);
        Category(97);
        Run(100);
        while (CScene::Last()) delete CScene::Last();
        screen->scene.release();
    }
}

}  // namespace
}  // namespace playtest
