// The event loop on SDL's dummy video driver, driven with real pushed events.

#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/app/GameTimer.h"
#include "platform/app/MApplication.h"
#include "platform/window/MWindow.h"

namespace {

std::atomic<std::int64_t> fakeNow{0};
std::int64_t FakeClock() { return fakeNow.load(); }
constexpr std::int64_t kSecond = 1'000'000'000;

// Records what reaches it: 'm' mouse move, 'k' key, 'F' frame, 'A'/'I' activation.
class LogWindow : public MWindow {
public:
    std::string log;
    std::function<void(LogWindow&)> onFrame;
    std::vector<int> keys;

    void OnClose() override { gApplication->Quit(3); }
    void OnSize(int, int) override {}
    void OnMouseMove(int, int) override { log += 'm'; }
    void OnNcMouseMove(int, int) override {}
    void OnLButtonDown(int, int) override { log += 'd'; }
    void OnLButtonDblClk(int, int) override { log += '2'; }
    void OnRButtonDown(int, int) override {}
    void OnRButtonDblClk(int, int) override {}
    void OnLButtonUp(int, int) override { log += 'u'; }
    void OnRButtonUp(int, int) override {}
    int OnKeyDown(int key) override {
        keys.push_back(key);
        log += 'k';
        return 1;
    }
    int OnKeyUp(int) override { return 1; }
    int OnSysKeyDown(int key) override {
        keys.push_back(-key);
        return 1;
    }
    int OnSysKeyUp(int) override { return 1; }
    void InvalidateAll() override {}
    void OnActivate(int state) override {
        active = (state & 0xFFFF) != 0;
        GameTimer(active ? TIMER_START : TIMER_STOP);
        log += active ? 'A' : 'I';
    }
    int OnSetCursor() override { return 0; }
    void OnEnterSizeMove() override {}
    void OnExitSizeMove() override {}
    void Frame() override {
        log += 'F';
        if (onFrame) onFrame(*this);
    }
};

class LoopApp : public MApplication {
public:
    void OnExit() override {}
    COptions* GetOptions() override { return nullptr; }
};

class ApplicationLoop : public testing::Test {
protected:
    void SetUp() override {
        fakeNow = 100 * kSecond;
        SetGameTimerClock(FakeClock);
        GameTimer(TIMER_RESET);
        app = new LoopApp;
        gApplication = app;
        window = new LogWindow;
        app->screen.reset(window);
        ASSERT_EQ(window->Create(nullptr, "Zanbor", 794, 575, 0x11B), 0);
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);  // the window's own start-up events
        window->active = 1;
    }
    void TearDown() override {
        delete app;
        gApplication = nullptr;
        SetGameTimerClock(nullptr);
        SDL_Quit();
    }

    static void PushMouseMove(int x, int y) {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.x = x;
        event.motion.y = y;
        SDL_PushEvent(&event);
    }
    static void PushWindowEvent(Uint8 what) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = what;
        SDL_PushEvent(&event);
    }
    static void PushKey(SDL_Keycode key, Uint16 mod) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = key;
        event.key.keysym.mod = mod;
        SDL_PushEvent(&event);
    }

    LoopApp* app = nullptr;
    LogWindow* window = nullptr;
};

TEST_F(ApplicationLoop, ABurstOfQueuedEventsIsHandledBeforeTheNextFrame) {
    for (int i = 0; i < 40; ++i) PushMouseMove(i, i);
    window->onFrame = [](LogWindow& w) {
        if (w.log.size() == 41) {
            for (int i = 0; i < 5; ++i) PushMouseMove(i, 2 * i);
        } else if (w.log.size() > 45) {
            gApplication->Quit(7);
        }
    };
    EXPECT_EQ(app->Run(), 7);
    std::string expected(40, 'm');
    expected.append("F").append(5, 'm').append("F");
    EXPECT_EQ(window->log.substr(0, 47), expected);
}

TEST_F(ApplicationLoop, NoFrameRunsAndNoGameTimePassesWhileInactive) {
    fakeNow += 2 * kSecond;
    double before = GameTimer(TIMER_GETAPPTIME);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    PushMouseMove(1, 1);
    std::atomic<bool> pushed{false};
    // While the loop sleeps in the inactive state, time passes and events arrive.
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        fakeNow += 5 * kSecond;
        PushMouseMove(2, 2);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        pushed = true;
        PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    });
    double afterReactivation = -1;
    window->onFrame = [&](LogWindow&) {
        if (!pushed) return;  // frames before the deactivation was seen
        afterReactivation = GameTimer(TIMER_GETAPPTIME);
        gApplication->Quit(0);
    };
    EXPECT_EQ(app->Run(), 0);
    other.join();
    // Frames may run before the deactivation is taken, never between I and A.
    std::string log = window->log;
    std::size_t inactive = log.find('I');
    ASSERT_NE(inactive, std::string::npos);
    EXPECT_EQ(log.substr(inactive), "ImmAF");
    EXPECT_DOUBLE_EQ(before, 2.0);
    EXPECT_DOUBLE_EQ(afterReactivation, 2.0);
}

TEST_F(ApplicationLoop, NoFrameRunsWhileMinimised) {
    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    std::thread other([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        PushMouseMove(3, 3);
        PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    });
    window->onFrame = [](LogWindow& w) {
        if (w.log.find('A') != std::string::npos) gApplication->Quit(0);
    };
    EXPECT_EQ(app->Run(), 0);
    other.join();
    std::string log = window->log;
    EXPECT_EQ(log.substr(log.find('I')), "ImAF");
    EXPECT_EQ(window->IsMinimised(), 0);
}

TEST_F(ApplicationLoop, ControlF8IsTranslatedIntoACommandNothingHandles) {
    app->LoadAccelerators(IDR_ACCELERATORS);
    PushKey(SDLK_F8, KMOD_LCTRL);
    PushKey(SDLK_F8, KMOD_NONE);
    PushKey(SDLK_RETURN, KMOD_NONE);
    PushKey(SDLK_x, KMOD_LALT);
    window->onFrame = [](LogWindow&) { gApplication->Quit(0); };
    EXPECT_EQ(app->Run(), 0);
    EXPECT_EQ(app->LastAcceleratorCommand(), IDM_CTRL_F8);
    EXPECT_EQ(window->keys, (std::vector<int>{119, 13, -88}));
}

TEST_F(ApplicationLoop, ClosingTheWindowReachesOnCloseAndDoubleClicksArriveAsSuch) {
    SDL_Event press{};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.button = SDL_BUTTON_LEFT;
    press.button.clicks = 1;
    SDL_PushEvent(&press);
    SDL_Event release = press;
    release.type = SDL_MOUSEBUTTONUP;
    SDL_PushEvent(&release);
    press.button.clicks = 2;
    SDL_PushEvent(&press);
    SDL_PushEvent(&release);
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    EXPECT_EQ(app->Run(), 3);
    EXPECT_EQ(window->log, "du2u");
}

TEST(ApplicationResources, StringIconsAndSettingsRoot) {
    LoopApp app;
    app.LoadString(IDS_PRODUCT_NAME, app.name, sizeof app.name);
    char name[64];
    EXPECT_EQ(app.LoadString(IDS_PRODUCT_NAME, name, sizeof name), 6);
    EXPECT_STREQ(name, "Zanbor");
    char small[4];
    app.LoadString(IDS_PRODUCT_NAME, small, sizeof small);
    EXPECT_STREQ(small, "Zan");
    EXPECT_NE(app.LoadIcon(IDI_LARGE_ICON), nullptr);
    EXPECT_NE(app.LoadIcon(IDI_SMALL_ICON), nullptr);
    EXPECT_EQ(app.LoadIcon(5), nullptr);
    EXPECT_EQ(static_cast<SDL_Surface*>(app.LoadIcon(IDI_LARGE_ICON))->w, 32);

    setenv("XDG_CONFIG_HOME", "/tmp/zanbor-config-probe", 1);
    app.OpenRegistryRoot();
    EXPECT_EQ(app.registryRoot, "/tmp/zanbor-config-probe/Zanbor");  // the base has no maker name
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_GE(app.GetDirectXVersion(), 0x021200u);
}

}  // namespace
