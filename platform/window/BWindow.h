#pragma once
// The abstract window: its handle, whether it is the active application window,
// the cursor-visible flag, and its position and size.

struct SDL_Window;

class BWindow {
public:
    virtual ~BWindow() = default;

    SDL_Window* handle = nullptr;
    int active = 1;
    int cursorVisible = 1;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
