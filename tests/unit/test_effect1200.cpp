// Three unlit copies of the shape spinning by the demo clock on pale yellow.
#include "DemoFixture.h"
#include "ScratchDataTree.h"

#include "effects/Effect1200.h"

#include <algorithm>

using namespace irr;

namespace
{
// Two buffers: a red one with a grey ambient colour, and a green one.
const char* SHAPE_OBJ = "mtllib shape_1a.mtl\n"
                        "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
                        "usemtl red\nf 1 2 3\n"
                        "usemtl green\nf 3 2 1\n";
const char* SHAPE_MTL = "newmtl red\nKa 0.2 0.2 0.2\nKd 1 0 0\n"
                        "newmtl green\nKd 0 1 0\n";

class Effect1200Test : public DemoFixture
{
protected:
    ScratchDataTree tree;
    Effect1200 effect;

    scene::IMesh* shape() const
    {
        return context->getSceneManager()->getMesh("../data/models/shape_1a.obj")->getMesh(0);
    }
};
} // namespace

TEST_F(Effect1200Test, ThreeCopiesTurnTogetherByTheDemoClockOverPaleYellow)
{
    tree.writeFile("data/models/shape_1a.obj", SHAPE_OBJ);
    tree.writeFile("data/models/shape_1a.mtl", SHAPE_MTL);
    effect.init();
    const float demoTime = 1.3f;
    context->addTime(demoTime);
    effect.update(0.25f);

    ASSERT_EQ(driver.rectangles.size(), 1u);
    EXPECT_EQ(driver.rectangles[0].colour, video::SColor(0xFFFFFF8C));
    EXPECT_EQ(driver.rectangles[0].area, core::recti(0, 0, 640, 480));
    EXPECT_FALSE(driver.rectangles[0].clipped);
    EXPECT_LT(std::find(driver.calls.begin(), driver.calls.end(), "draw2DRectangle"),
              std::find(driver.calls.begin(), driver.calls.end(), "drawMeshBuffer"));

    core::matrix4 view, projection;
    view.buildCameraLookAtMatrixLH({4, 0, -3.5f}, {1, 0, 0}, {0, 1, 0});
    projection.buildProjectionMatrixPerspectiveFovLH(1.5707951f, 1.3333334f, 0.1f, 1000.0f);
    ASSERT_EQ(driver.meshBuffers.size(), 6u);
    for (size_t draw = 0; draw < 6; ++draw)
    {
        const auto& drawn = driver.meshBuffers[draw];
        const size_t copy = draw / 2;
        core::matrix4 world;
        world.setRotationRadians(core::vector3df(0, demoTime, 1));
        world.setTranslation(core::vector3df(4.0f * copy - 4, 0, 0));
        EXPECT_EQ(drawn.world, world) << draw;
        EXPECT_EQ(drawn.view, view);
        EXPECT_TRUE(drawn.projection.equals(projection, 1e-6f));
        EXPECT_EQ(drawn.buffer, shape()->getMeshBuffer(draw % 2));

        // Unlit and unfiltered; texture, colours and type stay the shape's own.
        video::SMaterial expected = shape()->getMeshBuffer(draw % 2)->getMaterial();
        expected.Lighting = false;
        expected.setFlag(video::EMF_BILINEAR_FILTER, false);
        EXPECT_EQ(drawn.material, expected) << draw;
    }
    EXPECT_TRUE(shape()->getMeshBuffer(0)->getMaterial().Lighting);

    // One white light along world +z, added under the effect's view, and white ambient light.
    ASSERT_EQ(driver.lightsAdded.size(), 1u);
    EXPECT_EQ(driver.lightsAdded[0].Direction, core::vector3df(0, 0, 1));
    EXPECT_EQ(driver.lightsAdded[0].DiffuseColor.toSColor(), video::SColor(0xFFFFFFFF));
    EXPECT_EQ(driver.lightViews[0], view);
    ASSERT_EQ(driver.ambientLights.size(), 1u);
    EXPECT_EQ(driver.ambientLights[0].toSColor(), video::SColor(0xFFFFFFFF));
}

TEST_F(Effect1200Test, MissingShapeLeavesTheBackdropBare)
{
    effect.init();
    effect.update(0.0f);
    effect.update(0.1f);
    EXPECT_TRUE(driver.meshBuffers.empty());
    EXPECT_EQ(driver.rectangles.size(), 2u);
}
