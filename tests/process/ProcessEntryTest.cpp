// The process entry as a whole: real child processes of the game and of a probe.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/support/ChildProcess.h"
#include "tests/support/SettingsSandbox.h"

namespace {

class ProcessEntry : public testing::Test {
protected:
    void SetUp() override {
        runtime = MakeTempFolder("runtime");
        config = MakeTempFolder("config");
        // Headless, and with no display to put a message box on, so nothing can wait for a click.
        environment = {{"SDL_VIDEODRIVER", "dummy"}, {"SDL_AUDIODRIVER", "dummy"}, {"DISPLAY", ""},
                       {"WAYLAND_DISPLAY", ""},      {"XDG_RUNTIME_DIR", runtime}, {"XDG_CONFIG_HOME", config}};
    }
    void TearDown() override {
        RemoveTree(runtime);
        RemoveTree(config);
    }

    // True once some process holds the instance lock.
    bool LockHeld() { return LockHeldAt(runtime + "/Zanbor.lock"); }
    bool LockHeldAt(const std::string& path) {
        int fd = open(path.c_str(), O_RDWR);
        if (fd < 0) return false;
        bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
        if (!held) flock(fd, LOCK_UN);
        close(fd);
        return held;
    }

    std::string runtime, config;
    ChildProcess::Environment environment;
};

TEST_F(ProcessEntry, ASecondInstanceExitsAtOnceWithZeroAndTheFirstRunsOn) {
    ChildProcess first(BinaryFolder() + "/zanbor", environment);
    for (int i = 0; i < 500 && !LockHeld(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(LockHeld()) << first.Stderr();

    auto start = std::chrono::steady_clock::now();
    ChildProcess second(BinaryFolder() + "/zanbor", environment);
    EXPECT_EQ(second.Wait(10000), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(second.Stderr(), "");
    EXPECT_TRUE(first.Running());

    // Asked to end by the desktop, the first closes as if its window were closed: code 0.
    first.Signal(SIGTERM);
    EXPECT_EQ(first.Wait(10000), 0) << first.Stderr();
}

// Without a runtime folder the lock must not lie where another user can make
// and hold it first (a shared temporary folder), or the game never starts.
TEST_F(ProcessEntry, WithoutARuntimeFolderAnotherUsersLockDoesNotKeepTheGameFromStarting) {
    const std::string tmp = MakeTempFolder("tmp");
    const std::string cache = MakeTempFolder("cache");
    chmod(tmp.c_str(), 01777);
    for (auto& [name, value] : environment)
        if (name == "XDG_RUNTIME_DIR") value = "";
    environment.push_back({"TMPDIR", tmp});
    environment.push_back({"XDG_CACHE_HOME", cache});
    // Another user's lock, made and held, in the shared folder.
    const std::string planted = tmp + "/Zanbor-" + std::to_string(getuid()) + ".lock";
    int fd = open(planted.c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    if (getuid() == 0) {
        ASSERT_EQ(fchown(fd, 65534, 65534), 0);
    }
    ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);

    ChildProcess first(BinaryFolder() + "/zanbor", environment);
    const std::string mine = cache + "/Zanbor/Zanbor.lock";
    for (int i = 0; i < 500 && !LockHeldAt(mine) && first.Running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(first.Running()) << "the game gave way to a lock it does not own";
    EXPECT_TRUE(LockHeldAt(mine));
    // The guard still works: a second copy of the same user exits at once.
    ChildProcess second(BinaryFolder() + "/zanbor", environment);
    EXPECT_EQ(second.Wait(10000), 0);
    EXPECT_TRUE(first.Running());
    first.Signal(SIGTERM);
    EXPECT_EQ(first.Wait(10000), 0) << first.Stderr();
    close(fd);
    RemoveTree(tmp);
    RemoveTree(cache);
}

// Copies started in different sessions share one settings store: its lock refuses the second.
TEST_F(ProcessEntry, ASecondCopyOfAnotherSessionOnTheSameSettingsExitsAtOnce) {
    ChildProcess first(BinaryFolder() + "/zanbor", environment);
    const std::string storeLock = config + "/Brevant/Zanbor/Zanbor.lock";
    for (int i = 0; i < 500 && !LockHeldAt(storeLock); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(LockHeldAt(storeLock)) << first.Stderr();
    const std::string otherRuntime = MakeTempFolder("runtime2");
    for (auto& [name, value] : environment)
        if (name == "XDG_RUNTIME_DIR") value = otherRuntime;
    ChildProcess second(BinaryFolder() + "/zanbor", environment);
    EXPECT_EQ(second.Wait(10000), 0);
    EXPECT_FALSE(LockHeldAt(otherRuntime + "/Zanbor.lock"));  // nor does it keep its session's lock
    EXPECT_TRUE(first.Running());
    first.Signal(SIGTERM);
    EXPECT_EQ(first.Wait(10000), 0) << first.Stderr();
    RemoveTree(otherRuntime);
}

// With no display and no driver asked for, SDL would fall back on one that
// shows nothing: the start says so and ends, leaving the lock free.
TEST_F(ProcessEntry, WithoutADisplayTheStartSaysSoAndEndsHoldingNoLock) {
    for (auto& [name, value] : environment)
        if (name == "SDL_VIDEODRIVER") value = "";
    ChildProcess game(BinaryFolder() + "/zanbor", environment);
    EXPECT_EQ(game.Wait(10000), 2);
    EXPECT_NE(game.Stderr().find("no display"), std::string::npos) << game.Stderr();
    EXPECT_FALSE(LockHeld());
}

TEST_F(ProcessEntry, AnEngineExceptionEndsTheProcessWithCodeOneAndItsFileAndLine) {
    environment.push_back({"ZANBOR_PROBE", "throw-init"});
    ChildProcess probe(BinaryFolder() + "/zanbor_entry_probe", environment);
    EXPECT_EQ(probe.Wait(20000), 1);
    EXPECT_NE(probe.Stderr().find("file: game/CProbeline: 42"), std::string::npos) << probe.Stderr();
}

TEST_F(ProcessEntry, AnExceptionFromAFrameEndsTheProcessTheSameWay) {
    environment.push_back({"ZANBOR_PROBE", "throw-frame"});
    ChildProcess probe(BinaryFolder() + "/zanbor_entry_probe", environment);
    EXPECT_EQ(probe.Wait(20000), 1);
    EXPECT_NE(probe.Stderr().find("file: common/CProbeline: 77"), std::string::npos) << probe.Stderr();
}

}  // namespace
