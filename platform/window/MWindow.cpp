#include "platform/window/MWindow.h"

#include <SDL.h>

#include <string>

#include "platform/app/MApplication.h"
#include "platform/render/MRenderDevice.h"

namespace {

// The window style accumulates over the run, as the game creates one window.
std::uint32_t gAccumulatedStyle = 0;

// Mouse coordinates travel as unsigned 16-bit client pixels.
int Unsigned16(int value) { return value & 0xFFFF; }

}  // namespace

void ResetAccumulatedWindowStyle() { gAccumulatedStyle = 0; }

void GetDesktopSize(int* width, int* height) {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        *width = mode.w;
        *height = mode.h;
    } else {
        *width = 0;
        *height = 0;
    }
}

void GetDesktopUsableSize(int* width, int* height) {
    SDL_Rect area{};
    if (SDL_GetDisplayUsableBounds(0, &area) == 0) {
        *width = area.w;
        *height = area.h;
    } else {
        GetDesktopSize(width, height);
    }
}

MWindow::MWindow() = default;

int MWindow::IsFullScreenNow() const {
    return handle && (SDL_GetWindowFlags(handle) & SDL_WINDOW_FULLSCREEN) ? 1 : 0;
}

void MWindow::ToggleFullScreen() {
    if (!handle) return;
    const int full = IsFullScreenNow() ? 0 : 1;
    SDL_SetWindowFullscreen(handle, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    MRenderDevice* device = MRenderDevice::Current();
    if (device && device->GetFocusWindow() == handle) {
        // A window that started in full screen has no window size of its own
        // yet: it takes the windowed design's, shown one to one.
        if (!full && fullScreen && !leftFullScreen && device->GetModeWidth(0) > 0) {
            // The window the player had before (or the one placed for the start), else the design.
            if (normal.width > 0)
                SDL_SetWindowSize(handle, normal.width, normal.height);
            else
                SDL_SetWindowSize(handle, device->GetModeWidth(0), device->GetModeHeight(0));
        }
        device->SwitchMode(full);
    }
    if (!full) leftFullScreen = 1;
    Repaint();
}

void MWindow::NoteNormalPlacement() {
    if (!handle) return;
    const Uint32 flags = SDL_GetWindowFlags(handle);
    if (flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED)) return;
    SDL_GetWindowPosition(handle, &normal.x, &normal.y);
    SDL_GetWindowSize(handle, &normal.width, &normal.height);
}

WindowPlacement MWindow::GetPlacement() const {
    WindowPlacement placement = normal;
    placement.maximised = handle && (SDL_GetWindowFlags(handle) & SDL_WINDOW_MAXIMIZED) != 0;
    return placement;
}

void MWindow::SetPlacement(const WindowPlacement& placement) {
    if (!handle) return;
    SDL_SetWindowSize(handle, placement.width, placement.height);
    SDL_SetWindowPosition(handle, placement.x, placement.y);
    RememberPlacement(placement);
    if (placement.maximised) SDL_MaximizeWindow(handle);
}

void MWindow::RememberPlacement(const WindowPlacement& placement) {
    normal = placement;
    normal.maximised = false;
}

void MWindow::GetClientSize(int* width, int* height) const {
    *width = *height = 0;
    if (handle) SDL_GetWindowSize(handle, width, height);
}

void MWindow::SetMinimumSize(int width, int height) {
    if (handle) SDL_SetWindowMinimumSize(handle, width, height);
}

WindowPlacement MWindow::UsableAreaAt(int x, int y) {
    WindowPlacement area;
    int display = 0;
    const int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i) {
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(i, &bounds) == 0 && x >= bounds.x && x < bounds.x + bounds.w && y >= bounds.y &&
            y < bounds.y + bounds.h)
            display = i;
    }
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) SDL_GetDisplayBounds(display, &usable);
    area.x = usable.x;
    area.y = usable.y;
    area.width = usable.w;
    area.height = usable.h;
    return area;
}

MWindow::~MWindow() {
    // A renderer must not outlive its window.
    MRenderDevice* device = MRenderDevice::Current();
    if (device && handle && device->GetFocusWindow() == handle) device->Destroy();
    if (handle) SDL_DestroyWindow(handle);
    handle = nullptr;
}

int MWindow::Create(void* /*instance*/, const char* title, int width, int height, int flags) {
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return kResultNoWindowClass;

    gAccumulatedStyle |= static_cast<std::uint32_t>(flags);
    style = gAccumulatedStyle;

    int screenWidth = 0, screenHeight = 0;
    GetDesktopSize(&screenWidth, &screenHeight);
    clientLeft = (screenWidth - width) / 2;
    clientTop = (screenHeight - height) / 2;
    clientWidth = width;
    clientHeight = height;

    Uint32 sdlFlags = SDL_WINDOW_HIDDEN;
    fullScreen = (style & WF_POPUP) != 0;
    if (fullScreen) sdlFlags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (style & WF_THICKFRAME) sdlFlags |= SDL_WINDOW_RESIZABLE;
    if (!(style & (WF_CAPTION | WF_BORDER)) && !fullScreen) sdlFlags |= SDL_WINDOW_BORDERLESS;

    handle = SDL_CreateWindow(title ? title : "", clientLeft, clientTop, width, height, sdlFlags);
    if (!handle) return kResultNoWindowClass;

    SDL_SetWindowData(handle, "MWindow", this);
    if (gApplication) {
        auto* icon = static_cast<SDL_Surface*>(gApplication->LoadIcon(gApplication->largeIconId));
        if (icon) SDL_SetWindowIcon(handle, icon);
    }
    SDL_GetWindowPosition(handle, &windowX, &windowY);
    SDL_GetWindowSize(handle, &windowWidth, &windowHeight);
    NoteNormalPlacement();
    BWindow::width = width;
    BWindow::height = height;
    SetTitle(title);
    if (style & WF_MINIMIZE) SDL_MinimizeWindow(handle);
    if (style & WF_MAXIMIZE) SDL_MaximizeWindow(handle);
    if (style & WF_VISIBLE) Show();
    return 0;
}

void MWindow::Show() {
    if (handle) SDL_ShowWindow(handle);
}

void MWindow::Hide() {
    if (handle) SDL_HideWindow(handle);
}

void MWindow::Enable() { enabled = 1; }

void MWindow::Disable() { enabled = 0; }

void MWindow::BringToTop() {
    if (handle) SDL_RaiseWindow(handle);
}

void MWindow::Repaint() { InvalidateAll(); }

void MWindow::GetCursorClientPos(POINT* point) {
    if (!point) return;
    int mx = 0, my = 0;
    if (handle && SDL_GetMouseFocus() == handle) {
        SDL_GetMouseState(&mx, &my);
    } else {
        // Outside the window: the desktop position less the window's.
        int wx = 0, wy = 0;
        SDL_GetGlobalMouseState(&mx, &my);
        if (handle) SDL_GetWindowPosition(handle, &wx, &wy);
        mx -= wx;
        my -= wy;
    }
    if (MRenderDevice* device = MRenderDevice::Current()) device->WindowToClient(&mx, &my);
    point->x = mx;
    point->y = my;
}

void MWindow::SetCursorClientPos(int cx, int cy) {
    if (!handle) return;
    if (MRenderDevice* device = MRenderDevice::Current()) device->ClientToWindow(&cx, &cy);
    SDL_WarpMouseInWindow(handle, cx, cy);
}

void MWindow::SetDeviceCursorClientPos(int cx, int cy) {
    MRenderDevice* device = MRenderDevice::Current();
    if (!device || !handle) return;
    // Client to desktop pixels, as the device cursor is placed on the desktop.
    device->ClientToWindow(&cx, &cy);
    int wx = 0, wy = 0;
    SDL_GetWindowPosition(handle, &wx, &wy);
    device->SetDeviceCursorPos(cx + wx, cy + wy);
}

void MWindow::ShowCursor(int show) {
    if (MRenderDevice* device = MRenderDevice::Current()) device->ShowDeviceCursor(show);
    cursorVisible = show;
}

void MWindow::SetTitle(const char* title) {
    if (handle) SDL_SetWindowTitle(handle, title ? title : "");
}

int MWindow::IsVisible() { return handle && (SDL_GetWindowFlags(handle) & SDL_WINDOW_SHOWN) ? 1 : 0; }

void MWindow::OnMove(int mx, int my) {
    movedX = mx;
    movedY = my;
}

int MWindow::HandleMessage(const SDL_Event& event) {
    switch (event.type) {
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (enabled) BeforeInput();
        break;
    default:
        break;
    }
    switch (event.type) {
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_MOVED:
            NoteNormalPlacement();
            OnMove(event.window.data1, event.window.data2);
            return 1;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            NoteNormalPlacement();
            if (!minimised) OnSize(event.window.data1, event.window.data2);
            Repaint();
            return 1;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
            // The desktop lost what the window showed: the next frame draws it again.
            Repaint();
            return 1;
        case SDL_WINDOWEVENT_MINIMIZED:
            // A minimised window is also an inactive one.
            minimised = 1;
            OnSize(0, 0);
            OnActivate(WA_INACTIVE | (1 << 16));
            return 1;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            if (minimised) {
                minimised = 0;
                OnSize(clientWidth, clientHeight);
                OnActivate(WA_ACTIVE);
            }
            Repaint();
            return 1;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (!minimised) OnActivate(WA_ACTIVE);
            return 1;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            OnActivate(WA_INACTIVE);
            return 1;
        case SDL_WINDOWEVENT_CLOSE:
            OnClose();
            return 1;
        case SDL_WINDOWEVENT_ENTER:
            OnSetCursor();
            return 1;
        default:
            return 0;
        }
    case SDL_QUIT:
        // The desktop asks the program to end: the same as closing the window.
        OnClose();
        return 1;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        // The renderer's textures are gone: rebuilt before the next frame draws.
        if (MRenderDevice* device = MRenderDevice::Current()) device->OnDeviceReset();
        return 1;
    case SDL_MOUSEMOTION:
        if (!enabled) return 0;
        // The desktop asks for the cursor's shape before each move inside the window.
        OnSetCursor();
        OnMouseMove(Unsigned16(event.motion.x), Unsigned16(event.motion.y));
        return 1;
    case SDL_MOUSEBUTTONDOWN: {
        if (!enabled) return 0;
        int mx = Unsigned16(event.button.x), my = Unsigned16(event.button.y);
        bool doubleClick = event.button.clicks >= 2 && event.button.clicks % 2 == 0;
        if (event.button.button == SDL_BUTTON_LEFT) {
            if (doubleClick)
                OnLButtonDblClk(mx, my);
            else
                OnLButtonDown(mx, my);
        } else if (event.button.button == SDL_BUTTON_RIGHT) {
            if (doubleClick)
                OnRButtonDblClk(mx, my);
            else
                OnRButtonDown(mx, my);
        }
        return 1;
    }
    case SDL_MOUSEBUTTONUP: {
        if (!enabled) return 0;
        int mx = Unsigned16(event.button.x), my = Unsigned16(event.button.y);
        if (event.button.button == SDL_BUTTON_LEFT)
            OnLButtonUp(mx, my);
        else if (event.button.button == SDL_BUTTON_RIGHT)
            OnRButtonUp(mx, my);
        return 1;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        if (!enabled) return 0;
        const bool toggle = event.key.keysym.sym == SDLK_F11 ||
                            (event.key.keysym.sym == SDLK_RETURN && (event.key.keysym.mod & KMOD_ALT));
        if (event.type == SDL_KEYDOWN && toggle) {
            // Not a key of the game: its release is not one either.
            if (!event.key.repeat) ToggleFullScreen();
            swallowKeyUp = event.key.keysym.sym;
            return 1;
        }
        if (event.type == SDL_KEYUP && swallowKeyUp && event.key.keysym.sym == swallowKeyUp) {
            swallowKeyUp = 0;
            return 1;
        }
        int key = VirtualKeyFromSdl(event.key.keysym.sym);
        if (key == 0) return 0;
        // Alt held (or Alt itself, or F10) makes a system key, as the desktop reports it.
        bool system = (event.key.keysym.mod & KMOD_ALT) != 0 || key == 18 || key == 121;
        bool down = event.type == SDL_KEYDOWN;
        if (system) {
            if (down)
                OnSysKeyDown(key);
            else
                OnSysKeyUp(key);
            return 1;
        }
        return down ? OnKeyDown(key) : OnKeyUp(key);
    }
    default:
        return 0;
    }
}
