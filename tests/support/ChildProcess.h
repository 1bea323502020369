#pragma once
// Starts a program as a child process with extra environment settings, and
// waits for it with a time limit, so that a test can never hang on a child.

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

class ChildProcess {
public:
    // Variables set to an empty value are removed from the child's environment.
    using Environment = std::vector<std::pair<std::string, std::string>>;

    ChildProcess(const std::string& program, const Environment& environment);
    ~ChildProcess();  // kills the child if it still runs

    // Waits up to timeoutMs; the exit code, or -1 on a time-out (the child is then
    // killed) or when it died of a signal.
    int Wait(int timeoutMs);
    bool Running();
    void Signal(int signal);
    // What the child wrote to its standard error so far.
    std::string Stderr() const;

private:
    pid_t pid = -1;
    int exitCode = -1;
    bool finished = false;
    std::string stderrFile;
};

// The folder of the test programs and the game (the build's bin folder).
std::string BinaryFolder();
