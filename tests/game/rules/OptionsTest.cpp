// The options record on a real settings store in a temporary folder.
#include <gtest/gtest.h>

#include "game/rules/CGameOptions.h"
#include "platform/app/MApplication.h"
#include "platform/storage/MRegistryStore.h"
#include "tests/support/SettingsSandbox.h"

namespace {

// Any value of either type exists under this name.
bool Stored(const char* name) {
    char bytes[64];
    return Store()->ReadString(bytes, name, "", "Config", sizeof bytes) == ERROR_SUCCESS;
}

TEST(Options, FreshStoreGivesTheDefaultsNotTheConstructionValues) {
    SettingsSandbox sandbox;
    CGameOptions options;
    EXPECT_EQ(options.GetDifficulty(), 2);
    EXPECT_EQ(options.GetFullscreen(), 0);
    options.Load();
    EXPECT_EQ(options.GetDifficulty(), 1);
    EXPECT_EQ(options.GetPlayers(), 1);
    EXPECT_EQ(options.GetMusic(), 100);
    EXPECT_EQ(options.GetSFX(), 100);
    EXPECT_EQ(options.GetFullscreen(), 1);
    EXPECT_EQ(options.GetFullscreenAtStart(), 1);
    EXPECT_EQ(options.GetShowHints(), 2);
    EXPECT_STREQ(options.GetInitials(), "");
    EXPECT_EQ(options.GetShowColMarkers(), 1);
    EXPECT_EQ(options.GetDiceMoveMode(), 0);
    EXPECT_EQ(options.GetFile1LoadEnabled(), 0);
}

TEST(Options, SaveAndLoadRoundTripWithOffVolumes) {
    SettingsSandbox sandbox;
    {
        CGameOptions options;
        options.Load();
        options.SetMusic(-1);
        options.SetSFX(37);
        options.SetShowHints(0);
        options.SetFullscreen(0);
        options.SetShowColMarkers(0);
        options.SetDiceMoveMode(1);
        options.SetFile1LoadEnabled(1);
        options.Save();
    }
    // The two switches the program only reads are never written.
    EXPECT_FALSE(Stored("DiceMoveMode"));
    EXPECT_FALSE(Stored("File1LoadEnabled"));
    MRegistryStore::Free();
    CGameOptions again;
    again.Load();
    EXPECT_EQ(again.GetMusic(), -1);
    EXPECT_EQ(again.GetSFX(), 37);
    EXPECT_EQ(again.GetShowHints(), 0);
    EXPECT_EQ(again.GetFullscreen(), 0);
    EXPECT_EQ(again.GetShowColMarkers(), 0);
    EXPECT_EQ(again.GetDiceMoveMode(), 0);
}

TEST(Options, DiceSpeedAndPreviewAreNamedValuesOfTheirOwn) {
    SettingsSandbox sandbox;
    {
        CGameOptions options;
        options.Load();
        EXPECT_EQ(options.GetDiceSpeed(), CGameOptions::kDiceNormal);
        EXPECT_EQ(options.GetScorePreview(), 1);
        options.SetDiceSpeed(CGameOptions::kDiceFast);
        options.SetScorePreview(0);
        options.Save();
    }
    DWORD speed = 9, preview = 9;
    Store()->ReadDword(&speed, "DiceSpeed", 9, "Config");
    Store()->ReadDword(&preview, "ScorePreview", 9, "Config");
    EXPECT_EQ(speed, 1u);
    EXPECT_EQ(preview, 0u);
    // A value no build wrote reads as Normal.
    Store()->WriteDword("DiceSpeed", 7, "Config");
    CGameOptions again;
    again.Load();
    EXPECT_EQ(again.GetDiceSpeed(), CGameOptions::kDiceNormal);
    EXPECT_EQ(again.GetScorePreview(), 0);
}

TEST(Options, OpponentIsANamedValueAndAnUnknownLevelIsOff) {
    SettingsSandbox sandbox;
    {
        CGameOptions options;
        options.Load();
        EXPECT_EQ(options.GetOpponent(), OpponentLevel::Off);
        options.SetOpponent(static_cast<int>(OpponentLevel::Medium));
        options.Save();
    }
    DWORD level = 9;
    Store()->ReadDword(&level, "Opponent", 9, "Config");
    EXPECT_EQ(level, 2u);
    for (const DWORD stored : {DWORD{3}, DWORD{4}, DWORD{0xFFFFFFFF}}) {
        Store()->WriteDword("Opponent", stored, "Config");
        CGameOptions again;
        again.Load();
        EXPECT_EQ(again.GetOpponent(), stored == 3 ? OpponentLevel::Hard : OpponentLevel::Off) << stored;
    }
}

TEST(Options, VolumeSettersClampWithoutSaving) {
    SettingsSandbox sandbox;
    CGameOptions options;
    options.SetMusic(150);
    EXPECT_EQ(options.GetMusic(), 100);
    options.SetMusic(-7);
    EXPECT_EQ(options.GetMusic(), -1);
    options.SetSFX(-2);
    EXPECT_EQ(options.GetSFX(), -1);
    options.SetSFX(0);
    EXPECT_EQ(options.GetSFX(), 0);
    EXPECT_FALSE(Stored("Music"));
    // Values read from the store are taken as stored.
    Store()->WriteDword("Music", 250, "Config");
    options.Load();
    EXPECT_EQ(options.GetMusic(), 250);
}

TEST(Options, ScreenModeAtStartIsCapturedOnce) {
    SettingsSandbox sandbox;
    CGameOptions options;
    options.Load();
    ASSERT_EQ(options.GetFullscreenAtStart(), 1);
    Store()->WriteDword("Fullscreen", 0, "Config");
    options.Load();
    EXPECT_EQ(options.GetFullscreen(), 0);
    EXPECT_EQ(options.GetFullscreenAtStart(), 1);
}

TEST(Options, InitialsAreWrittenAtOnceAndDefaultToQuestionMarks) {
    SettingsSandbox sandbox;
    CGameOptions options;
    EXPECT_STREQ(options.GetPlayerInitials(), "???");
    EXPECT_STREQ(options.GetInitials(), "???");
    options.Save();  // the placeholder is now what the store holds
    char text[8];
    Store()->ReadString(text, "Initials", "", "Config", sizeof text);
    EXPECT_STREQ(text, "???");

}

// Start-up saves the options before anybody typed initials, so "Initials" is
// stored empty; that empty text is no player's name.
TEST(Options, EmptyStoredInitialsCountAsAbsent) {
    SettingsSandbox sandbox;
    CGameOptions startUp;
    startUp.Load();
    startUp.Save();
    ASSERT_TRUE(Stored("Initials"));
    struct Case {
        const char* stored;
        const char* player;
    } cases[] = {{"", "???"}, {"A", "A"}, {"???", "???"}};
    for (const Case& c : cases) {
        Store()->WriteString("Initials", c.stored, "Config");
        CGameOptions options;
        options.Load();
        EXPECT_STREQ(options.GetPlayerInitials(), c.player) << "stored \"" << c.stored << "\"";
    }
    CGameOptions cleared;
    cleared.SetInitials("");
    EXPECT_STREQ(cleared.GetPlayerInitials(), "???");
}

TEST(Options, SetInitialsWritesTheInitialsAlone) {
    SettingsSandbox sandbox;
    CGameOptions options;
    options.SetInitials("ABCDEFGHIJ");  // at most seven characters are kept
    EXPECT_STREQ(options.GetInitials(), "ABCDEFG");
    CGameOptions other;
    EXPECT_STREQ(other.GetPlayerInitials(), "ABCDEFG");
    EXPECT_FALSE(Stored("Difficulty"));
    EXPECT_FALSE(Stored("ShowColMarkers"));
}

TEST(Options, WithoutAnApplicationNothingIsReadOrWritten) {
    MApplication* saved = gApplication;
    gApplication = nullptr;
    CGameOptions options;
    options.Load();
    EXPECT_EQ(options.GetDifficulty(), 2);
    EXPECT_EQ(options.GetFullscreen(), 0);
    EXPECT_EQ(options.GetFullscreenAtStart(), 0);
    options.Save();
    options.SetInitials("XY");
    EXPECT_STREQ(options.GetInitials(), "XY");
    gApplication = saved;
}

}  // namespace
