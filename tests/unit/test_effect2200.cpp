// The conveyor section: the cat, the eight food items and the three hearts,
// as drawn calls at times whose rectangles are worked out by hand.
#include "DemoFixture.h"

#include "effects/Effect2200.h"

#include <string>

using namespace irr;

namespace
{
const char* const CAT[2] = {"../data/textures/katze1.png", "../data/textures/katze2.png"};
const char* const FOOD[3] = {"../data/textures/food1.png", "../data/textures/food2.png", "../data/textures/food3.png"};
const char* const HEART = "../data/textures/hearticle.png";

std::string nameOf(const video::ITexture* texture)
{
    return texture ? texture->getName().getPath().c_str() : "(none)";
}

class Effect2200Test : public DemoFixture
{
protected:
    // Draws the frame at local time t of a fresh effect: its first frame
    // (clock 0, dt ignored), then one step of t. Only that frame stays recorded.
    void drawFrameAt(float t)
    {
        effect.reset(new Effect2200);
        effect->init();
        driver.clearRecord();
        effect->update(7.0f);
        if (t != 0)
        {
            driver.clearRecord();
            effect->update(t);
        }
        ASSERT_EQ(effect->getLocalTime(), t);
        ASSERT_EQ(driver.images.size(), 12u);
    }

    const RecordingDriver::Image& cat() const { return driver.images[0]; }
    const RecordingDriver::Image& food(int i) const { return driver.images[1 + i]; }
    const RecordingDriver::Image& heart(int i) const { return driver.images[9 + i]; }

    std::unique_ptr<Effect2200> effect;
};
} // namespace

TEST_F(Effect2200Test, FirstFrameDrawsPinkCatConveyorAndHeartsInThatOrder)
{
    Effect2200 loading;
    driver.clearRecord();
    loading.init();
    EXPECT_EQ(driver.texturesLoaded, (std::vector<std::string>{CAT[0], CAT[1], FOOD[0], FOOD[1], FOOD[2], HEART}));

    drawFrameAt(0);
    std::vector<std::string> expected(13, "draw2DImage");
    expected[0] = "draw2DRectangle";
    EXPECT_EQ(driver.calls, expected);
    EXPECT_EQ(driver.rectangles[0].colour, video::SColor(0xFFFFDEE6));
    EXPECT_EQ(driver.rectangles[0].area, core::recti(0, 0, 640, 480));
    EXPECT_FALSE(driver.rectangles[0].clipped);

    for (const RecordingDriver::Image& image : driver.images)
    {
        EXPECT_FALSE(image.clipped);
        EXPECT_FALSE(image.tinted);
        EXPECT_TRUE(image.useAlphaChannel);
    }

    EXPECT_EQ(nameOf(cat().texture), CAT[0]);
    EXPECT_EQ(cat().destination, core::recti(40, 160, 200, 320));
    EXPECT_EQ(cat().source, core::recti(0, 0, 256, 256));

    for (int i = 0; i < 8; ++i)
    {
        EXPECT_EQ(nameOf(food(i).texture), FOOD[0]);
        EXPECT_EQ(food(i).source, core::recti(0, 0, 128, 128));
    }
    EXPECT_EQ(food(0).destination, core::recti(200, 208, 264, 272));
    EXPECT_EQ(food(7).destination, core::recti(656, 197, 703, 243)); // past the right edge

    const core::recti hearts[3] = {core::recti(60, 80, 130, 150), core::recti(97, 143, 200, 246),
                                   core::recti(149, 81, 256, 188)};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(nameOf(heart(i).texture), HEART);
        EXPECT_EQ(heart(i).destination, hearts[i]) << i;
        EXPECT_EQ(heart(i).source, core::recti(0, 0, 16, 16));
    }
}

TEST_F(Effect2200Test, CatAndConveyorMoveWithTheClock)
{
    drawFrameAt(0.25f);
    EXPECT_EQ(nameOf(cat().texture), CAT[1]);
    EXPECT_EQ(cat().destination, core::recti(35, 155, 204, 324));
    EXPECT_EQ(food(0).destination, core::recti(165, 173, 248, 256)); // scroll 25

    // One second in: scroll 100 % 64 = 36, item 0 bobs down by sin(4) * 30
    // and shrinks by sin(5) * 10; the cat is back on its first frame.
    drawFrameAt(1.0f);
    EXPECT_EQ(nameOf(cat().texture), CAT[0]);
    EXPECT_EQ(cat().destination, core::recti(23, 143, 216, 336));
    EXPECT_EQ(food(0).destination, core::recti(173, 240, 218, 285));
}

TEST_F(Effect2200Test, FoodPictureChangesEveryThirdOfASecondAndTheConveyorJumpsBackEvery064)
{
    const struct
    {
        float t;
        int food;
    } pictures[] = {{0.3f, 0}, {0.34f, 1}, {0.66f, 1}, {0.67f, 2}, {0.99f, 2}, {1.01f, 0}, {9.9f, 2}};
    for (const auto& p : pictures)
    {
        drawFrameAt(p.t);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(nameOf(food(i).texture), FOOD[p.food]) << "t = " << p.t << ", item " << i;
    }

    // The left edge of item 3 before growth: 392 - scroll. At 0.705 and 0.065
    // the conveyor has moved by the same 6 pixels; both frames bob differently,
    // so compare the horizontal centres.
    drawFrameAt(0.705f);
    const core::recti late = food(3).destination;
    drawFrameAt(0.065f);
    const core::recti early = food(3).destination;
    EXPECT_NEAR((late.UpperLeftCorner.X + late.LowerRightCorner.X) / 2.0, 392 - 6 + 32, 1);
    EXPECT_NEAR((early.UpperLeftCorner.X + early.LowerRightCorner.X) / 2.0, 392 - 6 + 32, 1);
}
