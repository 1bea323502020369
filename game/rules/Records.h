#pragma once
// The player records: games started and finished, running averages, the best
// score and four ten-entry tables, all kept as named values under "Config" in
// the settings store. Nothing is held in memory between calls. The player is
// the options' initials ("???" when none were given).

#include <string>
#include <vector>

enum TableKind {
    kTableBestAll = 0,     // "TS<n>All" / "TSI<n>All"
    kTableRecentAll = 1,   // "LS<n>All" / "LSI<n>All"
    kTableBestMine = 2,    // P "TS<n>" / P "TSI<n>"
    kTableRecentMine = 3,  // P "LS<n>" / P "LSI<n>"
};

enum class RecordScope { AllPlayers, ThisPlayer };

constexpr int kTableEntries = 10;
// Initials read with this default mark an empty entry: typed initials are
// upper case and can never equal it.
constexpr const char* kEmptyInitials = "vkq";
constexpr int kRecordInitialsSize = 8;

// The current player's initials, as the options give them.
std::string CurrentPlayerInitials();
// Key names of entry 0..9 of a table for the given player.
std::string TableScoreKey(TableKind kind, int entry, const std::string& player);
std::string TableInitialsKey(TableKind kind, int entry, const std::string& player);

// The players who have records, the most recent first: those who started a
// game ("KnownPlayers", a list of initials separated by commas), then any
// other initials of the all-players tables. At most limit of them.
std::vector<std::string> KnownPlayers(int limit);

// Counts one more started game for the player and for all players, and puts
// the player first among the known players.
void RecordGameStarted();
void RecordGameStarted(const std::string& player);
// A practice game (a replay of today's dice) counts nothing: it only puts the
// player first among the known players.
void RecordPracticeStarted(const std::string& player);
// Counts a kept game the player declined to resume, for the player and for
// all players ("GamesAbandoned").
void RecordGameAbandoned(const std::string& player);
// True when the player has no finished game recorded.
bool IsFirstFinishedGame();
bool IsFirstFinishedGame(const std::string& player);
// Records a finished game in one transaction of the store (or in the caller's,
// when one is open). posAll and posMine receive the places 0..9 the total took
// in the two best-ten tables, or -1. False when the record could not be kept.
bool RecordGameFinished(int total, int* posAll, int* posMine);
// The same for the given player (the one whose game it was).
bool RecordGameFinished(const std::string& player, int total, int* posAll, int* posMine);

// The first place whose stored score is below total, or -1.
int FindTablePosition(TableKind kind, int total);
// Shifts entries position..8 down by one and writes the player's total at position.
void InsertTableEntry(TableKind kind, int position, int total);
// Updates the scope's average after its finished count was increased.
void UpdateAverage(int total, RecordScope scope);
// Deletes the entries of a table whose initials equal the player's exactly.
void RemovePlayerEntries(TableKind kind);
// Closes the gaps of a table, keeping the order of its entries.
void CompactTable(TableKind kind);
// Removes the player's records from all counts, averages and tables, in one
// transaction. Returns the best score that remains ("BestScore").
int ResetPlayerRecords(bool gameInProgress);
// Takes the player's duels won, lost and drawn out of the all-players tallies
// and deletes the player's own (inside the caller's transaction).
void RemovePlayerDuelTallies(const std::string& player);

int ReadBestScore();

// The ten-line columns of a table for the statistics page, each line ended by "\r".
std::string TableScoresText(TableKind kind);
std::string TableInitialsText(TableKind kind);

struct StatisticsFigures {
    int started = 0;
    int finished = 0;
    bool averagesShown = false;  // hidden while nothing was finished
    int bestTenAverage = 0;
    int recentAverage = 0;
    int overallAverage = 0;
};
StatisticsFigures GetStatisticsFigures(RecordScope scope);

// Tests only: called between the writes of RecordGameFinished (steps 1..5) and
// ResetPlayerRecords (steps 2..8) with the step just done.
using RecordsTestHook = void (*)(int step);
void SetRecordsTestHook(RecordsTestHook hook);
