#pragma once
// The settings store: 32-bit numbers and strings addressed by a subkey (relative
// to the application's settings root) and a value name, as in a hierarchical
// registry. The values live in one SQLite database inside the root folder.
//
// Results are the registry's error codes: ERROR_SUCCESS (0) on success. Readers
// fall back to the caller's default on any failure; writers create the root
// folder and the database on first use. The database is checked when it is
// opened; a damaged one is moved aside and the next write starts a fresh one.

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
