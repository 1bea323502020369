// Zanbor: the program reads no command line.
#include "game/app/CGameApp.h"
#include "game/app/CGameScreen.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

int main() {
    StartupReport::Mark("main");
#ifdef __GLIBC__
    // Pictures, sounds and the buffers they are read through are large and
    // mostly short-lived: given their own mappings they go back to the system
    // when freed, instead of leaving holes in the heap that it cannot return.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024);
#endif
    return ApplicationMain(CreateGameApp);
}
