#include "platform/storage/MRegistryStore.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>

#include "platform/app/MApplication.h"
#include "platform/core/MStrings.h"

namespace {

std::unique_ptr<MRegistryStore> gStore;

constexpr const char* kDatabaseName = "settings.sqlite";

// Creates every missing folder of path; false when one cannot be made.
bool MakeFolders(const std::string& path) {
    for (std::size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '/') continue;
        std::string part = path.substr(0, pos);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

bool IsDamage(int result) {
    int primary = result & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

// Why a file could not be made ready for writing, in the player's words, then SQLite's.
std::string WriteProblem(int result, const char* detail) {
    const int primary = result & 0xFF;
    const char* why = primary == SQLITE_FULL ? "the disk is full"
                      : primary == SQLITE_ERROR ? "it holds a table of another shape, written by another program or version"
                                                : "the file or its folder cannot be written";
    return std::string(why) + ": " + (detail ? detail : "");
}

std::string CurrentRoot() { return gApplication ? gApplication->registryRoot : std::string(); }

}  // namespace

MRegistryStore::MRegistryStore(HKEY hive) : hive(hive) {}

MRegistryStore::~MRegistryStore() { Close(); }

MRegistryStore* MRegistryStore::Get(HKEY hive) {
    if (!gStore) gStore.reset(new MRegistryStore(hive));
    return gStore.get();
}

void MRegistryStore::Free() { gStore.reset(); }

std::string MRegistryStore::DatabasePath(const std::string& root) { return root + "/" + kDatabaseName; }

void MRegistryStore::Close() {
    for (sqlite3_stmt** statement : {&selectStatement, &upsertStatement, &deleteStatement}) {
        sqlite3_finalize(*statement);
        *statement = nullptr;
    }
    if (db) sqlite3_close_v2(db);
    db = nullptr;
    openPath.clear();
    readOnly = false;
    if (transactionDepth > 0) transactionBroken = true;
}

void MRegistryStore::SetAside() {
    std::string path = openPath;
    Close();
    if (path.empty() || !FileExists(path)) return;
    // Keep the damaged file for inspection under a name that is not in use yet.
    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
    std::string aside = path + ".damaged-" + stamp;
    for (int n = 1; FileExists(aside); ++n) aside = path + ".damaged-" + stamp + "-" + std::to_string(n);
    if (std::rename(path.c_str(), aside.c_str()) != 0) return;
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        std::string extra = path + suffix;
        if (FileExists(extra)) std::rename(extra.c_str(), (aside + suffix).c_str());
    }
    damagedCopy = aside;  // recovered by the next open
}

void MRegistryStore::Recover() {
    const std::string from = std::move(damagedCopy);
    damagedCopy.clear();
    int recovered = 0;
    sqlite3* old = nullptr;
    if (sqlite3_open_v2(from.c_str(), &old, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* rows = nullptr;
        // Row by row up to the first damaged page: what comes before it is kept.
        if (sqlite3_prepare_v2(old, "SELECT subkey, name, type, data FROM registry", -1, &rows, nullptr) == SQLITE_OK &&
            sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK) {
            while (sqlite3_step(rows) == SQLITE_ROW) {
                for (int column = 0; column < 2; ++column)
                    sqlite3_bind_text(upsertStatement, column + 1,
                                      reinterpret_cast<const char*>(sqlite3_column_text(rows, column)), -1,
                                      SQLITE_TRANSIENT);
                sqlite3_bind_int(upsertStatement, 3, sqlite3_column_int(rows, 2));
                sqlite3_bind_blob(upsertStatement, 4, sqlite3_column_blob(rows, 3), sqlite3_column_bytes(rows, 3),
                                  SQLITE_TRANSIENT);
                recovered += sqlite3_step(upsertStatement) == SQLITE_DONE;
                sqlite3_reset(upsertStatement);
            }
            if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
                recovered = 0;
            }
        }
        sqlite3_finalize(rows);
    }
    if (old) sqlite3_close_v2(old);
    notice = "Your settings file was damaged and was kept as " + from + "; " + std::to_string(recovered) +
             (recovered == 1 ? " value was" : " values were") + " recovered from it.";
}

std::string MRegistryStore::WhyNotWritable() {
    return Open(false) && readOnly ? writeProblem : std::string();
}

std::string MRegistryStore::TakeNotice() {
    Open(false);  // a damaged file is found, and recovered, on opening
    std::string taken = std::move(notice);
    notice.clear();
    return taken;
}

LONG MRegistryStore::Fail(int sqliteResult) {
    if (IsDamage(sqliteResult)) {
        SetAside();
        return ERROR_BADDB;
    }
    return ERROR_CANTWRITE;
}

sqlite3* MRegistryStore::Open(bool create) {
    std::string root = CurrentRoot();
    if (root.empty()) return nullptr;
    std::string path = DatabasePath(root);
    if (db && openPath == path) return db;
    if (transactionDepth > 0) return nullptr;  // never switch files inside a transaction
    Close();

    // A damaged file moved aside: the fresh one is made at once, with what it held.
    if (!damagedCopy.empty()) create = true;
    if (!FileExists(path)) {
        if (!create || !MakeFolders(root)) return nullptr;
    }
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        if (db) sqlite3_close_v2(db);
        db = nullptr;
        return nullptr;
    }
    openPath = path;
    sqlite3_busy_timeout(db, 2000);
    sqlite3_extended_result_codes(db, 1);

    // A damaged page is not reported by the open, only when something reads
    // it: check the whole file now, before anything is written into it.
    int result = CheckFile();
    if (result == SQLITE_OK) result = PrepareForWriting();
    if (result == SQLITE_OK) {
        if (!damagedCopy.empty()) Recover();
        return db;
    }
    if (IsDamage(result)) {
        SetAside();
        return nullptr;
    }
    // Readable but not writable: the values stay visible, writes fail.
    writeProblem = WriteProblem(result, sqlite3_errmsg(db));
    if (!OpenForReading(path)) {
        Close();
        return nullptr;
    }
    return db;
}

bool MRegistryStore::OpenForReading(const std::string& path) {
    Close();
    // Read only; failing that (a journal that cannot be made beside it), as a
    // file nothing else changes while it is open.
    const std::string names[] = {path, "file:" + path + "?immutable=1"};
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::string& name = names[attempt];
        const int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | (attempt == 1 ? SQLITE_OPEN_URI : 0);
        if (sqlite3_open_v2(name.c_str(), &db, flags, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(db, "SELECT data FROM registry WHERE subkey = ?1 AND name = ?2", -1,
                               &selectStatement, nullptr) == SQLITE_OK) {
            openPath = path;
            readOnly = true;
            sqlite3_extended_result_codes(db, 1);
            return true;
        }
        sqlite3_finalize(selectStatement);
        selectStatement = nullptr;
        if (db) sqlite3_close_v2(db);
        db = nullptr;
    }
    return false;
}

int MRegistryStore::PrepareForWriting() {
    // Each commit reaches the disk before the write returns; WAL keeps that to
    // one sync per commit and makes an interrupted transaction vanish on reopen.
    int result = sqlite3_exec(db,
                              "PRAGMA journal_mode=WAL;"
                              "PRAGMA synchronous=FULL;"
                              "CREATE TABLE IF NOT EXISTS registry("
                              " subkey TEXT NOT NULL COLLATE NOCASE,"
                              " name TEXT NOT NULL COLLATE NOCASE,"
                              " type INTEGER NOT NULL,"
                              " data BLOB NOT NULL,"
                              " PRIMARY KEY (subkey, name)) WITHOUT ROWID;",
                              nullptr, nullptr, nullptr);
    if (result == SQLITE_OK)
        result = sqlite3_prepare_v2(db, "SELECT data FROM registry WHERE subkey = ?1 AND name = ?2", -1,
                                    &selectStatement, nullptr);
    if (result == SQLITE_OK)
        result = sqlite3_prepare_v2(db,
                                    "INSERT INTO registry(subkey, name, type, data) VALUES (?1, ?2, ?3, ?4)"
                                    " ON CONFLICT(subkey, name) DO UPDATE SET type = excluded.type, data = excluded.data",
                                    -1, &upsertStatement, nullptr);
    if (result == SQLITE_OK)
        result = sqlite3_prepare_v2(db, "DELETE FROM registry WHERE subkey = ?1 AND name = ?2", -1,
                                    &deleteStatement, nullptr);
    return result;
}

int MRegistryStore::CheckFile() {
    sqlite3_stmt* check = nullptr;
    int result = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &check, nullptr);
    if (result != SQLITE_OK) {
        sqlite3_finalize(check);
        return result;
    }
    // One row "ok" for a sound file; otherwise one row per fault found.
    result = sqlite3_step(check);
    if (result == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(check, 0);
        result = text && std::strcmp(reinterpret_cast<const char*>(text), "ok") == 0 ? SQLITE_OK : SQLITE_CORRUPT;
    } else if (result == SQLITE_DONE) {
        result = SQLITE_OK;
    }
    sqlite3_finalize(check);
    return result;
}

LONG MRegistryStore::Read(const char* valueName, const char* subKey, std::string* data) {
    if (!Open(false)) return ERROR_FILE_NOT_FOUND;
    sqlite3_stmt* statement = selectStatement;
    sqlite3_bind_text(statement, 1, subKey ? subKey : "", -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, valueName ? valueName : "", -1, SQLITE_TRANSIENT);
    int result = sqlite3_step(statement);
    LONG code = ERROR_SUCCESS;
    if (result == SQLITE_ROW) {
        const void* bytes = sqlite3_column_blob(statement, 0);
        int size = sqlite3_column_bytes(statement, 0);
        data->assign(static_cast<const char*>(bytes ? bytes : ""), static_cast<std::size_t>(size));
    } else if (result == SQLITE_DONE) {
        code = ERROR_FILE_NOT_FOUND;
    } else {
        sqlite3_reset(statement);
        Fail(result);
        return ERROR_FILE_NOT_FOUND;
    }
    sqlite3_reset(statement);
    return code;
}

LONG MRegistryStore::ReadDword(DWORD* out, const char* valueName, DWORD defaultValue, const char* subKey) {
    std::string data;
    LONG code = Read(valueName, subKey, &data);
    if (code == ERROR_SUCCESS && data.size() > sizeof(DWORD)) code = ERROR_MORE_DATA;
    if (!out) return code;
    if (code != ERROR_SUCCESS) {
        *out = defaultValue;
        return code;
    }
    // The stored type is not checked: the bytes are taken as they are, little-endian.
    DWORD value = 0;
    for (std::size_t i = 0; i < data.size(); ++i)
        value |= static_cast<DWORD>(static_cast<unsigned char>(data[i])) << (8 * i);
    *out = value;
    return code;
}

LONG MRegistryStore::ReadString(char* out, const char* valueName, const char* defaultValue, const char* subKey,
                                DWORD size) {
    std::string data;
    LONG code = Read(valueName, subKey, &data);
    // Stored strings carry no terminator; the caller's buffer must hold one too.
    if (code == ERROR_SUCCESS && data.size() >= size) code = ERROR_MORE_DATA;
    if (!out || size == 0) return code;
    if (code != ERROR_SUCCESS) {
        MStrings::Copy(out, size, defaultValue);
        return code;
    }
    std::memcpy(out, data.data(), data.size());
    out[data.size()] = '\0';
    return code;
}

LONG MRegistryStore::Write(const char* valueName, const char* subKey, int type, const void* data, int size) {
    if (transactionBroken) return ERROR_CANTWRITE;
    if (!Open(true) || readOnly) return ERROR_ACCESS_DENIED;
    sqlite3_stmt* statement = upsertStatement;
    sqlite3_bind_text(statement, 1, subKey ? subKey : "", -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, valueName ? valueName : "", -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(statement, 3, type);
    sqlite3_bind_blob(statement, 4, size > 0 ? data : "", size, SQLITE_TRANSIENT);
    int result = sqlite3_step(statement);
    sqlite3_reset(statement);
    if (result == SQLITE_DONE) return ERROR_SUCCESS;
    // A transaction missing one of its writes must not be committed.
    if (transactionDepth > 0) transactionBroken = true;
    return Fail(result);
}

LONG MRegistryStore::WriteDword(const char* valueName, DWORD value, const char* subKey) {
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    return Write(valueName, subKey, REG_DWORD, bytes, 4);
}

LONG MRegistryStore::WriteString(const char* valueName, const char* value, const char* subKey) {
    const char* text = value ? value : "";
    return Write(valueName, subKey, REG_SZ, text, static_cast<int>(std::strlen(text)));
}

LONG MRegistryStore::DeleteValue(const char* subKey, const char* valueName) {
    if (transactionBroken) return ERROR_CANTWRITE;
    if (!Open(false)) return ERROR_FILE_NOT_FOUND;
    if (readOnly) return ERROR_ACCESS_DENIED;
    sqlite3_stmt* statement = deleteStatement;
    sqlite3_bind_text(statement, 1, subKey ? subKey : "", -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, valueName ? valueName : "", -1, SQLITE_TRANSIENT);
    int result = sqlite3_step(statement);
    sqlite3_reset(statement);
    if (result != SQLITE_DONE) {
        if (transactionDepth > 0) transactionBroken = true;
        return Fail(result);
    }
    return sqlite3_changes(db) > 0 ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG MRegistryStore::BeginTransaction() {
    if (transactionDepth > 0) {
        if (transactionBroken) return ERROR_CANTWRITE;
        ++transactionDepth;
        return ERROR_SUCCESS;
    }
    transactionBroken = false;
    if (!Open(true) || readOnly) return ERROR_ACCESS_DENIED;
    int result = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (result != SQLITE_OK) return Fail(result);
    transactionDepth = 1;
    return ERROR_SUCCESS;
}

LONG MRegistryStore::CommitTransaction() {
    if (transactionDepth == 0) return ERROR_INVALID_PARAMETER;
    if (--transactionDepth > 0) return transactionBroken ? ERROR_CANTWRITE : ERROR_SUCCESS;
    if (transactionBroken || !db) {
        if (db) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        transactionBroken = false;
        return ERROR_CANTWRITE;
    }
    int result = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (result == SQLITE_OK) return ERROR_SUCCESS;
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return Fail(result);
}

void MRegistryStore::RollbackTransaction() {
    if (transactionDepth == 0) return;
    // A rollback anywhere spoils the whole outermost transaction.
    transactionBroken = true;
    if (--transactionDepth > 0) return;
    if (db) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    transactionBroken = false;
}

MRegistryTransaction::MRegistryTransaction() {
    began = MRegistryStore::Get(HKEY_LOCAL_MACHINE)->BeginTransaction() == ERROR_SUCCESS;
}

MRegistryTransaction::~MRegistryTransaction() {
    if (began && !done) MRegistryStore::Get(HKEY_LOCAL_MACHINE)->RollbackTransaction();
}

LONG MRegistryTransaction::Commit() {
    if (!began || done) return ERROR_CANTWRITE;
    done = true;
    return MRegistryStore::Get(HKEY_LOCAL_MACHINE)->CommitTransaction();
}
