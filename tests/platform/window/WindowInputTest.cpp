// The window's translation of SDL input into the engine's handlers and codes,
// and the window modes, on the dummy video driver.

#include <utility>

#include "platform/render/MRenderDevice.h"
#include "tests/support/GraphicsTestSupport.h"

namespace {

using gfxtest::ProbeWindow;

TEST(KeyTable, EveryKeyTheGameUsesHasItsWindowsCode) {
    const std::pair<SDL_Keycode, int> keys[] = {
        {SDLK_RETURN, 13},      {SDLK_KP_ENTER, 13},   {SDLK_ESCAPE, 27},     {SDLK_PAUSE, 19},
        {SDLK_TAB, 9},          {SDLK_BACKSPACE, 8},   {SDLK_HOME, 36},       {SDLK_END, 35},
        {SDLK_DELETE, 46},      {SDLK_LEFT, 37},       {SDLK_UP, 38},         {SDLK_RIGHT, 39},
        {SDLK_DOWN, 40},        {SDLK_F1, 112},        {SDLK_F8, 119},        {SDLK_LCTRL, 17},
        {SDLK_RCTRL, 17},       {SDLK_SPACE, 32},      {SDLK_KP_MULTIPLY, 106}, {SDLK_KP_PLUS, 107},
        {SDLK_KP_COMMA, 108},   {SDLK_SEPARATOR, 108},
        {SDLK_KP_MINUS, 109},   {SDLK_KP_PERIOD, 110}, {SDLK_KP_DIVIDE, 111},
    };
    for (auto [sdl, vk] : keys) EXPECT_EQ(VirtualKeyFromSdl(sdl), vk) << SDL_GetKeyName(sdl);
    for (int i = 0; i < 26; ++i) EXPECT_EQ(VirtualKeyFromSdl(SDLK_a + i), 'A' + i);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(VirtualKeyFromSdl(SDLK_0 + i), '0' + i);
    const SDL_Keycode pad[] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                               SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(VirtualKeyFromSdl(pad[i]), 96 + i);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_AUDIOPLAY), 0);  // no code: not passed on
}

class WindowInput : public testing::Test {
protected:
    void SetUp() override { gfxtest::UseHeadlessDrivers(); }
    void TearDown() override {
        delete window;
        ResetAccumulatedWindowStyle();
        SDL_Quit();
    }
    void Open(int flags) {
        window = new ProbeWindow;
        ASSERT_EQ(window->Create(nullptr, "Zanbor", 794, 575, flags), 0);
    }
    static SDL_Event Button(Uint32 type, Uint8 button, Uint8 clicks, int x, int y) {
        SDL_Event event{};
        event.type = type;
        event.button.button = button;
        event.button.clicks = clicks;
        event.button.x = x;
        event.button.y = y;
        return event;
    }
    static SDL_Event Key(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = key;
        event.key.keysym.mod = mod;
        return event;
    }

    ProbeWindow* window = nullptr;
};

TEST_F(WindowInput, TheSecondPressOfADoubleClickArrivesAsADoubleClick) {
    Open(0x11B);
    for (Uint8 button : {Uint8(SDL_BUTTON_LEFT), Uint8(SDL_BUTTON_RIGHT)})
        for (Uint8 clicks : {1, 2, 3, 4}) {
            window->HandleMessage(Button(SDL_MOUSEBUTTONDOWN, button, clicks, 5, 5));
            window->HandleMessage(Button(SDL_MOUSEBUTTONUP, button, clicks, 5, 5));
        }
    EXPECT_EQ(window->log, "du2udu2urURUrURU");
}

TEST_F(WindowInput, KeysAltKeysAndMouseTravelAsTheHandlersExpect) {
    Open(0x11B);
    EXPECT_EQ(window->HandleMessage(Key(SDL_KEYDOWN, SDLK_KP_5)), 1);
    EXPECT_EQ(window->HandleMessage(Key(SDL_KEYDOWN, SDLK_x, KMOD_LALT)), 1);
    EXPECT_EQ(window->HandleMessage(Key(SDL_KEYDOWN, SDLK_AUDIOPLAY)), 0);
    EXPECT_EQ(window->keys, (std::vector<int>{101, -88}));
    // Positions are unsigned 16-bit: left of the window is a large x.
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.x = -3;
    move.motion.y = 7;
    EXPECT_EQ(window->HandleMessage(move), 1);
    EXPECT_EQ(window->lastX, 65533);
    EXPECT_EQ(window->lastY, 7);
    // A disabled window takes no input.
    window->Disable();
    EXPECT_EQ(window->HandleMessage(Key(SDL_KEYDOWN, SDLK_RETURN)), 0);
    EXPECT_EQ(window->HandleMessage(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1, 1)), 0);
    window->Enable();
    EXPECT_EQ(window->HandleMessage(Key(SDL_KEYDOWN, SDLK_RETURN)), 1);
    EXPECT_EQ(window->keys.back(), 13);
}

TEST_F(WindowInput, AWindowedGameIsACentredFixedWindowWithATitle) {
    Open(0x11B);
    Uint32 flags = SDL_GetWindowFlags(window->handle);
    EXPECT_FALSE(flags & SDL_WINDOW_RESIZABLE);
    EXPECT_FALSE(flags & SDL_WINDOW_BORDERLESS);
    EXPECT_FALSE(flags & SDL_WINDOW_FULLSCREEN);
    EXPECT_EQ(window->IsVisible(), 1);
    EXPECT_STREQ(SDL_GetWindowTitle(window->handle), "Zanbor");
    int w = 0, h = 0;
    SDL_GetWindowSize(window->handle, &w, &h);
    EXPECT_EQ(w, 794);
    EXPECT_EQ(h, 575);
    int sw = 0, sh = 0;
    GetDesktopSize(&sw, &sh);
    EXPECT_EQ(window->clientLeft, (sw - 794) / 2);
    EXPECT_EQ(window->clientTop, (sh - 575) / 2);
    window->SetTitle("Other");
    EXPECT_STREQ(SDL_GetWindowTitle(window->handle), "Other");
    window->Hide();
    EXPECT_EQ(window->IsVisible(), 0);
    window->Show();
    EXPECT_EQ(window->IsVisible(), 1);
}

TEST_F(WindowInput, FullScreenKeepsTheDesignsMouseCoordinates) {
    Open(0x910);
    EXPECT_TRUE(SDL_GetWindowFlags(window->handle) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    MRenderDevice* device = MRenderDevice::Get(window->handle);
    device->deviceType = 0;
    ASSERT_EQ(device->CreateDevice(1, 800, 600), 0);
    EXPECT_EQ(device->GetBackBufferWidth(), 800);
    EXPECT_EQ(device->GetBackBufferHeight(), 600);
    EXPECT_EQ(device->GetBitDepth(), 32);
    EXPECT_EQ(device->IsFullScreen(), 1);

    // A motion at the desktop's centre reaches the handler at the design's centre.
    int sw = 0, sh = 0;
    SDL_GetWindowSize(window->handle, &sw, &sh);
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.windowID = SDL_GetWindowID(window->handle);
    move.motion.x = sw / 2;
    move.motion.y = sh / 2;
    SDL_PushEvent(&move);
    SDL_Event event{};
    while (SDL_PollEvent(&event))
        if (event.type == SDL_MOUSEMOTION) window->HandleMessage(event);
    EXPECT_NEAR(window->lastX, 400, 1);
    EXPECT_NEAR(window->lastY, 300, 1);

    int x = 400, y = 300;
    device->ClientToWindow(&x, &y);
    EXPECT_NEAR(x, sw / 2, 1);
    device->WindowToClient(&x, &y);
    EXPECT_NEAR(x, 400, 1);
}

TEST_F(WindowInput, CursorOperationsGoThroughTheDeviceOnceItsCursorIsReady) {
    Open(0x11B);
    window->ShowCursor(0);  // no device yet: only remembered
    EXPECT_EQ(window->cursorVisible, 0);
    MRenderDevice* device = MRenderDevice::Get(window->handle);
    device->deviceType = 0;
    ASSERT_EQ(device->CreateDevice(0, 794, 575), 0);
    EXPECT_EQ(device->GetBackBufferWidth(), 794);
    EXPECT_EQ(device->GetBackBufferHeight(), 575);
    window->SetDeviceCursorClientPos(10, 20);
    EXPECT_EQ(device->GetDeviceCursorX(), 0);  // not ready: ignored
    device->SetArrowCursor();
    EXPECT_EQ(device->IsCursorReady(), 1);
    window->SetDeviceCursorClientPos(10, 20);
    int wx = 0, wy = 0;
    SDL_GetWindowPosition(window->handle, &wx, &wy);
    EXPECT_EQ(device->GetDeviceCursorX(), wx + 10);
    EXPECT_EQ(device->GetDeviceCursorY(), wy + 20);
    window->ShowCursor(1);
    EXPECT_EQ(window->cursorVisible, 1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    window->ShowCursor(0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    window->ShowCursor(1);
    EXPECT_EQ(device->DisplayAtLeast(640, 480), 1);
    EXPECT_EQ(device->DisplayAtLeast(100000, 480), 0);
    EXPECT_EQ(device->CanRenderWindowed(), 1);
    // Closing the window takes its renderer with it.
    delete window;
    window = nullptr;
    EXPECT_EQ(MRenderDevice::Current(), nullptr);
}

TEST(RenderDeviceStart, CreateDeviceWithoutAWindowFails) {
    gfxtest::UseHeadlessDrivers();
    MRenderDevice* device = MRenderDevice::Get();
    EXPECT_EQ(device->CreateDevice(0, 800, 600), kResultNoDevice);
    EXPECT_EQ(device->BeginFrame(), kResultBeginFailed);
    EXPECT_EQ(device->EndFrame(), kResultEndFailed);
    device->Destroy();
    EXPECT_EQ(MRenderDevice::Current(), nullptr);
    SDL_Quit();
}

TEST(RenderDeviceStart, AWindowNeedsADesktopOfSixteenOrThirtyTwoBitColour) {
    const std::pair<Uint32, int> formats[] = {
        {SDL_PIXELFORMAT_INDEX8, 0},   {SDL_PIXELFORMAT_RGB332, 0},   {SDL_PIXELFORMAT_RGB24, 0},
        {SDL_PIXELFORMAT_UNKNOWN, 0},  {SDL_PIXELFORMAT_YV12, 0},     {SDL_PIXELFORMAT_RGB565, 1},
        {SDL_PIXELFORMAT_RGB555, 1},   {SDL_PIXELFORMAT_RGB888, 1},   {SDL_PIXELFORMAT_ARGB8888, 1},
    };
    for (auto [format, usable] : formats)
        EXPECT_EQ(MRenderDevice::CanRenderWindowedIn(format), usable) << SDL_GetPixelFormatName(format);
    // The device reads the desktop this check is given.
    gfxtest::UseHeadlessDrivers();
    MRenderDevice* device = MRenderDevice::Get();
    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    EXPECT_EQ(device->CanRenderWindowed(), MRenderDevice::CanRenderWindowedIn(desktop.format));
    device->Destroy();
    SDL_Quit();
}

}  // namespace
