#pragma once
// The process-wide renderer: one SDL_Renderer on the game's window, through which
// every canvas is drawn. Created on first use, given its window, destroyed by the
// application at exit. It keeps the list of canvases so that a renderer reset
// (SDL_RENDER_TARGETS_RESET / SDL_RENDER_DEVICE_RESET) rebuilds every texture
// before the next frame draws: from its CPU copy where it keeps one, else
// read again from the open archive it came from.

#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/render/MGraphicsTypes.h"
#include "platform/render/MPixelFormats.h"
#include "platform/core/ResultCodes.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Cursor;
struct SDL_FRect;
class MCanvas;

// A panel for FillRect. Border style bit 0: raised; bit 1 (without bit 0): sunken.
struct MPanel {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    D3DCOLOR fillColour = 0;
    int borderWidth = 0;  // > 0 grows the panel by it; < 0 lies inside the panel
    D3DCOLOR borderColour = 0;
    int borderStyle = 0;
    int noFill = 0;
};

// Device objects that are not canvases (the text rasteriser's fonts) are told
// around a reset: released before the canvases are rebuilt, restored after.
class MDeviceResetListener {
public:
    virtual ~MDeviceResetListener() = default;
    virtual int ReleaseDeviceObjects() = 0;
    virtual int RestoreDeviceObjects() = 0;
    // The output's pixels per design pixel changed (a resized or full-screen window).
    virtual void OnOutputScaleChanged(double /*scale*/) {}
};

class MRenderDevice {
public:
    // The singleton, created on the first call (with the window when given; a
    // later call with a window sets it if none was given yet).
    static MRenderDevice* Get();
    static MRenderDevice* Get(SDL_Window* window);
    // The singleton if it exists; never creates it.
    static MRenderDevice* Current();

    // Makes the renderer: for full screen the window fills the desktop and the
    // design of width x height is scaled and letterboxed into it; windowed, the
    // back buffer is the window's client area. 0, kResultNoRuntime,
    // kResultNoDisplayMode, kResultNoDevice or kResultNoSpriteDrawer.
    int CreateDevice(int fullScreen, int width, int height);

    // A reset seen since the last frame rebuilds the device objects first;
    // kResultDeviceLost when that fails (nothing is drawn this frame);
    // kResultBeginFailed without a device.
    int BeginFrame();
    // Presents the frame; where the present does not wait for the display
    // (software renderer, or no vsync) sleeps the rest of the display's frame.
    int EndFrame();
    // A frame that shows no change: nothing is drawn or presented, and the
    // caller sleeps until the next frame time (when pacing is on).
    void SkipFrame();
    // Frames presented since the device was made.
    long GetPresentCount() const { return presentCount; }
    // When the last frame was presented (before the pacing's wait that follows).
    std::chrono::steady_clock::time_point GetLastPresentTime() const { return lastPresent; }

    // Clears the panel and draws its bevel: top, left, bottom, right edges in
    // that order. E_INVALIDARG for an empty panel.
    int FillRect(const MPanel& panel);

    void ShowDeviceCursor(int show);
    void SetDeviceCursorPos(int x, int y);
    void SetArrowCursor();

    // 1 when a window can be drawn on the desktop as it is set now: a renderer
    // exists and the desktop's colour depth is one a window can share.
    int CanRenderWindowed();
    // 1 when a desktop of this SDL pixel format can hold the game's window:
    // 16 or 32 bits a pixel (not 256 colours, nor packed 24-bit pixels).
    static int CanRenderWindowedIn(std::uint32_t desktopFormat);
    int DisplayAtLeast(int width, int height);

    SDL_Renderer* GetDevice() const { return renderer; }
    // The renderer draws textures itself: the sprite drawer is the renderer.
    SDL_Renderer* GetSprite() const { return renderer; }
    PixelFormat GetDisplayFormat() const { return displayFormat; }
    int GetBitDepth() const { return BitsPerPixel(displayFormat); }
    int GetBackBufferWidth() const { return backBufferWidth; }
    int GetBackBufferHeight() const { return backBufferHeight; }
    SDL_Window* GetFocusWindow() const { return focusWindow; }

    // Releases the renderer (canvases keep their CPU copies) and clears the singleton.
    void Destroy();

    // The window saw SDL report a reset: rebuild before the next frame.
    void OnDeviceReset() { resetPending = 1; }
    // A rebuild failed again and again: the pictures cannot come back, and
    // frames draw nothing. The owner must tell the player and end.
    bool HasLostPictures() const { return picturesLost; }
    // A picture made at its first use could not be read: from the next frame
    // on, as when a rebuild fails, nothing is drawn and the owner is told.
    void LosePictures() { picturesLost = true; }
    int IsResetPending() const { return resetPending; }

    // Frame pacing in EndFrame (on by default); a measurement may turn it off.
    void SetFramePacing(int on) { pacing = on; }
    // 1 when the present waits for the display refresh by itself.
    int PresentWaitsForRefresh() const { return presentWaits; }
    int GetRefreshRate() const { return refreshRate; }
    int IsFullScreen() const { return fullScreen; }
    int IsCursorReady() const { return cursorReady; }
    int GetDeviceCursorX() const { return cursorX; }
    int GetDeviceCursorY() const { return cursorY; }
    int GetResetCount() const { return resetCount; }

    // Output pixels per design pixel (1 while the window shows the design as it is).
    double GetOutputScale() const { return outputScale; }
    // The density of pictures to load for the output: the smallest of 1, 2 and
    // 3 at or above its scale (3 above that).
    int GetPictureDensity() const { return PictureDensityFor(outputScale); }
    static int PictureDensityFor(double outputScale);
    // Texels per design pixel of the pictures read for the output: a denser
    // picture is brought to the output's own scale when that lies between
    // densities, so that it is copied one texel a pixel.
    double GetPictureScale() const { return PictureScaleFor(outputScale); }
    static double PictureScaleFor(double outputScale);
    // Where a picture of w x h texels drawn at the design point (x, y) is
    // copied one texel a pixel: a rectangle in design pixels whose output is
    // exactly those pixels, starting at the pixel nearest the point's place.
    SDL_FRect PixelExactRect(float x, float y, int w, int h) const;
    // Whether a picture of w x h texels at texels per design pixel, drawn into
    // the design rectangle (x, y, designW, designH), covers exactly w x h
    // output pixels (then PixelExactRect places it).
    bool IsPixelExact(double texels, float x, float y, int designW, int designH, int w, int h) const;
    // Pictures drawn larger or smaller than their texels are smoothed.
    bool SmoothsPictures() const { return fullScreen || outputScale != 1.0; }
    // Reads the output's size again; listeners hear of a new scale. The frame
    // start calls it.
    void UpdateOutputScale();

    // The design's size in a window and in full screen; by default both are
    // the size the device was made with.
    void SetModeSizes(int windowedWidth, int windowedHeight, int fullWidth, int fullHeight);
    int GetModeWidth(int full) const { return modeSizes[full ? 1 : 0][0]; }
    int GetModeHeight(int full) const { return modeSizes[full ? 1 : 0][1]; }
    // The window went to full screen or back: from the next frame that mode's
    // size is scaled and centred in it. 0, or kResultFail without a renderer.
    int SwitchMode(int wantFullScreen);

    // The colour of the output around the design (0x00RRGGBB).
    void SetMarginColour(D3DCOLOR colour) { marginColour = colour; }

    // Between design pixels and window pixels (they differ in full screen).
    void ClientToWindow(int* x, int* y) const;
    void WindowToClient(int* x, int* y) const;

    // Every canvas with a CPU copy is known process-wide, so that a device made
    // again (or reset) gives each its device object back.
    static void AddCanvas(MCanvas* canvas);
    static void RemoveCanvas(MCanvas* canvas);
    void AddResetListener(MDeviceResetListener* listener);
    void RemoveResetListener(MDeviceResetListener* listener);

    // 1 = accelerated renderer first (the default); 0 = software renderer only.
    int deviceType = 1;

private:
    MRenderDevice() = default;
    ~MRenderDevice();
    MRenderDevice(const MRenderDevice&) = delete;
    MRenderDevice& operator=(const MRenderDevice&) = delete;

    void ReleaseRenderer();
    int RebuildDeviceObjects();
    // Sleeps until the next frame time; a presented frame on a display that
    // waits for its refresh needs less help.
    void PaceFrame(int presented);

    int runtimeAvailable = 0;
    int ownsVideo = 0;  // the video subsystem was started here
    SDL_Window* focusWindow = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Cursor* arrowCursor = nullptr;
    PixelFormat displayFormat = PixelFormat::A8R8G8B8;
    int backBufferWidth = 0;
    int backBufferHeight = 0;
    double outputScale = 1.0;
    int modeSizes[2][2] = {};  // [windowed, full screen][width, height]
    D3DCOLOR marginColour = 0;
    int fullScreen = 0;
    int cursorReady = 0;
    int cursorX = 0;
    int cursorY = 0;
    int resetPending = 0;
    int resetCount = 0;
    int failedRebuilds = 0;  // in a row
    bool picturesLost = false;
    int inFrame = 0;
    int pacing = 1;
    int presentWaits = 0;
    int refreshRate = 60;
    long presentCount = 0;
    std::chrono::steady_clock::time_point lastPresent{};
    std::chrono::steady_clock::time_point lastSweep{};
    long sweptAt = 0;  // presentCount at lastSweep
    std::chrono::steady_clock::time_point nextFrame{};
    std::vector<MDeviceResetListener*> listeners;
};
