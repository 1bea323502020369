// A program that goes through the process entry with an application chosen by
// ZANBOR_PROBE: "throw-init" throws an engine exception from OnInit,
// "throw-frame" throws one from the first frame; anything else opens a window
// and runs until it is closed.

#include <cstdlib>
#include <cstring>

#include "platform/core/CException.h"
#include "tools/demos/DemoShell.h"

namespace {

class ThrowingWindow : public DemoShellWindow {
public:
    void Frame() override { throw CFileException("common/CProbe", 77); }
};

class ProbeApp : public DemoShellApp {
public:
    explicit ProbeApp(const char* mode) : mode(mode ? mode : "") {}
    int OnInit() override {
        if (std::strcmp(mode, "throw-init") == 0) throw CMemException("game/CProbe", 42);
        DemoShellApp::OnInit();
        MWindow* window = std::strcmp(mode, "throw-frame") == 0 ? new ThrowingWindow : new DemoShellWindow;
        screen.reset(window);
        if (window->Create(instance, name, 794, 575, 0x11B) != 0) return 0;
        GameTimer(TIMER_RESET);
        GameTimer(TIMER_START);
        return 1;
    }

private:
    const char* mode;
};

MApplication* CreateProbe() { return new ProbeApp(std::getenv("ZANBOR_PROBE")); }

}  // namespace

int main() { return ApplicationMain(CreateProbe); }
