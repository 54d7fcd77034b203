// The main of every pixel-test program: one private X display for the whole
// run. Listing the tests (test discovery) and the re-run child of a death
// test need none of their own.
#include "PrivateDisplay.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
bool needsDisplay(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0 ||
            std::strncmp(argv[i], "--gtest_internal_run_death_test", 31) == 0)
            return false;
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    const bool display = needsDisplay(argc, argv);
    // Pixel tests never want sound, and a machine without a sound card would
    // fill the log with the audio library's complaints.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    testing::InitGoogleTest(&argc, argv);
    PrivateDisplay privateDisplay;
    if (display)
    {
        std::string error;
        if (!privateDisplay.start(error))
        {
            std::fprintf(stderr, "pixel tests: %s\n", error.c_str());
            return 1;
        }
    }
    const int result = RUN_ALL_TESTS();
    privateDisplay.stop();
    return result;
}
