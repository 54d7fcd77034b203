// Drawing a mesh buffer by buffer, with the buffers' own materials or with
// the ones a material override chooses.
#include "DemoFixture.h"

#include "demo/MaterialOverride.h"

using namespace irr;

namespace
{
// A mesh of the given number of buffers, each with its own emissive colour
// so that materials can be told apart.
scene::SMesh* meshOfBuffers(u32 count)
{
    scene::SMesh* mesh = new scene::SMesh();
    for (u32 i = 0; i < count; ++i)
    {
        scene::SMeshBuffer* buffer = new scene::SMeshBuffer();
        buffer->Material.EmissiveColor = video::SColor(255, 10 * (i + 1), 0, 0);
        buffer->Material.Lighting = (i % 2) == 0;
        mesh->addMeshBuffer(buffer);
        buffer->drop();
    }
    return mesh;
}

core::matrix4 someWorld()
{
    core::matrix4 world;
    world.setTranslation(core::vector3df(1, 2, 3));
    world.setScale(core::vector3df(2, 2, -1));
    return world;
}

// Records what it was given and draws every buffer green and unlit.
class GreenOverride : public MaterialOverride
{
public:
    std::vector<const video::SMaterial*> given;
    void apply(const video::SMaterial& bufferMaterial) override
    {
        given.push_back(&bufferMaterial);
        video::SMaterial copy = bufferMaterial;
        copy.EmissiveColor = video::SColor(255, 0, 255, 0);
        copy.Lighting = false;
        DemoContext::instance()->getDriver()->setMaterial(copy);
    }
};

class MeshDrawingTest : public DemoFixture
{
};
} // namespace

TEST_F(MeshDrawingTest, WithoutAnOverrideEachBufferIsDrawnRightAfterItsOwnMaterial)
{
    scene::SMesh* mesh = meshOfBuffers(3);
    const core::matrix4 world = someWorld();
    context->drawMeshAt(mesh, world, nullptr);

    EXPECT_EQ(driver.calls, (std::vector<std::string>{"setTransform", "setMaterial", "drawMeshBuffer", "setMaterial",
                                                      "drawMeshBuffer", "setMaterial", "drawMeshBuffer"}));
    ASSERT_EQ(driver.meshBuffers.size(), 3u);
    for (u32 i = 0; i < 3; ++i)
    {
        EXPECT_EQ(driver.meshBuffers[i].buffer, mesh->getMeshBuffer(i));
        EXPECT_EQ(driver.meshBuffers[i].material, mesh->getMeshBuffer(i)->getMaterial()) << i;
        EXPECT_EQ(driver.meshBuffers[i].world, world);
    }
    EXPECT_EQ(driver.transforms[0].state, video::ETS_WORLD);
    mesh->drop();
}

TEST_F(MeshDrawingTest, AnOverrideChoosesEachBuffersMaterialFromAnUntouchedOriginal)
{
    scene::SMesh* mesh = meshOfBuffers(2);
    const video::SMaterial original0 = mesh->getMeshBuffer(0)->getMaterial();
    const video::SMaterial original1 = mesh->getMeshBuffer(1)->getMaterial();
    GreenOverride green;
    context->drawMeshAt(mesh, someWorld(), &green);

    // apply sees the buffer's own material, once per buffer, in order; the
    // override's setMaterial is the only one.
    ASSERT_EQ(green.given.size(), 2u);
    EXPECT_EQ(green.given[0], &mesh->getMeshBuffer(0)->getMaterial());
    EXPECT_EQ(green.given[1], &mesh->getMeshBuffer(1)->getMaterial());
    EXPECT_EQ(driver.count("setMaterial"), 2u);
    ASSERT_EQ(driver.meshBuffers.size(), 2u);
    for (const auto& drawn : driver.meshBuffers)
    {
        EXPECT_EQ(drawn.material.EmissiveColor, video::SColor(255, 0, 255, 0));
        EXPECT_FALSE(drawn.material.Lighting);
    }
    EXPECT_EQ(mesh->getMeshBuffer(0)->getMaterial(), original0);
    EXPECT_EQ(mesh->getMeshBuffer(1)->getMaterial(), original1);
    mesh->drop();
}

TEST_F(MeshDrawingTest, AMeshWithoutBuffersOrNoMeshAtAllStillSetsTheWorldAndDrawsNothing)
{
    scene::SMesh* empty = meshOfBuffers(0);
    GreenOverride green;
    const core::matrix4 world = someWorld();
    context->drawMeshAt(empty, world, &green);
    context->drawMeshAt(nullptr, world, nullptr);

    EXPECT_EQ(driver.calls, (std::vector<std::string>{"setTransform", "setTransform"}));
    EXPECT_EQ(driver.getTransform(video::ETS_WORLD), world);
    EXPECT_TRUE(green.given.empty());
    empty->drop();
}

TEST_F(MeshDrawingTest, TwoDrawsOfOneMeshUnderTwoViewsAreComplete)
{
    scene::SMesh* mesh = meshOfBuffers(2);
    core::matrix4 viewA, viewB;
    viewA.buildCameraLookAtMatrixLH(core::vector3df(0, 0, -5), core::vector3df(0, 0, 0), core::vector3df(0, 1, 0));
    viewB.buildCameraLookAtMatrixLH(core::vector3df(5, 0, 0), core::vector3df(0, 0, 0), core::vector3df(0, 1, 0));
    GreenOverride green;
    driver.setTransform(video::ETS_VIEW, viewA);
    context->drawMeshAt(mesh, core::IdentityMatrix, &green);
    driver.setTransform(video::ETS_VIEW, viewB);
    context->drawMeshAt(mesh, core::IdentityMatrix, &green);

    ASSERT_EQ(driver.meshBuffers.size(), 4u);
    EXPECT_EQ(green.given.size(), 4u);
    for (u32 i = 0; i < 4; ++i)
    {
        EXPECT_EQ(driver.meshBuffers[i].buffer, mesh->getMeshBuffer(i % 2));
        EXPECT_EQ(driver.meshBuffers[i].view, i < 2 ? viewA : viewB);
    }
    mesh->drop();
}
