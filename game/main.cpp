// Zanbor: the program reads no command line.
#include "game/CGameApp.h"
#include "game/CGameScreen.h"

int main() {
    StartupReport::Mark("main");
    return ApplicationMain(CreateGameApp);
}
