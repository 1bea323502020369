#pragma once
// The desktop's file chooser, returning the choice as a folder and a name.

#include "platform/dialogs/BDialog.h"

class MOpenDialog : public BOpenDialog {
public:
    // save 1: a save dialog; 0: an open dialog.
    explicit MOpenDialog(int save = 0);

    // 1 when the player chose a file, 2 when cancelled or no chooser could run.
    int Show(SDL_Window* owner) override;
    int SetFileNameFromResource(int id) override;
    int SetFileName(const char* name) override;
    int SetFilterFromResource(int id) override;
    int GetFileName(char* out) override;
    int GetFileSpec(FileSpec* out) override;
    // Four bytes, no terminator: ".ext" cut or blank-padded to three letters, or four zeros.
    int GetExtension(char out[4]) override;

    // "Description|pattern|": the last character is the separator of the pairs.
    int SetFilter(const char* filter);

    // 1 when the last Show found no file chooser on this desktop.
    int ChooserMissing() const { return chooserMissing; }
    const char* GetPath() const { return file; }

private:
    int NameOffset() const;

    int save;
    char file[256];
    char filter[64];
    int chooserMissing = 0;
};
