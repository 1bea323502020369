// The program's command line, run for real: --help and --version answer and
// end with 0 (without a display, a sound device or the instance lock), and
// anything else prints the usage and ends with 2.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/ChildProcess.h"

namespace {

struct ArgumentsRun {
    int exitCode = -1;
    std::string output;  // standard output and error, in that order
};

ArgumentsRun RunZanborWith(const std::string& arguments, const std::string& streams) {
    const std::string command = "DISPLAY= WAYLAND_DISPLAY= SDL_VIDEODRIVER= '" + BinaryFolder() + "/zanbor' " +
                                arguments + " " + streams;
    ArgumentsRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char chunk[512];
    while (std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) run.output.append(chunk, n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The version the package is built as: the changelog's first line, "zanbor (0.1.0) ...".
std::string ChangelogVersion() {
    std::ifstream in(std::string(ZANBOR_SOURCE_DIR) + "/debian/changelog");
    std::string line;
    std::getline(in, line);
    const std::size_t open = line.find('('), close = line.find(')');
    return open == std::string::npos || close == std::string::npos ? "" : line.substr(open + 1, close - open - 1);
}

TEST(CommandLine, HelpAndVersionAnswerOnStandardOutputAndEndWithZero) {
    const struct {
        const char* arguments;
        std::string expected;
    } cases[] = {
        {"--version", "zanbor " + ChangelogVersion() + "\n"},
        {"--help", "Usage: zanbor [--help | --version]\n"},
        {"-h", "Usage: zanbor [--help | --version]\n"},
        {"--help --version", "Usage: zanbor [--help | --version]\n"},
    };
    for (const auto& c : cases) {
        const ArgumentsRun run = RunZanborWith(c.arguments, "2>/dev/null");
        EXPECT_EQ(run.exitCode, 0) << c.arguments;
        EXPECT_EQ(run.output.substr(0, c.expected.size()), c.expected) << c.arguments;
    }
}

TEST(CommandLine, AnUnknownOptionPrintsTheUsageOnStandardErrorAndEndsWithTwo) {
    for (const char* arguments : {"--fullscreen", "--version extra", "-"}) {
        EXPECT_EQ(RunZanborWith(arguments, "2>/dev/null").output, "") << arguments;
        const ArgumentsRun run = RunZanborWith(arguments, "2>&1 >/dev/null");
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_NE(run.output.find("unknown option"), std::string::npos) << arguments << ": " << run.output;
        EXPECT_NE(run.output.find("Usage: zanbor"), std::string::npos) << arguments;
    }
}

}  // namespace
