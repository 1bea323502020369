#pragma once
// A stand-in for the desktop's dialogs: a test cannot click a real message box
// or file chooser, so this records what was shown and answers as told.

#include <string>
#include <vector>

#include "platform/dialogs/BDialog.h"

class RecordingDialogs : public MSystemDialogDriver {
public:
    struct Message {
        std::string caption;
        std::string text;
        unsigned style;
    };

    RecordingDialogs() { SetSystemDialogDriver(this); }
    ~RecordingDialogs() override { SetSystemDialogDriver(nullptr); }

    int ShowMessage(SDL_Window*, const char* caption, const char* text, unsigned style) override {
        messages.push_back({caption, text, style});
        return messageAnswer;
    }
    int ChooseFile(SDL_Window*, bool save, const char* proposedName, const char* description, const char* pattern,
                   char* path, int pathSize) override;
    bool HasFileChooser() override { return chooserInstalled; }

    std::vector<Message> messages;
    int messageAnswer = IDOK;
    // Paths the chooser hands out in turn; when they run out it answers chooserAnswer.
    std::vector<std::string> choices;
    int chooserAnswer = 2;
    bool chooserInstalled = true;
    int chooserCalls = 0;
    bool lastSave = false;
    std::string lastProposedName, lastDescription, lastPattern;
};
