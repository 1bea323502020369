#include "game/rules/Records.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/scene/COptions.h"
#include "platform/app/MApplication.h"
#include "platform/storage/MRegistryStore.h"

namespace {

constexpr const char* kSubKey = "Config";
RecordsTestHook testHook = nullptr;

void Reached(int step) {
    if (testHook) testHook(step);
}

MRegistryStore* Store() { return MRegistryStore::Get(HKEY_LOCAL_MACHINE); }

DWORD ReadCount(const std::string& name) {
    DWORD value = 0;
    Store()->ReadDword(&value, name.c_str(), 0, kSubKey);
    return value;
}

int ReadScore(const std::string& name, int missing) {
    DWORD value = 0;
    Store()->ReadDword(&value, name.c_str(), static_cast<DWORD>(missing), kSubKey);
    return static_cast<int>(value);
}

void Write(const std::string& name, std::int64_t value) {
    // Counts and sums never go below zero nor past what a DWORD holds.
    value = std::clamp<std::int64_t>(value, 0, UINT32_MAX);
    Store()->WriteDword(name.c_str(), static_cast<DWORD>(value), kSubKey);
}

void Delete(const std::string& name) { Store()->DeleteValue(kSubKey, name.c_str()); }

std::string ReadInitials(const std::string& key, const char* missing) {
    char buffer[kRecordInitialsSize] = {};
    Store()->ReadString(buffer, key.c_str(), missing, kSubKey, sizeof buffer);
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

bool EntryExists(TableKind kind, int entry, const std::string& player) {
    return ReadInitials(TableInitialsKey(kind, entry, player), kEmptyInitials) != kEmptyInitials;
}

void DeleteEntry(TableKind kind, int entry, const std::string& player) {
    Delete(TableInitialsKey(kind, entry, player));
    Delete(TableScoreKey(kind, entry, player));
}

void CopyEntry(TableKind kind, int from, int to, const std::string& player) {
    const std::string initials = ReadInitials(TableInitialsKey(kind, from, player), kEmptyInitials);
    Store()->WriteString(TableInitialsKey(kind, to, player).c_str(), initials.c_str(), kSubKey);
    Write(TableScoreKey(kind, to, player), ReadScore(TableScoreKey(kind, from, player), 0));
}

// Sums the scores from entry 0 on, stopping at the first missing one or after
// limit entries; returns how many were summed.
int SumTable(TableKind kind, int limit, const std::string& player, std::int64_t* sum) {
    *sum = 0;
    int n = 0;
    for (; n < std::min(limit, kTableEntries); ++n) {
        const int score = ReadScore(TableScoreKey(kind, n, player), -1);
        if (score < 0) break;
        *sum += score;
    }
    return n;
}

std::string ScopeKey(RecordScope scope, const char* name, const std::string& player) {
    return scope == RecordScope::AllPlayers ? std::string(name) + "All" : player + name;
}

TableKind BestTable(RecordScope scope) { return scope == RecordScope::AllPlayers ? kTableBestAll : kTableBestMine; }
TableKind RecentTable(RecordScope scope) {
    return scope == RecordScope::AllPlayers ? kTableRecentAll : kTableRecentMine;
}

int FindPosition(TableKind kind, int total, const std::string& player) {
    for (int i = 0; i < kTableEntries; ++i)
        if (ReadScore(TableScoreKey(kind, i, player), 0) < total) return i;
    return -1;
}

void InsertEntry(TableKind kind, int position, int total, const std::string& player) {
    if (position < 0 || position >= kTableEntries) return;
    for (int i = kTableEntries - 2; i >= position; --i) {
        if (EntryExists(kind, i, player))
            CopyEntry(kind, i, i + 1, player);
        else
            DeleteEntry(kind, i + 1, player);  // move the gap down with the rest, never duplicate
    }
    Store()->WriteString(TableInitialsKey(kind, position, player).c_str(), player.c_str(), kSubKey);
    Write(TableScoreKey(kind, position, player), total);
}

void UpdateScopeAverage(int total, RecordScope scope, const std::string& player) {
    const std::int64_t count = ReadCount(ScopeKey(scope, "GamesFinished", player));
    if (count == 0) return;  // nothing finished: there is no mean to keep
    const std::string averageKey = ScopeKey(scope, "AverageScore", player);
    const std::string remainderKey = ScopeKey(scope, "Remainder", player);
    std::int64_t sum = 0;
    // While every finished game is in the best-ten table its sum is exact; a
    // table thinned by a reset no longer holds them all, so fall back to the
    // running mean, which stays exact.
    bool summed = false;
    if (count <= kTableEntries) summed = SumTable(BestTable(scope), static_cast<int>(count), player, &sum) == count;
    if (!summed)
        sum = total + static_cast<std::int64_t>(ReadCount(remainderKey)) +
              (count - 1) * static_cast<std::int64_t>(ReadCount(averageKey));
    Write(averageKey, sum / count);
    Write(remainderKey, sum % count);
}

void RemoveEntries(TableKind kind, const std::string& player) {
    for (int i = 0; i < kTableEntries; ++i)
        if (ReadInitials(TableInitialsKey(kind, i, player), kEmptyInitials) == player) DeleteEntry(kind, i, player);
}

void Compact(TableKind kind, const std::string& player) {
    int j = 0;
    for (int i = 0; i < kTableEntries; ++i) {
        if (!EntryExists(kind, i, player)) continue;
        if (i != j) {
            CopyEntry(kind, i, j, player);
            DeleteEntry(kind, i, player);
        }
        ++j;
    }
}

constexpr const char* kKnownPlayers = "KnownPlayers";
constexpr int kKnownPlayersKept = 24;

std::vector<std::string> ReadKnownPlayers() {
    char buffer[kKnownPlayersKept * kRecordInitialsSize + 1] = {};
    Store()->ReadString(buffer, kKnownPlayers, "", kSubKey, sizeof buffer);
    buffer[sizeof buffer - 1] = '\0';
    std::vector<std::string> players;
    std::string name;
    for (const char* c = buffer;; ++c) {
        if (*c == ',' || *c == '\0') {
            if (!name.empty() && std::find(players.begin(), players.end(), name) == players.end())
                players.push_back(name);
            name.clear();
            if (*c == '\0') break;
        } else {
            name += *c;
        }
    }
    return players;
}

void WriteKnownPlayers(const std::vector<std::string>& players) {
    std::string text;
    for (std::size_t i = 0; i < players.size() && i < static_cast<std::size_t>(kKnownPlayersKept); ++i)
        text += (i ? "," : "") + players[i];
    Store()->WriteString(kKnownPlayers, text.c_str(), kSubKey);
}

}  // namespace

std::vector<std::string> KnownPlayers(int limit) {
    std::vector<std::string> players = ReadKnownPlayers();
    for (TableKind kind : {kTableRecentAll, kTableBestAll}) {
        for (int i = 0; i < kTableEntries; ++i) {
            const std::string initials = ReadInitials(TableInitialsKey(kind, i, ""), kEmptyInitials);
            if (initials == kEmptyInitials || initials.empty()) continue;
            if (std::find(players.begin(), players.end(), initials) == players.end()) players.push_back(initials);
        }
    }
    if (limit >= 0 && players.size() > static_cast<std::size_t>(limit)) players.resize(static_cast<std::size_t>(limit));
    return players;
}

void SetRecordsTestHook(RecordsTestHook hook) { testHook = hook; }

std::string CurrentPlayerInitials() {
    if (gApplication) {
        if (COptions* options = gApplication->GetOptions()) return options->GetPlayerInitials();
    }
    const std::string stored = ReadInitials("Initials", COptions::kNoInitials);
    return stored.empty() ? COptions::kNoInitials : stored;
}

std::string TableScoreKey(TableKind kind, int entry, const std::string& player) {
    const std::string n = std::to_string(entry + 1);
    switch (kind) {
    case kTableBestAll: return "TS" + n + "All";
    case kTableRecentAll: return "LS" + n + "All";
    case kTableBestMine: return player + "TS" + n;
    case kTableRecentMine: return player + "LS" + n;
    }
    return {};
}

std::string TableInitialsKey(TableKind kind, int entry, const std::string& player) {
    const std::string n = std::to_string(entry + 1);
    switch (kind) {
    case kTableBestAll: return "TSI" + n + "All";
    case kTableRecentAll: return "LSI" + n + "All";
    case kTableBestMine: return player + "TSI" + n;
    case kTableRecentMine: return player + "LSI" + n;
    }
    return {};
}

void RecordGameStarted() { RecordGameStarted(CurrentPlayerInitials()); }

namespace {

void PutPlayerFirst(const std::string& player) {
    std::vector<std::string> players = ReadKnownPlayers();
    players.erase(std::remove(players.begin(), players.end(), player), players.end());
    players.insert(players.begin(), player);
    WriteKnownPlayers(players);
}

}  // namespace

void RecordPracticeStarted(const std::string& player) { PutPlayerFirst(player); }

void RecordGameStarted(const std::string& player) {
    PutPlayerFirst(player);
    Write(player + "GamesStarted", std::int64_t{ReadCount(player + "GamesStarted")} + 1);
    Write("GamesStartedAll", std::int64_t{ReadCount("GamesStartedAll")} + 1);
}

void RecordGameAbandoned(const std::string& player) {
    Write(player + "GamesAbandoned", std::int64_t{ReadCount(player + "GamesAbandoned")} + 1);
    Write("GamesAbandonedAll", std::int64_t{ReadCount("GamesAbandonedAll")} + 1);
}

bool IsFirstFinishedGame() { return IsFirstFinishedGame(CurrentPlayerInitials()); }

bool IsFirstFinishedGame(const std::string& player) { return ReadCount(player + "GamesFinished") == 0; }

bool RecordGameFinished(int total, int* posAll, int* posMine) {
    return RecordGameFinished(CurrentPlayerInitials(), total, posAll, posMine);
}

bool RecordGameFinished(const std::string& player, int total, int* posAll, int* posMine) {
    MRegistryTransaction transaction;

    Write(player + "GamesFinished", std::int64_t{ReadCount(player + "GamesFinished")} + 1);
    Write("GamesFinishedAll", std::int64_t{ReadCount("GamesFinishedAll")} + 1);
    Reached(1);

    const int all = FindPosition(kTableBestAll, total, player);
    if (all >= 0) InsertEntry(kTableBestAll, all, total, player);
    Reached(2);
    const int mine = FindPosition(kTableBestMine, total, player);
    if (mine >= 0) InsertEntry(kTableBestMine, mine, total, player);
    Reached(3);

    InsertEntry(kTableRecentAll, 0, total, player);
    InsertEntry(kTableRecentMine, 0, total, player);
    Reached(4);

    UpdateScopeAverage(total, RecordScope::AllPlayers, player);
    UpdateScopeAverage(total, RecordScope::ThisPlayer, player);
    Reached(5);

    const bool kept = transaction.Commit() == ERROR_SUCCESS;
    if (posAll) *posAll = all;
    if (posMine) *posMine = mine;
    return kept;
}

int FindTablePosition(TableKind kind, int total) { return FindPosition(kind, total, CurrentPlayerInitials()); }

void InsertTableEntry(TableKind kind, int position, int total) {
    InsertEntry(kind, position, total, CurrentPlayerInitials());
}

void UpdateAverage(int total, RecordScope scope) { UpdateScopeAverage(total, scope, CurrentPlayerInitials()); }

void RemovePlayerEntries(TableKind kind) { RemoveEntries(kind, CurrentPlayerInitials()); }

void CompactTable(TableKind kind) { Compact(kind, CurrentPlayerInitials()); }

int ResetPlayerRecords(bool gameInProgress) {
    const std::string player = CurrentPlayerInitials();
    MRegistryTransaction transaction;

    const std::int64_t average = ReadCount(player + "AverageScore");
    const std::int64_t remainder = ReadCount(player + "Remainder");
    const std::int64_t started = ReadCount(player + "GamesStarted");
    const std::int64_t finished = ReadCount(player + "GamesFinished");
    const std::int64_t averageAll = ReadCount("AverageScoreAll");
    const std::int64_t remainderAll = ReadCount("RemainderAll");
    const std::int64_t startedAll = ReadCount("GamesStartedAll");
    std::int64_t finishedAll = ReadCount("GamesFinishedAll");

    if (finishedAll <= finished) {
        finishedAll = finished;
        Delete("AverageScoreAll");
        Delete("RemainderAll");
    } else {
        // What is left of the sum of all games once this player's are taken out.
        const std::int64_t rest = std::max<std::int64_t>(
            0, finishedAll * averageAll + remainderAll - finished * average - remainder);
        const std::int64_t others = finishedAll - finished;
        Write("AverageScoreAll", rest / others);
        Write("RemainderAll", rest % others);
    }
    Reached(2);

    Delete(player + "AverageScore");
    Delete(player + "Remainder");
    Reached(3);

    const int running = gameInProgress ? 1 : 0;
    Write("GamesStartedAll", std::max<std::int64_t>(0, startedAll - started) + running);
    Write(player + "GamesStarted", running);
    Reached(4);

    Write("GamesFinishedAll", finishedAll - finished);
    Delete(player + "GamesFinished");
    Reached(5);

    RemoveEntries(kTableBestAll, player);
    Compact(kTableBestAll, player);
    const int best = std::max(0, ReadScore(TableScoreKey(kTableBestAll, 0, player), 0));
    Write("BestScore", best);
    Reached(6);

    RemoveEntries(kTableRecentAll, player);
    Compact(kTableRecentAll, player);
    Reached(7);

    for (int i = 0; i < kTableEntries; ++i) {
        DeleteEntry(kTableBestMine, i, player);
        DeleteEntry(kTableRecentMine, i, player);
    }
    std::vector<std::string> players = ReadKnownPlayers();
    players.erase(std::remove(players.begin(), players.end(), player), players.end());
    WriteKnownPlayers(players);
    RemovePlayerDuelTallies(player);
    Reached(8);

    transaction.Commit();
    return best;
}

int ReadBestScore() { return ReadScore("BestScore", 0); }

std::string TableScoresText(TableKind kind) {
    const std::string player = CurrentPlayerInitials();
    std::string text;
    for (int i = 0; i < kTableEntries; ++i) {
        const int score = ReadScore(TableScoreKey(kind, i, player), -1);
        if (score >= 10000) {
            text += "9999";
        } else if (score >= 0) {
            char line[8];
            std::snprintf(line, sizeof line, "%4d", score);
            text += line;
        }
        text += '\r';
    }
    return text;
}

std::string TableInitialsText(TableKind kind) {
    const std::string player = CurrentPlayerInitials();
    std::string text;
    for (int i = 0; i < kTableEntries; ++i) text += ReadInitials(TableInitialsKey(kind, i, player), "") + '\r';
    return text;
}

StatisticsFigures GetStatisticsFigures(RecordScope scope) {
    const std::string player = CurrentPlayerInitials();
    StatisticsFigures f;
    f.started = static_cast<int>(ReadCount(ScopeKey(scope, "GamesStarted", player)));
    f.finished = static_cast<int>(ReadCount(ScopeKey(scope, "GamesFinished", player)));
    if (f.finished <= 0) return f;
    f.averagesShown = true;
    const int n = std::min(f.finished, kTableEntries);
    std::int64_t sum = 0;
    // A table can hold fewer entries than games (after another player's
    // reset): average what is there rather than divide it by ten.
    int entries = SumTable(BestTable(scope), n, player, &sum);
    f.bestTenAverage = entries > 0 ? static_cast<int>(sum / entries) : 0;
    entries = SumTable(RecentTable(scope), n, player, &sum);
    f.recentAverage = entries > 0 ? static_cast<int>(sum / entries) : 0;
    const int storedAverage = static_cast<int>(ReadCount(ScopeKey(scope, "AverageScore", player)));
    if (f.finished > kTableEntries) {
        f.overallAverage = storedAverage;
    } else {
        entries = SumTable(BestTable(scope), f.finished, player, &sum);
        f.overallAverage = entries == f.finished ? static_cast<int>(sum / f.finished) : storedAverage;
    }
    return f;
}
