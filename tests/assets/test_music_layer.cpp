// The demo's music layer plays the generated stream: from a working
// directory beside data/, the backslashed path the demo passes finds the
// file, and the stream's position moves forward as it plays. A damaged
// stream neither crashes nor stalls the demo: it plays what it can, or the
// demo runs silently and says which file it could not play.
#include "DemoFixture.h"
#include "ScratchDataTree.h"

#include "demo/DemoStart.h"

#include <SDL.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
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

// A demo started part-way plays the music from there; a timeline that starts
// again takes it back to its start.
TEST_F(MusicLayer, AStartPartWayPlaysFromThereAndALoopFromTheStart)
{
    EffectDirector director;
    director.initAll();
    const float from = startDemoAt(director, 30.0f, "..\\data\\stream\\kiru.ogg");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_NEAR(context->musicPosition(), from + 0.3f, 0.2f);
    director.setLooping(true);
    context->addTime(EffectDirector::timelineEnd());
    director.tick(); // past the end: round again
    EXPECT_LT(context->musicPosition(), 0.2f);
    context->stopMusic();
}

TEST_F(MusicLayer, ADamagedStreamPlaysWhatItCanOrNothing)
{
    std::ifstream in(KIRUPO_DATA_DIR "/stream/kiru.ogg", std::ios::binary);
    std::ostringstream read;
    read << in.rdbuf();
    const std::string stream = read.str();
    ASSERT_GT(stream.size(), 100000u);
    std::mt19937 random(3);
    auto noise = [&random](std::size_t size) {
        std::string bytes(size, '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(random() & 0xff);
        return bytes;
    };
    struct Case
    {
        const char* what;
        std::string bytes;
        bool named; // whether the file cannot be opened at all, and is named on stderr
    };
    // The stream's first pages hold its headers; noise after them reaches the decoder itself.
    const Case cases[] = {
        {"empty", "", true},
        {"random bytes", noise(stream.size()), true},
        {"a picture", "\x89PNG\r\n\x1a\n" + noise(2000), true},
        {"cut in half", stream.substr(0, stream.size() / 2), false},
        {"noise after the headers", stream.substr(0, 8192) + noise(stream.size() - 8192), false},
        {"every 4 KiB page overwritten in part",
         [&] {
             std::string bytes = stream;
             for (std::size_t at = 6000; at + 64 < bytes.size(); at += 4096)
                 bytes.replace(at, 64, noise(64));
             return bytes;
         }(),
         false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ScratchDataTree tree;
        tree.writeFile("data/stream/kiru.ogg", c.bytes);
        // A fresh context for each: stopping the music closes its audio system.
        context.reset();
        context.reset(new DemoContext(device));
        testing::internal::CaptureStderr();
        context->playMusic("..\\data\\stream\\kiru.ogg");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const float position = context->musicPosition();
        context->stopMusic();
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_GE(position, 0.0f);
        EXPECT_LT(position, 5.0f);
        EXPECT_EQ(errors.find("cannot play ../data/stream/kiru.ogg") != std::string::npos, c.named) << errors;
    }
}

} // namespace
