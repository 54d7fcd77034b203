// The render-to-texture flight: a model seen by two rolling cameras into a
// 32 x 32 target, stretched over the pink screen and the flashing picture.
#include "DemoFixture.h"
#include "ScratchDataTree.h"

#include "effects/Effect1500.h"

#include <algorithm>
#include <cmath>

using namespace irr;

namespace
{
// Two buffers: a blue one with a grey ambient colour and a white one.
const char* MODEL_OBJ = "mtllib arks3.mtl\n"
                        "v -20 20 0\nv -28 20 0\nv -24 26 0\n"
                        "usemtl blue\nf 1 2 3\n"
                        "usemtl white\nf 3 2 1\n";
const char* MODEL_MTL = "newmtl blue\nKa 0.2 0.2 0.2\nKd 0 0 1\n"
                        "newmtl white\nKa 0 0 0\nKd 1 1 1\n";

const core::recti SCREEN(0, 0, 640, 480);

core::matrix4 lookAt(const core::vector3df& position, const core::vector3df& target, const core::vector3df& up)
{
    core::matrix4 view;
    view.buildCameraLookAtMatrixLH(position, target, up);
    return view;
}

core::vector3df cameraPosition(const core::matrix4& view)
{
    core::matrix4 inverse;
    view.getInverse(inverse);
    return inverse.getTranslation();
}

// The same camera: where it stands and how it is turned.
::testing::AssertionResult sameCamera(const core::matrix4& view, const core::matrix4& expected, float tolerance)
{
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            if (std::fabs(view(row, column) - expected(row, column)) > tolerance)
                return ::testing::AssertionFailure() << "orientation differs at " << row << "," << column;
    if (!cameraPosition(view).equals(cameraPosition(expected), tolerance))
        return ::testing::AssertionFailure() << "position differs";
    return ::testing::AssertionSuccess();
}

class Effect1500Test : public DemoFixture
{
protected:
    ScratchDataTree tree;
    Effect1500 effect;

    void initWithModel()
    {
        tree.writeFile("data/models/arks3.obj", MODEL_OBJ);
        tree.writeFile("data/models/arks3.mtl", MODEL_MTL);
        effect.init();
    }
    // The views of the mesh-buffer draws, one per camera pass.
    std::vector<core::matrix4> passViews() const
    {
        std::vector<core::matrix4> views;
        for (const auto& drawn : driver.meshBuffers)
            if (views.empty() || !(views.back() == drawn.view))
                views.push_back(drawn.view);
        return views;
    }
    scene::IMesh* model() const { return context->getSceneManager()->getMesh("../data/models/arks3.obj")->getMesh(0); }
};
} // namespace

TEST_F(Effect1500Test, FirstFrameSeesTheModelFromBothCamerasAtTheirStart)
{
    initWithModel();
    effect.update(0.7f);

    // Each camera draws both buffers of the model into the 32 x 32 target.
    ASSERT_EQ(driver.renderTargetsCreated.size(), 1u);
    EXPECT_EQ(driver.renderTargetsCreated[0], core::dimension2du(32, 32));
    ASSERT_EQ(driver.meshBuffers.size(), 4u);
    video::ITexture* target = driver.renderTargets.at(0).texture;
    ASSERT_NE(target, nullptr);
    for (size_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ(driver.meshBuffers[i].buffer, model()->getMeshBuffer(i % 2));
        EXPECT_EQ(driver.meshBuffers[i].renderTarget, target);
        EXPECT_EQ(driver.meshBuffers[i].world, core::IdentityMatrix);
    }

    const core::matrix4 viewA = lookAt({24, 23, -410}, {24.5f, 23, -409}, {2.55f, 1, 0});
    // The second camera's roll is 15 radians ahead: up about (-1.937, 2.658, 0).
    const core::matrix4 viewB = lookAt({24, 23, -350}, {24.7f, 23, -349}, {-1.937f, 2.658f, 0});
    const std::vector<core::matrix4> views = passViews();
    ASSERT_EQ(views.size(), 2u);
    EXPECT_TRUE(sameCamera(views[0], viewA, 1e-5f));
    EXPECT_TRUE(sameCamera(views[1], viewB, 1e-3f));

    core::matrix4 projection;
    projection.buildProjectionMatrixPerspectiveFovLH(1.5707951f, 1.3333334f, 0.1f, 1000.0f);
    EXPECT_TRUE(driver.meshBuffers[0].projection.equals(projection, 1e-6f));
}

TEST_F(Effect1500Test, CamerasFlyAlongZSixtyApartAndRollOnceEveryPiSeconds)
{
    initWithModel();
    effect.update(0.0f);
    // The first camera's up vector (2.55 cos 2t, 1 + 2.55 sin 2t, 0) points
    // straight up at t = pi/4 and straight down at 3 pi/4.
    for (float dt : {0.785398f, 1.570796f})
    {
        driver.clearRecord();
        effect.update(dt);
        const core::matrix4 view = passViews().at(0);
        const core::vector3df screenUp(view(0, 1), view(1, 1), view(2, 1));
        const float expectedY = effect.getLocalTime() < 1 ? 1.0f : -1.0f;
        EXPECT_TRUE(screenUp.equals(core::vector3df(0, expectedY, 0), 1e-5f)) << effect.getLocalTime();
    }
    // About the end of the section.
    driver.clearRecord();
    effect.update(10.104f - effect.getLocalTime());
    const std::vector<core::matrix4> views = passViews();
    ASSERT_EQ(views.size(), 2u);
    EXPECT_TRUE(cameraPosition(views[0]).equals(core::vector3df(24, 23, -5.84f), 1e-3f));
    EXPECT_NEAR(cameraPosition(views[1]).Z, 54.16f, 1e-3f);
}

TEST_F(Effect1500Test, EveryBufferIsLitBlackWithAnOrangeGlowAndKeepsTheRestOfItsMaterial)
{
    initWithModel();
    effect.update(0.0f);

    ASSERT_EQ(driver.meshBuffers.size(), 4u);
    for (size_t i = 0; i < 4; ++i)
    {
        const video::SMaterial& own = model()->getMeshBuffer(i % 2)->getMaterial();
        video::SMaterial expected = own;
        expected.Lighting = true;
        expected.setFlag(video::EMF_BILINEAR_FILTER, false);
        expected.DiffuseColor = video::SColor(0xFF000000);
        expected.EmissiveColor = video::SColor(0xFFFFC000);
        expected.ColorMaterial = video::ECM_NONE;
        EXPECT_EQ(driver.meshBuffers[i].material, expected) << i;
    }
    // The model's own materials are untouched: the blue buffer keeps its colours.
    EXPECT_EQ(model()->getMeshBuffer(0)->getMaterial().AmbientColor, video::SColor(255, 51, 51, 51));
    EXPECT_FALSE(model()->getMeshBuffer(0)->getMaterial().DiffuseColor == video::SColor(0xFF000000));
    EXPECT_EQ(model()->getMeshBuffer(0)->getMaterial().ColorMaterial, video::ECM_DIFFUSE);
}

TEST_F(Effect1500Test, EachCameraIsLitByOneWhiteLightAlongWorldZUnderWhiteAmbient)
{
    initWithModel();
    effect.update(0.0f);

    // The light is added after each camera's view, once per pass, so the
    // driver fixes it in world space.
    ASSERT_EQ(driver.lightsAdded.size(), 2u);
    const std::vector<core::matrix4> views = passViews();
    ASSERT_EQ(views.size(), 2u);
    for (size_t pass = 0; pass < 2; ++pass)
    {
        const video::SLight& light = driver.lightsAdded[pass];
        EXPECT_EQ(light.Type, video::ELT_DIRECTIONAL);
        EXPECT_EQ(light.Direction, core::vector3df(0, 0, 1));
        EXPECT_EQ(light.Radius, 1000.0f);
        EXPECT_EQ(light.DiffuseColor.toSColor(), video::SColor(0xFFFFFFFF));
        EXPECT_EQ(light.AmbientColor.toSColor(), video::SColor(0xFF000000));
        EXPECT_EQ(light.SpecularColor.toSColor(), video::SColor(0xFF000000));
        EXPECT_EQ(driver.lightViews[pass], views[pass]);
    }
    EXPECT_EQ(driver.count("deleteAllDynamicLights"), 2u);
    ASSERT_EQ(driver.ambientLights.size(), 1u);
    EXPECT_EQ(driver.ambientLights[0].toSColor(), video::SColor(0xFFFFFFFF));
}

TEST_F(Effect1500Test, ScreenGetsClearPinkPictureThenTheStretchedTarget)
{
    initWithModel();
    effect.update(0.0f);

    std::vector<std::string> order;
    for (const std::string& call : driver.calls)
        if (call == "setRenderTarget" || call == "drawMeshBuffer" || call == "draw2DRectangle" || call == "draw2DImage")
            if (order.empty() || order.back() != call)
                order.push_back(call);
    EXPECT_EQ(order, (std::vector<std::string>{"setRenderTarget", "drawMeshBuffer", "setRenderTarget",
                                               "draw2DRectangle", "draw2DImage"}));

    // Into the target cleared to transparent black, back to the screen cleared the same way.
    ASSERT_EQ(driver.renderTargets.size(), 2u);
    video::ITexture* target = driver.renderTargets[0].texture;
    for (const auto& change : driver.renderTargets)
    {
        EXPECT_TRUE(change.clearBackBuffer);
        EXPECT_TRUE(change.clearZBuffer);
        EXPECT_EQ(change.colour, video::SColor(0x00000000));
    }
    EXPECT_EQ(driver.renderTargets[1].texture, nullptr);

    ASSERT_EQ(driver.rectangles.size(), 1u);
    EXPECT_EQ(driver.rectangles[0].colour, video::SColor(0xFFFF0080));
    EXPECT_EQ(driver.rectangles[0].area, SCREEN);
    EXPECT_FALSE(driver.rectangles[0].clipped);

    ASSERT_EQ(driver.images.size(), 2u);
    const auto& picture = driver.images[0];
    EXPECT_EQ(picture.texture, driver.getTexture("../data/textures/uvo_back.png"));
    EXPECT_EQ(picture.destination, SCREEN);
    EXPECT_EQ(picture.source, core::recti(0, 0, 512, 512));
    EXPECT_TRUE(picture.useAlphaChannel);
    EXPECT_FALSE(picture.clipped);
    const auto& stretched = driver.images[1];
    EXPECT_EQ(stretched.texture, target);
    EXPECT_EQ(stretched.destination, SCREEN);
    EXPECT_EQ(stretched.source, core::recti(0, 0, 31, 31));
    EXPECT_FALSE(stretched.tinted);
    EXPECT_TRUE(stretched.useAlphaChannel);
    EXPECT_FALSE(stretched.clipped);
    EXPECT_EQ(stretched.renderTarget, nullptr);
}

TEST_F(Effect1500Test, PictureIsBlackForTheFirstHalfOfEverySecondOnly)
{
    initWithModel();
    struct Case
    {
        float localTime;
        video::SColor shade;
    };
    const Case cases[] = {{0.0f, 0xFF000000},  {0.25f, 0xFF000000}, {0.5f, 0xFFFFFFFF},
                          {0.75f, 0xFFFFFFFF}, {1.25f, 0xFF000000}, {9.5f, 0xFFFFFFFF}};
    effect.update(0.0f);
    float now = 0;
    for (const Case& c : cases)
    {
        if (c.localTime > now)
        {
            driver.clearRecord();
            effect.update(c.localTime - now);
            now = effect.getLocalTime();
            ASSERT_EQ(now, c.localTime);
        }
        ASSERT_EQ(driver.images.size(), 2u);
        EXPECT_TRUE(driver.images[0].tinted);
        for (const video::SColor& corner : driver.images[0].colours)
            EXPECT_EQ(corner, c.shade) << c.localTime;
    }
}

TEST_F(Effect1500Test, MissingModelSkipsBothPassesAndDrawsTheRestOfTheFrame)
{
    effect.init(); // no model in the data tree
    effect.update(0.0f);
    effect.update(0.1f);

    EXPECT_TRUE(driver.meshBuffers.empty());
    EXPECT_EQ(driver.count("setRenderTarget"), 4u);
    EXPECT_EQ(driver.rectangles.size(), 2u);
    EXPECT_EQ(driver.images.size(), 4u);
    EXPECT_EQ(driver.currentRenderTarget(), nullptr);
}
