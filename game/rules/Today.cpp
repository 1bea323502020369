#include "game/rules/Today.h"

#include "game/rules/coach/DuelOpponent.h"
#include "platform/storage/MRegistryStore.h"

namespace {

constexpr const char* kSubKey = "Config";
// The player's initials come first, as in the other records: "ABCTodayDate".
constexpr const char* kDateName = "TodayDate";
constexpr const char* kResultName = "TodayResult";
constexpr int kResultSize = 96;
constexpr const char* kSeparator = " \u00b7 ";

MRegistryStore* Store() { return MRegistryStore::Get(HKEY_LOCAL_MACHINE); }

std::string ReadText(const std::string& name) {
    char buffer[kResultSize] = {};
    Store()->ReadString(buffer, name.c_str(), "", kSubKey, sizeof buffer);
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

std::string LinePrefix(const std::string& date) { return "Zanbor " + date; }

}  // namespace

std::string LocalDateText(std::time_t when) {
    std::tm local{};
    if (!localtime_r(&when, &local)) return "1970-01-01";
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

std::uint64_t TodaySeed(const std::string& date) {
    // FNV-1a over the text, then a finaliser that spreads neighbouring dates
    // (which differ in one or two characters) over the whole range.
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : date) {
        h ^= c;
        h *= 0x100000001b3ull;
    }
    h ^= h >> 30;
    h *= 0xbf58476d1ce4e5b9ull;
    h ^= h >> 27;
    h *= 0x94d049bb133111ebull;
    h ^= h >> 31;
    return h;
}

GameSetup TodaySetup(const std::string& date, OpponentLevel opponent) {
    GameSetup setup;
    setup.seeded = true;
    setup.seed = TodaySeed(date);
    setup.opponent = opponent;
    setup.today = true;
    return setup;
}

bool TodayAttemptUsed(const std::string& player, const std::string& date) {
    return ReadText(player + kDateName) == date;
}

bool BeginTodayAttempt(const std::string& player, const std::string& date) {
    if (TodayAttemptUsed(player, date)) return false;
    // A new day's attempt: yesterday's line is no longer the player's result.
    MRegistryTransaction transaction;
    Store()->WriteString((player + kDateName).c_str(), date.c_str(), kSubKey);
    Store()->DeleteValue(kSubKey, (player + kResultName).c_str());
    transaction.Commit();
    return true;
}

std::string CountedTodayDate(const std::string& player, std::uint64_t seed) {
    const std::string date = ReadText(player + kDateName);
    if (date.empty() || TodaySeed(date) != seed || !TodayResult(player, date).empty()) return {};
    return date;
}

std::string GroupedNumber(int value) {
    const std::string digits = std::to_string(value < 0 ? -static_cast<long long>(value) : value);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return value < 0 ? "-" + text : text;
}

std::string TodayResultLine(const std::string& date, int total, OpponentLevel opponent, int opponentTotal) {
    std::string line = LinePrefix(date) + kSeparator + GroupedNumber(total);
    if (opponent != OpponentLevel::Off)
        line += kSeparator + std::string(coach::LevelName(opponent)) + " " + GroupedNumber(opponentTotal);
    return line;
}

bool KeepTodayResult(const std::string& player, const std::string& line) {
    return Store()->WriteString((player + kResultName).c_str(), line.c_str(), kSubKey) == ERROR_SUCCESS;
}

std::string TodayResult(const std::string& player, const std::string& date) {
    const std::string line = ReadText(player + kResultName);
    const std::string prefix = LinePrefix(date) + kSeparator;
    return line.compare(0, prefix.size(), prefix) == 0 ? line : std::string();
}
