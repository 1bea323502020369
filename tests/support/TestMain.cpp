#include <gtest/gtest.h>

#include "tests/support/Headless.h"

int main(int argc, char** argv) {
    UseHeadlessDrivers();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
