#pragma once
// A message box: caption, text, an icon and a set of buttons.

#include "platform/dialogs/BDialog.h"

class MMessageDialog : public BMessageDialog {
public:
    MMessageDialog();

    int Show(SDL_Window* owner) override;
    // 1 stop, 2 exclamation, 3 information; others give 2 and change nothing.
    int SetIcon(int kind) override;
    // 1 OK and Cancel, 2 OK only, 3 Yes and No with No as default; others give 2.
    int SetButtons(int kind) override;
    int SetTextFromResource(int id) override;
    int SetText(const char* text) override;

    void SetCaption(const char* text);

    const char* GetCaption() const { return caption; }
    const char* GetText() const { return text; }
    unsigned GetStyle() const { return style; }
    int GetResult() const { return result; }

private:
    char caption[64];
    char text[512];
    unsigned style = MB_TASKMODAL;
    int result = IDOK;
};
