#include "platform/dialogs/MMessageDialog.h"

#include "platform/app/MApplication.h"
#include "platform/core/MStrings.h"

MMessageDialog::MMessageDialog() {
    MStrings::Copy(caption, sizeof caption, "Message");
    text[0] = '\0';
}

int MMessageDialog::Show(SDL_Window* owner) {
    result = GetSystemDialogDriver()->ShowMessage(owner, caption, text, style);
    return result;
}

int MMessageDialog::SetIcon(int kind) {
    switch (kind) {
    case 1: style |= MB_ICONHAND; return 0;
    case 2: style |= MB_ICONEXCLAMATION; return 0;
    case 3: style |= MB_ICONASTERISK; return 0;
    default: return 2;
    }
}

int MMessageDialog::SetButtons(int kind) {
    switch (kind) {
    case 1: style |= MB_OKCANCEL; return 0;
    case 2: return 0;
    case 3: style |= MB_YESNO | MB_DEFBUTTON2; return 0;
    default: return 2;
    }
}

int MMessageDialog::SetTextFromResource(int id) {
    if (!gApplication) return 2;
    return gApplication->LoadString(id, text, sizeof text) > 0 ? 0 : 2;
}

int MMessageDialog::SetText(const char* newText) {
    MStrings::Copy(text, sizeof text, newText);
    return 0;
}

void MMessageDialog::SetCaption(const char* newCaption) { MStrings::Copy(caption, sizeof caption, newCaption); }
