#pragma once
// The application object and its event loop on SDL2, the single-instance guard,
// the settings root, the program's resources and the process entry.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/app/BApplication.h"
#include "platform/app/BOptions.h"

// Program resources, compiled in.
constexpr int IDS_PRODUCT_NAME = 1;
constexpr int IDR_ACCELERATORS = 104;
constexpr int IDI_LARGE_ICON = 101;
constexpr int IDI_SMALL_ICON = 102;
constexpr int IDM_CTRL_F8 = 40001;

// One accelerator: a virtual key with modifier flags giving a command.
struct MAccelerator {
    int virtualKey;
    bool control;
    int command;
};

struct MAcceleratorTable {
    const MAccelerator* entries;
    int count;
};

class MApplication : public BApplication {
public:
    MApplication();

    int OnInit() override;
    void OnExit() override = 0;
    void OnIdle() override;
    int Run() override;
    void Quit(int code) override;
    int LoadString(int id, char* buffer, int size) override;
    HICON LoadIcon(int id) override;
    HCURSOR LoadCursor(int id) override;
    HMENU LoadMenu(int id) override;
    ~MApplication() override;
    void RequestQuit() override {}
    const char* GetName() override { return name; }
    const char* GetMakerName() override { return ""; }
    const char* GetAltName() override { return ""; }
    COptions* GetOptions() override = 0;
    void SpareHook() override {}

    // 1 when another process of this program holds the instance lock, in the
    // session's runtime folder or beside the settings store.
    int IsAlreadyRunning();
    // The product's settings folder: $XDG_CONFIG_HOME/<maker>/<product>.
    std::string SettingsFolder();
    // Sets registryRoot to the product's settings folder
    // ($XDG_CONFIG_HOME/<maker>/<product>); the folder is made on the first write.
    void OpenRegistryRoot();
    void LoadAccelerators(int id);
    // The SDL runtime version as major << 16 | minor << 8 | patch; 0 if unknown.
    unsigned GetDirectXVersion();

    // The command of the last accelerator the loop translated (0 if none yet).
    int LastAcceleratorCommand() const { return lastAcceleratorCommand; }

    void* instance = nullptr;
    const MAcceleratorTable* accelerators = nullptr;
    std::string registryRoot;  // empty: no root
    std::unique_ptr<MWindow> screen;
    char name[64];
    std::uint16_t largeIconId = 0;
    std::uint16_t smallIconId = 0;
    int swapButtons = 0;

protected:
    // The options singleton; created by the game's GetOptions, destroyed here.
    BOptions* options = nullptr;

private:
    bool TranslateAccelerator(const void* event);

    int lastAcceleratorCommand = 0;
    void* icons[2] = {nullptr, nullptr};
};

// The one application object of the process (null outside ApplicationMain
// unless a test sets it).
extern MApplication* gApplication;

using MApplicationFactory = MApplication* (*)();

// The exit code of a start with no display to show the game on.
constexpr int kExitNoDisplay = 2;

// The process entry: creates the application through the factory, ends at
// once (with kExitNoDisplay, saying why on standard error) where there is no
// display, refuses a second instance, initialises, runs the loop and returns
// the exit code. An engine exception escaping any step is reported in a
// message box and gives 1.
int ApplicationMain(MApplicationFactory factory);

// The folder below which a maker's products keep their settings:
// $XDG_CONFIG_HOME, else $HOME/.config.
std::string UserConfigFolder();
