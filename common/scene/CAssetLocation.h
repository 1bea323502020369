#pragma once
// Opening the asset archive and other data files: first in the usual places,
// then in the folder remembered as "mmpath", and finally (for the archive) by
// asking the player to point at it.

#include <string>

#include "platform/storage/FileLocation.h"
#include "platform/core/ResultCodes.h"

class BFile;
class CFileMM;
struct SDL_Window;

// The texts the player may see; the last names the damaged file (%s).
extern const char* const kAskForAssetsText;
extern const char* const kAssetsMissingText;
extern const char* const kAskForDamagedAssetsText;

// 0 opened, kResultAssetsGivenUp the player gave up, kResultNoFileToRead the
// file did not open for another reason.
// When a copy was found but damaged, the question names it, and on giving up
// its path goes to damagedPath (empty otherwise) for the caller to report.
// Tried in order: the default folder (the current one), the program's folder,
// the installed data folder, the stored "mmpath", then the player's choice.
int OpenAssetArchive(CFileMM* archive, const char* fileName, SDL_Window* owner, const char* defaultFolder,
                     std::string* damagedPath = nullptr);

// 0 opened (for reading, little-endian), kResultNoFileToRead not found here
// nor in "mmpath".
int OpenDataFile(BFile* file, const char* fileName, const char* defaultFolder);

// The folder stored as "mmpath" under "Config" (the default folder when absent),
// with fileName as the name.
void GetAssetFolder(FileSpec* out, const char* fileName, const char* defaultFolder);

// Asks the player for the archive's folder and stores it as "mmpath": 0 when a
// folder was chosen, kResultAssetsGivenUp when not. With damagedPath (not
// empty) the question says that file is damaged, and giving up shows no message.
int AskForAssetFolder(const char* fileName, SDL_Window* owner, const char* damagedPath = nullptr);
