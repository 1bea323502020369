#pragma once
// The settings store: 32-bit numbers and strings addressed by a subkey (relative
// to the application's settings root) and a value name, as in a hierarchical
// registry. The values live in one SQLite database inside the root folder.
//
// Results are the registry's error codes: ERROR_SUCCESS (0) on success. Readers
// fall back to the caller's default on any failure; writers create the root
// folder and the database on first use. The database is checked when it is
// opened; a damaged one is moved aside and a fresh one starts with every value
// that could still be read from it. A database that can be read but not
// written (a read-only or full disk, a table of another shape) is opened for
// reading: its values stay visible and every write fails.

#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

using DWORD = std::uint32_t;
using LONG = std::int32_t;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_CANTWRITE = 1013;
constexpr LONG ERROR_BADDB = 1009;

// Stored value types, with the registry's numbers.
constexpr int REG_SZ = 1;
constexpr int REG_DWORD = 4;

// The predefined hive. There is one; every caller passes it.
enum HKEY { HKEY_LOCAL_MACHINE = 0 };

class MRegistryStore {
public:
    // The process-wide store, created on first use.
    static MRegistryStore* Get(HKEY hive);
    // Frees the store (closing its database); the next Get makes a new one.
    static void Free();

    LONG ReadDword(DWORD* out, const char* valueName, DWORD defaultValue, const char* subKey);
    LONG ReadString(char* out, const char* valueName, const char* defaultValue, const char* subKey, DWORD size);
    LONG WriteDword(const char* valueName, DWORD value, const char* subKey);
    LONG WriteString(const char* valueName, const char* value, const char* subKey);
    LONG DeleteValue(const char* subKey, const char* valueName);

    // Transactions nest; only the outermost commits. Use MRegistryTransaction.
    LONG BeginTransaction();
    LONG CommitTransaction();
    void RollbackTransaction();

    // Why values cannot be saved (the existing database opens only for
    // reading), or "" when they can or no database exists yet.
    std::string WhyNotWritable();
    // What the player should hear once about the settings file (moved aside
    // as damaged, with how much was recovered), then "".
    std::string TakeNotice();

    // The database file below a settings root folder.
    static std::string DatabasePath(const std::string& root);

    ~MRegistryStore();

private:
    explicit MRegistryStore(HKEY hive);

    // Opens (or reuses) the database of the current root. With create, makes the
    // folder and the file; otherwise only an existing file is opened.
    sqlite3* Open(bool create);
    void Close();
    // Runs SQLite's quick check on the open file: SQLITE_OK when sound,
    // SQLITE_CORRUPT (or the error met) otherwise.
    int CheckFile();
    // Makes the table and the statements for reading and writing.
    int PrepareForWriting();
    // Opens path again for reading only, with the reading statement.
    bool OpenForReading(const std::string& path);
    // Copies what can be read from the file moved aside into the open, fresh database.
    void Recover();
    // Called when SQLite reports a damaged file: moves it aside.
    void SetAside();
    LONG Fail(int sqliteResult);
    LONG Write(const char* valueName, const char* subKey, int type, const void* data, int size);
    LONG Read(const char* valueName, const char* subKey, std::string* data);

    HKEY hive;
    sqlite3* db = nullptr;
    std::string openPath;
    sqlite3_stmt* selectStatement = nullptr;
    sqlite3_stmt* upsertStatement = nullptr;
    sqlite3_stmt* deleteStatement = nullptr;
    bool readOnly = false;
    std::string writeProblem;  // why the open database is read only
    std::string damagedCopy;   // moved aside, its values not yet recovered
    std::string notice;
    int transactionDepth = 0;
    bool transactionBroken = false;
};

// Writes made while a transaction scope lives are kept together: Commit keeps
// all of them, leaving the scope without Commit (or a crash) keeps none.
class MRegistryTransaction {
public:
    MRegistryTransaction();
    ~MRegistryTransaction();
    MRegistryTransaction(const MRegistryTransaction&) = delete;
    MRegistryTransaction& operator=(const MRegistryTransaction&) = delete;

    // ERROR_SUCCESS when every write of the scope is now durable.
    LONG Commit();
    bool Began() const { return began; }

private:
    bool began = false;
    bool done = false;
};
