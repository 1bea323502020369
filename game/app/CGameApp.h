#pragma once
// The game's application object: the checks of the machine before anything is
// shown, the window, the renderer, the fonts, sound and music brought up in
// order, the game screen and its first scene; every failure on that road ends
// the run with its own message, and two of them switch the stored window mode
// so that the next start tries the other one.

#include "platform/app/MApplication.h"

class CGameScreen;
struct SDL_Window;

// The oldest SDL runtime the program runs on (major << 16 | minor << 8 | patch).
constexpr unsigned kOldestRuntimeVersion = 0x020012;  // 2.0.18

// The start-up messages: caption and text.
struct CStartupMessage {
    const char* caption;
    int icon;  // 1 stop, 2 exclamation
    const char* text;
};
extern const CStartupMessage kMessageRuntimeTooOld;
extern const CStartupMessage kMessageWindowedImpossible;
extern const CStartupMessage kMessageDesktopTooSmall;
extern const CStartupMessage kMessageFullScreenDeviceFailed;
extern const CStartupMessage kMessageWindowedDeviceFailed;
extern const CStartupMessage kMessageNoSound;
extern const CStartupMessage kMessageArchiveDamaged;

class CGameApp : public MApplication {
public:
    CGameApp();
    ~CGameApp() override;

    int OnInit() override;
    // Frees the service singletons: settings store, music, sound, fonts, renderer.
    void OnExit() override;
    void RequestQuit() override;
    const char* GetMakerName() override { return "Brevant"; }
    // The options record of the run, made on the first call.
    COptions* GetOptions() override;

    void UseFullScreenSize();
    CGameScreen* GetGameScreen() const;

    // 1 when the runtime running is older than the program needs.
    static int IsRuntimeTooOld(unsigned version) { return version < kOldestRuntimeVersion ? 1 : 0; }
    // Shows a start-up message over owner (null: no owner).
    static void ShowMessage(const CStartupMessage& message, SDL_Window* owner);

    int fullScreen = 0;
    int windowWidth = 794;
    int windowHeight = 575;

protected:
    // The desktop mode as the renderer reads it. A test replaces just these
    // two queries: no video driver that runs headless can report a desktop
    // smaller than 800 x 600 or at a colour depth that rules out a window.
    virtual int CanRenderWindowed();
    virtual int DesktopAtLeast(int width, int height);
    // Makes the render device for the window (0, or the device's failure).
    // A test replaces it too: no renderer SDL offers fails on demand.
    virtual int CreateRenderDevice();

private:
    // Ends a failed start: the screen's destroy handler (which posts the quit message).
    int EndStartup();
    // Says once, at start, that the settings file was found damaged (and what
    // was recovered) or cannot be written.
    void TellAboutTheSettingsFile();
};

// The factory the process entry calls.
MApplication* CreateGameApp();
