#include "tests/support/RecordingDialogs.h"

#include "platform/core/MStrings.h"

int RecordingDialogs::ChooseFile(SDL_Window*, bool save, const char* proposedName, const char* description,
                                 const char* pattern, char* path, int pathSize) {
    ++chooserCalls;
    lastSave = save;
    lastProposedName = proposedName;
    lastDescription = description;
    lastPattern = pattern;
    if (choices.empty()) return chooserAnswer;
    MStrings::Copy(path, static_cast<std::size_t>(pathSize), choices.front().c_str());
    choices.erase(choices.begin());
    return 1;
}
