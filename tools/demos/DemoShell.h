#pragma once
// The application and window of the demo programs and the entry probe: a
// settings root, a window titled "Zanbor", the game clock in step with
// activation, and closing the window quits.

#include <chrono>
#include <thread>

#include "platform/app/GameTimer.h"
#include "platform/app/MApplication.h"
#include "platform/window/MWindow.h"

class DemoShellWindow : public MWindow {
public:
    void OnClose() override {
        if (gApplication) gApplication->Quit(0);
    }
    void OnSize(int, int) override {}
    void OnMouseMove(int, int) override {}
    void OnNcMouseMove(int, int) override {}
    void OnLButtonDown(int, int) override {}
    void OnLButtonDblClk(int, int) override {}
    void OnRButtonDown(int, int) override {}
    void OnRButtonDblClk(int, int) override {}
    void OnLButtonUp(int, int) override {}
    void OnRButtonUp(int, int) override {}
    int OnKeyDown(int) override { return 1; }
    int OnKeyUp(int) override { return 1; }
    int OnSysKeyDown(int) override { return 1; }
    int OnSysKeyUp(int) override { return 1; }
    void InvalidateAll() override {}
    void OnActivate(int state) override {
        active = (state & 0xFFFF) != 0;
        GameTimer(active ? TIMER_START : TIMER_STOP);
    }
    int OnSetCursor() override { return 0; }
    void OnEnterSizeMove() override {}
    void OnExitSizeMove() override {}
    // Nothing draws here, so the frame paces itself to about 60 per second.
    void Frame() override { std::this_thread::sleep_for(std::chrono::milliseconds(16)); }
};

class DemoShellApp : public MApplication {
public:
    DemoShellApp() {
        LoadString(IDS_PRODUCT_NAME, name, sizeof name);
        largeIconId = IDI_LARGE_ICON;
        smallIconId = IDI_SMALL_ICON;
    }
    ~DemoShellApp() override { OnExit(); }
    int OnInit() override {
        MApplication::OnInit();
        OpenRegistryRoot();
        LoadAccelerators(IDR_ACCELERATORS);
        return 1;
    }
    void OnExit() override {}
    void RequestQuit() override { Quit(0); }
    const char* GetMakerName() override { return "Brevant"; }
    COptions* GetOptions() override { return nullptr; }
};
