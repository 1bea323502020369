// The single-instance lock: where it lies, and what it refuses to use.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/app/MInstanceLock.h"
#include "tests/support/SettingsSandbox.h"

namespace {

// Sets (or, for an empty value, removes) an environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name(name) {
        if (const char* old = std::getenv(name)) previous = old;
        if (value.empty())
            unsetenv(name);
        else
            setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (previous)
            setenv(name, previous->c_str(), 1);
        else
            unsetenv(name);
    }

private:
    const char* name;
    std::optional<std::string> previous;
};

bool IsPrivateFolder(const std::string& folder) {
    struct stat info {};
    return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
           (info.st_mode & 077) == 0;
}

std::string FolderOf(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }

class InstanceLock : public testing::Test {
protected:
    void SetUp() override { top = MakeTempFolder("lock"); }
    void TearDown() override { RemoveTree(top); }
    // A folder below top with the given mode.
    std::string Folder(const char* name, mode_t mode) {
        std::string folder = top + "/" + name;
        mkdir(folder.c_str(), 0700);
        chmod(folder.c_str(), mode);
        return folder;
    }
    std::string top;
};

// Where the lock lies for each environment: always in a folder only the user can add files to.
TEST_F(InstanceLock, ItLiesInAFolderOnlyTheUserCanCreateFilesIn) {
    const std::string runtime = Folder("runtime", 0700);
    const std::string open = Folder("open", 0777);
    const std::string cache = top + "/cache";
    const std::string tmp = Folder("tmp", 01777);
    struct Case {
        std::string runtime, cache, home, expectedFolder;
    } cases[] = {
        {runtime, cache, top, runtime},                // the session's runtime folder
        {"", cache, top, cache + "/Zanbor"},           // none: the user's cache
        {"", "", top + "/home", top + "/home/.cache/Zanbor"},
        {open, cache, top, cache + "/Zanbor"},         // a runtime folder others may write to is passed over
        {"relative", "", "", tmp + "/Zanbor-" + std::to_string(getuid())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("runtime '" + c.runtime + "' cache '" + c.cache + "' home '" + c.home + "'");
        ScopedEnv r("XDG_RUNTIME_DIR", c.runtime), k("XDG_CACHE_HOME", c.cache), h("HOME", c.home), t("TMPDIR", tmp);
        MInstanceLock lock;
        ASSERT_EQ(lock.Acquire("Zanbor"), MInstanceLock::kAcquired);
        EXPECT_EQ(lock.Path(), c.expectedFolder + "/Zanbor.lock");
        EXPECT_TRUE(IsPrivateFolder(FolderOf(lock.Path())));
        // A second holder in any process (here another open of the file) is refused.
        MInstanceLock second;
        EXPECT_EQ(second.Acquire("Zanbor"), MInstanceLock::kHeldElsewhere);
        lock.Release();
        EXPECT_EQ(second.Acquire("Zanbor"), MInstanceLock::kAcquired);
    }
}

// Somebody else's things in the lock's place are neither followed nor locked:
// they could otherwise keep the game from ever starting.
TEST_F(InstanceLock, LinksAndFilesOfOtherUsersAreNotUsed) {
    const std::string runtime = Folder("runtime", 0700);
    const std::string cache = top + "/cache";
    ScopedEnv r("XDG_RUNTIME_DIR", runtime), k("XDG_CACHE_HOME", cache), t("TMPDIR", Folder("tmp", 01777));

    // A link planted at the lock's name: the target is never created or locked.
    const std::string target = top + "/target";
    ASSERT_EQ(symlink(target.c_str(), (runtime + "/Zanbor.lock").c_str()), 0);
    {
        MInstanceLock lock;
        EXPECT_EQ(lock.Acquire("Zanbor"), MInstanceLock::kAcquired);
        EXPECT_EQ(lock.Path(), cache + "/Zanbor/Zanbor.lock");
        EXPECT_FALSE(std::filesystem::exists(target));
    }
    // A link in place of the private folder is not entered either.
    std::filesystem::remove(runtime + "/Zanbor.lock");
    std::filesystem::remove_all(cache);
    const std::string elsewhere = Folder("elsewhere", 0700);
    std::filesystem::create_directories(cache);
    ASSERT_EQ(symlink(elsewhere.c_str(), (cache + "/Zanbor").c_str()), 0);
    {
        ScopedEnv noRuntime("XDG_RUNTIME_DIR", "");
        MInstanceLock lock;
        EXPECT_EQ(lock.Acquire("Zanbor"), MInstanceLock::kAcquired);
        EXPECT_NE(FolderOf(lock.Path()), cache + "/Zanbor");
        EXPECT_FALSE(std::filesystem::exists(elsewhere + "/Zanbor.lock"));
    }
    if (getuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    // A lock file of another user, held by that user: passed over, not waited on.
    const std::string foreign = runtime + "/Zanbor.lock";
    int fd = open(foreign.c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fchown(fd, 65534, 65534), 0);
    ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    {
        MInstanceLock lock;
        EXPECT_EQ(lock.Acquire("Zanbor"), MInstanceLock::kAcquired);
        EXPECT_NE(lock.Path(), foreign);
    }
    close(fd);
}

}  // namespace
