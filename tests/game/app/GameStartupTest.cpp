// The game's start-up as a whole, in-process on SDL's dummy drivers: the
// desktop checks, the window mode switched by failures, the missing sound
// device, and a start that goes through to the play scene.
//
// The desktop mode is the one query replaced here (no headless video driver
// reports a small or 8-bit desktop); so is the render device's creation,
// which no renderer SDL offers can be made to fail. Everything else is real.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/actors/CActor.h"
#include "formats/CFileMM.h"
#include "common/scene/CScene.h"
#include "game/app/CGameApp.h"
#include "game/app/CGameScreen.h"
#include "platform/storage/MRegistryStore.h"
#include "platform/render/MRenderDevice.h"
#include "platform/audio/MSoundManager.h"
#include "platform/render/MTextFont.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/SettingsSandbox.h"

namespace {

class StartupApp : public CGameApp {
public:
    int windowedPossible = 1;
    int desktopBigEnough = 1;
    int deviceFails = 0;
    int sizeChecks = 0;

protected:
    int CanRenderWindowed() override { return windowedPossible; }
    int DesktopAtLeast(int, int) override {
        ++sizeChecks;
        return desktopBigEnough;
    }
    int CreateRenderDevice() override {
        if (deviceFails) return kResultNoDevice;
        MRenderDevice::Get(screen->handle)->deviceType = 0;  // the software renderer reads back
        return CGameApp::CreateRenderDevice();
    }
};

// Also notes over which window each message stood, and whether it was shown.
class OwnerDialogs : public RecordingDialogs {
public:
    int ShowMessage(SDL_Window* owner, const char* caption, const char* text, unsigned style) override {
        owners.push_back(owner);
        ownerShown.push_back(owner && (SDL_GetWindowFlags(owner) & SDL_WINDOW_SHOWN) != 0);
        return RecordingDialogs::ShowMessage(owner, caption, text, style);
    }
    std::vector<SDL_Window*> owners;
    std::vector<bool> ownerShown;
};

class GameStartup : public testing::Test {
protected:
    void SetUp() override {
        previousApp = gApplication;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("ZANBOR_SOUNDFONT", "none", 1);  // music is not what is tested; the synthesizer is slow to load
    }
    void TearDown() override {
        End();
        gApplication = previousApp;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("ZANBOR_SOUNDFONT");
        SDL_Quit();
    }

    void StoreFullscreen(int value) {
        MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteDword("Fullscreen", static_cast<DWORD>(value), "Config");
    }
    int StoredFullscreen() {
        DWORD value = 99;
        MRegistryStore::Get(HKEY_LOCAL_MACHINE)->ReadDword(&value, "Fullscreen", 99, "Config");
        return static_cast<int>(value);
    }
    // OnInit of a new application object, as the process entry runs it.
    int Start() {
        End();
        app = std::make_unique<StartupApp>();
        configure(*app);
        gApplication = app.get();
        app->instance = app.get();
        return app->OnInit();
    }
    // The end of a run: the application goes, as after the loop.
    void End() {
        app.reset();
        gApplication = previousApp;
        ResetAccumulatedWindowStyle();
    }
    // True when the quit message is waiting in the event queue.
    bool QuitPosted() {
        SDL_PumpEvents();
        SDL_Event events[16];
        int count = SDL_PeepEvents(events, 16, SDL_PEEKEVENT, SDL_USEREVENT, SDL_LASTEVENT);
        for (int i = 0; i < count; ++i)
            if (events[i].user.code == 0) return true;
        return false;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& message : dialogs.messages) out.push_back(message.text);
        return out;
    }

    // The run ended by one error message, standing over the application's window.
    void ExpectOneErrorOverTheWindow() {
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].caption, "Error");
        ASSERT_NE(app->screen, nullptr);
        EXPECT_EQ(dialogs.owners[0], app->screen->handle);
        EXPECT_TRUE(QuitPosted());
    }

    SettingsSandbox sandbox;
    OwnerDialogs dialogs;
    std::unique_ptr<StartupApp> app;
    std::function<void(StartupApp&)> configure = [](StartupApp&) {};
    MApplication* previousApp = nullptr;
};

TEST_F(GameStartup, TheDesktopChecksFollowTheStoredWindowMode) {
    struct Case {
        const char* name;
        int fullscreenStored;
        int windowedPossible;
        int desktopBigEnough;
        int result;
        std::vector<std::string> texts;
        int fullscreenAfter;
        int sizeChecks;
        int clientWidth, clientHeight;  // of the window made (0: none)
    };
    const Case cases[] = {
        {"small desktop, windowed", 0, 1, 0, 0, {kMessageDesktopTooSmall.text}, 0, 1, 0, 0},
        {"small desktop, full screen: no size check", 1, 1, 0, 1, {}, 1, 0, 800, 600},
        {"8-bit desktop, windowed: full screen from now on", 0, 0, 0, 1, {kMessageWindowedImpossible.text}, 1, 0,
         800, 600},
        {"good desktop, windowed", 0, 1, 1, 1, {}, 0, 1, 794, 575},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.messages.clear();
        StoreFullscreen(c.fullscreenStored);
        configure = [&](StartupApp& a) {
            a.windowedPossible = c.windowedPossible;
            a.desktopBigEnough = c.desktopBigEnough;
        };
        EXPECT_EQ(Start(), c.result);
        EXPECT_EQ(Texts(), c.texts);
        for (const auto& message : dialogs.messages) {
            // Before any window: no owner; a stop icon for the error, an exclamation for the warning.
            EXPECT_EQ(message.caption, c.result ? "Warning" : "Error");
            EXPECT_EQ(message.style & MB_ICONMASK, c.result ? MB_ICONEXCLAMATION : MB_ICONHAND);
        }
        for (SDL_Window* owner : dialogs.owners) EXPECT_EQ(owner, nullptr);
        dialogs.owners.clear();
        EXPECT_EQ(app->sizeChecks, c.sizeChecks);
        EXPECT_EQ(StoredFullscreen(), c.fullscreenAfter);
        if (c.clientWidth) {
            ASSERT_NE(app->screen, nullptr);
            EXPECT_EQ(app->windowWidth, c.clientWidth);
            EXPECT_EQ(app->windowHeight, c.clientHeight);
            EXPECT_EQ(app->screen->IsFullScreen(), c.clientWidth == 800 ? 1 : 0);
            MRenderDevice* device = MRenderDevice::Current();
            ASSERT_NE(device, nullptr);
            EXPECT_EQ(device->GetBackBufferWidth(), c.clientWidth);
            EXPECT_EQ(device->GetBackBufferHeight(), c.clientHeight);
            // The play scene's origin fits the window: shifted into the smaller window only.
            ASSERT_NE(app->GetGameScreen()->scene, nullptr);
            const bool window = c.clientWidth != 800;
            CScene* game = app->GetGameScreen()->scene.get();
            EXPECT_EQ(game->originX, window ? 3 * 256 : 0);
            EXPECT_EQ(game->originY, window ? 12 * 256 : 0);
            // The background's top-left 3 x 12 pixels lie outside a window.
            const CActor* background = game->LastActor();
            EXPECT_EQ(background->bounds.left, window ? -3 : 0);
            EXPECT_EQ(background->bounds.top, window ? -12 : 0);
        } else {
            EXPECT_EQ(app->screen, nullptr);
        }
    }
}

TEST_F(GameStartup, ADeviceFailureEndsTheRunAndTheNextStartTriesTheOtherMode) {
    struct Case {
        int fullscreenStored;
        const char* text;
        int fullscreenAfter;
        int nextWidth, nextHeight;
    };
    const Case cases[] = {
        {1, kMessageFullScreenDeviceFailed.text, 0, 794, 575},
        {0, kMessageWindowedDeviceFailed.text, 1, 800, 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        dialogs.messages.clear();
        dialogs.owners.clear();
        StoreFullscreen(c.fullscreenStored);
        configure = [](StartupApp& a) { a.deviceFails = 1; };
        EXPECT_EQ(Start(), 0);
        ExpectOneErrorOverTheWindow();
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(dialogs.messages[0].text, c.text);
        EXPECT_EQ(dialogs.messages[0].style & MB_ICONMASK, MB_ICONHAND);
        EXPECT_EQ(StoredFullscreen(), c.fullscreenAfter);

        // The next start, on a device that works, opens the other mode's window.
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        configure = [](StartupApp&) {};
        ASSERT_EQ(Start(), 1);
        EXPECT_EQ(app->screen->IsFullScreen(), c.nextWidth == 800 ? 1 : 0);
        int w = 0, h = 0;
        SDL_GetWindowSize(app->screen->handle, &w, &h);
        if (c.nextWidth == 794) {
            EXPECT_EQ(w, 794);
            EXPECT_EQ(h, 575);
        }
        EXPECT_EQ(MRenderDevice::Current()->GetBackBufferWidth(), c.nextWidth);
        EXPECT_EQ(MRenderDevice::Current()->GetBackBufferHeight(), c.nextHeight);
        End();
        SDL_Quit();
    }
}

TEST_F(GameStartup, WithoutASoundDeviceTheMessageStandsOverTheShownWindowAndTheRunEnds) {
    StoreFullscreen(0);
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    EXPECT_EQ(Start(), 0);
    ExpectOneErrorOverTheWindow();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(dialogs.messages[0].text, "The sound card could not be initialized.  Zanbor will exit.");
    EXPECT_TRUE(dialogs.ownerShown[0]);
    EXPECT_EQ(MSoundManager::Peek() ? MSoundManager::Peek()->IsInitialized() : 0, 0);
    EXPECT_EQ(StoredFullscreen(), 0);  // the window mode is left alone
}

TEST_F(GameStartup, AStartThatGoesThroughBringsUpEveryServiceAndAQuitRequestEndsIt) {
    StoreFullscreen(0);
    ASSERT_EQ(Start(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_STREQ(app->GetName(), "Zanbor");
    EXPECT_STREQ(app->GetMakerName(), "Brevant");
    EXPECT_EQ(app->largeIconId, 101);
    EXPECT_EQ(app->smallIconId, 102);
    ASSERT_NE(MFontManager::Get(), nullptr);
    // The three fonts every text uses, then the roll counter's smaller bold one.
    EXPECT_EQ(MFontManager::Get()->GetFontCount(), 4);
    EXPECT_EQ(MSoundManager::Peek()->IsInitialized(), 1);
    EXPECT_EQ(MSoundManager::Peek()->GetSamplesPerSecond(), 22050);
    EXPECT_EQ(SDL_GetWindowTitle(app->screen->handle), std::string("Zanbor"));
    EXPECT_NE(app->GetGameScreen()->archive, nullptr);
    EXPECT_EQ(app->GetOptions(), app->GetOptions());  // one record for the run

    // The application's quit request goes through the screen's frame.
    app->RequestQuit();
    EXPECT_EQ(app->GetGameScreen()->requestCode, kRequestQuit);
    EXPECT_FALSE(QuitPosted());
    app->OnIdle();
    EXPECT_EQ(app->GetGameScreen()->scene, nullptr);
    EXPECT_EQ(CScene::First(), nullptr);
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ(app->Run(), 0);
}

TEST_F(GameStartup, ADamagedArchiveEndsTheStartWithItsMessageAndNoGameWithMissingPictures) {
    // Copies of the packed archive whose map is sound but whose play-scene run is
    // overwritten, or whose first picture (the background) has one byte of its
    // x origin flipped, anchoring it 32768 pixels off the board.
    struct Case {
        const char* name;
        long offset;  // from the play scene's entry
        std::string bytes;
    };
    const Case cases[] = {
        {"run overwritten", 0, std::string(64, '\x7f')},
        {"background's origin flipped", 8 + 9, std::string(1, '\x80')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.messages.clear();
        dialogs.owners.clear();
        const std::string folder = MakeTempFolder("damaged");
        const std::string copy = folder + "/" + kAssetArchiveName;
        std::filesystem::copy_file(std::string(ZANBOR_BIN_DIR) + "/" + kAssetArchiveName, copy);
        long entry = 0;
        {
            CFileMM archive;
            ASSERT_EQ(archive.OpenArchive(MakeFileSpec(copy.c_str()), kModeReadExisting), 0);
            entry = archive.GetEntry(3);
        }
        {
            std::fstream file(copy, std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(entry + c.offset);
            file.write(c.bytes.data(), static_cast<std::streamsize>(c.bytes.size()));
        }
        const auto previousFolder = std::filesystem::current_path();
        std::filesystem::current_path(folder);  // the current folder is looked in first
        StoreFullscreen(0);
        const int result = Start();
        std::filesystem::current_path(previousFolder);
        EXPECT_EQ(result, 0);
        ExpectOneErrorOverTheWindow();
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_NE(dialogs.messages[0].text.find(copy), std::string::npos) << dialogs.messages[0].text;
        EXPECT_NE(dialogs.messages[0].text.find("is damaged.  Please reinstall Zanbor."), std::string::npos);
        EXPECT_EQ(CScene::First(), nullptr);  // no game runs with what could be read
        End();
        RemoveTree(folder);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
}

TEST(GameStartupRuntime, TheRuntimeCheckNamesTheOldestVersionTheProgramRunsOn) {
    struct Case {
        unsigned version;
        int tooOld;
    };
    const Case cases[] = {{0, 1}, {0x020011, 1}, {0x020012, 0}, {0x021A05, 0}, {0x030000, 0}};
    for (const Case& c : cases) EXPECT_EQ(CGameApp::IsRuntimeTooOld(c.version), c.tooOld) << std::hex << c.version;
    EXPECT_NE(std::string(kMessageRuntimeTooOld.text).find("SDL 2.0.18 or higher"), std::string::npos);
    // The running runtime passes, or nothing would start.
    SDL_version running{};
    SDL_GetVersion(&running);
    EXPECT_EQ(CGameApp::IsRuntimeTooOld(running.major << 16 | running.minor << 8 | running.patch), 0);
}

}  // namespace
