#pragma once
// Where the game's window opens: as the player left it, kept inside the
// desktop it opens on; on a first start the largest whole multiple of the
// design that fits in about two thirds of that desktop, centred. Never
// smaller than the design at 1x.

#include "platform/window/MWindow.h"

// The design's size in a window (its crop of the 800 x 600 layout at 1x).
constexpr int kWindowDesignWidth = 794;
constexpr int kWindowDesignHeight = 575;
// The whole layout, shown in full screen and in any window of another size.
constexpr int kFullDesignWidth = 800;
constexpr int kFullDesignHeight = 600;

// stored: the placement kept from the last run (width 0: none); usable: the
// desktop's usable area.
WindowPlacement FitWindow(const WindowPlacement& stored, const WindowPlacement& usable);

// The kept placement in the settings store ("WindowX", "WindowY",
// "WindowWidth", "WindowHeight", "WindowMaximized" under "Config"); width 0
// when none was kept.
WindowPlacement ReadWindowPlacement();
void WriteWindowPlacement(const WindowPlacement& placement);
