// The spiral section: three ribbon stars over a pale yellow screen with a
// grey band, under a pulsing rabbit.
#include "DemoFixture.h"

#include "demo/EngineCompat.h"
#include "effects/Effect1100.h"

#include <cmath>

using namespace irr;

namespace
{
const double PI = 3.14159;

class Effect1100Test : public DemoFixture
{
protected:
    Effect1100 effect;

    std::vector<std::string> loadedByInit;

    Effect1100Test()
    {
        effect.init();
        loadedByInit = driver.texturesLoaded;
        driver.clearRecord();
    }

    video::ITexture* texture(const char* name) { return driver.getTexture(core::stringc("../data/textures/") + name); }

    // Draws the first frame at demo time T, then frames that move both clocks
    // on by dt; returns the rabbit drawn in the last one.
    RecordingDriver::Image rabbitAfter(std::initializer_list<float> steps)
    {
        for (float dt : steps)
        {
            context->addTime(dt);
            driver.clearRecord();
            effect.update(dt);
        }
        return driver.images.at(0);
    }
};

// Each arm's ribbon: 51 pairs of an outer vertex and an inner one at 95 % of
// its distance from the star's centre.
struct Arm
{
    const RecordingDriver::Triangles& drawn;
    core::vector3df outer(u32 i) const { return drawn.vertices.at(2 * i).Pos; }
    core::vector3df inner(u32 i) const { return drawn.vertices.at(2 * i + 1).Pos; }
    // The point that the inner edge shrinks towards.
    core::vector3df centre(u32 i) const { return (inner(i) - outer(i) * 0.95f) / 0.05f; }
    double angle(u32 i) const
    {
        const core::vector3df d = outer(i) - centre(i);
        return std::atan2(d.Y, d.X);
    }
};

double turnDifference(double a, double b)
{
    return std::remainder(a - b, 2 * M_PI);
}
} // namespace

TEST_F(Effect1100Test, RabbitShrinksEveryHalfSecondAndIsDoubledForTheFirstHalfOfEachPulse)
{
    context->addTime(30.4f);
    const RecordingDriver::Image first = rabbitAfter({0.3f});
    EXPECT_EQ(effect.getLocalTime(), 0.0f);
    EXPECT_EQ(first.destination, core::recti(-280, -360, 920, 840));
    EXPECT_EQ(first.source, core::recti(0, 0, 31, 31));
    EXPECT_FALSE(first.tinted);
    EXPECT_FALSE(first.clipped);
    EXPECT_TRUE(first.useAlphaChannel);

    EXPECT_EQ(rabbitAfter({0.25f}).destination, core::recti(-130, -210, 770, 690));
    // At 1.25 s the pulse is past its doubled half: 225 either side of the centre.
    EXPECT_EQ(rabbitAfter({1.0f}).destination, core::recti(95, 15, 545, 465));
    EXPECT_EQ(effect.getLocalTime(), 1.25f);
}

TEST_F(Effect1100Test, RabbitPictureChangesWithTheDemoClockOnlyAboveAHalf)
{
    context->addTime(30.5f); // a fraction of exactly one half
    EXPECT_EQ(rabbitAfter({0.0f}).texture, texture("rabbit2.png"));
    EXPECT_EQ(rabbitAfter({0.25f}).texture, texture("rabbit1.png"));
    EXPECT_EQ(rabbitAfter({0.25f}).texture, texture("rabbit2.png"));
    // The local clock has no say: it stands at 0.5 here, as at the start of a picture.
    EXPECT_EQ(effect.getLocalTime(), 0.5f);
}

TEST_F(Effect1100Test, FrameIsBackgroundBandFifteenRibbonsAndTheRabbitInThatOrder)
{
    EXPECT_EQ(loadedByInit, (std::vector<std::string>{"../data/textures/rabbit1.png", "../data/textures/rabbit2.png",
                                                      "../data/textures/stripes4.png"}));
    context->addTime(31.0f);
    effect.update(0.0f);

    std::vector<std::string> expected = {"setTransform",    "setTransform",    "setTransform",
                                         "setAmbientLight", "draw2DRectangle", "draw2DRectangle"};
    for (int spiral = 0; spiral < 3; ++spiral)
    {
        expected.push_back("setMaterial");
        expected.insert(expected.end(), 5, "drawIndexedTriangleList");
    }
    expected.push_back("draw2DImage");
    EXPECT_EQ(driver.calls, expected);

    core::matrix4 view, projection;
    view.buildCameraLookAtMatrixLH(core::vector3df(0, 0, -2.5f), core::vector3df(0, 0, 0), core::vector3df(0, 1, 0));
    projection.buildProjectionMatrixPerspectiveFovLH(1.5707951f, 1.3333334f, 0.1f, 1000.0f);
    ASSERT_EQ(driver.transforms.size(), 3u);
    EXPECT_EQ(driver.transforms[0].state, video::ETS_PROJECTION);
    EXPECT_TRUE(driver.transforms[0].matrix.equals(projection, 1e-6f));
    EXPECT_EQ(driver.transforms[1].state, video::ETS_VIEW);
    EXPECT_EQ(driver.transforms[1].matrix, view);
    EXPECT_EQ(driver.transforms[2].state, video::ETS_WORLD);
    EXPECT_EQ(driver.transforms[2].matrix, core::IdentityMatrix);
    EXPECT_EQ(driver.ambientLights.at(0).toSColor(), video::SColor(0xFFFFFFFF));

    ASSERT_EQ(driver.rectangles.size(), 2u);
    EXPECT_EQ(driver.rectangles[0].colour, video::SColor(0xFFFFFF8C));
    EXPECT_EQ(driver.rectangles[0].area, core::recti(0, 0, 640, 480));
    EXPECT_EQ(driver.rectangles[1].colour, video::SColor(0xFF5C5C5C));
    EXPECT_EQ(driver.rectangles[1].area, core::recti(0, 140, 640, 380));
    EXPECT_FALSE(driver.rectangles[0].clipped || driver.rectangles[1].clipped);

    // Every ribbon: unlit, two-sided, the stripes blended by their alpha.
    video::SMaterial ribbon;
    ribbon.setTexture(0, texture("stripes4.png"));
    ribbon.MaterialType = video::EMT_TRANSPARENT_ALPHA_CHANNEL;
    ribbon.MaterialTypeParam = ALPHA_CHANNEL_REFERENCE;
    ribbon.Lighting = false;
    ribbon.BackfaceCulling = false;
    ribbon.AmbientColor = video::SColor(0x00000000);
    ribbon.DiffuseColor = video::SColor(0x00000000);
    ribbon.EmissiveColor = video::SColor(0xFF00FFFF);
    ASSERT_EQ(driver.triangles.size(), 15u);
    for (const auto& drawn : driver.triangles)
        EXPECT_EQ(drawn.material, ribbon);
}

TEST_F(Effect1100Test, RibbonsAreBandsAlongFiveArmedSpiralsSwingingWithTheDemoClock)
{
    // The spirals follow the demo clock, not the section's own (0 here).
    const float T = 31.0f;
    context->addTime(T);
    effect.update(0.0f);
    ASSERT_EQ(driver.triangles.size(), 15u);

    const double swings[3] = {std::sin(double(T)), std::sin(T + PI / 3), std::sin(T + PI / 4)};
    const float phases[3] = {T * 3.8f, T * 4 + 2.5f, T * 2.5f - 12};
    for (int spiral = 0; spiral < 3; ++spiral)
    {
        const Arm firstArm{driver.triangles[5 * spiral]};
        for (int k = 0; k < 5; ++k)
        {
            const RecordingDriver::Triangles& drawn = driver.triangles[5 * spiral + k];
            const Arm arm{drawn};
            ASSERT_EQ(drawn.vertices.size(), 102u);
            ASSERT_EQ(drawn.triangleCount, 100u);
            for (u32 i = 0; i < 50; ++i)
            {
                const std::vector<u16> segment(drawn.indices.begin() + 6 * i, drawn.indices.begin() + 6 * i + 6);
                const u16 a = static_cast<u16>(2 * i);
                ASSERT_EQ(segment, (std::vector<u16>{a, u16(a + 1), u16(a + 2), u16(a + 1), u16(a + 3), u16(a + 2)}));
            }
            for (u32 i = 0; i < 51; ++i)
            {
                for (u32 side = 0; side < 2; ++side)
                {
                    const video::S3DVertex& v = drawn.vertices[2 * i + side];
                    EXPECT_EQ(v.Pos.Z, 0.0f);
                    EXPECT_EQ(v.Normal, core::vector3df(0, 0, -1));
                    EXPECT_EQ(v.Color, video::SColor(0xFFFFFFFF));
                    // The stripes run across the band in u and along it, scrolling with the phase, in v.
                    EXPECT_EQ(v.TCoords.X, float(side));
                    EXPECT_NEAR(v.TCoords.Y, phases[spiral] + i / 8.0f, 1e-4f);
                }
                // Every star swings on the line y = 0, each on its own sine.
                EXPECT_NEAR(arm.centre(i).X, swings[spiral], 1e-4) << spiral << " " << k << " " << i;
                EXPECT_NEAR(arm.centre(i).Y, 0.0, 1e-4);
            }
            // The radius grows along the arm with a wobble of 1 that turns
            // with the phase: about 5.3 at the far end.
            const double h = phases[spiral] / 2.0;
            for (u32 i = 0; i < 51; ++i)
            {
                const double theta = i * PI / 20 + h + 2 * k * PI / 5;
                const double r = std::sin(7.5 * theta + h) + i / 9.4;
                EXPECT_NEAR((arm.outer(i) - arm.centre(i)).getLength(), std::fabs(r), 1e-3) << k << " " << i;
            }
            // The arm turns a quarter turn over its last ten steps, ends
            // where the phase puts it, and sits 72 degrees on from the arm before.
            EXPECT_NEAR(turnDifference(arm.angle(50), arm.angle(40)), PI / 2, 1e-4);
            EXPECT_NEAR(turnDifference(firstArm.angle(50), PI / 2 + phases[spiral] / 2), 0, 1e-3);
            EXPECT_NEAR(turnDifference(arm.angle(50), firstArm.angle(50) + 2 * PI * k / 5), 0, 1e-4);
        }
    }
}
