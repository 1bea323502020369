#pragma once
// The game's command line: it plays with none; it answers --help and
// --version and ends; anything else is a mistake, answered with the usage.

#include <string>

struct CommandLineAnswer {
    bool play = true;     // no arguments: start the game
    int exitCode = 0;     // otherwise end with this code...
    std::string output;   // ...after writing this to the standard output
    std::string error;    // ...and this to the standard error
};

CommandLineAnswer ReadCommandLine(int argc, const char* const argv[]);
