#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/SettingsSandbox.h"

std::string BinaryFolder() {
#ifdef ZANBOR_BIN_DIR
    return ZANBOR_BIN_DIR;
#else
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    std::string self(path, static_cast<std::size_t>(n));
    return self.substr(0, self.find_last_of('/'));
#endif
}

ChildProcess::ChildProcess(const std::string& program, const Environment& environment) {
    static int counter = 0;
    stderrFile = "/tmp/zanbor-child-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + ".err";
    pid = fork();
    if (pid == 0) {
        for (const auto& [name, value] : environment) {
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        int err = open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (err >= 0) dup2(err, 2);
        int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, 0);
            dup2(null, 1);
        }
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

ChildProcess::~ChildProcess() {
    if (pid > 0 && !finished) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    unlink(stderrFile.c_str());
}

bool ChildProcess::Running() {
    if (finished || pid <= 0) return false;
    int status = 0;
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
        finished = true;
        exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return false;
    }
    return true;
}

int ChildProcess::Wait(int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Running()) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            finished = true;
            exitCode = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return exitCode;
}

void ChildProcess::Signal(int signal) {
    if (pid > 0 && !finished) kill(pid, signal);
}

std::string ChildProcess::Stderr() const {
    std::ifstream file(stderrFile);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}
