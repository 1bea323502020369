// Zanbor: the program reads no command line.
#include "game/CShellApp.h"

int main() { return ApplicationMain(CreateShellApp); }
