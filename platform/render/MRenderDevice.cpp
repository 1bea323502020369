#include "platform/render/MRenderDevice.h"

#include <SDL.h>

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/render/MCanvas.h"

namespace {

MRenderDevice* gDevice = nullptr;

std::vector<MCanvas*>& Canvases() {
    static std::vector<MCanvas*> list;
    return list;
}

// Clear semantics: the colour is written as it is, blending off.
int ClearRect(SDL_Renderer* renderer, int left, int top, int right, int bottom, D3DCOLOR colour) {
    if (right <= left || bottom <= top) return 0;
    SDL_SetRenderDrawColor(renderer, static_cast<Uint8>(colour >> 16), static_cast<Uint8>(colour >> 8),
                           static_cast<Uint8>(colour), static_cast<Uint8>(colour >> 24));
    SDL_Rect rect{left, top, right - left, bottom - top};
    return SDL_RenderFillRect(renderer, &rect) == 0 ? 0 : kResultFail;
}

D3DCOLOR LightOf(D3DCOLOR k) {
    D3DCOLOR out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) out |= ((((k >> shift) & 0xFFu) + 255u) / 2u) << shift;
    return out;
}

D3DCOLOR DarkOf(D3DCOLOR k) {
    D3DCOLOR out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) out |= (((k >> shift) & 0xFFu) / 2u) << shift;
    return out;
}

// Whether the machine has a graphics device a driver could accelerate with:
// a kernel display or render node, or the device of a vendor driver.
bool HasGraphicsHardware() {
    if (const char* forced = std::getenv("LIBGL_ALWAYS_SOFTWARE"); forced && *forced && std::strcmp(forced, "0") != 0)
        return false;
    bool found = access("/dev/nvidia0", F_OK) == 0;
    if (DIR* entries = opendir("/dev/dri")) {
        while (dirent* entry = readdir(entries))
            if (std::strncmp(entry->d_name, "card", 4) == 0 || std::strncmp(entry->d_name, "render", 6) == 0)
                found = true;
        closedir(entries);
    }
    return found;
}

// An OpenGL renderer whose driver draws on the CPU: slower than SDL's own
// software renderer for this game's flat 2-D frames, and many times larger.
bool RastersInSoftware(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) return false;
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const auto* name = getString ? reinterpret_cast<const char*>(getString(0x1F01 /* GL_RENDERER */)) : nullptr;
    if (!name) return false;
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* rasteriser : {"llvmpipe", "softpipe", "swrast", "software"})
        if (lower.find(rasteriser) != std::string::npos) return true;
    return false;
}

SDL_Renderer* MakeSoftwareRenderer(SDL_Window* window) {
    // SDL would otherwise show the software frame through an OpenGL texture,
    // bringing back the rasteriser it is meant to avoid.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

// Accelerated with vsync first, then accelerated, then the software renderer;
// where nothing can accelerate (no graphics device, or an OpenGL that draws on
// the CPU) the software renderer comes first. A renderer named in
// SDL_RENDER_DRIVER is left to SDL's choice.
SDL_Renderer* MakeRenderer(SDL_Window* window, int deviceType) {
    const char* named = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    const bool chosenByUser = named && *named;
    if (deviceType == 0) return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!chosenByUser && !HasGraphicsHardware()) {
        if (SDL_Renderer* software = MakeSoftwareRenderer(window)) return software;
    }
    SDL_Renderer* renderer = nullptr;
    for (Uint32 flags : {Uint32{SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC}, Uint32{SDL_RENDERER_ACCELERATED}}) {
        renderer = SDL_CreateRenderer(window, -1, flags);
        if (renderer) break;
    }
    if (renderer && !chosenByUser && RastersInSoftware(renderer)) {
        SDL_DestroyRenderer(renderer);
        renderer = MakeSoftwareRenderer(window);
        // Should the window refuse a software frame, the rasteriser will do.
        if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    }
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    return renderer;
}

}  // namespace

MRenderDevice* MRenderDevice::Current() { return gDevice; }

MRenderDevice* MRenderDevice::Get() { return Get(nullptr); }

MRenderDevice* MRenderDevice::Get(SDL_Window* window) {
    if (!gDevice) {
        gDevice = new MRenderDevice;
        // Without a video subsystem the object still exists; CreateDevice then reports kResultNoRuntime.
        if (SDL_WasInit(SDL_INIT_VIDEO)) {
            gDevice->runtimeAvailable = 1;
        } else if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            gDevice->runtimeAvailable = 1;
            gDevice->ownsVideo = 1;
        }
    }
    if (window && !gDevice->focusWindow) {
        gDevice->focusWindow = window;
        // The window lives on the video subsystem this device may have
        // started: it is no longer the device's to end (the process's
        // SDL_Quit ends it), so a device made for the desktop checks can go
        // on to draw in the window without video being started twice.
        gDevice->ownsVideo = 0;
    }
    return gDevice;
}

MRenderDevice::~MRenderDevice() { ReleaseRenderer(); }

void MRenderDevice::Destroy() {
    ReleaseRenderer();
    if (ownsVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (gDevice == this) gDevice = nullptr;
    delete this;
}

void MRenderDevice::ReleaseRenderer() {
    // Canvases outlive the renderer only as CPU copies.
    for (MCanvas* canvas : Canvases()) canvas->DropDeviceObject();
    if (arrowCursor) {
        SDL_FreeCursor(arrowCursor);
        arrowCursor = nullptr;
    }
    if (renderer) SDL_DestroyRenderer(renderer);
    renderer = nullptr;
    cursorReady = 0;
    inFrame = 0;
}

int MRenderDevice::CreateDevice(int wantFullScreen, int width, int height) {
    if (!runtimeAvailable) return kResultNoRuntime;
    int display = focusWindow ? std::max(0, SDL_GetWindowDisplayIndex(focusWindow)) : 0;
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(display, &mode) != 0) return kResultNoDisplayMode;
    if (!focusWindow) return kResultNoDevice;

    if (renderer) ReleaseRenderer();
    fullScreen = wantFullScreen ? 1 : 0;
    if (fullScreen && !(SDL_GetWindowFlags(focusWindow) & SDL_WINDOW_FULLSCREEN))
        SDL_SetWindowFullscreen(focusWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);

    renderer = MakeRenderer(focusWindow, deviceType);
    if (!renderer) return kResultNoDevice;

    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    // The software renderer may claim vsync, but its window updates do not wait.
    presentWaits = (info.flags & SDL_RENDERER_PRESENTVSYNC) && (info.flags & SDL_RENDERER_ACCELERATED) &&
                   std::strcmp(info.name, "software") != 0;
    refreshRate = mode.refresh_rate > 0 ? mode.refresh_rate : 60;
    nextFrame = std::chrono::steady_clock::now();
    displayFormat = PixelFormat::A8R8G8B8;

    // The drawing state every frame relies on; without it nothing can be drawn.
    // The design is scaled to the output and centred in it, in a window of any
    // size as in full screen.
    if (SDL_RenderSetLogicalSize(renderer, width, height) != 0) {
        ReleaseRenderer();
        return kResultNoSpriteDrawer;
    }
    if (SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE) != 0) {
        ReleaseRenderer();
        return kResultNoSpriteDrawer;
    }
    backBufferWidth = width;
    backBufferHeight = height;
    for (int mode : {0, 1})
        if (mode == fullScreen || modeSizes[mode][0] <= 0) modeSizes[mode][0] = width, modeSizes[mode][1] = height;
    outputScale = 1.0;
    UpdateOutputScale();
    // Canvases made before (or kept across) a renderer get their device objects now.
    resetPending = Canvases().empty() ? 0 : 1;
    return 0;
}

void MRenderDevice::SetModeSizes(int windowedWidth, int windowedHeight, int fullWidth, int fullHeight) {
    modeSizes[0][0] = windowedWidth;
    modeSizes[0][1] = windowedHeight;
    modeSizes[1][0] = fullWidth;
    modeSizes[1][1] = fullHeight;
}

int MRenderDevice::SwitchMode(int wantFullScreen) {
    if (!renderer) return kResultFail;
    fullScreen = wantFullScreen ? 1 : 0;
    const int width = modeSizes[fullScreen][0], height = modeSizes[fullScreen][1];
    if (width > 0 && height > 0 && SDL_RenderSetLogicalSize(renderer, width, height) == 0) {
        backBufferWidth = width;
        backBufferHeight = height;
    }
    UpdateOutputScale();
    return 0;
}

int MRenderDevice::PictureDensityFor(double scale) {
    // A little above a whole density still counts as it: a rounding of the output's size.
    constexpr double kSlack = 1.0 / 256;
    if (scale <= 1.0 + kSlack) return 1;
    if (scale <= 2.0 + kSlack) return 2;
    return 3;
}

double MRenderDevice::PictureScaleFor(double scale) {
    const int density = PictureDensityFor(scale);
    constexpr double kSlack = 1.0 / 256;
    if (density == 1 || std::fabs(scale - density) <= kSlack) return density;
    return scale;
}

bool MRenderDevice::IsPixelExact(double texels, float x, float y, int designW, int designH, int w, int h) const {
    if (std::fabs(texels - outputScale) > 1e-9) return false;
    const double s = outputScale;
    return std::lround((x + designW) * s) - std::lround(x * s) == w && std::lround((y + designH) * s) - std::lround(y * s) == h;
}

SDL_FRect MRenderDevice::PixelExactRect(float x, float y, int w, int h) const {
    const double s = outputScale;
    // A quarter pixel in from the corner and a fifth over the size: a renderer
    // that cuts positions and sizes to whole pixels lands on the same pixels
    // as one that covers the pixel centres inside.
    const double left = std::round(x * s) + 0.25, top = std::round(y * s) + 0.25;
    return SDL_FRect{static_cast<float>(left / s), static_cast<float>(top / s), static_cast<float>((w + 0.2) / s),
                     static_cast<float>((h + 0.2) / s)};
}

void MRenderDevice::UpdateOutputScale() {
    if (!renderer) return;
    int outW = 0, outH = 0, logicalW = 0, logicalH = 0;
    SDL_GetRendererOutputSize(renderer, &outW, &outH);
    SDL_RenderGetLogicalSize(renderer, &logicalW, &logicalH);
    double scale = 1.0;
    if (logicalW > 0 && logicalH > 0 && outW > 0 && outH > 0)
        scale = std::min(static_cast<double>(outW) / logicalW, static_cast<double>(outH) / logicalH);
    if (scale == outputScale) return;
    outputScale = scale;
    for (MDeviceResetListener* listener : listeners) listener->OnOutputScaleChanged(scale);
}

int MRenderDevice::RebuildDeviceObjects() {
    for (MDeviceResetListener* listener : listeners) listener->ReleaseDeviceObjects();
    for (MCanvas* canvas : Canvases())
        if (canvas->RestoreDeviceObject() != 0) return kResultDeviceLost;
    for (MDeviceResetListener* listener : listeners)
        if (listener->RestoreDeviceObjects() != 0) return kResultDeviceLost;
    if (cursorReady) SetArrowCursor();
    ++resetCount;
    return 0;
}

int MRenderDevice::BeginFrame() {
    if (!renderer) return kResultBeginFailed;
    if (picturesLost) return kResultDeviceLost;
    if (resetPending) {
        // A device that is not ready yet gets a few more frames; pictures that
        // cannot be read again never come back, and the loop must not spin on them.
        constexpr int kRebuildAttempts = 3;
        if (RebuildDeviceObjects() != 0) {
            if (++failedRebuilds >= kRebuildAttempts) {
                resetPending = 0;
                picturesLost = true;
            }
            return kResultDeviceLost;
        }
        failedRebuilds = 0;
        resetPending = 0;
    }
    UpdateOutputScale();
    if (SmoothsPictures()) {
        // Around the scaled design: the margins in their colour.
        SDL_SetRenderDrawColor(renderer, static_cast<Uint8>(marginColour >> 16), static_cast<Uint8>(marginColour >> 8),
                               static_cast<Uint8>(marginColour), 0xFF);
        SDL_RenderClear(renderer);
    }
    inFrame = 1;
    return 0;
}

int MRenderDevice::EndFrame() {
    if (!renderer || !inFrame) return kResultEndFailed;
    inFrame = 0;
    if (SDL_RenderFlush(renderer) != 0) return kResultEndFailed;
    SDL_RenderPresent(renderer);
    lastPresent = std::chrono::steady_clock::now();
    ++presentCount;
    // Large pictures made at their first use that no frame has drawn since the
    // last look, two seconds or more ago, are let go until they are drawn again
    // (the intro's, a closed card's or page's).
    constexpr std::size_t kLargePicture = std::size_t{1} << 20;
    if (lastPresent - lastSweep >= std::chrono::seconds(2)) {
        auto& canvases = Canvases();
        for (std::size_t i = canvases.size(); i-- > 0;) canvases[i]->DeferAgainIfUnusedSince(sweptAt, kLargePicture);
        lastSweep = lastPresent;
        sweptAt = presentCount;
    }
    if (pacing) PaceFrame(1);
    return 0;
}

void MRenderDevice::SkipFrame() {
    if (renderer && pacing) PaceFrame(0);
}

void MRenderDevice::PaceFrame(int presented) {
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::nanoseconds(1'000'000'000LL / refreshRate);
    // A present that waits for the display needs no help; should its vsync not
    // really wait, frames are still held below one and a third of the refresh rate.
    const auto step = presentWaits && presented ? period * 3 / 4 : period;
    auto now = Clock::now();
    nextFrame += step;
    if (nextFrame <= now) {
        // Late (a slow frame, or the first one): start counting from now.
        nextFrame = now;
        return;
    }
    if (nextFrame - now > step) nextFrame = now + step;  // the clock went back
    std::this_thread::sleep_until(nextFrame);
}

int MRenderDevice::FillRect(const MPanel& panel) {
    if (panel.right - panel.left < 1 || panel.bottom - panel.top < 1) return kResultInvalidArg;
    if (!renderer) return kResultFail;
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    int result = 0;
    if (!panel.noFill) result = ClearRect(renderer, panel.left, panel.top, panel.right, panel.bottom, panel.fillColour);
    const int d = panel.borderWidth;
    if (d == 0 || result != 0) return result;

    int left = panel.left, top = panel.top, right = panel.right, bottom = panel.bottom;
    if (d > 0) {
        left -= d;
        top -= d;
        right += d;
        bottom += d;
    }
    const int w = d > 0 ? d : -d;
    D3DCOLOR topLeft = panel.borderColour, bottomRight = panel.borderColour;
    if (panel.borderStyle & 1) {
        topLeft = LightOf(panel.borderColour);
        bottomRight = DarkOf(panel.borderColour);
    } else if (panel.borderStyle & 2) {
        topLeft = DarkOf(panel.borderColour);
        bottomRight = LightOf(panel.borderColour);
    }
    if ((result = ClearRect(renderer, left, top, right, top + w, topLeft)) != 0) return result;
    if ((result = ClearRect(renderer, left, top, left + w, bottom, topLeft)) != 0) return result;
    if ((result = ClearRect(renderer, left, bottom - w, right, bottom, bottomRight)) != 0) return result;
    return ClearRect(renderer, right - w, top, right, bottom, bottomRight);
}

void MRenderDevice::ShowDeviceCursor(int show) {
    if (renderer && cursorReady) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void MRenderDevice::SetDeviceCursorPos(int x, int y) {
    // The device cursor is the desktop's own cursor here, which already stands
    // where the mouse is: the position is only recorded (moving the mouse would
    // send a motion event back, and the screen answers motion with this call).
    if (renderer && cursorReady) {
        cursorX = x;
        cursorY = y;
    }
}

void MRenderDevice::SetArrowCursor() {
    if (!arrowCursor) arrowCursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    if (arrowCursor) SDL_SetCursor(arrowCursor);
    cursorReady = 1;  // even when the cursor could not be made
}

int MRenderDevice::CanRenderWindowed() {
    if (!runtimeAvailable || SDL_GetNumRenderDrivers() <= 0) return 0;
    SDL_DisplayMode mode{};
    int display = focusWindow ? std::max(0, SDL_GetWindowDisplayIndex(focusWindow)) : 0;
    if (SDL_GetDesktopDisplayMode(display, &mode) != 0) return 0;
    return CanRenderWindowedIn(mode.format);
}

int MRenderDevice::CanRenderWindowedIn(std::uint32_t desktopFormat) {
    if (desktopFormat == SDL_PIXELFORMAT_UNKNOWN || SDL_ISPIXELFORMAT_FOURCC(desktopFormat)) return 0;
    // By bytes: a 24-bit colour desktop keeps its pixels in 32 bits.
    const int bytes = SDL_BYTESPERPIXEL(desktopFormat);
    return bytes == 2 || bytes == 4 ? 1 : 0;
}

int MRenderDevice::DisplayAtLeast(int width, int height) {
    if (!runtimeAvailable) return 0;
    SDL_DisplayMode mode{};
    int display = focusWindow ? std::max(0, SDL_GetWindowDisplayIndex(focusWindow)) : 0;
    if (SDL_GetDesktopDisplayMode(display, &mode) != 0) return 0;
    return mode.w >= width && mode.h >= height ? 1 : 0;
}

void MRenderDevice::ClientToWindow(int* x, int* y) const {
    if (!renderer) return;
    int wx = 0, wy = 0;
    SDL_RenderLogicalToWindow(renderer, static_cast<float>(*x), static_cast<float>(*y), &wx, &wy);
    *x = wx;
    *y = wy;
}

void MRenderDevice::WindowToClient(int* x, int* y) const {
    if (!renderer) return;
    float lx = 0, ly = 0;
    SDL_RenderWindowToLogical(renderer, *x, *y, &lx, &ly);
    *x = static_cast<int>(lx);
    *y = static_cast<int>(ly);
}

void MRenderDevice::AddCanvas(MCanvas* canvas) {
    auto& canvases = Canvases();
    if (std::find(canvases.begin(), canvases.end(), canvas) == canvases.end()) canvases.push_back(canvas);
}

void MRenderDevice::RemoveCanvas(MCanvas* canvas) {
    auto& canvases = Canvases();
    auto it = std::find(canvases.begin(), canvases.end(), canvas);
    if (it != canvases.end()) {
        // Order does not matter: swap with the last.
        *it = canvases.back();
        canvases.pop_back();
    }
}

void MRenderDevice::AddResetListener(MDeviceResetListener* listener) {
    if (std::find(listeners.begin(), listeners.end(), listener) == listeners.end()) listeners.push_back(listener);
}

void MRenderDevice::RemoveResetListener(MDeviceResetListener* listener) {
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}
