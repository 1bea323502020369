#include "game/app/WindowFit.h"

#include <algorithm>
#include <cstdint>

#include "platform/storage/MRegistryStore.h"

namespace {

constexpr const char* kSubKey = "Config";
// The share of the desktop a first window may take: about two thirds.
constexpr int kFirstShareNumerator = 2;
constexpr int kFirstShareDenominator = 3;

int ReadInt(const char* name, int missing) {
    DWORD value = 0;
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->ReadDword(&value, name, static_cast<DWORD>(missing), kSubKey);
    return static_cast<int>(static_cast<std::int32_t>(value));  // places left of or above the desktop are negative
}

void WriteInt(const char* name, int value) {
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteDword(name, static_cast<DWORD>(value), kSubKey);
}

}  // namespace

WindowPlacement FitWindow(const WindowPlacement& stored, const WindowPlacement& usable) {
    WindowPlacement fit;
    const int roomW = std::max(usable.width, kWindowDesignWidth);
    const int roomH = std::max(usable.height, kWindowDesignHeight);
    if (stored.width > 0 && stored.height > 0) {
        fit.width = std::clamp(stored.width, kWindowDesignWidth, roomW);
        fit.height = std::clamp(stored.height, kWindowDesignHeight, roomH);
        fit.x = std::clamp(stored.x, usable.x, usable.x + roomW - fit.width);
        fit.y = std::clamp(stored.y, usable.y, usable.y + roomH - fit.height);
        fit.maximised = stored.maximised;
        return fit;
    }
    const int scale = std::max(1, std::min(usable.width * kFirstShareNumerator / kFirstShareDenominator / kWindowDesignWidth,
                                           usable.height * kFirstShareNumerator / kFirstShareDenominator /
                                               kWindowDesignHeight));
    fit.width = kWindowDesignWidth * scale;
    fit.height = kWindowDesignHeight * scale;
    fit.x = usable.x + (usable.width - fit.width) / 2;
    fit.y = usable.y + (usable.height - fit.height) / 2;
    return fit;
}

WindowPlacement ReadWindowPlacement() {
    WindowPlacement placement;
    placement.width = ReadInt("WindowWidth", 0);
    placement.height = ReadInt("WindowHeight", 0);
    if (placement.width <= 0 || placement.height <= 0) return WindowPlacement{};
    placement.x = ReadInt("WindowX", 0);
    placement.y = ReadInt("WindowY", 0);
    placement.maximised = ReadInt("WindowMaximized", 0) != 0;
    return placement;
}

void WriteWindowPlacement(const WindowPlacement& placement) {
    if (placement.width <= 0 || placement.height <= 0) return;
    MRegistryTransaction transaction;
    WriteInt("WindowX", placement.x);
    WriteInt("WindowY", placement.y);
    WriteInt("WindowWidth", placement.width);
    WriteInt("WindowHeight", placement.height);
    WriteInt("WindowMaximized", placement.maximised ? 1 : 0);
    transaction.Commit();
}
