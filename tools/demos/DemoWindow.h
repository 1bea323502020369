#pragma once
// The start of every demo program: its window of the design's size with a
// renderer on it, and how long it runs (ZANBOR_DEMO_SECONDS, when set).

#include <cstdio>
#include <cstdlib>

#include "platform/app/MApplication.h"
#include "platform/render/MRenderDevice.h"
#include "platform/window/MWindow.h"

// Makes window the application's screen and opens it; 1 on success.
inline int OpenDemoWindow(MApplication* app, MWindow* window, const char* title, double* seconds) {
    app->screen.reset(window);
    if (const char* text = std::getenv("ZANBOR_DEMO_SECONDS")) *seconds = std::atof(text);
    if (window->Create(app->instance, title, 800, 600,
                       WF_CAPTION | WF_BORDER | WF_MINIMIZEBOX | WF_SYSMENU | WF_VISIBLE) != 0)
        return 0;
    if (int result = MRenderDevice::Get(window->handle)->CreateDevice(0, 800, 600); result != 0) {
        std::fprintf(stderr, "no renderer (%d)\n", result);
        return 0;
    }
    return 1;
}
