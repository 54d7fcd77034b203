// The demo's music layer plays the generated stream: from a working
// directory beside data/, the backslashed path the demo passes finds the
// file, and the stream's position moves forward as it plays.
#include "DemoFixture.h"

#include <SDL.h>

#include <chrono>
#include <thread>

namespace
{

class MusicLayer : public DemoFixture
{
};

TEST_F(MusicLayer, PlaysTheGeneratedStreamFromTheDemosPath)
{
    context->playMusic("..\\data\\stream\\kiru.ogg");
    const float start = context->musicPosition();
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    const float later = context->musicPosition();
    // The dummy driver drains the mix in real time, give or take a buffer.
    EXPECT_GT(later, start + 0.2f) << "the stream did not play";
    EXPECT_LT(later, 5.0f);
    context->stopMusic();
}

} // namespace
