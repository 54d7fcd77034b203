// The title pulse section: the tile grid's black and coloured halves of each
// second and the sawtooth of the centred image, as drawn calls.
#include "DemoFixture.h"

#include "effects/Effect2500.h"

#include <cmath>
#include <string>

using namespace irr;

namespace
{
std::string nameOf(const video::ITexture* texture)
{
    return texture ? texture->getName().getPath().c_str() : "(none)";
}

class Effect2500Test : public DemoFixture
{
protected:
    // Draws the frame at local time t of a fresh effect: its first frame
    // (clock 0, dt ignored), then one step of t. Only that frame stays recorded.
    void drawFrameAt(float t)
    {
        effect.reset(new Effect2500);
        effect->init();
        driver.clearRecord();
        effect->update(3.0f);
        if (t != 0)
        {
            driver.clearRecord();
            effect->update(t);
        }
        ASSERT_EQ(effect->getLocalTime(), t);
        ASSERT_EQ(driver.images.size(), 41u);
    }

    video::SColor tileTint() const { return driver.images[0].colours[0]; }
    const core::recti& pulseDestination() const { return driver.images.back().destination; }

    std::unique_ptr<Effect2500> effect;
};
} // namespace

TEST_F(Effect2500Test, FirstFrameShowsBlackTilesUnderTheSmallestImage)
{
    Effect2500 loading;
    driver.clearRecord();
    loading.init();
    EXPECT_EQ(driver.texturesLoaded,
              (std::vector<std::string>{"../data/textures/lulu.png", "../data/textures/na!.png"}));

    drawFrameAt(0);
    // Background, then the 40 tiles, then the image; nothing through the 3D pipeline.
    std::vector<std::string> expected(42, "draw2DImage");
    expected[0] = "draw2DRectangle";
    EXPECT_EQ(driver.calls, expected);

    ASSERT_EQ(driver.rectangles.size(), 1u);
    EXPECT_EQ(driver.rectangles[0].colour, video::SColor(0xFF104000));
    EXPECT_EQ(driver.rectangles[0].area, core::recti(0, 0, 640, 480));
    EXPECT_FALSE(driver.rectangles[0].clipped);

    for (int i = 0; i < 8; ++i)
    {
        for (int j = 0; j < 5; ++j)
        {
            const RecordingDriver::Image& tile = driver.images[i * 5 + j];
            EXPECT_EQ(nameOf(tile.texture), "../data/textures/lulu.png");
            EXPECT_EQ(tile.destination, core::recti(128 * j, 60 * i, 128 * j + 128, 60 * i + 60)) << i << "," << j;
            EXPECT_EQ(tile.source, core::recti(0, 0, 32, 8));
            EXPECT_FALSE(tile.clipped);
            EXPECT_TRUE(tile.useAlphaChannel);
            ASSERT_TRUE(tile.tinted);
            for (const video::SColor& corner : tile.colours)
                EXPECT_EQ(corner, video::SColor(255, 0, 0, 0));
        }
    }

    const RecordingDriver::Image& pulse = driver.images.back();
    EXPECT_EQ(nameOf(pulse.texture), "../data/textures/na!.png");
    EXPECT_EQ(pulse.destination, core::recti(300, 225, 340, 255));
    EXPECT_EQ(pulse.source, core::recti(0, 0, 512, 256));
    EXPECT_FALSE(pulse.tinted);
    EXPECT_FALSE(pulse.clipped);
    EXPECT_TRUE(pulse.useAlphaChannel);
}

TEST_F(Effect2500Test, TilesShowTheirColoursFromTheMiddleOfEachSecond)
{
    const struct
    {
        float t;
        bool coloured;
    } cases[] = {{0.4999f, false}, {0.5f, true},  {0.99f, true}, {1.2f, false},
                 {1.5f, true},     {9.75f, true}, {10.0f, false}};
    for (const auto& c : cases)
    {
        drawFrameAt(c.t);
        const video::SColor expected = c.coloured ? video::SColor(255, 255, 255, 255) : video::SColor(255, 0, 0, 0);
        for (size_t tile = 0; tile < 40; ++tile)
            for (const video::SColor& corner : driver.images[tile].colours)
                ASSERT_EQ(corner, expected) << "t = " << c.t;
    }
}

TEST_F(Effect2500Test, ImageGrowsUntilJustBeforeEachMultipleOf031AndSnapsBack)
{
    drawFrameAt(std::nextafter(0.31f, 0.0f));
    EXPECT_EQ(pulseDestination(), core::recti(129, 97, 510, 382));
    drawFrameAt(0.31f);
    EXPECT_EQ(pulseDestination(), core::recti(300, 225, 340, 255));
    // Half-way up the ramp: s = 0.155 * 550 + 20 = 105.25.
    drawFrameAt(0.155f);
    EXPECT_EQ(pulseDestination(), core::recti(214, 161, 425, 318));
    // A later period runs the same ramp: 3.1 + 0.155 is again half-way.
    drawFrameAt(3.255f);
    const core::recti later = pulseDestination();
    EXPECT_NEAR(later.UpperLeftCorner.X, 214, 1);
    EXPECT_NEAR(later.LowerRightCorner.Y, 318, 1);
}
