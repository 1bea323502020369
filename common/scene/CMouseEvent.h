#pragma once
// The mouse event the screen builds for every mouse message and the scenes
// route to their actors.

#include <cstdint>

enum CMouseEventType {
    MOUSE_MOVE = 1,
    MOUSE_NC_MOVE = 2,
    MOUSE_LEFT_DOWN = 3,
    MOUSE_LEFT_UP = 4,
    MOUSE_LEFT_DOUBLE = 5,
    MOUSE_RIGHT_DOWN = 6,
    MOUSE_RIGHT_UP = 7,
    MOUSE_RIGHT_DOUBLE = 8,
};

struct CMouseEvent {
    int type = 0;
    std::uint16_t x = 0;  // client pixels
    std::uint16_t y = 0;
};
