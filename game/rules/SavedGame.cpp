#include "game/rules/SavedGame.h"

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <vector>

#include "game/rules/Random.h"
#include "platform/storage/MRegistryStore.h"

namespace {

constexpr const char* kSubKey = "Config";
constexpr const char* kValueName = "SavedGame";
// The generator's text is about 7 KB; the rest a few hundred bytes.
constexpr DWORD kMaxSaveSize = 32768;
constexpr int kMaxCellValue = 999;
constexpr int kMaxMoveCount = 100000;

std::uint32_t Checksum(const std::string& text) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

std::string HexOf(const std::string& text) {
    std::string out;
    char pair[3];
    for (unsigned char c : text) {
        std::snprintf(pair, sizeof pair, "%02x", c);
        out += pair;
    }
    return out.empty() ? "-" : out;
}

bool TextOfHex(const std::string& hex, std::string* out) {
    out->clear();
    if (hex == "-") return true;
    if (hex.size() % 2 != 0 || hex.size() > 2 * 16) return false;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        unsigned value = 0;
        if (std::sscanf(hex.c_str() + i, "%2x", &value) != 1) return false;
        // Initials are printable characters.
        if (value < 0x21 || value > 0x7e) return false;
        out->push_back(static_cast<char>(value));
    }
    return true;
}

// One line of numbers after its keyword, each within its bounds.
class LineReader {
public:
    LineReader(std::istream& in, const char* keyword) {
        std::string line;
        if (!std::getline(in, line)) return;
        fields.str(line);
        std::string word;
        ok = (fields >> word) && word == keyword;
    }
    int Next(int low, int high) {
        long long value = 0;
        if (!ok || !(fields >> value) || value < low || value > high) {
            ok = false;
            return low;
        }
        return static_cast<int>(value);
    }
    bool Flag() { return Next(0, 1) != 0; }
    std::string Word() {
        std::string word;
        if (!ok || !(fields >> word)) ok = false;
        return word;
    }
    // True when every field was read and nothing is left over.
    bool Done() {
        std::string rest;
        return ok && !(fields >> rest);
    }

private:
    std::istringstream fields;
    bool ok = false;
};

// What one fill of each hand implies: the sheet and the board must agree.
bool Consistent(const CBoardState& board, const CScoreCells& cells) {
    if (cells.FilledCount() != board.handIndex) return false;
    int linesScored = 0;
    for (bool scored : board.lineScored) linesScored += scored ? 1 : 0;
    if (linesScored != std::max(0, board.handIndex - kFirstHalfHands)) return false;
    if (board.selectedLine >= 0 && board.lineScored[board.selectedLine]) return false;
    if (cells.LastFilledIndex() >= 0 && !cells.IsFilled(CategoryCodeOf(cells.LastFilledIndex())) &&
        !cells.UndoUsed())
        return false;
    for (const ScoreCell& cell : cells.Cells())
        if (!cell.filled && cell.value != 0) return false;
    return true;
}

// The lines a seeded game adds: "setup" (the seed in hex, the opponent, today)
// and "rolls" (each die's roll count). A save without them is a solo game.
bool ReadSeededSetup(const std::string& setupLine, std::istream& in, CBoardState* board) {
    std::istringstream words(setupLine);
    std::string keyword, seedText;
    int opponent = -1, today = -1;
    std::string rest;
    if (!(words >> keyword >> seedText >> opponent >> today) || (words >> rest)) return false;
    if (seedText.size() != 16 || seedText.find_first_not_of("0123456789abcdef") != std::string::npos) return false;
    if (opponent < static_cast<int>(OpponentLevel::Off) || opponent > static_cast<int>(OpponentLevel::Hard)) return false;
    if (today != 0 && today != 1) return false;
    GameSetup setup;
    setup.seeded = true;
    setup.seed = std::stoull(seedText, nullptr, 16);
    setup.opponent = static_cast<OpponentLevel>(opponent);
    setup.today = today == 1;

    std::string line;
    if (!std::getline(in, line)) return false;
    std::istringstream rollsIn(line);
    LineReader rolls(rollsIn, "rolls");
    int counts[kDieCount];
    for (int& count : counts) count = rolls.Next(0, kMaxRolls);
    return rolls.Done() && board->RestoreSeeded(setup, counts);
}

}  // namespace

std::string EncodeSavedGame(const CBoardState& board, const CScoreCells& cells, const std::string& player,
                            const std::string& randomState) {
    for (const DieState& die : board.dice)
        if (die.rolling || die.rollPending) return {};
    // A travelling die only finishes its way: no number is drawn for it.
    CBoardState rest = board;
    rest.FinishMotion();

    std::ostringstream out;
    out << kSavedGameHeader << '\n';
    out << "player " << HexOf(player) << '\n';
    out << "board " << rest.handIndex << ' ' << rest.rollsUsed << ' ' << rest.rollsUsedAtScore << ' '
        << rest.rerolledCount << ' ' << rest.selectedLine << ' ' << rest.lastScoredLine << ' ' << rest.pickedDie
        << ' ' << rest.pickedRow << ' ' << rest.pickedIndex << ' ' << rest.undoAvailable << ' '
        << rest.showColMarkers << '\n';
    out << "lines";
    for (int count : rest.lineMoveCount) out << ' ' << count;
    for (bool scored : rest.lineScored) out << ' ' << scored;
    out << '\n' << "dice";
    for (const DieState& die : rest.dice)
        out << ' ' << die.face << ' ' << die.colour << ' ' << die.row << ' ' << die.held << ' ' << die.locked << ' '
            << die.movable;
    out << '\n' << "cells";
    for (const ScoreCell& cell : cells.Cells()) out << ' ' << cell.filled << ' ' << cell.value;
    out << ' ' << cells.LastFilledIndex() << ' ' << cells.UndoUsed() << '\n';
    const GameSetup& setup = rest.Setup();
    if (setup.seeded) {
        // Only a seeded game writes these, so a solo save reads as it always did.
        char seed[24];
        std::snprintf(seed, sizeof seed, "%016llx", static_cast<unsigned long long>(setup.seed));
        out << "setup " << seed << ' ' << static_cast<int>(setup.opponent) << ' ' << setup.today << '\n';
        out << "rolls";
        for (int i = 0; i < kDieCount; ++i) out << ' ' << rest.RollCount(i);
        out << '\n';
    }
    out << "random " << randomState << '\n';
    return SealSavedGame(out.str());
}

std::string SealSavedGame(const std::string& body) {
    char check[24];
    std::snprintf(check, sizeof check, "check %08x\n", static_cast<unsigned>(Checksum(body)));
    return body + check;
}

SavedGameStatus DecodeSavedGame(const std::string& text, SavedGame* out) {
    const std::size_t checkAt = text.rfind("check ");
    if (checkAt == std::string::npos || checkAt == 0 || text[checkAt - 1] != '\n') {
        // The header alone tells another version's save from a damaged one.
        const bool otherVersion = text.rfind("zanbor-saved-game ", 0) == 0 && text.rfind(kSavedGameHeader, 0) != 0;
        return otherVersion ? SavedGameStatus::OtherVersion : SavedGameStatus::Damaged;
    }
    const std::string body = text.substr(0, checkAt);
    if (body.rfind("zanbor-saved-game ", 0) == 0 && body.rfind(std::string(kSavedGameHeader) + "\n", 0) != 0)
        return SavedGameStatus::OtherVersion;
    unsigned stored = 0;
    char extra = 0;
    if (std::sscanf(text.c_str() + checkAt, "check %8x%c", &stored, &extra) != 2 || extra != '\n' ||
        checkAt + 15 != text.size() || stored != Checksum(body))
        return SavedGameStatus::Damaged;

    std::istringstream in(body);
    std::string line;
    if (!std::getline(in, line) || line != kSavedGameHeader) return SavedGameStatus::Damaged;

    LineReader who(in, "player");
    const std::string hex = who.Word();
    if (!who.Done() || !TextOfHex(hex, &out->player) || out->player.empty()) return SavedGameStatus::Damaged;

    CBoardState& b = out->board;
    b.StartGame();
    LineReader state(in, "board");
    b.handIndex = state.Next(0, kCategoryCount - 1);
    b.rollsUsed = state.Next(0, kMaxRolls);
    b.rollsUsedAtScore = state.Next(0, kMaxRolls);
    b.rerolledCount = state.Next(0, kBoardCols);
    b.selectedLine = state.Next(-1, kLineCount - 1);
    b.lastScoredLine = state.Next(-1, kLineCount - 1);
    b.pickedDie = state.Next(-1, kDieCount - 1);
    b.pickedRow = state.Next(-1, kBoardRows - 1);
    b.pickedIndex = state.Next(-1, kBoardCols - 1);
    b.undoAvailable = state.Flag();
    b.showColMarkers = state.Flag();
    if (!state.Done()) return SavedGameStatus::Damaged;

    LineReader lines(in, "lines");
    for (int& count : b.lineMoveCount) count = lines.Next(-kMaxMoveCount, kMaxMoveCount);
    for (bool& scored : b.lineScored) scored = lines.Flag();
    if (!lines.Done()) return SavedGameStatus::Damaged;

    LineReader dice(in, "dice");
    for (DieState& die : b.dice) {
        die = DieState{};
        die.face = dice.Next(1, 6);
        die.colour = dice.Next(0, 3);
        die.row = dice.Next(-1, kBoardRows - 1);
        die.held = dice.Flag();
        die.locked = dice.Flag();
        die.movable = dice.Flag();
    }
    if (!dice.Done()) return SavedGameStatus::Damaged;

    LineReader sheet(in, "cells");
    ScoreCells cells{};
    for (ScoreCell& cell : cells) {
        cell.filled = sheet.Flag();
        cell.value = sheet.Next(0, kMaxCellValue);
    }
    const int lastFilled = sheet.Next(-1, kCategoryCount - 1);
    const bool undone = sheet.Flag();
    if (!sheet.Done()) return SavedGameStatus::Damaged;
    out->cells.Restore(cells, lastFilled, undone);

    if (!std::getline(in, line)) return SavedGameStatus::Damaged;
    if (line.rfind("setup ", 0) == 0 && !ReadSeededSetup(line, in, &b)) return SavedGameStatus::Damaged;
    if (line.rfind("setup ", 0) == 0 && !std::getline(in, line)) return SavedGameStatus::Damaged;
    if (line.rfind("random ", 0) != 0) return SavedGameStatus::Damaged;
    out->randomState = line.substr(7);
    if (!IsRandomState(out->randomState)) return SavedGameStatus::Damaged;
    if (std::getline(in, line)) return SavedGameStatus::Damaged;  // nothing after the generator

    b.gameOver = false;
    if (!Consistent(b, out->cells)) return SavedGameStatus::Damaged;
    return SavedGameStatus::Ready;
}

void ApplySavedGame(const SavedGame& saved, CBoardState* board, CScoreCells* cells) {
    const ScoreCells kept = saved.cells.Cells();
    cells->Restore(kept, saved.cells.LastFilledIndex(), saved.cells.UndoUsed());
    board->CopyStateFrom(saved.board);
}

bool KeepSavedGame(const std::string& text) {
    if (text.empty()) return false;
    MRegistryStore* store = MRegistryStore::Get(HKEY_LOCAL_MACHINE);
    MRegistryTransaction transaction;
    if (store->WriteString(kValueName, text.c_str(), kSubKey) != ERROR_SUCCESS) return false;
    return transaction.Commit() == ERROR_SUCCESS;
}

StoredGame ReadSavedGame(SavedGame* out) {
    MRegistryStore* store = MRegistryStore::Get(HKEY_LOCAL_MACHINE);
    std::vector<char> buffer(kMaxSaveSize);
    const LONG read = store->ReadString(buffer.data(), kValueName, "", kSubKey, kMaxSaveSize);
    if (read == ERROR_MORE_DATA) return StoredGame::Damaged;
    const std::string text = buffer.data();
    if (read != ERROR_SUCCESS || text.empty()) return StoredGame::None;
    switch (DecodeSavedGame(text, out)) {
    case SavedGameStatus::Ready: return StoredGame::Ready;
    case SavedGameStatus::OtherVersion: return StoredGame::OtherVersion;
    case SavedGameStatus::Damaged: break;
    }
    return StoredGame::Damaged;
}

void DropSavedGame() { MRegistryStore::Get(HKEY_LOCAL_MACHINE)->DeleteValue(kSubKey, kValueName); }

std::string ResumeQuestion(const SavedGame& saved) {
    return "Resume your game (row " + std::to_string(saved.Row()) + ", " + std::to_string(saved.Points()) +
           " points)?";
}

const char* DroppedSaveMessage(StoredGame status) {
    return status == StoredGame::OtherVersion
               ? "The game you left was kept by another version of Zanbor and cannot be resumed."
               : "The game you left could not be read back and is dropped.";
}
