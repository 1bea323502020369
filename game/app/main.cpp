// Zanbor: the program reads no command line.
#include "game/app/CGameApp.h"
#include "game/app/CGameScreen.h"

int main() {
    StartupReport::Mark("main");
    return ApplicationMain(CreateGameApp);
}
