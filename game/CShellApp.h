#pragma once
// The program's application object until the full game start-up is in place:
// it opens the settings root and a window titled "Zanbor", keeps the game clock
// in step with activation, and quits when the window is closed.

#include "platform/MApplication.h"
#include "platform/MWindow.h"

class CShellWindow : public MWindow {
public:
    void OnClose() override;
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
    void OnActivate(int state) override;
    int OnSetCursor() override { return 0; }
    void OnEnterSizeMove() override {}
    void OnExitSizeMove() override {}
    // Nothing draws yet, so the frame paces itself to about 60 per second.
    void Frame() override;
};

class CShellApp : public MApplication {
public:
    CShellApp();
    ~CShellApp() override;

    int OnInit() override;
    void OnExit() override {}
    void RequestQuit() override;
    const char* GetMakerName() override { return "Brevant"; }
    COptions* GetOptions() override { return nullptr; }
};

MApplication* CreateShellApp();
