// The lit town under its glow: the scene into target A, blurred into B and
// back, then the sharp scene on the screen with A added over it twice.
#include "DemoFixture.h"
#include "ScratchDataTree.h"

#include "effects/Effect1300.h"

using namespace irr;

namespace
{
const char* TOWN_OBJ = "mtllib town_04.mtl\n"
                       "v -1 0 0\nv 1 0 0\nv 0 0 1\n"
                       "usemtl stone\nf 1 2 3\n"
                       "usemtl roof\nf 3 2 1\n";
const char* TOWN_MTL = "newmtl stone\nKa 0.3 0.3 0.3\nKd 0.8 0.8 0.7\n"
                       "newmtl roof\nKd 0.8 0.2 0.2\n";

const video::SColor CLEAR(0x00000000);

class Effect1300Test : public DemoFixture
{
protected:
    ScratchDataTree tree;
    Effect1300 effect;

    void initWithTown()
    {
        tree.writeFile("data/models/town_04.obj", TOWN_OBJ);
        tree.writeFile("data/models/town_04.mtl", TOWN_MTL);
        effect.init();
    }
    scene::IMesh* town() const { return context->getSceneManager()->getMesh("../data/models/town_04.obj")->getMesh(0); }
    // The drawing calls in order, each run of the same call recorded once.
    std::vector<std::string> drawingOrder() const
    {
        std::vector<std::string> order;
        for (const std::string& call : driver.calls)
            if (call == "setRenderTarget" || call == "drawMeshBuffer" || call == "draw2DRectangle" ||
                call == "drawIndexedTriangleList")
                if (order.empty() || order.back() != call || call == "setRenderTarget")
                    order.push_back(call);
        return order;
    }
};

// One sprite as drawSprite lays it out: the virtual screen's corners shifted
// by (-320, -240), the whole texture, the colour on every corner.
void expectSprite(const RecordingDriver::Triangles& sprite, video::ITexture* texture, float left, float top,
                  float right, float bottom, video::SColor colour, video::E_MATERIAL_TYPE type)
{
    ASSERT_EQ(sprite.vertices.size(), 4u);
    EXPECT_EQ(sprite.vertices[0].Pos, core::vector3df(left - 320, top - 240, 0));
    EXPECT_EQ(sprite.vertices[3].Pos, core::vector3df(right - 320, bottom - 240, 0));
    EXPECT_EQ(sprite.vertices[0].TCoords, core::vector2df(0, 0));
    EXPECT_EQ(sprite.vertices[3].TCoords, core::vector2df(1, 1));
    for (const video::S3DVertex& vertex : sprite.vertices)
        EXPECT_EQ(vertex.Color, colour);
    EXPECT_EQ(sprite.material.getTexture(0), texture);
    EXPECT_EQ(sprite.material.MaterialType, type);
    EXPECT_TRUE(sprite.material.getFlag(video::EMF_BILINEAR_FILTER));
}
} // namespace

TEST_F(Effect1300Test, SceneIntoATwoBlurPassesThenTheSharpSceneUnderTwoGlows)
{
    initWithTown();
    effect.update(0.016f);

    EXPECT_EQ(drawingOrder(),
              (std::vector<std::string>{"draw2DRectangle", "setRenderTarget", "drawMeshBuffer", "setRenderTarget",
                                        "drawIndexedTriangleList", "setRenderTarget", "drawIndexedTriangleList",
                                        "setRenderTarget", "drawMeshBuffer", "drawIndexedTriangleList"}));
    ASSERT_EQ(driver.rectangles.size(), 1u);
    EXPECT_EQ(driver.rectangles[0].colour, video::SColor(0xFF101014));
    EXPECT_EQ(driver.rectangles[0].area, core::recti(0, 0, 640, 480));

    // Two 128 x 128 targets; every switch clears colour and depth to transparent black.
    ASSERT_EQ(driver.renderTargetsCreated, (std::vector<core::dimension2du>{{128, 128}, {128, 128}}));
    ASSERT_EQ(driver.renderTargets.size(), 4u);
    video::ITexture* a = driver.renderTargets[0].texture;
    video::ITexture* b = driver.renderTargets[1].texture;
    ASSERT_TRUE(a && b && a != b);
    EXPECT_EQ(driver.renderTargets[2].texture, a);
    EXPECT_EQ(driver.renderTargets[3].texture, nullptr);
    for (const auto& change : driver.renderTargets)
        EXPECT_TRUE(change.clearBackBuffer && change.clearZBuffer && change.colour == CLEAR);

    // The town with its own materials, into A and then onto the screen.
    ASSERT_EQ(driver.meshBuffers.size(), 4u);
    for (size_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ(driver.meshBuffers[i].renderTarget, i < 2 ? a : nullptr);
        EXPECT_EQ(driver.meshBuffers[i].material, town()->getMeshBuffer(i % 2)->getMaterial());
    }

    // Each blur pass: the source whole, then four quarter-white copies half a
    // unit to the left, right, up and down; the first two add, the rest blend.
    const video::SColor white(0xFFFFFFFF), quarter(0x40FFFFFF);
    const auto add = video::EMT_TRANSPARENT_ADD_COLOR, blend = video::EMT_TRANSPARENT_ALPHA_CHANNEL;
    ASSERT_EQ(driver.triangles.size(), 12u);
    for (int pass = 0; pass < 2; ++pass)
    {
        video::ITexture* source = pass == 0 ? a : b;
        const RecordingDriver::Triangles* copies = &driver.triangles[5 * pass];
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(copies[i].renderTarget, pass == 0 ? b : a);
        expectSprite(copies[0], source, 0, 0, 640, 480, white, add);
        expectSprite(copies[1], source, -0.5f, 0, 639.5f, 480, quarter, add);
        expectSprite(copies[2], source, 0.5f, 0, 640.5f, 480, quarter, blend);
        expectSprite(copies[3], source, 0, -0.5f, 640, 479.5f, quarter, blend);
        expectSprite(copies[4], source, 0, 0.5f, 640, 480.5f, quarter, blend);
    }
    // The twice-blurred A added over the screen in cyan and in dark grey.
    expectSprite(driver.triangles[10], a, 0, 0, 640, 480, video::SColor(0x8000FFFF), add);
    expectSprite(driver.triangles[11], a, 0, 0, 640, 480, video::SColor(0x80202020), add);
    EXPECT_EQ(driver.triangles[11].renderTarget, nullptr);
    EXPECT_EQ(driver.currentRenderTarget(), nullptr);
}

TEST_F(Effect1300Test, EachSceneIsLitByTwoColouredLightsFixedUnderTheCamera)
{
    initWithTown();
    effect.update(0.016f);

    core::matrix4 view;
    view.buildCameraLookAtMatrixLH({0, -7, 4}, {0, 5, 2}, {0, 0, 1});
    ASSERT_EQ(driver.lightsAdded.size(), 4u);
    EXPECT_EQ(driver.count("deleteAllDynamicLights"), 2u);
    for (size_t scene = 0; scene < 2; ++scene)
    {
        const video::SLight& white = driver.lightsAdded[2 * scene];
        const video::SLight& purple = driver.lightsAdded[2 * scene + 1];
        EXPECT_EQ(white.Direction, core::vector3df(1, 1, 0));
        EXPECT_EQ(white.DiffuseColor.toSColor(), video::SColor(0xFFFFFFFF));
        EXPECT_EQ(purple.Direction, core::vector3df(-1, -2, 0));
        EXPECT_EQ(purple.DiffuseColor.r, 0.4f);
        EXPECT_EQ(purple.DiffuseColor.g, 0.3f);
        EXPECT_EQ(purple.DiffuseColor.b, 0.4f);
        EXPECT_EQ(driver.lightViews[2 * scene], view);
        EXPECT_EQ(driver.lightViews[2 * scene + 1], view);
        EXPECT_EQ(driver.meshBuffers[2 * scene].view, view);
    }
    ASSERT_EQ(driver.ambientLights.size(), 2u);
    EXPECT_EQ(driver.ambientLights[1].toSColor(), video::SColor(0xFFFFFFFF));
}

TEST_F(Effect1300Test, TownSwingsAlongTheViewByTheDemoClock)
{
    initWithTown();
    // At 0, 2 pi and 6 pi seconds: 8 units behind the camera's y, 12 ahead, 28 behind.
    const float times[] = {0.0f, 2 * 3.14159265f, 6 * 3.14159265f};
    const float expectedY[] = {-15, 5, -35};
    for (int i = 0; i < 3; ++i)
    {
        context->addTime(times[i] - context->getDemoTime());
        driver.clearRecord();
        effect.update(0.016f);
        ASSERT_EQ(driver.meshBuffers.size(), 4u);
        for (const auto& drawn : driver.meshBuffers)
        {
            const core::vector3df at = drawn.world.getTranslation();
            EXPECT_NEAR(at.Y, expectedY[i], 1e-4f) << times[i];
            EXPECT_EQ(at.X, 0.0f);
            EXPECT_EQ(at.Z, 0.0f);
        }
    }
}

TEST_F(Effect1300Test, MissingTownOrTargetsSkipOnlyWhatNeedsThem)
{
    // No town: the glow passes run over empty targets.
    effect.init();
    effect.update(0.016f);
    EXPECT_TRUE(driver.meshBuffers.empty());
    EXPECT_EQ(driver.renderTargets.size(), 4u);
    EXPECT_EQ(driver.triangles.size(), 12u);

    // No render targets: no glow, and nothing of it lands on the screen; the
    // screen is still cleared and the sharp town drawn.
    tree.writeFile("data/models/town_04.obj", TOWN_OBJ);
    tree.writeFile("data/models/town_04.mtl", TOWN_MTL);
    driver.failRenderTargets = true;
    Effect1300 targetless;
    targetless.init();
    driver.clearRecord();
    targetless.update(0.016f);
    ASSERT_EQ(driver.renderTargets.size(), 1u);
    EXPECT_EQ(driver.renderTargets[0].texture, nullptr);
    EXPECT_TRUE(driver.renderTargets[0].clearBackBuffer);
    EXPECT_TRUE(driver.triangles.empty());
    ASSERT_EQ(driver.meshBuffers.size(), 2u);
    EXPECT_EQ(driver.meshBuffers[0].renderTarget, nullptr);
}
