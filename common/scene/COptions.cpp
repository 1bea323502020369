#include "common/scene/COptions.h"

#include <cstring>

#include "platform/app/MApplication.h"
#include "platform/storage/MRegistryStore.h"
#include "platform/core/MStrings.h"

namespace {
MRegistryStore* Store() { return MRegistryStore::Get(HKEY_LOCAL_MACHINE); }
}  // namespace

COptions::COptions() = default;

bool COptions::HasStore() { return gApplication != nullptr; }

int COptions::ReadInt(const char* name, int defaultValue) {
    DWORD value = 0;
    Store()->ReadDword(&value, name, static_cast<DWORD>(defaultValue), kSubKey);
    return static_cast<int>(value);  // -1 is stored as 0xFFFFFFFF
}

void COptions::WriteInt(const char* name, int value) {
    Store()->WriteDword(name, static_cast<DWORD>(value), kSubKey);
}

void COptions::Load() {
    if (HasStore()) {
        difficulty = ReadInt("Difficulty", 1);
        music = ReadInt("Music", 100);
        sfx = ReadInt("SFX", 100);
        fullscreen = ReadInt("Fullscreen", 1);
        players = ReadInt("Players", 1);
        showHints = ReadInt("ShowHints", 2);
        Store()->ReadString(initials, "Initials", "", kSubKey, sizeof initials);
        initials[sizeof initials - 1] = '\0';
    }
    if (!startModeCaptured) {
        fullscreenAtStart = fullscreen;
        startModeCaptured = 1;
    }
    OnLoad();
}

void COptions::Save() {
    if (HasStore()) {
        WriteInt("Difficulty", difficulty);
        WriteInt("Music", music);
        WriteInt("SFX", sfx);
        WriteInt("Fullscreen", fullscreen);
        WriteInt("Players", players);
        WriteInt("ShowHints", showHints);
        Store()->WriteString("Initials", initials, kSubKey);
    }
    OnSave();
}

void COptions::SetInitials(const char* text) {
    MStrings::Copy(initials, sizeof initials, text);
    if (HasStore()) Store()->WriteString("Initials", initials, kSubKey);
}

const char* COptions::GetPlayerInitials() {
    if (HasStore())
        Store()->ReadString(initials, "Initials", kNoInitials, kSubKey, sizeof initials);
    else
        MStrings::Copy(initials, sizeof initials, kNoInitials);
    initials[sizeof initials - 1] = '\0';
    // Saving before any initials were typed stores an empty text: that is no
    // player's name, and as a prefix it would mix this player with "All".
    if (initials[0] == '\0') MStrings::Copy(initials, sizeof initials, kNoInitials);
    return initials;
}

const char* COptions::GetTypedInitials() const {
    return std::strcmp(initials, kNoInitials) == 0 ? "" : initials;
}
