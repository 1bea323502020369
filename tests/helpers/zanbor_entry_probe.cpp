// A program that goes through the process entry with an application chosen by
// ZANBOR_PROBE: "throw-init" throws an engine exception from OnInit,
// "throw-frame" throws one from the first frame; anything else runs the shell.

#include <cstdlib>
#include <cstring>

#include "game/CShellApp.h"
#include "platform/CException.h"

namespace {

class ThrowingWindow : public CShellWindow {
public:
    void Frame() override { throw CFileException("common/CProbe", 77); }
};

class ProbeApp : public CShellApp {
public:
    explicit ProbeApp(const char* mode) : mode(mode) {}
    int OnInit() override {
        if (std::strcmp(mode, "throw-init") == 0) throw CMemException("game/CProbe", 42);
        MApplication::OnInit();
        auto* window = new ThrowingWindow;
        screen = window;
        return window->Create(instance, name, 794, 575, 0x11B) == 0;
    }

private:
    const char* mode;
};

MApplication* CreateProbe() {
    const char* mode = std::getenv("ZANBOR_PROBE");
    if (mode && (std::strcmp(mode, "throw-init") == 0 || std::strcmp(mode, "throw-frame") == 0))
        return new ProbeApp(mode);
    return CreateShellApp();
}

}  // namespace

int main() { return ApplicationMain(CreateProbe); }
