// The model on green from one camera that flies along +z and sways.
#include "DemoFixture.h"
#include "ScratchDataTree.h"

#include "effects/Effect1600.h"

#include <algorithm>
#include <cmath>

using namespace irr;

namespace
{
const char* MODEL_OBJ = "mtllib arks5.mtl\n"
                        "v -20 20 0\nv -28 20 0\nv -24 26 0\n"
                        "usemtl blue\nf 1 2 3\n"
                        "usemtl grey\nf 3 2 1\n";
const char* MODEL_MTL = "newmtl blue\nKa 0.2 0.2 0.2\nKd 0 0 1\n"
                        "newmtl grey\nKd 0.5 0.5 0.5\n";

core::vector3df cameraPosition(const core::matrix4& view)
{
    core::matrix4 inverse;
    view.getInverse(inverse);
    return inverse.getTranslation();
}

// The same camera: where it stands and how it is turned.
::testing::AssertionResult sameCamera(const core::matrix4& view, const core::vector3df& position,
                                      const core::vector3df& target, const core::vector3df& up)
{
    core::matrix4 expected;
    expected.buildCameraLookAtMatrixLH(position, target, up);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            if (std::fabs(view(row, column) - expected(row, column)) > 1e-3f)
                return ::testing::AssertionFailure() << "orientation differs at " << row << "," << column;
    if (!cameraPosition(view).equals(position, 1e-3f))
        return ::testing::AssertionFailure() << "position differs";
    return ::testing::AssertionSuccess();
}

class Effect1600Test : public DemoFixture
{
protected:
    ScratchDataTree tree;
    Effect1600 effect;

    void initWithModel()
    {
        tree.writeFile("data/models/arks5.obj", MODEL_OBJ);
        tree.writeFile("data/models/arks5.mtl", MODEL_MTL);
        effect.init();
    }
    scene::IMesh* model() const { return context->getSceneManager()->getMesh("../data/models/arks5.obj")->getMesh(0); }
};
} // namespace

TEST_F(Effect1600Test, CameraStartsAtMinus400AndFliesFortyUnitsASecondSwaying)
{
    initWithModel();
    effect.update(0.7f); // the first frame's dt is ignored
    ASSERT_EQ(driver.meshBuffers.size(), 2u);
    EXPECT_TRUE(sameCamera(driver.meshBuffers[0].view, {24, 23, -400}, {24.2f, 23, -399}, {0.15f, 1, 0}));

    driver.clearRecord();
    effect.update(1.0f);
    ASSERT_EQ(driver.meshBuffers.size(), 2u);
    const core::matrix4 view = driver.meshBuffers[0].view;
    EXPECT_TRUE(sameCamera(view, {24, 23, -360}, {24.108f, 23, -358.832f}, {-0.0624f, 1.1364f, 0}));

    // The white light along world +z is added under this camera's view.
    ASSERT_EQ(driver.lightsAdded.size(), 1u);
    EXPECT_EQ(driver.lightsAdded[0].Direction, core::vector3df(0, 0, 1));
    EXPECT_EQ(driver.lightsAdded[0].DiffuseColor.toSColor(), video::SColor(0xFFFFFFFF));
    EXPECT_EQ(driver.lightViews[0], view);
    core::matrix4 projection;
    projection.buildProjectionMatrixPerspectiveFovLH(1.5707951f, 1.3333334f, 0.1f, 1000.0f);
    EXPECT_TRUE(driver.meshBuffers[0].projection.equals(projection, 1e-6f));
}

TEST_F(Effect1600Test, GreenScreenThenTheModelLitWhiteWithAnOrangeGlow)
{
    initWithModel();
    effect.update(0.0f);

    // Straight onto the screen: the green rectangle, then the model; no image, no target.
    ASSERT_EQ(driver.rectangles.size(), 1u);
    EXPECT_EQ(driver.rectangles[0].colour, video::SColor(0xFF00FF00));
    EXPECT_EQ(driver.rectangles[0].area, core::recti(0, 0, 640, 480));
    EXPECT_LT(std::find(driver.calls.begin(), driver.calls.end(), "draw2DRectangle"),
              std::find(driver.calls.begin(), driver.calls.end(), "drawMeshBuffer"));
    EXPECT_TRUE(driver.images.empty());
    EXPECT_TRUE(driver.renderTargets.empty());

    ASSERT_EQ(driver.meshBuffers.size(), 2u);
    for (size_t i = 0; i < 2; ++i)
    {
        video::SMaterial expected = model()->getMeshBuffer(i)->getMaterial();
        expected.Lighting = true;
        expected.setFlag(video::EMF_BILINEAR_FILTER, false);
        expected.DiffuseColor = video::SColor(0xFFFFFFFF);
        expected.EmissiveColor = video::SColor(0xFFFFC000);
        expected.ColorMaterial = video::ECM_NONE;
        EXPECT_EQ(driver.meshBuffers[i].material, expected) << i;
        EXPECT_EQ(driver.meshBuffers[i].world, core::IdentityMatrix);
    }
    EXPECT_EQ(model()->getMeshBuffer(0)->getMaterial().ColorMaterial, video::ECM_DIFFUSE);
    ASSERT_EQ(driver.ambientLights.size(), 1u);
    EXPECT_EQ(driver.ambientLights[0].toSColor(), video::SColor(0xFFFFFFFF));
}

TEST_F(Effect1600Test, MissingModelLeavesTheScreenGreen)
{
    effect.init();
    effect.update(0.0f);
    effect.update(0.1f);
    EXPECT_TRUE(driver.meshBuffers.empty());
    EXPECT_EQ(driver.rectangles.size(), 2u);
}
