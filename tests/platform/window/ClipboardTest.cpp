// The system clipboard through SDL's video subsystem, headless.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>

#include "platform/window/MClipboard.h"

namespace {

std::string Pasted() {
    char* text = SDL_GetClipboardText();
    std::string pasted = text ? text : "";
    SDL_free(text);
    return pasted;
}

TEST(Clipboard, CopiedTextIsWhatAPasteGivesBackWithoutAVideoSubsystemItSaysWhy) {
    MClipboard clipboard;
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        const ClipboardResult refused = clipboard.CopyText("x");
        EXPECT_FALSE(refused.copied);
        EXPECT_FALSE(refused.reason.empty());
    }
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    for (const std::string& line : {std::string("Zanbor 2026-12-08 \u00b7 1,874 \u00b7 Hard 1,932"), std::string("second")}) {
        const ClipboardResult result = GetClipboard()->CopyText(line);
        EXPECT_TRUE(result.copied) << result.reason;
        EXPECT_EQ(Pasted(), line);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
