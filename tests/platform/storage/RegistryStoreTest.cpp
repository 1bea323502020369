#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/app/MApplication.h"
#include "platform/storage/MRegistryStore.h"
#include "tests/support/SettingsSandbox.h"

namespace {

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

TEST(RegistryStore, ReadsOnAFreshStoreGiveDefaultsAndCreateNothing) {
    SettingsSandbox sandbox;
    DWORD number = 1;
    EXPECT_NE(Store()->ReadDword(&number, "Difficulty", 7, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(number, 7u);
    char text[16];
    EXPECT_EQ(Store()->ReadString(text, "Initials", "???", "Config", sizeof text), ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(text, "???");
    EXPECT_EQ(Store()->DeleteValue("Config", "Initials"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(Exists(sandbox.Root()));
}

TEST(RegistryStore, FirstWriteCreatesTheRootAndValuesRoundTrip) {
    SettingsSandbox sandbox;
    ASSERT_EQ(Store()->WriteDword("Difficulty", 0xFFFFFFFEu, "Config"), ERROR_SUCCESS);
    EXPECT_TRUE(Exists(sandbox.DatabaseFile()));
    ASSERT_EQ(Store()->WriteString("mmpath", "/usr/share/zanbor", "Config"), ERROR_SUCCESS);
    ASSERT_EQ(Store()->WriteString("Empty", "", "Config"), ERROR_SUCCESS);

    // A fresh connection reads what the first one wrote.
    MRegistryStore::Free();
    DWORD number = 0;
    EXPECT_EQ(Store()->ReadDword(&number, "Difficulty", 1, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(number, 0xFFFFFFFEu);
    char text[64];
    EXPECT_EQ(Store()->ReadString(text, "mmpath", "", "Config", sizeof text), ERROR_SUCCESS);
    EXPECT_STREQ(text, "/usr/share/zanbor");
    EXPECT_EQ(Store()->ReadString(text, "Empty", "x", "Config", sizeof text), ERROR_SUCCESS);
    EXPECT_STREQ(text, "");
    // Same value name under another subkey is another value.
    EXPECT_NE(Store()->ReadDword(&number, "Difficulty", 3, "Other"), ERROR_SUCCESS);
    EXPECT_EQ(number, 3u);
    // Overwriting replaces, deleting removes.
    EXPECT_EQ(Store()->WriteDword("Difficulty", 2, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(Store()->ReadDword(&number, "Difficulty", 1, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(number, 2u);
    EXPECT_EQ(Store()->DeleteValue("Config", "Difficulty"), ERROR_SUCCESS);
    EXPECT_EQ(Store()->DeleteValue("Config", "Difficulty"), ERROR_FILE_NOT_FOUND);
    EXPECT_NE(Store()->ReadDword(&number, "Difficulty", 1, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(number, 1u);
}

TEST(RegistryStore, StringsAreStoredWithoutTerminatorAndMustFitWithOne) {
    SettingsSandbox sandbox;
    ASSERT_EQ(Store()->WriteString("Initials", "abc", "Config"), ERROR_SUCCESS);
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(Store()->ReadString(buffer, "Initials", "", "Config", sizeof buffer), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "abc");
    // 3 characters and the terminator need 4 bytes: 3 is too small.
    char small[3];
    EXPECT_EQ(Store()->ReadString(small, "Initials", "??", "Config", sizeof small), ERROR_MORE_DATA);
    EXPECT_STREQ(small, "??");
    char exact[4];
    EXPECT_EQ(Store()->ReadString(exact, "Initials", "", "Config", sizeof exact), ERROR_SUCCESS);
    EXPECT_STREQ(exact, "abc");
    // A default longer than the buffer is cut, never overrun.
    char tiny[4];
    Store()->ReadString(tiny, "Missing", "defaulttext", "Config", sizeof tiny);
    EXPECT_STREQ(tiny, "def");
    // A number read of a 3-byte string takes its bytes (the type is not checked).
    DWORD number = 0;
    EXPECT_EQ(Store()->ReadDword(&number, "Initials", 9, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(number, 0x636261u);
    ASSERT_EQ(Store()->WriteString("Long", "abcdefgh", "Config"), ERROR_SUCCESS);
    EXPECT_EQ(Store()->ReadDword(&number, "Long", 9, "Config"), ERROR_MORE_DATA);
    EXPECT_EQ(number, 9u);
}

TEST(RegistryStore, WithoutARootReadsDefaultAndWritesFail) {
    SettingsSandbox sandbox;
    gApplication->registryRoot.clear();
    MRegistryStore::Free();
    DWORD number = 0;
    EXPECT_NE(Store()->ReadDword(&number, "X", 5, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(number, 5u);
    EXPECT_NE(Store()->WriteDword("X", 1, "Config"), ERROR_SUCCESS);
}

TEST(RegistryStore, UnwritableRootFailsWritesWithoutThrowing) {
    SettingsSandbox sandbox;
    // A plain file where the maker's folder should be.
    std::ofstream(sandbox.ConfigHome() + "/Brevant") << "not a folder";
    EXPECT_NE(Store()->WriteDword("X", 1, "Config"), ERROR_SUCCESS);
    DWORD number = 0;
    EXPECT_NE(Store()->ReadDword(&number, "X", 4, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(number, 4u);
}

TEST(RegistryStore, TransactionsCommitTogetherOrNotAtAll) {
    SettingsSandbox sandbox;
    {
        MRegistryTransaction transaction;
        ASSERT_TRUE(transaction.Began());
        Store()->WriteDword("A", 1, "Config");
        {
            MRegistryTransaction inner;  // nested scopes join the outer one
            Store()->WriteDword("B", 2, "Config");
            EXPECT_EQ(inner.Commit(), ERROR_SUCCESS);
        }
        EXPECT_EQ(transaction.Commit(), ERROR_SUCCESS);
    }
    {
        MRegistryTransaction abandoned;
        Store()->WriteDword("A", 10, "Config");
        Store()->WriteDword("C", 3, "Config");
    }
    MRegistryStore::Free();
    DWORD a = 0, b = 0, c = 0;
    Store()->ReadDword(&a, "A", 0, "Config");
    Store()->ReadDword(&b, "B", 0, "Config");
    EXPECT_NE(Store()->ReadDword(&c, "C", 0, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(a, 1u);
    EXPECT_EQ(b, 2u);
    EXPECT_EQ(c, 0u);
}

TEST(RegistryStore, AnInnerScopeLeftWithoutCommitSpoilsTheOuterOne) {
    SettingsSandbox sandbox;
    {
        MRegistryTransaction outer;
        Store()->WriteDword("A", 1, "Config");
        { MRegistryTransaction inner; }
        EXPECT_NE(Store()->WriteDword("B", 1, "Config"), ERROR_SUCCESS);
        EXPECT_NE(outer.Commit(), ERROR_SUCCESS);
    }
    DWORD a = 0;
    EXPECT_NE(Store()->ReadDword(&a, "A", 0, "Config"), ERROR_SUCCESS);
    // The store works normally afterwards.
    EXPECT_EQ(Store()->WriteDword("A", 5, "Config"), ERROR_SUCCESS);
}

TEST(RegistryStore, AProcessKilledInsideATransactionLeavesNoneOfItsValues) {
    SettingsSandbox sandbox;
    ASSERT_EQ(Store()->WriteDword("Kept", 1, "Config"), ERROR_SUCCESS);
    MRegistryStore::Free();  // the child opens its own connection

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        MRegistryTransaction transaction;
        for (int i = 0; i < 20; ++i) Store()->WriteDword(("V" + std::to_string(i)).c_str(), i, "Config");
        Store()->WriteDword("Kept", 99, "Config");
        _exit(transaction.Began() ? 0 : 3);  // dies before the commit
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    DWORD kept = 0, v = 0;
    EXPECT_EQ(Store()->ReadDword(&kept, "Kept", 0, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(kept, 1u);
    for (int i = 0; i < 20; ++i)
        EXPECT_NE(Store()->ReadDword(&v, ("V" + std::to_string(i)).c_str(), 0, "Config"), ERROR_SUCCESS);
}

TEST(RegistryStore, ADamagedFileIsSetAsideAndTheNextWriteStartsAfresh) {
    SettingsSandbox sandbox;
    ASSERT_EQ(Store()->WriteDword("Difficulty", 2, "Config"), ERROR_SUCCESS);
    MRegistryStore::Free();
    for (const char* suffix : {"-wal", "-shm"}) std::filesystem::remove(sandbox.DatabaseFile() + suffix);
    // Overwrite the header and the first pages with rubbish.
    {
        std::fstream file(sandbox.DatabaseFile(), std::ios::in | std::ios::out | std::ios::binary);
        std::string rubbish(8192, '\x5A');
        file.write(rubbish.data(), static_cast<std::streamsize>(rubbish.size()));
    }
    std::uintmax_t damagedSize = std::filesystem::file_size(sandbox.DatabaseFile());

    DWORD number = 0;
    EXPECT_NE(Store()->ReadDword(&number, "Difficulty", 1, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(number, 1u);

    // The damaged file is kept beside, untouched.
    std::string aside;
    for (const auto& entry : std::filesystem::directory_iterator(sandbox.Root()))
        if (entry.path().filename().string().find(".damaged-") != std::string::npos &&
            entry.path().extension() != ".sqlite-wal")
            aside = entry.path().string();
    ASSERT_FALSE(aside.empty());
    EXPECT_EQ(std::filesystem::file_size(aside), damagedSize);

    EXPECT_EQ(Store()->WriteDword("Difficulty", 0, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(Store()->ReadDword(&number, "Difficulty", 1, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(number, 0u);
    EXPECT_EQ(std::filesystem::file_size(aside), damagedSize);
}

// The file whose name shows it was set aside as damaged, or "".
std::string SetAsideFile(const SettingsSandbox& sandbox) {
    for (const auto& entry : std::filesystem::directory_iterator(sandbox.Root())) {
        const std::string name = entry.path().filename().string();
        if (name.find(".damaged-") != std::string::npos && name.find("-wal") == std::string::npos &&
            name.find("-shm") == std::string::npos)
            return entry.path().string();
    }
    return "";
}

std::string QuickCheck(const std::string& path) {
    sqlite3* db = nullptr;
    std::string answer = "<cannot open>";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* check = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &check, nullptr) == SQLITE_OK &&
            sqlite3_step(check) == SQLITE_ROW)
            answer = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
        else
            answer = sqlite3_errmsg(db);
        sqlite3_finalize(check);
    }
    sqlite3_close_v2(db);
    return answer;
}

// A damaged page that the open does not notice: the file opens, its header and
// schema are sound, and only reading that page would fail.
TEST(RegistryStore, ADamagedPageIsNoticedAtOpenAndNothingIsWrittenIntoIt) {
    SettingsSandbox sandbox;
    {
        MRegistryTransaction many;
        for (int i = 0; i < 3000; ++i)
            Store()->WriteString(("Value" + std::to_string(i)).c_str(), std::string(60, 'a' + i % 26).c_str(), "Config");
        Store()->WriteDword("Difficulty", 2, "Config");
        ASSERT_EQ(many.Commit(), ERROR_SUCCESS);
    }
    MRegistryStore::Free();  // the last connection folds the log into the file
    ASSERT_FALSE(Exists(sandbox.DatabaseFile() + "-wal"));
    const std::uintmax_t size = std::filesystem::file_size(sandbox.DatabaseFile());
    ASSERT_GE(size, 40u * 4096u);
    ASSERT_EQ(QuickCheck(sandbox.DatabaseFile()), "ok");
    {
        // Rubbish over the middle of the last page, a leaf of the values' table.
        std::fstream file(sandbox.DatabaseFile(), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>(size - 4096));
        const std::string rubbish(2048, '\x5A');
        file.write(rubbish.data(), static_cast<std::streamsize>(rubbish.size()));
    }
    ASSERT_NE(QuickCheck(sandbox.DatabaseFile()), "ok");

    DWORD number = 0;
    EXPECT_NE(Store()->ReadDword(&number, "Difficulty", 1, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(number, 1u);
    const std::string aside = SetAsideFile(sandbox);
    ASSERT_FALSE(aside.empty()) << "the damaged file was left in use";
    EXPECT_EQ(std::filesystem::file_size(aside), size);

    // The fresh file holds what could still be read, and the player hears of it once.
    char text[64] = {};
    EXPECT_EQ(Store()->ReadString(text, "Value0", "", "Config", sizeof text), ERROR_SUCCESS);
    EXPECT_EQ(std::string(text), std::string(60, 'a'));
    const std::string notice = Store()->TakeNotice();
    EXPECT_NE(notice.find(aside), std::string::npos) << notice;
    EXPECT_NE(notice.find("values were recovered"), std::string::npos) << notice;
    EXPECT_EQ(Store()->TakeNotice(), "");

    // Later writes start a sound file and leave the damaged one as it was.
    EXPECT_EQ(Store()->WriteDword("Difficulty", 0, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(Store()->ReadDword(&number, "Difficulty", 1, "Config"), ERROR_SUCCESS);
    EXPECT_EQ(number, 0u);
    MRegistryStore::Free();
    EXPECT_EQ(QuickCheck(sandbox.DatabaseFile()), "ok");
    EXPECT_EQ(std::filesystem::file_size(aside), size);
}

// Stores the game can read but not write keep their values visible; every
// write fails, and why is told.
TEST(RegistryStore, AStoreThatCannotBeWrittenIsReadAndSaysWhy) {
    struct Case {
        const char* name;
        const char* table;
        bool blockJournals;  // a journal cannot be made beside it, as on a full or read-only disk
    };
    const Case cases[] = {
        {"a table without its primary key", "CREATE TABLE registry(subkey TEXT, name TEXT, type INTEGER, data BLOB)",
         false},
        {"a table of another shape",
         "CREATE TABLE registry(subkey TEXT, name TEXT, type INTEGER, data BLOB, owner TEXT NOT NULL, "
         "PRIMARY KEY (subkey, name, owner))",
         false},
        {"no journal can be made",
         "CREATE TABLE registry(subkey TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE, "
         "type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY (subkey, name)) WITHOUT ROWID",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsSandbox sandbox;
        std::filesystem::create_directories(sandbox.Root());
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(sandbox.DatabaseFile().c_str(), &db), SQLITE_OK);
        const std::string fill = std::string(c.table) +
                                 (std::strstr(c.table, "owner") ? ";INSERT INTO registry VALUES('Config','BestScore',4,"
                                                                  "x'D2040000','me')"
                                                                : ";INSERT INTO registry VALUES('Config','BestScore',4,"
                                                                  "x'D2040000')");
        ASSERT_EQ(sqlite3_exec(db, fill.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
        if (c.blockJournals)
            for (const char* suffix : {"-wal", "-journal"})
                std::filesystem::create_directory(sandbox.DatabaseFile() + suffix);
        const auto size = std::filesystem::file_size(sandbox.DatabaseFile());

        DWORD best = 0;
        EXPECT_EQ(Store()->ReadDword(&best, "BestScore", 0, "Config"), ERROR_SUCCESS);
        EXPECT_EQ(best, 1234u);
        EXPECT_NE(Store()->WriteDword("BestScore", 2000, "Config"), ERROR_SUCCESS);
        MRegistryTransaction records;
        EXPECT_FALSE(records.Began());
        EXPECT_NE(Store()->WhyNotWritable(), "");
        EXPECT_EQ(Store()->ReadDword(&best, "BestScore", 0, "Config"), ERROR_SUCCESS);
        EXPECT_EQ(best, 1234u);
        MRegistryStore::Free();
        EXPECT_EQ(std::filesystem::file_size(sandbox.DatabaseFile()), size);
    }
}

TEST(RegistryStore, NamesIgnoreCaseAsInARegistry) {
    SettingsSandbox sandbox;
    ASSERT_EQ(Store()->WriteDword("MusicVolume", 40, "Config"), ERROR_SUCCESS);
    DWORD number = 0;
    EXPECT_EQ(Store()->ReadDword(&number, "musicvolume", 0, "config"), ERROR_SUCCESS);
    EXPECT_EQ(number, 40u);
}

}  // namespace
