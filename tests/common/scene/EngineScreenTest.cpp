// The screen: scene requests against frames and events, activation and the
// game clock, minimising with the scene's pause and the music, the frame's
// draw, and the sound and music loaders.

#include "tests/support/EngineWindowSupport.h"
#include "tests/support/FileTestHelpers.h"
#include "formats/CFileMM.h"
#include "platform/audio/MMusicManager.h"
#include "platform/audio/MMusicSegment.h"
#include "platform/audio/MSound.h"
#include "platform/audio/MSoundManager.h"
#include "tests/support/ArchiveBuilder.h"

using namespace enginewin;

namespace {

class CountingSprite : public ProbeSprite {
public:
    using ProbeSprite::ProbeSprite;
    void Update(int ticks) override {
        ++updates;
        CActorSprite::Update(ticks);
    }
    int updates = 0;
};

// A music segment without a synthesizer: the screen's own flags tell the story.
MMusicSegment* SilentSegment() { return new MMusicSegment(nullptr, {}, MMidiInfo{}); }

}  // namespace

using EngineScreenTests = EngineWindowTest;

TEST_F(EngineScreenTests, APendingRequestStopsFramesButNotEventDelivery) {
    auto* scene = new ProbeScene(screen, "game");
    screen->scene.reset(scene);
    auto* actor = new CountingSprite(scene, "actor", 10, 10, 20, Picture(8, 8, false));
    screen->Frame();
    EXPECT_EQ(actor->updates, 1);
    EXPECT_EQ(actor->drawn, 1);  // update, then draw, then tick

    auto* dialog = new ProbeScene(screen, "dialog");
    Window(SDL_WINDOWEVENT_CLOSE);  // closing while a dialog is up still names the current scene
    EXPECT_EQ(screen->requestPending, 1);
    EXPECT_EQ(screen->requestCode, kRequestQuit);
    EXPECT_EQ(screen->requestedScene, scene);
    EXPECT_EQ(screen->requestResume, 1);

    screen->Frame();
    screen->Draw();
    EXPECT_EQ(actor->updates, 1);
    Press(300, 300);
    Key(SDL_KEYDOWN, SDLK_ESCAPE);
    EXPECT_EQ(gLog, (std::vector<std::string>{"dialog left-down 300,300", "dialog key-down 27"}));

    screen->requestPending = 0;
    delete dialog;
    screen->Frame();
    EXPECT_EQ(actor->updates, 2);
}

TEST_F(EngineScreenTests, TheFrameDrawsTheScenesFarToNear) {
    auto* scene = new ProbeScene(screen, "game");
    screen->scene.reset(scene);
    new ProbeSprite(scene, "back", 0, 0, 100, Picture(100, 100, false));
    auto* front = new ProbeSprite(scene, "front", 50, 50, 10, Picture(20, 20, true));
    screen->Frame();
    EXPECT_EQ(front->drawn, 1);
    SDL_Renderer* renderer = MRenderDevice::Current()->GetDevice();
    auto pixel = [&](int x, int y) {
        SDL_Rect rect{x, y, 1, 1};
        std::uint32_t value = 0;
        SDL_RenderReadPixels(renderer, &rect, SDL_PIXELFORMAT_ARGB8888, &value, 4);
        return value & 0xFFFFFFu;
    };
    // Both pictures are the same colour; what is checked is that each was
    // drawn where it stands and the area outside them was not.
    EXPECT_EQ(pixel(5, 5), 0xFF8040u);
    EXPECT_EQ(pixel(65, 60), 0xFF8040u);
    EXPECT_NE(pixel(150, 150), 0xFF8040u);
}

TEST_F(EngineScreenTests, DeactivationStopsTheGameClockAndReactivationRestartsIt) {
    auto* scene = new ProbeScene(screen, "game");
    screen->scene.reset(scene);
    AdvanceTicks(50);
    const int before = CScene::Now();
    EXPECT_EQ(before, 50);
    Window(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(screen->active, 0);
    AdvanceTicks(1000);
    EXPECT_EQ(CScene::Now(), before);
    screen->Frame();  // the loop runs none while inactive; even so nothing moves
    EXPECT_EQ(scene->actorStep, 0);

    Window(SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_EQ(screen->active, 1);
    EXPECT_EQ(CScene::Now(), before);
    AdvanceTicks(10);
    EXPECT_EQ(CScene::Now(), before + 10);
    screen->Frame();
    EXPECT_EQ(scene->actorStep, 10);
}

TEST_F(EngineScreenTests, MinimisingPausesSceneAndMusicAndRestoringResumesOnlyWhenAllowed) {
    auto* scene = new ProbeScene(screen, "game");
    screen->scene.reset(scene);
    screen->music.reset(SilentSegment());
    screen->musicPaused = 0;  // as if playing

    Window(SDL_WINDOWEVENT_MINIMIZED);
    EXPECT_EQ(scene->paused, 1);
    EXPECT_EQ(screen->musicPaused, 1);
    EXPECT_EQ(screen->minimised, 1);
    EXPECT_EQ(screen->active, 0);
    Window(SDL_WINDOWEVENT_RESTORED);
    EXPECT_EQ(scene->paused, 0);
    EXPECT_EQ(screen->musicPaused, 0);
    EXPECT_EQ(screen->minimised, 0);
    EXPECT_EQ(screen->active, 1);

    // Paused with the pause key: minimising and restoring leave it paused, music off.
    Key(SDL_KEYDOWN, SDLK_PAUSE);
    EXPECT_EQ(scene->paused, 1);
    EXPECT_EQ(screen->musicPaused, 1);
    Window(SDL_WINDOWEVENT_MINIMIZED);
    Window(SDL_WINDOWEVENT_RESTORED);
    EXPECT_EQ(scene->paused, 1);
    EXPECT_EQ(screen->musicPaused, 1);

    // A plain resize is no restore: a scene paused for another reason stays so.
    scene->userPaused = 0;
    Window(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600);
    EXPECT_EQ(scene->paused, 1);

    // Dragging the window suspends the scene until the drag ends.
    screen->OnEnterSizeMove();
    EXPECT_EQ(scene->suspended, 1);
    screen->OnExitSizeMove();
    EXPECT_EQ(scene->suspended, 0);
}

TEST_F(EngineScreenTests, MusicControlsFollowTheirFlags) {
    EXPECT_EQ(screen->PlayMusic(1), 0);  // no music: nothing to do
    screen->music.reset(SilentSegment());
    EXPECT_EQ(screen->PlayMusic(1), kResultMusicNotStarted);  // no synthesizer to play on
    EXPECT_EQ(screen->musicPaused, 1);
    screen->ToggleMusic();
    EXPECT_EQ(screen->musicPaused, 0);
    screen->ToggleMusic();
    EXPECT_EQ(screen->musicPaused, 1);
    screen->ResumeMusic();
    EXPECT_EQ(screen->musicPaused, 0);
    screen->StopMusic();
    EXPECT_EQ(screen->musicPaused, 1);
    screen->SetMusicVolume(0.5f);
}

TEST_F(EngineScreenTests, SoundAndMusicLoadersCheckTheChunkKind) {
    TempFolder folder;
    {
        ArchiveBuilder writer(folder / "s.mm", 1);
        const Bytes picture = {1, 2, 3};
        writer.Entry(0);
        writer.Chunk(kIdRgba, picture);
        writer.Chunk(kIdWave, Fixture("wave_s16_mono.wav"));
        writer.Chunk(kIdRgba, picture);
        writer.Chunk(kIdMidi, Fixture("audio_tune.mid"));
        writer.Finish();
    }
    auto* archive = new CFileMM;
    screen->archive.reset(archive);
    ASSERT_EQ(archive->OpenArchive(folder.Spec("s.mm"), kModeReadExisting), 0);
    archive->SeekEntry(0);

    MSound* sound = nullptr;
    ExpectFileException([&] { screen->LoadSound(&sound, archive); }, "common/CScreen", 460);
    archive->Ascend();
    ASSERT_EQ(MSoundManager::Get()->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 16), 0);
    EXPECT_EQ(screen->LoadSound(&sound, nullptr), 0);
    ASSERT_NE(sound, nullptr);
    delete sound;

    ExpectFileException([&] { screen->LoadMusic(archive); }, "common/CScreen", 515);
    archive->Ascend();
    EXPECT_EQ(screen->LoadMusic(archive), 0);  // without a ready synthesizer: silently no music
    MMusicManager::Free();
    MSoundManager::Free();
}
