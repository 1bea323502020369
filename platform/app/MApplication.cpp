#include "platform/app/MApplication.h"

#include <SDL.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/core/CException.h"
#include "platform/app/MIcon.h"
#include "platform/app/MInstanceLock.h"
#include "platform/audio/MSoundManager.h"
#include "platform/dialogs/MMessageDialog.h"
#include "platform/core/MStrings.h"
#include "platform/window/MWindow.h"

MApplication* gApplication = nullptr;

namespace {

constexpr MAccelerator kAcceleratorEntries[] = {{119 /* F8 */, true, IDM_CTRL_F8}};
constexpr MAcceleratorTable kAcceleratorTable = {kAcceleratorEntries, 1};

// The quit message: an SDL user event whose code is the exit code.
Uint32 QuitEventType() {
    static Uint32 type = SDL_RegisterEvents(1);
    return type;
}

void EnsureEvents() {
    // Without the poll sentinel an empty poll means the queue really is empty,
    // also of events pushed while the previous one was handled (a quit, say).
    SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
    if (!SDL_WasInit(SDL_INIT_EVENTS)) SDL_InitSubSystem(SDL_INIT_EVENTS);
}

// The instance locks stay held for the life of the process: one in the
// session's runtime folder, one beside the settings store, which copies
// started in different sessions still share.
MInstanceLock gInstanceLock;
MInstanceLock gStoreLock;

// The last-resort report of an engine exception: a stop-icon message box (and
// the terminal, for whoever started the program from one).
void ShowExceptionReport(const CException& exception) {
    MMessageDialog dialog;
    dialog.SetText(exception.Report().c_str());
    dialog.SetIcon(1);
    dialog.SetButtons(2);
    std::fprintf(stderr, "%s\n", dialog.GetText());
    dialog.Show(nullptr);
}

// Without a display SDL falls back on a driver that shows nothing, and the
// game would run unseen for ever. A driver named in SDL_VIDEODRIVER is taken
// as asked (headless tools and tests name one). Leaves video started for the
// start-up that follows.
bool HasDisplay() {
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (asked && *asked) return true;
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    for (const char* shown : {"offscreen", "dummy", "evdev"})
        if (!driver || SDL_strcasecmp(driver, shown) == 0) return false;
    return true;
}

// The one way an application ends: deleted while gApplication still names it
// (its teardown may reach the options through it), then forgotten.
struct EndApplication {
    void operator()(MApplication* app) const {
        const bool named = gApplication == app;
        delete app;
        if (named) gApplication = nullptr;
    }
};

}  // namespace

std::string UserConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/') return config;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* entry = getpwuid(getuid());
        home = entry ? entry->pw_dir : "/tmp";
    }
    return std::string(home) + "/.config";
}

MApplication::MApplication() { name[0] = '\0'; }

MApplication::~MApplication() {
    // Before the options record and the icons, not after them with the members.
    screen.reset();
    delete options;
    options = nullptr;
    for (void*& icon : icons) {
        FreeIconSurface(icon);
        icon = nullptr;
    }
}

int MApplication::OnInit() {
    swapButtons = 0;  // the desktop does not tell SDL programs; SDL reports logical buttons
    return 1;
}

void MApplication::OnIdle() {
    if (screen) screen->Frame();
}

namespace {

// Waits in milliseconds, -1 for none: the shorter.
int SoonerOf(int a, int b) { return a < 0 ? b : b < 0 ? a : std::min(a, b); }

// Lets the sound output close while nothing is heard; the wait it asks for
// (at most a few seconds) makes the loop look again.
int SleepAudioWhenSilent() {
    MSoundManager* sound = MSoundManager::Peek();
    return sound ? sound->SleepWhenSilent(SDL_GetTicks()) : -1;
}

}  // namespace

int MApplication::Run() {
    EnsureEvents();
    const Uint32 quitType = QuitEventType();
    bool handledSinceFrame = true;
    for (;;) {
        SDL_Event event;
        // Active: take what is queued and run a frame whenever the queue is empty;
        // when a frame with no input before it left nothing changing, sleep until
        // an event or the screen's next timed change first.
        // Inactive or minimised: sleep until something arrives, and run no frame.
        int taken = 0;
        if (screen && screen->active) {
            taken = SDL_PollEvent(&event);
            if (taken <= 0 && !handledSinceFrame) {
                int idle = screen->IdleMilliseconds();
                if (idle != 0) idle = SoonerOf(idle, SleepAudioWhenSilent());
                if (idle < 0)
                    taken = SDL_WaitEvent(&event);
                else if (idle > 0)
                    taken = SDL_WaitEventTimeout(&event, idle);
            }
        } else {
            taken = SDL_WaitEvent(&event);
        }
        if (taken > 0) {
            if (event.type == quitType) return event.user.code;
            if (!TranslateAccelerator(&event) && screen) screen->HandleMessage(event);
            handledSinceFrame = true;
        } else {
            OnIdle();
            handledSinceFrame = false;
        }
    }
}

void MApplication::Quit(int code) {
    EnsureEvents();
    SDL_Event event{};
    event.type = QuitEventType();
    event.user.code = code;
    SDL_PushEvent(&event);
}

int MApplication::LoadString(int id, char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    const char* text = id == IDS_PRODUCT_NAME ? "Zanbor" : "";
    return static_cast<int>(MStrings::Copy(buffer, static_cast<std::size_t>(size), text));
}

HICON MApplication::LoadIcon(int id) {
    int slot = id == IDI_SMALL_ICON ? 1 : id == IDI_LARGE_ICON ? 0 : -1;
    if (slot < 0) return nullptr;
    if (!icons[slot]) icons[slot] = CreateIconSurface(slot == 0 ? 32 : 16);
    return icons[slot];
}

HCURSOR MApplication::LoadCursor(int) { return nullptr; }

HMENU MApplication::LoadMenu(int) { return nullptr; }

int MApplication::IsAlreadyRunning() {
    // No usable place for a lock does not stop the player.
    if (gInstanceLock.Acquire(GetName()) == MInstanceLock::kHeldElsewhere) return 1;
    const char* product = GetName();
    if (product && *product && gStoreLock.AcquireIn(SettingsFolder(), product) == MInstanceLock::kHeldElsewhere) {
        gInstanceLock.Release();
        return 1;
    }
    return 0;
}

std::string MApplication::SettingsFolder() {
    std::string root = UserConfigFolder();
    for (const char* part : {GetMakerName(), GetName()})
        if (part && *part) root += std::string("/") + part;
    return root;
}

void MApplication::OpenRegistryRoot() { registryRoot = SettingsFolder(); }

void MApplication::LoadAccelerators(int id) {
    if (!accelerators && id == IDR_ACCELERATORS) accelerators = &kAcceleratorTable;
}

unsigned MApplication::GetDirectXVersion() {
    SDL_version version{};
    SDL_GetVersion(&version);
    return static_cast<unsigned>(version.major) << 16 | static_cast<unsigned>(version.minor) << 8 | version.patch;
}

bool MApplication::TranslateAccelerator(const void* rawEvent) {
    const auto& event = *static_cast<const SDL_Event*>(rawEvent);
    if (!accelerators || event.type != SDL_KEYDOWN) return false;
    int key = VirtualKeyFromSdl(event.key.keysym.sym);
    bool control = (event.key.keysym.mod & KMOD_CTRL) != 0;
    for (int i = 0; i < accelerators->count; ++i) {
        const MAccelerator& entry = accelerators->entries[i];
        if (entry.virtualKey == key && entry.control == control) {
            // The command goes to the window, where nothing handles it.
            lastAcceleratorCommand = entry.command;
            return true;
        }
    }
    return false;
}

int ApplicationMain(MApplicationFactory factory) {
    std::unique_ptr<MApplication, EndApplication> app;
    try {
        app.reset(factory ? factory() : nullptr);
        if (!app) return 0;
        if (!HasDisplay()) {
            std::fprintf(stderr,
                         "%s: there is no display to show the game on (neither DISPLAY nor WAYLAND_DISPLAY is "
                         "set).  Start it from a desktop session.\n",
                         app->GetName());
            app.reset();
            SDL_Quit();
            return kExitNoDisplay;
        }
        gApplication = app.get();
        if (app->IsAlreadyRunning()) return 0;
        app->instance = app.get();
        const int result = app->OnInit() ? app->Run() : 0;
        app.reset();
        SDL_Quit();
        return result;
    } catch (const CException& exception) {
        // The application object is left as it is: tearing it down could fail again.
        (void)app.release();
        ShowExceptionReport(exception);
        return 1;
    }
}
