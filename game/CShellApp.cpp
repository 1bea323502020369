#include "game/CShellApp.h"

#include <chrono>
#include <thread>

#include "platform/GameTimer.h"

void CShellWindow::OnClose() {
    if (gApplication) gApplication->Quit(0);
}

void CShellWindow::OnActivate(int state) {
    active = (state & 0xFFFF) != 0;
    GameTimer(active ? TIMER_START : TIMER_STOP);
}

void CShellWindow::Frame() { std::this_thread::sleep_for(std::chrono::milliseconds(16)); }

CShellApp::CShellApp() {
    LoadString(IDS_PRODUCT_NAME, name, sizeof name);
    largeIconId = IDI_LARGE_ICON;
    smallIconId = IDI_SMALL_ICON;
}

CShellApp::~CShellApp() { OnExit(); }

int CShellApp::OnInit() {
    MApplication::OnInit();
    OpenRegistryRoot();
    LoadAccelerators(IDR_ACCELERATORS);
    auto* window = new CShellWindow;
    screen = window;
    if (window->Create(instance, name, 794, 575, WF_CAPTION | WF_BORDER | WF_MINIMIZEBOX | WF_SYSMENU | WF_VISIBLE) != 0)
        return 0;
    GameTimer(TIMER_RESET);
    GameTimer(TIMER_START);
    return 1;
}

void CShellApp::RequestQuit() { Quit(0); }

MApplication* CreateShellApp() { return new CShellApp; }
