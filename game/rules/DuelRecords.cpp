#include "game/rules/DuelRecords.h"

#include <algorithm>
#include <cstdint>

#include "game/rules/coach/DuelOpponent.h"
#include "platform/storage/MRegistryStore.h"

namespace {

constexpr const char* kSubKey = "Config";

MRegistryStore* Store() { return MRegistryStore::Get(HKEY_LOCAL_MACHINE); }

// The level's part of a tally's name; null for a solo game, which has none.
const char* LevelName(OpponentLevel level) {
    return level == OpponentLevel::Off ? nullptr : coach::LevelName(level);
}

constexpr OpponentLevel kLevels[] = {OpponentLevel::Easy, OpponentLevel::Medium, OpponentLevel::Hard};
constexpr const char* kOutcomes[] = {"DuelsWon", "DuelsLost", "DuelsDrawn"};

// Named as the other records are: the player's initials first, or "All" last
// ("ABCDuelsWonHard", "DuelsWonHardAll").
std::string TallyKey(const char* outcome, const char* level, const std::string* player) {
    const std::string name = std::string(outcome) + level;
    return player ? *player + name : name + "All";
}

std::int64_t ReadCount(const std::string& name) {
    DWORD value = 0;
    Store()->ReadDword(&value, name.c_str(), 0, kSubKey);
    return value;
}

void WriteCount(const std::string& name, std::int64_t value) {
    value = std::clamp<std::int64_t>(value, 0, UINT32_MAX);
    Store()->WriteDword(name.c_str(), static_cast<DWORD>(value), kSubKey);
}

}  // namespace

bool RecordDuelFinished(const std::string& player, OpponentLevel level, int playerTotal, int opponentTotal) {
    const char* levelName = LevelName(level);
    if (!levelName) return true;  // a solo game: there is no duel to count
    const char* outcome = playerTotal > opponentTotal   ? kOutcomes[0]
                          : playerTotal < opponentTotal ? kOutcomes[1]
                                                        : kOutcomes[2];
    MRegistryTransaction transaction;
    for (const std::string* who : {&player, static_cast<const std::string*>(nullptr)}) {
        const std::string key = TallyKey(outcome, levelName, who);
        WriteCount(key, ReadCount(key) + 1);
    }
    return transaction.Commit() == ERROR_SUCCESS;
}

DuelTally ReadDuelTally(RecordScope scope, OpponentLevel level) {
    DuelTally tally;
    const char* levelName = LevelName(level);
    if (!levelName) return tally;
    const std::string player = CurrentPlayerInitials();
    const std::string* who = scope == RecordScope::ThisPlayer ? &player : nullptr;
    tally.won = static_cast<int>(ReadCount(TallyKey(kOutcomes[0], levelName, who)));
    tally.lost = static_cast<int>(ReadCount(TallyKey(kOutcomes[1], levelName, who)));
    tally.drawn = static_cast<int>(ReadCount(TallyKey(kOutcomes[2], levelName, who)));
    return tally;
}

void RemovePlayerDuelTallies(const std::string& player) {
    for (OpponentLevel level : kLevels) {
        for (const char* outcome : kOutcomes) {
            const std::string mine = TallyKey(outcome, LevelName(level), &player);
            const std::string all = TallyKey(outcome, LevelName(level), nullptr);
            const std::int64_t count = ReadCount(mine);
            if (count == 0) continue;
            WriteCount(all, ReadCount(all) - count);
            Store()->DeleteValue(kSubKey, mine.c_str());
        }
    }
}
