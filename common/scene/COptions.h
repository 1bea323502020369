#pragma once
// The options record of the run: volumes, screen mode, hints, the player's
// initials and the game's own switches, kept as named values under "Config"
// in the settings store. The application owns the one record; games derive
// from it and add their values through OnLoad and OnSave.

#include "platform/app/BOptions.h"

class COptions : public BOptions {
public:
    static constexpr const char* kSubKey = "Config";
    static constexpr int kInitialsSize = 8;  // seven characters and the terminator
    // The player who never gave initials (also when "Initials" is stored empty).
    static constexpr const char* kNoInitials = "???";

    COptions();
    ~COptions() override = default;
    // Called at the end of Load and Save; empty here.
    virtual void OnLoad() {}
    virtual void OnSave() {}

    // Reads every value (defaults for absent ones) when the application exists;
    // the first Load of the run also remembers the screen mode it found.
    void Load();
    // Writes every value when the application exists.
    void Save();

    int GetDifficulty() const { return difficulty; }
    void SetDifficulty(int value) { difficulty = value; }
    int GetPlayers() const { return players; }
    void SetPlayers(int value) { players = value; }
    int GetMusic() const { return music; }
    // Volumes are kept in -1..100 (-1 = off); they are saved by Save.
    void SetMusic(int value) { music = ClampVolume(value); }
    int GetSFX() const { return sfx; }
    void SetSFX(int value) { sfx = ClampVolume(value); }
    int GetFullscreen() const { return fullscreen; }
    void SetFullscreen(int value) { fullscreen = value; }
    int GetFullscreenAtStart() const { return fullscreenAtStart; }
    int GetStartModeCaptured() const { return startModeCaptured; }
    int GetShowHints() const { return showHints; }
    void SetShowHints(int value) { showHints = value; }
    const char* GetInitials() const { return initials; }
    // Keeps the initials and writes "Initials" at once.
    void SetInitials(const char* text);
    // Reads "Initials" again from the store, "???" when absent or empty, and returns them.
    const char* GetPlayerInitials();
    // The initials as the player gave them: empty for none, also once
    // GetPlayerInitials has put its "???" stand-in in their place.
    const char* GetTypedInitials() const;
    int GetShowColMarkers() const { return showColMarkers; }
    void SetShowColMarkers(int value) { showColMarkers = value; }
    int GetDiceMoveMode() const { return diceMoveMode; }
    void SetDiceMoveMode(int value) { diceMoveMode = value; }
    int GetFile1LoadEnabled() const { return file1LoadEnabled; }
    void SetFile1LoadEnabled(int value) { file1LoadEnabled = value; }

    static int ClampVolume(int value) { return value < -1 ? -1 : value > 100 ? 100 : value; }

protected:
    // True when there is an application object, and with it a settings root.
    static bool HasStore();
    static int ReadInt(const char* name, int defaultValue);
    static void WriteInt(const char* name, int value);

    int difficulty = 2;
    int players = 1;
    int music = 100;
    int sfx = 100;
    int fullscreen = 0;
    int startModeCaptured = 0;
    int fullscreenAtStart = 0;
    int showHints = 2;
    char initials[kInitialsSize] = {};
    // Reserved by the engine record for the game's own values.
    int showColMarkers = 1;
    int diceMoveMode = 0;
    int file1LoadEnabled = 0;
    // Further engine fields that this game neither reads nor stores.
    int reserved[5] = {0, 0, 0, 1, 2};
};
