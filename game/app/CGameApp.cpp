#include "game/app/CGameApp.h"

#include <algorithm>
#include <new>
#include <string>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "common/scene/COptions.h"
#include "game/rules/CGameOptions.h"
#include "game/app/CGameScreen.h"
#include "game/app/WindowFit.h"
#include "platform/dialogs/MMessageDialog.h"
#include "platform/audio/MMusicManager.h"
#include "platform/storage/MRegistryStore.h"
#include "platform/render/MRenderDevice.h"
#include "platform/audio/MSoundManager.h"
#include "platform/render/MTextFont.h"
#include "platform/window/MWindow.h"

// The sentences of a message are separated by two blanks.
const CStartupMessage kMessageRuntimeTooOld = {
    "Error", 1,
    "SDL 2.0.18 or higher is not installed on this machine.  Please install it with your system's package "
    "manager, or from www.libsdl.org."};
const CStartupMessage kMessageWindowedImpossible = {
    "Warning", 2,
    "Zanbor has a problem running Direct3D in windowed mode with your current video settings.  To run windowed, "
    "the bitdepth must be set to 16 or 32 bits.  Zanbor will try to run full screen."};
const CStartupMessage kMessageDesktopTooSmall = {
    "Error", 1,
    "Your screen resolution must be set to 800 x 600 or higher.  Please adjust your settings.  Zanbor will exit."};
const CStartupMessage kMessageFullScreenDeviceFailed = {
    "Error", 1,
    "Zanbor has a problem running in full screen mode.  Next time it will start in windowed mode.  Please check "
    "your video drivers.  Zanbor will exit."};
const CStartupMessage kMessageWindowedDeviceFailed = {"Error", 1, "Zanbor encountered a fatal error and will exit."};
const CStartupMessage kMessageNoSound = {"Error", 1,
                                         "The sound card could not be initialized.  Zanbor will exit."};
// The text names the archive's path after its first sentence (CGameScreen fills it in).
const CStartupMessage kMessageArchiveDamaged = {
    "Error", 1, "The asset file %s is damaged.  Please reinstall Zanbor.  Zanbor will exit."};

namespace {

// Window styles of Create: a pop-up filling the desktop, or a captioned window
// with a system menu and a minimise box.
constexpr int kStyleFullScreen = 0x950;  // resizable once switched to a window
// The felt of the table: the margins around the design in a larger window.
constexpr D3DCOLOR kTableColour = 0x1D4D3A;
constexpr int kStyleWindowed = 0x15F;  // also resizable and maximisable
// The drawing area in a window of the design's size (the design's top left) and in full screen.
constexpr int kWindowedWidth = kWindowDesignWidth;
constexpr int kWindowedHeight = kWindowDesignHeight;
constexpr int kFullScreenWidth = kFullDesignWidth;
constexpr int kFullScreenHeight = kFullDesignHeight;

// The text fonts, all in the one sans face: the three the game has always
// made, then the roll counter's, small enough for "1 of 3" to fit the gap
// between the sheet and the roll button.
struct FontRecord {
    int points;
    int flags;
};
constexpr FontRecord kFonts[] = {{16, 0}, {20, kFontBold}, {8, kFontBold}, {13, kFontBold}};

}  // namespace

CGameApp::CGameApp() { LoadString(IDS_PRODUCT_NAME, name, sizeof name); }

CGameApp::~CGameApp() { OnExit(); }

COptions* CGameApp::GetOptions() {
    if (!options) options = new (std::nothrow) CGameOptions;
    return static_cast<COptions*>(options);
}

CGameScreen* CGameApp::GetGameScreen() const { return static_cast<CGameScreen*>(screen.get()); }

void CGameApp::UseFullScreenSize() {
    fullScreen = 1;
    windowWidth = kFullScreenWidth;
    windowHeight = kFullScreenHeight;
}

void CGameApp::ShowMessage(const CStartupMessage& message, SDL_Window* owner) {
    MMessageDialog dialog;
    dialog.SetCaption(message.caption);
    dialog.SetIcon(message.icon);
    dialog.SetButtons(2);
    dialog.SetText(message.text);
    dialog.Show(owner);
}

int CGameApp::CanRenderWindowed() { return MRenderDevice::Get()->CanRenderWindowed(); }

int CGameApp::DesktopAtLeast(int width, int height) { return MRenderDevice::Get()->DisplayAtLeast(width, height); }

int CGameApp::CreateRenderDevice() {
    MRenderDevice* device = MRenderDevice::Get(screen->handle);
    device->SetMarginColour(kTableColour);
    // A switch between window and full screen (F11) shows that mode's size at once.
    device->SetModeSizes(kWindowedWidth, kWindowedHeight, kFullScreenWidth, kFullScreenHeight);
    return device->CreateDevice(fullScreen, windowWidth, windowHeight);
}

void CGameApp::TellAboutTheSettingsFile() {
    MRegistryStore* store = MRegistryStore::Get(HKEY_LOCAL_MACHINE);
    std::string text = store->TakeNotice();
    if (const std::string why = store->WhyNotWritable(); !why.empty())
        text += (text.empty() ? "" : "  ") + std::string("Your games and records cannot be saved: ") + why + " (" +
                MRegistryStore::DatabasePath(registryRoot) + "). Those kept so far are shown.";
    if (!text.empty()) ShowMessage({"Warning", 2, text.c_str()}, screen ? screen->handle : nullptr);
}

int CGameApp::EndStartup() {
    if (screen) screen->OnDestroy();
    return 0;
}

int CGameApp::OnInit() {
    StartupReport::Mark("init");
    LoadAccelerators(IDR_ACCELERATORS);
    OpenRegistryRoot();

    COptions* record = GetOptions();
    if (!record) return 0;
    record->Load();
    if (record->GetFullscreen()) UseFullScreenSize();

    if (IsRuntimeTooOld(GetDirectXVersion())) {
        ShowMessage(kMessageRuntimeTooOld, nullptr);
        return 0;
    }
    if (!record->GetFullscreen() && !CanRenderWindowed()) {
        ShowMessage(kMessageWindowedImpossible, nullptr);
        record->SetFullscreen(1);
        record->Save();
        UseFullScreenSize();
    }
    if (!record->GetFullscreen() && !DesktopAtLeast(800, 600)) {
        ShowMessage(kMessageDesktopTooSmall, nullptr);
        return 0;
    }
    // The checks' device has no window yet: it is kept and given the window
    // below (ending it would shut the video down only to start it again).
    StartupReport::Mark("checks");

    largeIconId = IDI_LARGE_ICON;
    smallIconId = IDI_SMALL_ICON;
    auto* gameScreen = new CGameScreen;
    screen.reset(gameScreen);

    // The window as the player left it, inside the desktop it opens on; on a
    // first start the largest whole multiple of the design in about two thirds of it.
    const WindowPlacement stored = ReadWindowPlacement();
    const WindowPlacement place =
        FitWindow(stored, MWindow::UsableAreaAt(stored.x + stored.width / 2, stored.y + stored.height / 2));
    if (gameScreen->Create(instance, name, fullScreen ? windowWidth : place.width,
                           fullScreen ? windowHeight : place.height, fullScreen ? kStyleFullScreen : kStyleWindowed) != 0)
        return EndStartup();
    gameScreen->SetMinimumSize(kWindowDesignWidth, kWindowDesignHeight);
    gameScreen->RememberPlacement(place);
    gameScreen->SetTitle(name);
    gameScreen->Show();
    // Placed once shown: the desktop's frame around it is known then, and the
    // place is the client area's, as it was kept.
    if (!fullScreen) gameScreen->SetPlacement(place);
    StartupReport::Mark("window");

    if (CreateRenderDevice() != 0) {
        if (record->GetFullscreen()) {
            ShowMessage(kMessageFullScreenDeviceFailed, gameScreen->handle);
            record->SetFullscreen(0);
        } else {
            ShowMessage(kMessageWindowedDeviceFailed, gameScreen->handle);
            record->SetFullscreen(1);
        }
        record->Save();
        return EndStartup();
    }
    gameScreen->FitDesign();
    StartupReport::Mark("device");
    TellAboutTheSettingsFile();

    MFontManager* fonts = MFontManager::Get();
    if (!fonts) return EndStartup();
    for (const FontRecord& font : kFonts) fonts->AddFont("Arial", font.points, font.flags);
    MFontManager::ReleaseFontLookup();
    StartupReport::Mark("fonts");

    MSoundManager* sound = MSoundManager::Get();
    if (AudioResult::Failed(sound->Initialize(gameScreen->handle, DSSCL_PRIORITY, 2, 22050, 16))) {
        ShowMessage(kMessageNoSound, gameScreen->handle);
        return EndStartup();
    }
    // Without a synthesizer or a SoundFont the music is silently absent. The
    // SoundFont is read once the first frame is up: the music waits for it.
    MMusicManager* music = MMusicManager::Get();
    music->LoadSoundFontInBackground(1);
    music->Initialize(gameScreen->handle, sound, 64, 8);
    StartupReport::Mark("audio");

    if (gameScreen->CreateContent() != 0) return EndStartup();
    StartupReport::Mark("content");
    gameScreen->BeginContent();
    StartupReport::Mark("begin");
    // The synthesizer keeps every preset it reads: only the tunes' are read.
    music->LimitSoundFont(gameScreen->TuneInstruments());
    music->StartSoundFontLoad();
#ifdef __GLIBC__
    // From now on large blocks get mappings of their own, which go back to the
    // system when freed instead of leaving holes in the heap. Not before: the
    // start-up's pictures would pay for fresh pages again and again.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024);
    // Loading left freed buffers in the heap; they go back to the system.
    malloc_trim(0);
#endif
    MApplication::OnInit();
    return 1;
}

void CGameApp::OnExit() {
    // The window's place and size are kept for the next start (in a window only:
    // a run that never had one keeps the last).
    if (screen && screen->handle) {
        const WindowPlacement placement = screen->GetPlacement();
        if (placement.width > 0) WriteWindowPlacement(placement);
    }
    MRegistryStore::Free();
    MMusicManager::Free();
    MSoundManager::Free();
    MFontManager::Free();
    if (MRenderDevice* device = MRenderDevice::Current()) device->Destroy();
}

void CGameApp::RequestQuit() {
    if (screen) GetGameScreen()->RequestScene(nullptr, kRequestQuit, 1);
}

MApplication* CreateGameApp() { return new (std::nothrow) CGameApp; }
