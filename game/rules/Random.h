#pragma once
// The random source lives in the engine, which the fade actor shares.
#include "common/scene/Random.h"
