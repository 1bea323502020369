#pragma once
// The game's one top-level window on SDL2. SDL events are translated into calls
// of the virtual handlers below, with keys as Windows virtual-key codes and mouse
// positions in client pixels of the design.

#include <cstdint>

#include "platform/window/BWindow.h"
#include "platform/render/MGraphicsTypes.h"
#include "platform/core/ResultCodes.h"

union SDL_Event;

// Engine window flags for Create.
constexpr int WF_CAPTION = 0x001;
constexpr int WF_BORDER = 0x002;
constexpr int WF_MAXIMIZEBOX = 0x004;
constexpr int WF_MINIMIZEBOX = 0x008;
constexpr int WF_SYSMENU = 0x010;
constexpr int WF_THICKFRAME = 0x040;
constexpr int WF_VISIBLE = 0x100;
constexpr int WF_MAXIMIZE = 0x200;
constexpr int WF_MINIMIZE = 0x400;
constexpr int WF_POPUP = 0x800;

// Where a window stands and how large its client area is, in desktop pixels.
struct WindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximised = false;
};

// The low word of OnActivate's argument: inactive, or active.
constexpr int WA_INACTIVE = 0;
constexpr int WA_ACTIVE = 1;

class MWindow : public BWindow {
public:
    MWindow();
    ~MWindow() override;

    // Opens the window with a client area of width x height centred on the
    // desktop (integer halves); flags 0x910 (pop-up) make it desktop full screen.
    int Create(void* instance, const char* title, int width, int height, int flags);

    virtual void Show();
    virtual void Hide();
    virtual void Enable();
    virtual void Disable();
    virtual void BringToTop();
    virtual void Repaint();
    virtual void OnDestroy() {}
    virtual void GetCursorClientPos(POINT* point);
    virtual void SetCursorClientPos(int x, int y);
    virtual void SetDeviceCursorClientPos(int x, int y);
    virtual void ShowCursor(int show);
    virtual void SetTitle(const char* title);
    virtual int IsVisible();
    virtual void OnClose() = 0;
    virtual void OnSize(int width, int height) = 0;
    virtual void OnMove(int x, int y);
    virtual void OnMouseMove(int x, int y) = 0;
    virtual void OnNcMouseMove(int x, int y) = 0;
    virtual void OnLButtonDown(int x, int y) = 0;
    virtual void OnLButtonDblClk(int x, int y) = 0;
    virtual void OnRButtonDown(int x, int y) = 0;
    virtual void OnRButtonDblClk(int x, int y) = 0;
    virtual void OnLButtonUp(int x, int y) = 0;
    virtual void OnRButtonUp(int x, int y) = 0;
    virtual int OnKeyDown(int key) = 0;
    virtual int OnKeyUp(int key) = 0;
    virtual int OnSysKeyDown(int key) = 0;
    virtual int OnSysKeyUp(int key) = 0;
    virtual void InvalidateAll() = 0;
    virtual void OnActivate(int state) = 0;
    virtual int OnSetCursor() = 0;
    virtual void OnEnterSizeMove() = 0;
    virtual void OnExitSizeMove() = 0;
    // Translates one SDL event into the handlers; 1 when handled. A renderer
    // reset reported by SDL is passed to the render device here.
    virtual int HandleMessage(const SDL_Event& event);
    // The frame step the application's idle time runs; the screen runs its scenes here.
    virtual void Frame() {}
    // How long the loop may wait for an event before the next frame, asked
    // after a frame with no input since: 0 for at once, milliseconds, or -1
    // for no timed change at all.
    virtual int IdleMilliseconds() { return 0; }
    // Called before a key or mouse event is handled, in the loop, never inside
    // a frame: a wait that the event cut short is caught up here.
    virtual void BeforeInput() {}

    // 1 while the window is minimised (as the last size event reported it).
    int IsMinimised() const { return minimised; }
    // 1 when the window was created full screen.
    int IsFullScreen() const { return fullScreen; }
    // 1 while the window fills the desktop (as created, or switched since).
    int IsFullScreenNow() const;
    // Switches between the window and the desktop full screen at once; the
    // frame shows that mode's design size (see MRenderDevice::SwitchMode),
    // scaled and centred in the new size. F11 and Alt+Enter call it.
    virtual void ToggleFullScreen();

    // The window as the player last set it in a window: its place and size
    // while neither maximised nor full screen, and whether it is maximised.
    WindowPlacement GetPlacement() const;
    // Puts the window there (and maximises it) before it is shown.
    void SetPlacement(const WindowPlacement& placement);
    // Only notes it as the window's plain place and size: a window opened in
    // full screen takes it when it leaves full screen.
    void RememberPlacement(const WindowPlacement& placement);
    // The client area's size now.
    void GetClientSize(int* width, int* height) const;
    // The smallest client area the player may size the window to.
    void SetMinimumSize(int width, int height);
    // The usable area of the desktop the point is on (the primary's when on none).
    static WindowPlacement UsableAreaAt(int x, int y);

    std::uint32_t style = 0;
    int clientLeft = 0;
    int clientTop = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    int windowX = 0;
    int windowY = 0;
    int windowWidth = 0;
    int windowHeight = 0;
    int hasMenu = 0;
    int movedX = 0;
    int movedY = 0;

private:
    int minimised = 0;
    int fullScreen = 0;
    int leftFullScreen = 0;  // the window has been switched out of full screen
    int swallowKeyUp = 0;  // the release of the key that switched full screen
    int enabled = 1;
    // The last place and size in a plain window (neither maximised nor full screen).
    WindowPlacement normal;
    void NoteNormalPlacement();
};

// Starts the process-wide style word again from nothing, as for a new process
// (the game opens one window per run; tests open many).
void ResetAccumulatedWindowStyle();

// The Windows virtual-key code of an SDL key code (0 for keys the game has no code for).
int VirtualKeyFromSdl(int sdlKeyCode);

// The desktop's size in pixels (the primary display); 0 x 0 when unknown.
void GetDesktopSize(int* width, int* height);
// The part of it windows may take (without panels); 0 x 0 when unknown.
void GetDesktopUsableSize(int* width, int* height);

// The brightness test of the button labels: red + green + blue > 256.
inline bool IsLightColour(std::uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF) > 256;
}
