// Every test program starts here: SDL gets its headless drivers before any
// test runs, so nothing depends on the machine's display or sound card.
#include <gtest/gtest.h>
#include <cstdlib>

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
