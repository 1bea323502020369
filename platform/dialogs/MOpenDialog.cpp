#include "platform/dialogs/MOpenDialog.h"

#include <cstring>

#include "platform/app/MApplication.h"
#include "platform/core/MStrings.h"

MOpenDialog::MOpenDialog(int save) : save(save == 1 ? 1 : 0) {
    std::memset(file, 0, sizeof file);
    std::memset(filter, 0, sizeof filter);
}

int MOpenDialog::Show(SDL_Window* owner) {
    // The filter buffer holds "description\0pattern\0...\0\0"; the chooser takes the first pair.
    const char* description = filter;
    const char* pattern = filter + MStrings::Length(filter, sizeof filter - 1) + 1;
    if (pattern >= filter + sizeof filter) pattern = "";
    char chosen[sizeof file] = {};
    int answer = GetSystemDialogDriver()->ChooseFile(owner, save == 1, file, description, pattern, chosen,
                                                     static_cast<int>(sizeof chosen));
    chooserMissing = answer == 3;
    if (answer != 1 || chosen[0] == '\0') return 2;
    MStrings::Copy(file, sizeof file, chosen);
    return 1;
}

int MOpenDialog::SetFileNameFromResource(int id) {
    if (gApplication) gApplication->LoadString(id, file, sizeof file);
    return 0;
}

int MOpenDialog::SetFileName(const char* name) {
    MStrings::Copy(file, sizeof file, name);
    return 0;
}

int MOpenDialog::SetFilter(const char* newFilter) {
    std::memset(filter, 0, sizeof filter);
    std::size_t length = MStrings::Copy(filter, sizeof filter, newFilter);
    if (length == 0) return 0;
    char separator = filter[length - 1];
    for (std::size_t i = 0; i < length; ++i)
        if (filter[i] == separator) filter[i] = '\0';
    return 0;
}

int MOpenDialog::SetFilterFromResource(int id) {
    char text[sizeof filter] = {};
    if (!gApplication || gApplication->LoadString(id, text, sizeof text) == 0) return 2;
    return SetFilter(text);
}

int MOpenDialog::NameOffset() const {
    int offset = 0;
    for (int i = 0; i < static_cast<int>(sizeof file) && file[i] != '\0'; ++i)
        if (file[i] == '/' || file[i] == '\\') offset = i + 1;
    return offset;
}

int MOpenDialog::GetFileName(char* out) {
    if (!out) return 2;
    MStrings::Copy(out, FileSpec::kLength, file + NameOffset());
    return 0;
}

int MOpenDialog::GetFileSpec(FileSpec* out) {
    if (!out) return 2;
    int offset = NameOffset();
    int directoryLength = offset < 255 ? offset : 255;
    std::memcpy(out->directory, file, static_cast<std::size_t>(directoryLength));
    out->directory[directoryLength] = '\0';
    MStrings::Copy(out->name, sizeof out->name, file + offset);
    out->name[sizeof out->name - 1] = '\0';
    return 0;
}

int MOpenDialog::GetExtension(char out[4]) {
    if (!out) return 2;
    const char* name = file + NameOffset();
    const char* dot = std::strrchr(name, '.');
    if (!dot) {
        std::memset(out, 0, 4);
        return 0;
    }
    out[0] = '.';
    std::size_t length = std::strlen(dot + 1);
    for (std::size_t i = 0; i < 3; ++i) out[i + 1] = i < length ? dot[1 + i] : ' ';
    return 0;
}
