// The opening section: trigger windows and the flash, the bands, the fading
// and scrolling grid, the title and the star burst, as drawn calls.
#include "DemoFixture.h"

#include "effects/Effect1000.h"
#include "effects/LinearCongruentialGenerator.h"

#include <cmath>
#include <iterator>
#include <string>

using namespace irr;

namespace
{
const video::SColor BLACK(255, 0, 0, 0);
const video::SColor EVEN_BAND(255, 255, 255, 0);
const video::SColor ODD_BAND(255, 255, 128, 255);

std::string nameOf(const video::ITexture* texture)
{
    return texture ? texture->getName().getPath().c_str() : "(none)";
}

class Effect1000Test : public DemoFixture
{
protected:
    Effect1000Test() { effect.init(); }

    // One frame of the opening as the director runs it: the first frame
    // leaves both clocks at 0, later frames move the demo clock and the
    // effect's clock together. Only this frame stays recorded.
    void frame(float dt)
    {
        if (effect.hasStarted())
            context->addTime(dt);
        driver.clearRecord();
        effect.update(dt);
    }

    // The eight bands, drawn after the background.
    const RecordingDriver::Rectangle& band(int r) const { return driver.rectangles[1 + r]; }
    // The grid sprite of row r, column c.
    const RecordingDriver::Image& tile(int r, int c) const { return driver.images[r * 12 + c]; }

    void expectBands(video::SColor even, video::SColor odd, int halfThickness) const
    {
        ASSERT_EQ(driver.rectangles.size(), 9u);
        for (int r = 0; r < 8; ++r)
        {
            const int y = r * 64 + 32;
            EXPECT_EQ(band(r).colour, r % 2 ? odd : even) << "band " << r;
            EXPECT_EQ(band(r).area, core::recti(0, y - halfThickness, 640, y + halfThickness)) << "band " << r;
        }
    }

    Effect1000 effect;
};

// Where a vertex of a recorded sprite lands on the screen.
core::vector2df onScreen(const RecordingDriver::Triangles& drawn, const video::S3DVertex& vertex)
{
    core::vector3df p = vertex.Pos;
    drawn.world.transformVect(p);
    return core::vector2df(p.X + 320, p.Y + 240);
}

// The star that a sprite of the given centre, half size and angle should be.
void expectStar(const RecordingDriver::Triangles& drawn, f32 x, f32 y, f32 halfSize, f32 angle, video::SColor colour)
{
    ASSERT_EQ(drawn.vertices.size(), 4u);
    EXPECT_EQ(drawn.vertices[0].Color, colour);
    EXPECT_EQ(drawn.vertices[0].TCoords, core::vector2df(0, 0));
    EXPECT_EQ(drawn.vertices[3].TCoords, core::vector2df(1, 1));
    EXPECT_EQ(drawn.material.MaterialType, video::EMT_TRANSPARENT_ALPHA_CHANNEL);
    EXPECT_EQ(nameOf(drawn.material.getTexture(0)), "../data/textures/starticle.png");
    // The top-left corner, (-h, -h) from the centre, turned clockwise by the angle.
    const core::vector2df corner = onScreen(drawn, drawn.vertices[0]);
    const f32 c = std::cos(angle), s = std::sin(angle);
    EXPECT_NEAR(corner.X, x + (-halfSize * c + halfSize * s), 1e-3);
    EXPECT_NEAR(corner.Y, y + (-halfSize * s - halfSize * c), 1e-3);
}
} // namespace

TEST(LinearCongruentialGenerator, GivesTheClassicRuntimeSequenceFromSeedOne)
{
    // The first draws of the C runtime's rand, as published for it.
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464, 5705, 28145};
    LinearCongruentialGenerator random;
    for (int value : expected)
        EXPECT_EQ(random.next(), value);
    // Each generator has a state of its own.
    LinearCongruentialGenerator another;
    EXPECT_EQ(another.next(), 41);
}

TEST_F(Effect1000Test, FirstFrameIsBlackWithEmptyBandsAndGrid)
{
    Effect1000 loading;
    driver.clearRecord();
    loading.init();
    EXPECT_EQ(driver.texturesLoaded, (std::vector<std::string>{"../data/textures/katze.png", "../data/textures/na!.png",
                                                               "../data/textures/starticle.png"}));

    frame(4.0f); // the whole start-up; only drives the flash below 0
    EXPECT_EQ(effect.getFlash(), 0.0f);
    EXPECT_EQ(effect.getLastTrigger(), -1);

    // Background, eight bands, 96 grid sprites; no title and no stars yet.
    std::vector<std::string> expected(9, "draw2DRectangle");
    expected.resize(9 + 96, "draw2DImage");
    EXPECT_EQ(driver.calls, expected);
    EXPECT_EQ(driver.rectangles[0].colour, BLACK);
    EXPECT_EQ(driver.rectangles[0].area, core::recti(0, 0, 640, 480));
    EXPECT_FALSE(driver.rectangles[0].clipped);
    expectBands(EVEN_BAND, ODD_BAND, 0);
    for (const RecordingDriver::Image& image : driver.images)
    {
        EXPECT_EQ(nameOf(image.texture), "../data/textures/katze.png");
        EXPECT_EQ(image.source, core::recti(0, 0, 256, 256));
        EXPECT_EQ(image.destination.getArea(), 0);
        EXPECT_FALSE(image.clipped);
        EXPECT_FALSE(image.tinted);
        EXPECT_TRUE(image.useAlphaChannel);
    }
}

TEST_F(Effect1000Test, AtSixtyFramesEachTriggerFiresInTheFirstFrameInsideItsWindow)
{
    const float dt = 1.0f / 60;
    frame(4.0f);
    frame(dt);
    // The second frame already lies inside the first window.
    EXPECT_EQ(effect.getLastTrigger(), 0);
    EXPECT_FLOAT_EQ(effect.getFlash(), 1 - dt);

    // The pattern's trigger times over the first two periods, in order.
    const float times[] = {0, 0.635f, 1.1f, 1.26f, 1.89f, 2.526f, 3.161f, 3.626f, 3.786f, 4.416f};
    size_t fired = 1;
    while (effect.getLocalTime() < 4.5f)
    {
        const float before = effect.getLocalTime();
        const int lastBefore = effect.getLastTrigger();
        frame(dt);
        const float lt = effect.getLocalTime();
        if (effect.getLastTrigger() == lastBefore)
            continue;
        ASSERT_LT(fired, std::size(times));
        EXPECT_EQ(effect.getLastTrigger(), static_cast<int>(fired % 5));
        EXPECT_GT(lt, times[fired]) << "fired before its time, trigger " << fired;
        EXPECT_LT(lt, times[fired] + 0.02f) << "fired late, trigger " << fired;
        EXPECT_LE(before, times[fired]) << "not the first frame inside the window, trigger " << fired;
        EXPECT_FLOAT_EQ(effect.getFlash(), 1 - dt);
        ++fired;
    }
    EXPECT_EQ(fired, std::size(times));
}

TEST_F(Effect1000Test, AtHighFrameRatesATriggerFiresOnceThoughSeveralFramesFallInItsWindow)
{
    // At 200 frames per second about four frames lie inside each window.
    const float dt = 0.005f;
    frame(4.0f);
    int flashes = 0; // frames that set the flash afresh (1 - dt)
    while (effect.getLocalTime() < 0.7f)
    {
        frame(dt);
        if (effect.getFlash() == 1 - dt)
            ++flashes;
    }
    EXPECT_EQ(flashes, 2); // at 0 and at 0.635
    EXPECT_EQ(effect.getLastTrigger(), 1);
}

TEST_F(Effect1000Test, AMissedWindowNeverFiresLate)
{
    // At 40 frames per second the second frame, at 0.025, is past the first window.
    frame(4.0f);
    while (effect.getLocalTime() < 0.62f)
    {
        frame(0.025f);
        ASSERT_EQ(effect.getLastTrigger(), -1) << effect.getLocalTime();
        ASSERT_EQ(effect.getFlash(), 0.0f);
    }
    frame(0.025f); // 0.65: inside the window at 0.635
    EXPECT_EQ(effect.getLastTrigger(), 1);
    EXPECT_FLOAT_EQ(effect.getFlash(), 1 - 0.025f);

    // A stall steps over the window at 1.1; the next frame inside a window
    // belongs to the one at 1.26.
    frame(0.5f); // 1.15
    EXPECT_EQ(effect.getLastTrigger(), 1);
    frame(0.1f); // 1.25
    EXPECT_EQ(effect.getLastTrigger(), 1);
    frame(0.015f); // 1.265
    EXPECT_EQ(effect.getLastTrigger(), 3);
}

TEST_F(Effect1000Test, BandsGrowSwellWithTheFlashAndAreBlackWhileItIsAboveSevenTenths)
{
    frame(4.0f);
    frame(0.01f); // trigger: flash 0.99, thickness (int)(0.99 * 16 + 0.01 * 32) = 16
    expectBands(BLACK, BLACK, 8);
    frame(0.2f); // flash 0.79, thickness (int)(12.64 + 6.72) = 19
    expectBands(BLACK, BLACK, 9);
    frame(0.2f); // flash 0.59, thickness (int)(9.44 + 13.12) = 22
    expectBands(EVEN_BAND, ODD_BAND, 11);
    // At 2.91 no trigger is near and the flash has died: full bands tile 0 to 512.
    frame(2.5f);
    ASSERT_EQ(effect.getFlash(), 0.0f);
    expectBands(EVEN_BAND, ODD_BAND, 32);
    EXPECT_EQ(band(0).area.UpperLeftCorner.Y, 0);
    EXPECT_EQ(band(7).area.LowerRightCorner.Y, 512);
}

TEST_F(Effect1000Test, BeforeTheFadeInOnlyAlternateColumnsShowTheFlash)
{
    frame(4.0f);
    frame(0.01f); // trigger 0 (even): even columns grow by 0.99 * 16 = 15.84
    // Row 0 scrolls right from -64; coordinates truncate toward zero.
    EXPECT_EQ(tile(0, 0).destination, core::recti(-39, 24, -24, 39));
    EXPECT_EQ(tile(0, 1).destination, core::recti(32, 32, 32, 32));
    EXPECT_EQ(tile(0, 2).destination, core::recti(88, 24, 103, 39));
    EXPECT_EQ(tile(1, 0).destination, core::recti(24, 88, 39, 103));
    EXPECT_EQ(tile(1, 1).destination.getArea(), 0);

    frame(0.63f); // 0.64: trigger 1 (odd) with flash 0.37; scroll (int)(0.64 * 64) = 40
    EXPECT_EQ(effect.getLastTrigger(), 1);
    EXPECT_EQ(tile(0, 0).destination, core::recti(8, 32, 8, 32));
    EXPECT_EQ(tile(0, 1).destination, core::recti(69, 29, 74, 34));
    EXPECT_EQ(tile(1, 1).destination, core::recti(53, 93, 58, 98));
}

TEST_F(Effect1000Test, OddRowsFadeInBeforeEvenRows)
{
    frame(4.0f);
    frame(2.16f); // half-way through the odd rows' fade; no trigger near
    ASSERT_EQ(effect.getFlash(), 0.0f);
    // Row 1, column 0 (scroll (int)(2.16 * 64) % 64 = 10): centre (22, 96).
    EXPECT_EQ(tile(1, 0).destination, core::recti(13, 87, 30, 104));
    EXPECT_EQ(tile(0, 1).destination.getArea(), 0);

    frame(0.84f); // 3.0: odd rows whole, even rows still empty; scroll 0
    const core::recti full(13, 77, 50, 114);
    EXPECT_EQ(tile(1, 0).destination, full);
    for (int c = 0; c < 12; ++c)
        EXPECT_EQ(tile(0, c).destination.getArea(), 0) << c;

    frame(2.0f); // 5.0: both whole; row 0, column 1 sits over row 1, column 0
    const core::recti odd = tile(1, 0).destination;
    const core::recti even = tile(0, 1).destination;
    EXPECT_GT(odd.getArea(), 30 * 30);
    EXPECT_EQ(even.UpperLeftCorner.X, odd.UpperLeftCorner.X);
    EXPECT_EQ(even.LowerRightCorner.X, odd.LowerRightCorner.X);
    EXPECT_EQ(even.getHeight(), odd.getHeight());
}

TEST_F(Effect1000Test, GridScrollsWithTheDemoClockOddRowsLeftEvenRowsRight)
{
    frame(4.0f);
    frame(3.25f); // scroll (int)(3.25 * 64) % 64 = 16
    const auto centreX = [this](int r, int c) { return tile(r, c).destination.getCenter().X; };
    EXPECT_EQ(centreX(1, 0), 32 - 16);
    EXPECT_EQ(centreX(0, 0), -32 + 16);
    // The scroll follows the demo clock, not the effect's own.
    context->addTime(0.25f);
    frame(0.0f); // demo time 3.5: scroll 32
    EXPECT_EQ(centreX(1, 0), 32 - 32);
    EXPECT_EQ(centreX(0, 0), -32 + 32);
}

TEST_F(Effect1000Test, TitleAndBurstAppearAfter7578AndTheBurstIsDrawnBeforeItMoves)
{
    frame(4.0f);
    frame(7.5f);
    EXPECT_EQ(driver.images.size(), 96u);
    EXPECT_TRUE(driver.triangles.empty());
    EXPECT_TRUE(effect.getParticles().empty());

    frame(0.1f); // 7.6: the burst is spawned, drawn, then moved by 2 * 0.1
    ASSERT_EQ(driver.images.size(), 97u);
    const RecordingDriver::Image& title = driver.images.back();
    EXPECT_EQ(nameOf(title.texture), "../data/textures/na!.png");
    EXPECT_EQ(title.destination, core::recti(64, 112, 576, 368));
    EXPECT_EQ(title.source, core::recti(0, 0, 512, 256));
    EXPECT_FALSE(title.tinted);
    EXPECT_TRUE(title.useAlphaChannel);
    // The stars come after the title.
    EXPECT_EQ(driver.calls[9 + 96], "draw2DImage");
    EXPECT_EQ(driver.calls[9 + 96 + 1], "setTransform");
    ASSERT_EQ(driver.triangles.size(), 150u);

    // The first two stars from the generator's first sixteen draws:
    // x 41 % 500 + 70, y 18467 % 320 + 80, colour 15724 % 4, half size 11478 % 16 + 32,
    // angle 29358 % 360 = 198 degrees, twice, in radians with pi as 3.14159.
    expectStar(driver.triangles[0], 111, 307, 38, 396 * 3.14159f / 360, video::SColor(255, 255, 128, 128));
    expectStar(driver.triangles[1], 532, 224, 41, 262 * 3.14159f / 360, video::SColor(255, 255, 128, 255));

    const Effect1000::Particle& first = effect.getParticles()[0];
    // Velocity (6334 % 250 - 125, -(26500 % 150) - 75, 19169 % 20 - 10), moved for 0.2.
    EXPECT_FLOAT_EQ(first.position.X, 111 - 41 * 0.2f);
    EXPECT_FLOAT_EQ(first.position.Y, 307 - 175 * 0.2f);
    EXPECT_FLOAT_EQ(first.angle, 396 * 3.14159f / 360 - 0.2f);
    EXPECT_FLOAT_EQ(first.velocity.Y, -175 + 200 * 0.2f); // gravity after the move

    // Every star within the ranges its draws allow, thrown upwards.
    for (const Effect1000::Particle& p : effect.getParticles())
    {
        EXPECT_LT(p.velocity.X, 125);
        EXPECT_GE(p.velocity.X, -125);
        EXPECT_LE(p.velocity.Y, -75 + 40);
        EXPECT_GE(p.velocity.Y, -224 + 40);
        EXPECT_GE(p.halfSize, 32);
        EXPECT_LE(p.halfSize, 47);
        EXPECT_EQ(p.position.Z, 0);
    }

    // Later frames draw the same 150 stars where the last frame left them.
    frame(0.05f);
    ASSERT_EQ(driver.triangles.size(), 150u);
    EXPECT_EQ(effect.getParticles().size(), 150u);
    expectStar(driver.triangles[0], 111 - 41 * 0.2f, 307 - 175 * 0.2f, 38, 396 * 3.14159f / 360 - 0.2f,
               video::SColor(255, 255, 128, 128));
    EXPECT_FLOAT_EQ(effect.getParticles()[0].position.Y, 307 - 175 * 0.2f - 135 * 0.1f);
}
