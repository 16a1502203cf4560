// main() of every test program: headless by default (dummy video and audio
// drivers unless the caller chose others), then GoogleTest.
#include <cstdlib>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
