#include "common/scene/CAssetLocation.h"

#include <string>
#include <vector>

#include "formats/CFileMM.h"
#include "platform/core/CException.h"
#include "platform/dialogs/MMessageDialog.h"
#include "platform/dialogs/MOpenDialog.h"
#include "platform/app/MPaths.h"
#include "platform/storage/MRegistryStore.h"
#include "platform/core/MStrings.h"

const char* const kAskForAssetsText =
    "An asset file cannot be located.  Please point to the directory where it is located.";
const char* const kAssetsMissingText = "Game cannot be loaded.  An asset file is missing.";

namespace {

FileSpec SpecIn(const std::string& folder, const char* fileName) {
    FileSpec spec;
    MStrings::Copy(spec.directory, sizeof spec.directory, folder.c_str());
    MStrings::Copy(spec.name, sizeof spec.name, fileName);
    return spec;
}

enum class Attempt { Opened, NotOpened, FileError };

Attempt TryArchive(CFileMM* archive, const FileSpec& spec) {
    try {
        return archive->OpenArchive(spec, kModeReadExisting) == 0 ? Attempt::Opened : Attempt::NotOpened;
    } catch (const CFileException&) {
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

int AskForAssetFolder(const char* fileName, SDL_Window* owner) {
    MMessageDialog question;
    question.SetText(kAskForAssetsText);
    question.SetIcon(1);
    question.SetButtons(2);
    question.Show(owner);

    MOpenDialog chooser(0);
    chooser.SetFilter("Asset files|*.mm|");
    chooser.SetFileName(fileName);
    if (chooser.Show(owner) == 1) {
        FileSpec chosen;
        chooser.GetFileSpec(&chosen);
        MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteString("mmpath", chosen.directory, "Config");
        return 0;
    }
    if (chooser.ChooserMissing()) {
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

int OpenAssetArchive(CFileMM* archive, const char* fileName, SDL_Window* owner, const char* defaultFolder) {
    std::vector<std::string> places = {defaultFolder ? defaultFolder : ".", GetProgramFolder(),
                                       GetInstalledDataFolder()};
    for (const std::string& folder : places) {
        switch (TryArchive(archive, SpecIn(folder, fileName))) {
        case Attempt::Opened: return 0;
        case Attempt::NotOpened: return kResultAssetsNotOpened;
        case Attempt::FileError: break;
        }
    }
    FileSpec spec;
    GetAssetFolder(&spec, fileName, defaultFolder);
    for (;;) {
        switch (TryArchive(archive, spec)) {
        case Attempt::Opened: return 0;
        case Attempt::NotOpened: return kResultAssetsNotOpened;
        case Attempt::FileError: break;
        }
        if (AskForAssetFolder(fileName, owner) != 0) return kResultAssetsGivenUp;
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
    return kResultAssetsNotOpened;
}
