#include "common/scene/CAssetLocation.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/CFileMM.h"
#include "platform/core/CException.h"
#include "platform/dialogs/MMessageDialog.h"
#include "platform/dialogs/MOpenDialog.h"
#include "platform/app/MPaths.h"
#include "platform/storage/MRegistryStore.h"
#include "platform/core/MStrings.h"
#include "platform/storage/MFileMMIO.h"

const char* const kAskForAssetsText =
    "An asset file cannot be located.  Please point to the directory where it is located.";
const char* const kAssetsMissingText = "Game cannot be loaded.  An asset file is missing.";
const char* const kAskForDamagedAssetsText =
    "The asset file %s is damaged.  Please point to the directory where a good copy is located.";

namespace {

FileSpec SpecIn(const std::string& folder, const char* fileName) {
    FileSpec spec;
    MStrings::Copy(spec.directory, sizeof spec.directory, folder.c_str());
    MStrings::Copy(spec.name, sizeof spec.name, fileName);
    return spec;
}

enum class Attempt { Opened, NotOpened, FileError };

bool FileExists(const FileSpec& spec) {
    MFileMMIO probe;
    return probe.Open(spec, kModeExists, kByteOrderLittle) == 0;
}

// A file error of an archive that is there means its content is damaged: its
// full path goes to damagedPath.
Attempt TryArchive(CFileMM* archive, const FileSpec& spec, std::string* damagedPath) {
    try {
        return archive->OpenArchive(spec, kModeReadExisting) == 0 ? Attempt::Opened : Attempt::NotOpened;
    } catch (const CFileException&) {
        if (FileExists(spec)) {
            std::string name = BFile::BuildFullName(spec);
            BFile::RewriteSeparators(name.data());
            std::error_code error;
            const std::filesystem::path full = std::filesystem::absolute(name, error);
            *damagedPath = full.lexically_normal().string();
        }
        return Attempt::FileError;
    }
}

std::string PlacesText(const char* fileName) {
    std::string text = std::string("No file chooser (zenity or kdialog) is installed. Zanbor looks for ") + fileName +
                       " in the current folder, in " + GetProgramFolder() + ", in " + GetInstalledDataFolder() +
                       " and in the folder stored as \"mmpath\".";
    return text;
}

}  // namespace

void GetAssetFolder(FileSpec* out, const char* fileName, const char* defaultFolder) {
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)
        ->ReadString(out->directory, "mmpath", defaultFolder, "Config", sizeof out->directory);
    MStrings::Copy(out->name, sizeof out->name, fileName);
}

int AskForAssetFolder(const char* fileName, SDL_Window* owner, const char* damagedPath) {
    // Without a chooser there is nothing to point with: no question that asks
    // for it. A damaged file is then the caller's to report; a missing one is
    // said below, with where it is looked for.
    const bool canChoose = GetSystemDialogDriver()->HasFileChooser();
    if (!canChoose && damagedPath && *damagedPath) return kResultAssetsGivenUp;
    if (canChoose) {
        MMessageDialog question;
        if (damagedPath && *damagedPath) {
            char text[512];
            std::snprintf(text, sizeof text, kAskForDamagedAssetsText, damagedPath);
            question.SetText(text);
        } else {
            question.SetText(kAskForAssetsText);
        }
        question.SetIcon(1);
        question.SetButtons(2);
        question.Show(owner);
    }

    MOpenDialog chooser(0);
    chooser.SetFilter("Asset files|*.mm|");
    chooser.SetFileName(fileName);
    if (canChoose && chooser.Show(owner) == 1) {
        FileSpec chosen;
        chooser.GetFileSpec(&chosen);
        MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteString("mmpath", chosen.directory, "Config");
        return 0;
    }
    // A damaged file is the caller's to report: it is not missing.
    if (damagedPath && *damagedPath) return kResultAssetsGivenUp;
    if (!canChoose || chooser.ChooserMissing()) {
        MMessageDialog places;
        places.SetText(PlacesText(fileName).c_str());
        places.SetIcon(3);
        places.SetButtons(2);
        places.Show(owner);
    }
    MMessageDialog missing;
    missing.SetText(kAssetsMissingText);
    missing.SetIcon(2);
    missing.SetButtons(2);
    missing.Show(owner);
    return kResultAssetsGivenUp;
}

int OpenAssetArchive(CFileMM* archive, const char* fileName, SDL_Window* owner, const char* defaultFolder,
                     std::string* damagedPath) {
    std::string damaged;
    std::vector<std::string> places = {defaultFolder ? defaultFolder : ".", GetProgramFolder(),
                                       GetInstalledDataFolder()};
    for (const std::string& folder : places) {
        switch (TryArchive(archive, SpecIn(folder, fileName), &damaged)) {
        case Attempt::Opened: return 0;
        case Attempt::NotOpened: return kResultNoFileToRead;
        case Attempt::FileError: break;
        }
    }
    FileSpec spec;
    GetAssetFolder(&spec, fileName, defaultFolder);
    for (;;) {
        switch (TryArchive(archive, spec, &damaged)) {
        case Attempt::Opened: return 0;
        case Attempt::NotOpened: return kResultNoFileToRead;
        case Attempt::FileError: break;
        }
        if (AskForAssetFolder(fileName, owner, damaged.c_str()) != 0) {
            if (damagedPath) *damagedPath = damaged;
            return kResultAssetsGivenUp;
        }
        GetAssetFolder(&spec, fileName, defaultFolder);
    }
}

int OpenDataFile(BFile* file, const char* fileName, const char* defaultFolder) {
    FileSpec spec = SpecIn(defaultFolder ? defaultFolder : ".", fileName);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            if (file->Open(spec, kModeReadExisting, kByteOrderLittle) == 0 && file->IsOpen()) return 0;
        } catch (const CFileException&) {
        }
        GetAssetFolder(&spec, fileName, defaultFolder);
    }
    return kResultNoFileToRead;
}
