#include "game/app/KeyGuide.h"

#include "common/scene/CScene.h"
#include "common/widgets/CEditBox.h"
#include "game/front/CAboutScene.h"
#include "game/front/COptionsScene.h"
#include "game/front/CStatsScene.h"
#include "game/play/CDuelPanel.h"
#include "game/play/CPlayScene.h"
#include "game/play/coach/CCoachPanel.h"

namespace {

constexpr int kEnter = 13;
constexpr int kFullScreenKey = 122;  // F11, read by the window itself
constexpr bool kOr = true;
constexpr bool kTo = false;

constexpr KeyPlace kBoard = KeyPlace::kBoard;
constexpr KeyPlace kOptions = KeyPlace::kOptions;
constexpr KeyPlace kRecords = KeyPlace::kRecords;
constexpr KeyPlace kAbout = KeyPlace::kAbout;
constexpr KeyPlace kQuestion = KeyPlace::kQuestion;
constexpr KeyPlace kAnywhere = KeyPlace::kAnywhere;

// The pad keys of the pages are also the top row's digits (PadKeyOfDigit).
constexpr KeyGuideEntry kGuide[] = {
    {kBoard, VK_A_KEY, VK_Z_KEY, kTo, "type the initials before the first roll"},
    {kBoard, VK_BACK_KEY, VK_BACK_KEY, kTo, "edit the initials"},
    {kBoard, VK_DELETE_KEY, VK_DELETE_KEY, kTo, "edit the initials"},
    {kBoard, VK_HOME_KEY, VK_HOME_KEY, kTo, "edit the initials"},
    {kBoard, VK_END_KEY, VK_END_KEY, kTo, "edit the initials"},
    {kBoard, kKeyLeft, kKeyLeft, kTo, "edit the initials"},
    {kBoard, kKeyRight, kKeyRight, kTo, "edit the initials"},
    {kBoard, kKeyUp, kKeyDown, kOr, "before the first roll: pick a known player"},
    {kBoard, kCodeToday, kCodeToday, kTo, "before the first roll: today's dice (the first game of the day counts)"},
    {kBoard, kCodeRoll, kCodeRoll, kTo, "roll the row"},
    {kBoard, kCodeFirstLine, kCodeFirstLine + kBoardCols - 1, kTo, "first half: hold or free a die"},
    {kBoard, kKeyFirstCategoryLetter, kKeyLastCategoryLetter, kTo, "score a category"},
    {kBoard, 97, 105, kTo, "score a category"},
    {kBoard, 106, 106, kTo, "score Straight"},
    {kBoard, 107, 107, kTo, "score Full house"},
    {kBoard, 108, 108, kTo, "score Two pairs"},
    {kBoard, kCodeFirstLine, kCodeLastLine, kTo, "second half: pick a line"},
    {kBoard, kKeyLeft, kKeyDown, kTo, "second half: move the board cursor"},
    {kBoard, kKeySpace, kKeySpace, kTo, "second half: pick up or drop the die under the cursor"},
    {kBoard, kCodeUndo, kCodeUndo, kTo, "undo the last score"},
    {kBoard, kCodeCoach, kCodeCoach, kTo, "the coach's advice"},
    {kBoard, kCodeReview, kCodeReview, kTo, "the coach's look back at a game"},
    {kBoard, kCodeCopyToday, kCodeCopyToday, kTo, "after today's counted game: copy its result"},
    {kBoard, kCodeOpponent, kCodeOpponent, kTo, "after a duel: the opponent's game"},
    {kBoard, kKeyHelp, kCodeHelp, kOr, "second-half help"},
    {kBoard, kKeyNewGame, kCodeNewGame, kOr, "new game"},
    {kBoard, kKeyOptions, kCodeOptions, kOr, "the options page"},
    {kBoard, kCodeRecords, kCodeRecords, kTo, "the records page"},
    {kBoard, kCodeAbout, kCodeAbout, kTo, "the about pages"},
    {kBoard, kCodeQuit, kCodeQuit, kTo, "quit"},
    {kOptions, COptionsScene::kKeyWindow, COptionsScene::kKeyWindow, kTo, "play in a window"},
    {kOptions, COptionsScene::kKeyFullScreen, COptionsScene::kKeyFullScreen, kTo, "play full screen"},
    {kOptions, COptionsScene::kKeyHints2, COptionsScene::kKeyHints2, kTo, "hints blinking"},
    {kOptions, COptionsScene::kKeyHints1, COptionsScene::kKeyHints1, kTo, "hints shown"},
    {kOptions, COptionsScene::kKeyHints0, COptionsScene::kKeyHints0, kTo, "no hints"},
    {kOptions, COptionsScene::kKeyMarkersOn, COptionsScene::kKeyMarkersOn, kTo, "line markers on"},
    {kOptions, COptionsScene::kKeyMarkersOff, COptionsScene::kKeyMarkersOff, kTo, "line markers off"},
    {kOptions, COptionsScene::kKeyDiceNormal, COptionsScene::kKeyDiceNormal, kTo, "dice rolled at normal speed"},
    {kOptions, COptionsScene::kKeyDiceFast, COptionsScene::kKeyDiceFast, kTo, "dice rolled fast"},
    {kOptions, COptionsScene::kKeyPreviewOn, COptionsScene::kKeyPreviewOn, kTo, "score preview on"},
    {kOptions, COptionsScene::kKeyPreviewOff, COptionsScene::kKeyPreviewOff, kTo, "score preview off"},
    {kOptions, COptionsScene::kKeyFirstRow, COptionsScene::kKeyFirstRow + 5, kTo, "step through a row's choices"},
    {kOptions, VK_A_KEY, VK_Z_KEY, kTo, "edit the initials"},
    {kOptions, VK_BACK_KEY, VK_BACK_KEY, kTo, "edit the initials"},
    {kOptions, VK_DELETE_KEY, VK_DELETE_KEY, kTo, "edit the initials"},
    {kOptions, VK_HOME_KEY, VK_HOME_KEY, kTo, "edit the initials"},
    {kOptions, VK_END_KEY, VK_END_KEY, kTo, "edit the initials"},
    {kOptions, kKeyLeft, kKeyLeft, kTo, "edit the initials"},
    {kOptions, kKeyRight, kKeyRight, kTo, "edit the initials"},
    {kOptions, kEnter, kEnter, kTo, "keep the changes"},
    {kOptions, VK_ESCAPE_KEY, VK_ESCAPE_KEY, kTo, "leave them"},
    {kRecords, CStatsScene::kKeyMyRecords, CStatsScene::kKeyMyRecords, kTo, "your records"},
    {kRecords, CStatsScene::kKeyAllPlayers, CStatsScene::kKeyAllPlayers, kTo, "all players' records"},
    {kRecords, CStatsScene::kKeyErase, CStatsScene::kKeyErase, kTo, "erase the records"},
    {kRecords, VK_ESCAPE_KEY, VK_ESCAPE_KEY, kTo, "back to the game"},
    {kAbout, CAboutScene::kKeyPage1, CAboutScene::kKeyPage1, kTo, "about the game"},
    {kAbout, CAboutScene::kKeyPage2, CAboutScene::kKeyPage2, kTo, "how to play"},
    {kAbout, CAboutScene::kKeyPage3, CAboutScene::kKeyPage3, kTo, "scoring"},
    {kAbout, VK_ESCAPE_KEY, VK_ESCAPE_KEY, kTo, "back to the game"},
    {kQuestion, 'Y', '1', kOr, "yes"},
    {kQuestion, 'N', '0', kOr, "no"},
    {kAnywhere, kFullScreenKey, kFullScreenKey, kTo, "switch between window and full screen"},
    {kAnywhere, kKeyWithAlt | kEnter, kKeyWithAlt | kEnter, kTo, "switch between window and full screen"},
};

}  // namespace

std::span<const KeyGuideEntry> KeyGuide() { return kGuide; }

std::string KeyName(int code) {
    if (code & kKeyWithAlt) return "Alt+" + KeyName(code & ~kKeyWithAlt);
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return std::string(1, char(code));
    if (code >= 96 && code <= 105) return "pad " + std::to_string(code - 96);
    if (code >= 112 && code <= 123) return "F" + std::to_string(code - 111);
    switch (code) {
    case 8: return "Backspace";
    case 13: return "Enter";
    case 27: return "Esc";
    case 32: return "Space";
    case 35: return "End";
    case 36: return "Home";
    case 37: return "Left";
    case 38: return "Up";
    case 39: return "Right";
    case 40: return "Down";
    case 46: return "Delete";
    case 106: return "pad \u00d7";
    case 107: return "pad +";
    case 108: return "pad separator";
    case 109: return "pad \u2212";
    case 110: return "pad .";
    case 111: return "pad \u00f7";
    default: return "key " + std::to_string(code);
    }
}

std::string KeyGuideName(const KeyGuideEntry& entry) {
    if (entry.first == entry.last) return KeyName(entry.first);
    if (entry.first == kKeyLeft && entry.last == kKeyDown) return "arrows";
    return KeyName(entry.first) + (entry.either ? " or " : " to ") + KeyName(entry.last);
}

const char* KeyPlaceTitle(KeyPlace place) {
    switch (place) {
    case KeyPlace::kBoard: return "The board";
    case KeyPlace::kOptions: return "The options page";
    case KeyPlace::kRecords: return "The records page";
    case KeyPlace::kAbout: return "The about pages";
    case KeyPlace::kQuestion: return "Questions";
    case KeyPlace::kAnywhere: return "Anywhere";
    }
    return "";
}
