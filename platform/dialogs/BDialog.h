#pragma once
// The system dialogs: a message box and a file chooser, behind abstract bases
// so that the engine reaches them the same way on every platform.

#include "platform/storage/FileLocation.h"

struct SDL_Window;

// Message box styles (bits of the style word) and the buttons' results.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_TYPEMASK = 0xF;
constexpr unsigned MB_ICONHAND = 0x10;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONASTERISK = 0x40;
constexpr unsigned MB_ICONMASK = 0xF0;
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr unsigned MB_TASKMODAL = 0x2000;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

class BDialog {
public:
    virtual ~BDialog() = default;
    virtual int Show(SDL_Window* owner) = 0;
};

class BMessageDialog : public BDialog {
public:
    virtual int SetIcon(int kind) = 0;
    virtual int SetButtons(int kind) = 0;
    virtual int SetTextFromResource(int id) = 0;
    virtual int SetText(const char* text) = 0;
};

class BOpenDialog : public BDialog {
public:
    virtual int SetFileNameFromResource(int id) = 0;
    virtual int SetFileName(const char* name) = 0;
    virtual int SetFilterFromResource(int id) = 0;
    virtual int GetFileName(char* out) = 0;
    virtual int GetFileSpec(FileSpec* out) = 0;
    virtual int GetExtension(char out[4]) = 0;
};

// What actually puts a dialog on the desktop. The program uses the system's
// (SDL message boxes, the desktop's file chooser); tests that cannot click a
// real dialog install a double with SetSystemDialogDriver.
class MSystemDialogDriver {
public:
    virtual ~MSystemDialogDriver() = default;
    // Shows text with the style word's icon and buttons; returns the button's result.
    virtual int ShowMessage(SDL_Window* owner, const char* caption, const char* text, unsigned style) = 0;
    // Lets the player pick a file; fills path and returns 1, or returns 2 when
    // cancelled; returns 3 when no chooser is available on this desktop.
    virtual int ChooseFile(SDL_Window* owner, bool save, const char* proposedName, const char* filterDescription,
                           const char* filterPattern, char* path, int pathSize) = 0;
    // Whether ChooseFile can show a chooser at all (not answer 3).
    virtual bool HasFileChooser() { return true; }
};

// The driver in use (never null); passing null restores the system's.
MSystemDialogDriver* GetSystemDialogDriver();
void SetSystemDialogDriver(MSystemDialogDriver* driver);
