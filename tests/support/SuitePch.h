#pragma once
#pragma GCC system_header
// Headers every suite reads, compiled once per build: the test framework and
// SDL alone cost each test file about as long to parse as the rest of it.
// Only system headers belong here, so that a change to the game's own headers
// never rebuilds it.

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>
