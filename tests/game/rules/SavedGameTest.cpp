// A kept game read back equals the game left, field by field, and draws the
// same dice after it; a damaged save, or another version's, is refused whole.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/rules/Random.h"
#include "game/rules/SavedGame.h"
#include "tests/support/SettingsSandbox.h"

namespace {

// Where a seeded game is left: hands scored, then rolls of the next row and
// holds of its first dice, or a swap in the second half; with undo taken
// back or not, and with the scored row still on its way to its place.
struct Stop {
    const char* name;
    int scoredHands;
    int rolls;
    int holds;
    bool swap;
    bool undo;
    bool rowTravelling;
};

const Stop kStops[] = {
    {"first roll", 0, 1, 0, false, false, false},
    {"mid-row with holds", 2, 2, 2, false, false, false},
    {"after the third roll", 3, 3, 0, false, false, false},
    {"just scored, row travelling", 1, 0, 0, false, false, true},
    {"scored then undone", 2, 0, 0, false, true, false},
    {"second half begins", 5, 0, 0, false, false, false},
    {"mid-second-half with a swap", 8, 0, 0, true, false, false},
    {"last hand", 11, 0, 0, false, false, false},
};

int FirstOpenLine(const CBoardState& board) {
    for (int line = 0; line < kLineCount; ++line)
        if (!board.lineScored[line]) return line;
    return -1;
}

void PlayTo(CBoardState& board, const Stop& stop, const GameSetup& setup = {}) {
    board.StartGame(setup);
    for (int hand = 0; hand < stop.scoredHands; ++hand) {
        if (hand < kFirstHalfHands) {
            ASSERT_TRUE(board.Roll());
            board.FinishMotion();
        } else {
            ASSERT_TRUE(board.SelectLine(FirstOpenLine(board)));
        }
        ASSERT_EQ(board.ScoreCategory('a' + hand), ScoreResult::Scored) << stop.name;
        if (!stop.rowTravelling) board.FinishMotion();
    }
    if (stop.undo) {
        ASSERT_TRUE(board.Undo());
        board.FinishMotion();
    }
    for (int roll = 0; roll < stop.rolls; ++roll) {
        ASSERT_TRUE(board.Roll());
        board.FinishMotion();
    }
    for (int col = 0; col < stop.holds; ++col) ASSERT_TRUE(board.ToggleHold(DieIndex(board.handIndex, col)));
    if (stop.swap) {
        ASSERT_TRUE(board.SwapDice(DieIndex(2, 3), DieIndex(2, 4)));
    }
}

void ExpectSameGame(const CBoardState& a, const CScoreCells& ac, const CBoardState& b, const CScoreCells& bc,
                    const char* name) {
    SCOPED_TRACE(name);
    for (int i = 0; i < kDieCount; ++i) {
        const DieState& x = a.dice[i];
        const DieState& y = b.dice[i];
        EXPECT_EQ(x.face, y.face) << i;
        EXPECT_EQ(x.colour, y.colour) << i;
        EXPECT_EQ(x.row, y.row) << i;
        EXPECT_EQ(x.held, y.held) << i;
        EXPECT_EQ(x.locked, y.locked) << i;
        EXPECT_EQ(x.movable, y.movable) << i;
        EXPECT_EQ(x.rolling || x.moving || x.rollPending, y.rolling || y.moving || y.rollPending) << i;
    }
    EXPECT_EQ(a.handIndex, b.handIndex);
    EXPECT_EQ(a.rollsUsed, b.rollsUsed);
    EXPECT_EQ(a.rollsUsedAtScore, b.rollsUsedAtScore);
    EXPECT_EQ(a.rerolledCount, b.rerolledCount);
    EXPECT_EQ(a.selectedLine, b.selectedLine);
    EXPECT_EQ(a.lastScoredLine, b.lastScoredLine);
    EXPECT_EQ(a.pickedDie, b.pickedDie);
    EXPECT_EQ(a.undoAvailable, b.undoAvailable);
    EXPECT_EQ(a.CanUndo(), b.CanUndo());
    EXPECT_EQ(a.CanRoll(), b.CanRoll());
    for (int l = 0; l < kLineCount; ++l) {
        EXPECT_EQ(a.lineMoveCount[l], b.lineMoveCount[l]) << l;
        EXPECT_EQ(a.lineScored[l], b.lineScored[l]) << l;
    }
    for (int i = 0; i < kCategoryCount; ++i) {
        EXPECT_EQ(ac.Cells()[i].filled, bc.Cells()[i].filled) << i;
        EXPECT_EQ(ac.Cells()[i].value, bc.Cells()[i].value) << i;
    }
    EXPECT_EQ(ac.LastFilledIndex(), bc.LastFilledIndex());
    EXPECT_EQ(ac.UndoUsed(), bc.UndoUsed());
    EXPECT_EQ(a.Setup().seeded, b.Setup().seeded);
    EXPECT_EQ(a.Setup().seed, b.Setup().seed);
    EXPECT_EQ(a.Setup().opponent, b.Setup().opponent);
    EXPECT_EQ(a.Setup().today, b.Setup().today);
    for (int i = 0; i < kDieCount; ++i) EXPECT_EQ(a.RollCount(i), b.RollCount(i)) << i;
}

GameSetup Duel(std::uint64_t seed, OpponentLevel level, bool today) {
    GameSetup setup;
    setup.seeded = true;
    setup.seed = seed;
    setup.opponent = level;
    setup.today = today;
    return setup;
}

// What comes next, played the same way on either board: an undo where one is
// open, then the rolls left of the row (or of the next one), or a line.
std::string PlayOn(CBoardState& board) {
    std::string seen;
    if (board.CanUndo()) {
        board.Undo();
        board.FinishMotion();
    }
    for (int step = 0; step < 4 && !board.gameOver; ++step) {
        if (board.CanRoll()) {
            board.Roll();
            board.FinishMotion();
        } else {
            if (board.IsSecondHalf()) board.SelectLine(FirstOpenLine(board));
            for (int code = 'a'; code <= 'l'; ++code)
                if (board.ScoreCategory(code) == ScoreResult::Scored) break;
            board.FinishMotion();
        }
        for (const DieState& die : board.dice) seen += std::to_string(die.face * 10 + die.colour) + " ";
        seen += "| " + std::to_string(board.Total()) + "\n";
    }
    return seen;
}

TEST(SavedGame, RestoredEqualsTheGameLeftAndDrawsTheSameDiceAfterIt) {
    const GameSetup setups[] = {GameSetup{}, Duel(0xFEDCBA9876543210ull, OpponentLevel::Hard, false),
                                Duel(20261208, OpponentLevel::Off, true)};
    for (const GameSetup& setup : setups) {
        for (const Stop& stop : kStops) {
            SeedRandom(20261208);
            CScoreCells cells;
            CBoardState board{cells};
            PlayTo(board, stop, setup);
            const std::string randomState = RandomState();
            const std::string text = EncodeSavedGame(board, cells, "MOU", randomState);
            ASSERT_FALSE(text.empty()) << stop.name;

            SavedGame saved;
            ASSERT_EQ(DecodeSavedGame(text, &saved), SavedGameStatus::Ready) << stop.name;
            EXPECT_EQ(saved.player, "MOU");
            CScoreCells restoredCells;
            CBoardState restored{restoredCells};
            restored.StartGame();
            ApplySavedGame(saved, &restored, &restoredCells);
            board.FinishMotion();  // the left game's row arrives; the kept one has
            ExpectSameGame(board, cells, restored, restoredCells, stop.name);
            EXPECT_EQ(EncodeSavedGame(restored, restoredCells, "MOU", randomState), text) << stop.name;

            const std::string left = PlayOn(board);
            ASSERT_TRUE(SetRandomState(saved.randomState));
            EXPECT_EQ(PlayOn(restored), left) << stop.name;
        }
    }
}

TEST(SavedGame, ABoardWhoseDiceRollIsNotKept) {
    SeedRandom(5);
    CScoreCells cells;
    CBoardState board{cells};
    board.StartGame();
    ASSERT_TRUE(board.Roll());
    EXPECT_EQ(EncodeSavedGame(board, cells, "AB", RandomState()), "");
    board.StartDieRoll(DieIndex(0, 0));
    EXPECT_EQ(EncodeSavedGame(board, cells, "AB", RandomState()), "");
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The text without its checksum line, changed, then sealed again: only the
// checks of the fields can refuse it.
std::string Resealed(const std::string& text, const std::string& from, const std::string& to) {
    const std::string body = text.substr(0, text.rfind("check "));
    return SealSavedGame(Replace(body, from, to));
}

TEST(SavedGame, ADamagedSaveOrAnotherVersionsIsRefusedWhole) {
    SeedRandom(77);
    CScoreCells cells;
    CBoardState board{cells};
    PlayTo(board, kStops[1]);
    const std::string good = EncodeSavedGame(board, cells, "MOU", RandomState());
    const std::string diceLine = good.substr(good.find("dice "), 12);
    struct Case {
        const char* name;
        std::string text;
        SavedGameStatus expected;
    };
    const Case cases[] = {
        {"empty", "", SavedGameStatus::Damaged},
        {"cut in half", good.substr(0, good.size() / 2), SavedGameStatus::Damaged},
        {"cut before its last byte", good.substr(0, good.size() - 1), SavedGameStatus::Damaged},
        {"one byte changed", Replace(good, "board 2", "board 3"), SavedGameStatus::Damaged},
        {"garbage after it", good + "x", SavedGameStatus::Damaged},
        {"another version", Resealed(good, "zanbor-saved-game 1", "zanbor-saved-game 2"),
         SavedGameStatus::OtherVersion},
        {"another version's layout", "zanbor-saved-game 7\nwhatever\n", SavedGameStatus::OtherVersion},
        {"a face of 7", Resealed(good, diceLine, "dice 7" + diceLine.substr(6)), SavedGameStatus::Damaged},
        {"sheet and board disagree", Resealed(good, "board 2", "board 4"), SavedGameStatus::Damaged},
        {"a field too many", Resealed(good, "\ncells", " 1\ncells"), SavedGameStatus::Damaged},
        {"a field missing", Resealed(good, " 1\ncells", "\ncells"), SavedGameStatus::Damaged},
        {"no player", Resealed(good, "player 4d4f55", "player"), SavedGameStatus::Damaged},
        {"a generator that is none", Resealed(good, "random ", "random x"), SavedGameStatus::Damaged},
    };
    // A seeded game's own lines are checked as strictly.
    PlayTo(board, kStops[1], Duel(5, OpponentLevel::Easy, false));
    const std::string seeded = EncodeSavedGame(board, cells, "MOU", RandomState());
    const std::string rolls = seeded.substr(seeded.find("rolls "), 8);
    const Case seededCases[] = {
        {"a level of 4", Resealed(seeded, " 1 0\nrolls", " 4 0\nrolls"), SavedGameStatus::Damaged},
        {"a short seed", Resealed(seeded, "setup 0", "setup "), SavedGameStatus::Damaged},
        {"a roll count of 4", Resealed(seeded, rolls, "rolls 4" + rolls.substr(7)), SavedGameStatus::Damaged},
        {"no roll counts", Resealed(seeded, rolls, "randomx"), SavedGameStatus::Damaged},
    };
    SavedGame seededCheck;
    ASSERT_EQ(DecodeSavedGame(seeded, &seededCheck), SavedGameStatus::Ready);
    EXPECT_EQ(seededCheck.board.Setup().opponent, OpponentLevel::Easy);
    SavedGame check;
    ASSERT_EQ(DecodeSavedGame(good, &check), SavedGameStatus::Ready);
    for (const Case& c : cases) {
        SavedGame saved;
        EXPECT_EQ(DecodeSavedGame(c.text, &saved), c.expected) << c.name;
    }
    for (const Case& c : seededCases) {
        SavedGame saved;
        EXPECT_EQ(DecodeSavedGame(c.text, &saved), c.expected) << c.name;
    }
}

TEST(SavedGame, TheStoreKeepsReadsAndDropsOneSave) {
    SettingsSandbox sandbox;
    SavedGame none;
    EXPECT_EQ(ReadSavedGame(&none), StoredGame::None);

    SeedRandom(3);
    CScoreCells cells;
    CBoardState board{cells};
    PlayTo(board, kStops[6]);
    ASSERT_TRUE(KeepSavedGame(EncodeSavedGame(board, cells, "COA", RandomState())));
    SavedGame saved;
    ASSERT_EQ(ReadSavedGame(&saved), StoredGame::Ready);
    EXPECT_EQ(saved.player, "COA");
    EXPECT_EQ(ResumeQuestion(saved), "Resume your game (row 9, " + std::to_string(board.Total()) + " points)?");

    Store()->WriteString("SavedGame", "zanbor-saved-game 1\nplayer 41\n", "Config");
    EXPECT_EQ(ReadSavedGame(&saved), StoredGame::Damaged);
    DropSavedGame();
    EXPECT_EQ(ReadSavedGame(&saved), StoredGame::None);
    EXPECT_FALSE(KeepSavedGame(""));
}

// Killed (kill -9) at many moments while it keeps one save after another, the
// program leaves the save it kept last or the one it was writing: never a
// damaged one. The child reports each save kept through a pipe; the parent
// kills it after a few, so the kill lands in the middle of the next write.
TEST(SavedGame, KilledWhileKeepingLeavesTheLastSaveOrTheNextNeverADamagedOne) {
    SettingsSandbox sandbox;
    std::vector<std::string> saves;
    SeedRandom(11);
    CScoreCells cells;
    CBoardState board{cells};
    board.StartGame();
    for (int hand = 0; hand < kCategoryCount - 1; ++hand) {
        if (board.CanRoll()) {
            ASSERT_TRUE(board.Roll());
            board.FinishMotion();
        } else {
            ASSERT_TRUE(board.SelectLine(FirstOpenLine(board)));
        }
        ASSERT_EQ(board.ScoreCategory('a' + hand), ScoreResult::Scored);
        saves.push_back(EncodeSavedGame(board, cells, "MOU", RandomState()));
    }
    MRegistryStore::Free();  // each child opens its own connection

    for (int round = 0; round < 50; ++round) {
        int report[2];
        ASSERT_EQ(pipe(report), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(report[0]);
            for (std::size_t n = 0;; ++n) {
                KeepSavedGame(saves[n % saves.size()]);
                if (write(report[1], "k", 1) != 1) _exit(3);
            }
        }
        close(report[1]);
        char kept = 0;
        for (int n = 0; n < 1 + round % 7; ++n) ASSERT_EQ(read(report[0], &kept, 1), 1) << round;
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        close(report[0]);

        SavedGame saved;
        EXPECT_EQ(ReadSavedGame(&saved), StoredGame::Ready) << round;
        std::vector<char> text(32768);
        Store()->ReadString(text.data(), "SavedGame", "", "Config", static_cast<DWORD>(text.size()));
        EXPECT_NE(std::find(saves.begin(), saves.end(), std::string(text.data())), saves.end()) << round;
        MRegistryStore::Free();
    }
}

}  // namespace
