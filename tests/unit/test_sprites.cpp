// Screen-space sprites: where the quad lands on the 640 x 480 screen, with
// which texture coordinates and material, and that the transforms survive.
#include "DemoFixture.h"

#include "demo/EngineCompat.h"

#include <cmath>

using namespace irr;

namespace
{
// Where a vertex of a recorded quad lands on the screen (pixels, y down) and
// its depth, through the projection, view and world in force when it was drawn.
core::vector3df toScreen(const RecordingDriver::Triangles& drawn, const video::S3DVertex& vertex)
{
    core::matrix4 all = drawn.projection;
    all *= drawn.view;
    all *= drawn.world;
    f32 p[4] = {vertex.Pos.X, vertex.Pos.Y, vertex.Pos.Z, 1.0f};
    all.multiplyWith1x4Matrix(p);
    return core::vector3df((p[0] / p[3] + 1) * 320, (1 - p[1] / p[3]) * 240, p[2] / p[3]);
}

void expectNear(const core::vector3df& actual, f32 x, f32 y, const char* what)
{
    EXPECT_NEAR(actual.X, x, 1e-3) << what;
    EXPECT_NEAR(actual.Y, y, 1e-3) << what;
}

core::matrix4 someMatrix(f32 seed)
{
    core::matrix4 m;
    m.setRotationDegrees(core::vector3df(seed, 2 * seed, 3 * seed));
    m.setTranslation(core::vector3df(seed, -seed, 4 * seed));
    return m;
}

class SpriteTest : public DemoFixture
{
protected:
    SpriteTest() : texture(driver.getTexture("sprite.png")) { driver.clearRecord(); }

    const RecordingDriver::Triangles& onlyQuad()
    {
        EXPECT_EQ(driver.triangles.size(), 1u);
        return driver.triangles.back();
    }

    video::ITexture* texture;
    const video::SColor tint{200, 10, 20, 30};
};
} // namespace

TEST_F(SpriteTest, FullScreenSpriteCoversTheViewportUprightAtTheFrontOfTheDepthRange)
{
    context->drawSprite(texture, 0, 0, 640, 480, 0, 0, 1, 1, tint, 0);
    const RecordingDriver::Triangles& quad = onlyQuad();

    ASSERT_EQ(quad.vertices.size(), 4u);
    EXPECT_EQ(quad.indices, (std::vector<u16>{0, 1, 2, 1, 3, 2}));
    EXPECT_EQ(quad.triangleCount, 2u);
    const f32 corners[4][2] = {{0, 0}, {640, 0}, {0, 480}, {640, 480}};
    for (int i = 0; i < 4; ++i)
    {
        const core::vector3df screen = toScreen(quad, quad.vertices[i]);
        expectNear(screen, corners[i][0], corners[i][1], "corner");
        EXPECT_NEAR(screen.Z, (1 - 0.1f) / (1000 - 0.1f), 1e-6) << "depth of corner " << i;
        // Texture row 0 at the top, column 0 at the left.
        EXPECT_EQ(quad.vertices[i].TCoords, core::vector2df(corners[i][0] / 640, corners[i][1] / 480));
        EXPECT_EQ(quad.vertices[i].Color, tint);
        EXPECT_EQ(quad.vertices[i].Normal, core::vector3df(0, 0, -1));
    }

    const video::SMaterial& m = quad.material;
    EXPECT_EQ(m.getTexture(0), texture);
    EXPECT_EQ(m.MaterialType, video::EMT_TRANSPARENT_ALPHA_CHANNEL);
    EXPECT_EQ(m.MaterialTypeParam, ALPHA_CHANNEL_REFERENCE);
    EXPECT_FALSE(m.Lighting);
    EXPECT_FALSE(m.BackfaceCulling);
    EXPECT_EQ(m.AmbientColor, video::SColor(0, 0, 0, 0));
    EXPECT_EQ(m.DiffuseColor, video::SColor(0, 0, 0, 0));
    EXPECT_EQ(m.EmissiveColor, video::SColor(255, 255, 255, 255));
    EXPECT_TRUE(m.TextureLayer[0].BilinearFilter);
    // Everything else as the engine's defaults have it.
    const video::SMaterial defaults;
    EXPECT_EQ(m.ZBuffer, defaults.ZBuffer);
    EXPECT_EQ(m.ZWriteEnable, defaults.ZWriteEnable);
    EXPECT_EQ(m.GouraudShading, defaults.GouraudShading);
    EXPECT_EQ(m.Wireframe, defaults.Wireframe);
}

TEST_F(SpriteTest, ReversedTextureCoordinatesMirrorTheImage)
{
    // Right to left and bottom to top: the screen's top-left corner shows
    // the texture's bottom-right texel; a corner-swapped quad is still drawn.
    context->drawSprite(texture, 100, 50, 300, 150, 1, 1, 0, 0, tint, 0);
    context->drawSprite(texture, 300, 150, 100, 50, 0, 0, 1, 1, tint, 0);
    ASSERT_EQ(driver.triangles.size(), 2u);
    const RecordingDriver::Triangles& mirrored = driver.triangles[0];
    expectNear(toScreen(mirrored, mirrored.vertices[0]), 100, 50, "top left");
    EXPECT_EQ(mirrored.vertices[0].TCoords, core::vector2df(1, 1));
    expectNear(toScreen(mirrored, mirrored.vertices[3]), 300, 150, "bottom right");
    EXPECT_EQ(mirrored.vertices[3].TCoords, core::vector2df(0, 0));

    const RecordingDriver::Triangles& reversed = driver.triangles[1];
    expectNear(toScreen(reversed, reversed.vertices[0]), 300, 150, "first corner");
    EXPECT_FALSE(reversed.material.BackfaceCulling);
}

TEST_F(SpriteTest, FlagsChooseBlendingAndOnlyTheUprightSpriteFiltering)
{
    const core::rectf destination(10, 20, 30, 40);
    for (s32 flags = 0; flags < 4; ++flags)
    {
        driver.clearRecord();
        context->drawSprite(texture, 10, 20, 30, 40, 0, 0, 1, 1, tint, flags);
        context->drawSpriteRotated(texture, destination, 0, 0, 1, 1, tint, 0.5f, flags);
        ASSERT_EQ(driver.triangles.size(), 2u);
        const video::SMaterial& upright = driver.triangles[0].material;
        const video::SMaterial& rotated = driver.triangles[1].material;
        const video::E_MATERIAL_TYPE blending = (flags & 1) ? video::EMT_TRANSPARENT_ADD_COLOR
                                                            : video::EMT_TRANSPARENT_ALPHA_CHANNEL;
        EXPECT_EQ(upright.MaterialType, blending) << flags;
        EXPECT_EQ(rotated.MaterialType, blending) << flags;
        EXPECT_EQ(upright.TextureLayer[0].BilinearFilter, !(flags & 2)) << flags;
        EXPECT_TRUE(rotated.TextureLayer[0].BilinearFilter) << flags;

        EXPECT_EQ(rotated.getTexture(0), texture);
        EXPECT_FALSE(rotated.Lighting);
        EXPECT_FALSE(rotated.BackfaceCulling);
        EXPECT_EQ(rotated.DiffuseColor, video::SColor(0, 0, 0, 0));
        EXPECT_EQ(rotated.EmissiveColor, video::SColor(255, 0, 255, 255));
    }
}

TEST_F(SpriteTest, RotatedSpriteAtAngleZeroLandsOnTheUprightSprite)
{
    context->drawSprite(texture, 100, 50, 300, 150, 0.25f, 0, 0.75f, 1, tint, 0);
    context->drawSpriteRotated(texture, core::rectf(100, 50, 300, 150), 0.25f, 0, 0.75f, 1, tint, 0, 0);
    ASSERT_EQ(driver.triangles.size(), 2u);
    const RecordingDriver::Triangles& upright = driver.triangles[0];
    const RecordingDriver::Triangles& rotated = driver.triangles[1];
    EXPECT_EQ(rotated.indices, upright.indices);
    for (int i = 0; i < 4; ++i)
    {
        const core::vector3df expected = toScreen(upright, upright.vertices[i]);
        const core::vector3df actual = toScreen(rotated, rotated.vertices[i]);
        expectNear(actual, expected.X, expected.Y, "corner");
        EXPECT_NEAR(actual.Z, expected.Z, 1e-6);
        EXPECT_EQ(rotated.vertices[i].TCoords, upright.vertices[i].TCoords);
        EXPECT_EQ(rotated.vertices[i].Color, tint);
    }
}

TEST_F(SpriteTest, PositiveAngleTurnsClockwiseAboutTheCentre)
{
    // 200 x 100 around (200, 100).
    const core::rectf destination(100, 50, 300, 150);
    context->drawSpriteRotated(texture, destination, 0, 0, 1, 1, tint, 3.14159265f / 2, 0);
    const RecordingDriver::Triangles& quarter = onlyQuad();
    // A quarter turn clockwise on screen takes the top-left corner (-100, -50)
    // from the centre to (+50, -100), the bottom-right one to (-50, +100).
    expectNear(toScreen(quarter, quarter.vertices[0]), 250, 0, "top left");
    expectNear(toScreen(quarter, quarter.vertices[1]), 250, 200, "top right");
    expectNear(toScreen(quarter, quarter.vertices[3]), 150, 200, "bottom right");

    // Any angle keeps the corners on the circle through them.
    driver.clearRecord();
    context->drawSpriteRotated(texture, destination, 0, 0, 1, 1, tint, 0.7f, 0);
    const RecordingDriver::Triangles& turned = onlyQuad();
    for (int i = 0; i < 4; ++i)
    {
        const core::vector3df screen = toScreen(turned, turned.vertices[i]);
        EXPECT_NEAR(std::hypot(screen.X - 200, screen.Y - 100), std::hypot(100.0, 50.0), 1e-3) << i;
    }
    // 0.7 rad clockwise: the right-hand end of the horizontal axis dips below the centre.
    const core::vector3df right = toScreen(turned, video::S3DVertex(100, 0, 0, 0, 0, -1, tint, 0, 0));
    expectNear(right, 200 + 100 * std::cos(0.7f), 100 + 100 * std::sin(0.7f), "axis");
}

TEST_F(SpriteTest, BothOperationsPutTheThreeTransformsBack)
{
    const core::matrix4 projection = someMatrix(1), view = someMatrix(2), world = someMatrix(3);
    driver.setTransform(video::ETS_PROJECTION, projection);
    driver.setTransform(video::ETS_VIEW, view);
    driver.setTransform(video::ETS_WORLD, world);

    context->drawSprite(texture, 0, 0, 64, 64, 0, 0, 1, 1, tint, 0);
    context->drawSpriteRotated(texture, core::rectf(0, 0, 64, 64), 0, 0, 1, 1, tint, 1, 1);

    EXPECT_EQ(driver.getTransform(video::ETS_PROJECTION), projection);
    EXPECT_EQ(driver.getTransform(video::ETS_VIEW), view);
    EXPECT_EQ(driver.getTransform(video::ETS_WORLD), world);

    // Each sprite: its camera, its material, its quad, then the saved transforms back.
    const std::vector<std::string> oneSprite = {
        "setTransform", "setTransform", "setTransform", "setMaterial", "drawIndexedTriangleList",
        "setTransform", "setTransform", "setTransform"};
    std::vector<std::string> expected = {"setTransform", "setTransform", "setTransform"};
    expected.insert(expected.end(), oneSprite.begin(), oneSprite.end());
    expected.insert(expected.end(), oneSprite.begin(), oneSprite.end());
    EXPECT_EQ(driver.calls, expected);
    const video::E_TRANSFORMATION_STATE order[3] = {video::ETS_PROJECTION, video::ETS_VIEW, video::ETS_WORLD};
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(driver.transforms[3 + i].state, order[i]);     // the camera is set in this order
        EXPECT_EQ(driver.transforms[3 + 3 + i].state, order[i]); // and put back in it
        EXPECT_EQ(driver.transforms.end()[-3 + static_cast<long>(i)].state, order[i]);
    }
    EXPECT_EQ(driver.transforms.back().matrix, world);
}
