#pragma once
// Opening the asset archive and other data files: first in the usual places,
// then in the folder remembered as "mmpath", and finally (for the archive) by
// asking the player to point at it.

#include "platform/storage/FileLocation.h"

class BFile;
class CFileMM;
struct SDL_Window;

constexpr int kResultAssetsGivenUp = 6;
constexpr int kResultAssetsNotOpened = 7;

// The two texts the player may see.
extern const char* const kAskForAssetsText;
extern const char* const kAssetsMissingText;

// 0 opened, 6 the player gave up, 7 the file did not open for another reason.
// Tried in order: the default folder (the current one), the program's folder,
// the installed data folder, the stored "mmpath", then the player's choice.
int OpenAssetArchive(CFileMM* archive, const char* fileName, SDL_Window* owner, const char* defaultFolder);

// 0 opened (for reading, little-endian), 7 not found here nor in "mmpath".
int OpenDataFile(BFile* file, const char* fileName, const char* defaultFolder);

// The folder stored as "mmpath" under "Config" (the default folder when absent),
// with fileName as the name.
void GetAssetFolder(FileSpec* out, const char* fileName, const char* defaultFolder);

// Asks the player for the archive's folder and stores it as "mmpath": 0 when a
// folder was chosen, 6 when not.
int AskForAssetFolder(const char* fileName, SDL_Window* owner);
