#pragma once
// Folders the program looks in for its data.

#include <string>

// The folder holding the running program (without a trailing separator).
std::string GetProgramFolder();

// The folder an installation puts the asset archive in.
std::string GetInstalledDataFolder();
