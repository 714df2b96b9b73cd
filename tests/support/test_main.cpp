// Every test binary runs headless: SDL's offscreen driver (unless the caller
// chose another) and message boxes answered from the test's script.
#include "platform/testing.h"
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    platform::testing::enterTestMode();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
