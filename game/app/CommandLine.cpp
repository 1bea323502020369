#include "game/app/CommandLine.h"

#include <string_view>

namespace {

// A wrong command line ends with 2, as the shell's builtins do on misuse.
constexpr int kUsageExitCode = 2;

std::string Usage() {
    return "Usage: zanbor [--help | --version]\n"
           "A dice game of rows, columns and colours. Started without options it opens its\n"
           "window; its keys and the files it keeps are described in zanbor(6).\n"
           "  -h, --help  show this help and exit\n"
           "  --version   show the version and exit\n";
}

bool IsHelp(std::string_view option) { return option == "--help" || option == "-h"; }

}  // namespace

CommandLineAnswer ReadCommandLine(int argc, const char* const argv[]) {
    CommandLineAnswer answer;
    if (argc <= 1) return answer;
    answer.play = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (!IsHelp(option) && option != "--version") {
            answer.exitCode = kUsageExitCode;
            answer.error = "zanbor: unknown option '" + std::string(option) + "'\n" + Usage();
            return answer;
        }
    }
    // Known options only: the first is answered (as "--help --version" shows the help).
    answer.output = IsHelp(argv[1]) ? Usage() : "zanbor " ZANBOR_VERSION "\n";
    return answer;
}
