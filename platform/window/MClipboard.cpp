#include "platform/window/MClipboard.h"

#include <SDL.h>

namespace {

BClipboard* installed = nullptr;

}  // namespace

ClipboardResult MClipboard::CopyText(const std::string& text) {
    // The clipboard belongs to the video subsystem; without it SDL would fail
    // with a message about the video not being initialised, said less plainly.
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return {false, "there is no display to copy to"};
    if (SDL_SetClipboardText(text.c_str()) != 0) return {false, SDL_GetError()};
    return {true, {}};
}

BClipboard* GetClipboard() {
    static MClipboard system;
    return installed ? installed : &system;
}

void SetClipboard(BClipboard* clipboard) { installed = clipboard; }
