// Zanbor: the program. It answers --help and --version; otherwise it plays.
#include <cstdio>

#include "game/app/CGameApp.h"
#include "game/app/CGameScreen.h"
#include "game/app/CommandLine.h"

int main(int argc, char* argv[]) {
    const CommandLineAnswer answer = ReadCommandLine(argc, argv);
    if (!answer.play) {
        std::fputs(answer.output.c_str(), stdout);
        std::fputs(answer.error.c_str(), stderr);
        return answer.exitCode;
    }
    StartupReport::Mark("main");
    return ApplicationMain(CreateGameApp);
}
