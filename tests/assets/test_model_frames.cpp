// The generated models drawn by the OpenGL driver (under Xvfb): unlit, so
// that every face shows its material's colour exactly, from cameras placed
// where the geometry fixes what each pixel must show.
#include "AssetViews.h"
#include "PngWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace irr;

namespace
{

const std::string MODELS = std::string(KIRUPO_DATA_DIR) + "/models/";
const video::SColor BACKGROUND(255, 255, 0, 128);

class ModelFrames : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { views = new assets::AssetViews(640, 480); }
    static void TearDownTestSuite()
    {
        delete views;
        views = nullptr;
    }
    void SetUp() override
    {
        if (!views->ready())
            GTEST_SKIP() << "no OpenGL display";
    }

    // Draws the model, keeps the frame beside the build for a look, and returns it.
    static assets::Canvas frame(const char* name, const assets::Camera& camera)
    {
        scene::IAnimatedMesh* mesh = views->sceneManager()->getMesh((MODELS + name + ".obj").c_str());
        EXPECT_NE(mesh, nullptr);
        const assets::Canvas picture = views->renderModel(mesh ? mesh->getMesh(0) : nullptr, camera, {core::matrix4()},
                                                          {}, BACKGROUND);
        std::filesystem::create_directories(KIRUPO_FRAMES_DIR);
        assets::PngWriter().write(picture, std::string(KIRUPO_FRAMES_DIR) + "/" + name + ".png");
        return picture;
    }

    // The colour at a world point's pixel is the material's diffuse colour (r, g, b in 0..1).
    static void expectColourAt(const assets::Canvas& picture, const assets::Camera& camera, core::vector3df point,
                               float r, float g, float b, const char* what)
    {
        const core::vector2di p = views->project(camera, point);
        ASSERT_TRUE(p.X >= 0 && p.Y >= 0 && p.X < 640 && p.Y < 480) << what;
        const assets::Rgba c = picture.at(p.X, p.Y);
        EXPECT_NEAR(c.r, r * 255, 3) << what << " at " << p.X << "," << p.Y;
        EXPECT_NEAR(c.g, g * 255, 3) << what << " at " << p.X << "," << p.Y;
        EXPECT_NEAR(c.b, b * 255, 3) << what << " at " << p.X << "," << p.Y;
    }

    static void expectBackgroundAt(const assets::Canvas& picture, int x, int y, const char* what)
    {
        const assets::Rgba c = picture.at(x, y);
        EXPECT_TRUE(c.r == BACKGROUND.getRed() && c.g == BACKGROUND.getGreen() && c.b == BACKGROUND.getBlue())
            << what << " at " << x << "," << y << " is " << int(c.r) << "," << int(c.g) << "," << int(c.b);
    }

    static assets::AssetViews* views;
};
assets::AssetViews* ModelFrames::views = nullptr;

TEST_F(ModelFrames, ArchesRingTheFlightLineWithTheViewThroughThemOpen)
{
    // Twenty units before the first ring, looking down the flight line.
    const assets::Camera camera{{24, 23, -445}, {24, 23, -444}, {0, 1, 0}};
    const assets::Canvas picture = frame("arks3", camera);
    expectColourAt(picture, camera, {24, 33.1f, -421.25f}, 0.78f, 0.74f, 0.68f, "the first ring's top, stone");
    expectColourAt(picture, camera, {24 - 10.1f, 23, -421.25f}, 0.78f, 0.74f, 0.68f, "its left side");
    expectColourAt(picture, camera, {24, 33.1f, -395.75f}, 0.86f, 0.46f, 0.24f, "the arch behind, copper");
    expectBackgroundAt(picture, 320, 240, "the far end of the flight line");
}

TEST_F(ModelFrames, CorridorHasPillarsAFloorAndAnOpenEnd)
{
    const assets::Camera camera{{24, 23, -430}, {24, 23, -429}, {0, 1, 0}};
    const assets::Canvas picture = frame("arks5", camera);
    expectColourAt(picture, camera, {24 + 5.6f, 25, -420}, 0.86f, 0.84f, 0.78f, "the first right pillar, marble");
    expectColourAt(picture, camera, {24 - 5.6f, 21, -420}, 0.86f, 0.84f, 0.78f, "the first left pillar");
    expectColourAt(picture, camera, {24, 19, -415}, 0.30f, 0.36f, 0.48f, "the first floor plate, tile");
    expectBackgroundAt(picture, 320, 240, "the corridor's far end");
}

TEST_F(ModelFrames, ShapeShowsTwoTonesPerFace)
{
    // Straight at the face that points to -z: its pyramid's left and right
    // triangles are the light tone, its top and bottom ones the dark tone.
    const assets::Camera camera{{0, 0, -5}, {0, 0, 0}, {0, 1, 0}};
    const assets::Canvas picture = frame("shape_1a", camera);
    expectColourAt(picture, camera, {-0.53f, 0, -1.03f}, 0.90f, 0.30f, 0.85f, "left, light magenta");
    expectColourAt(picture, camera, {0.53f, 0, -1.03f}, 0.90f, 0.30f, 0.85f, "right, light magenta");
    expectColourAt(picture, camera, {0, 0.53f, -1.03f}, 0.54f, 0.18f, 0.51f, "top, dark magenta");
    expectBackgroundAt(picture, 20, 20, "well beside the shape");
}

TEST_F(ModelFrames, TownStreetLeadsToTheTower)
{
    // The glow section's camera: z up, looking down the street.
    const assets::Camera camera{{0, -7, 4}, {0, 5, 2}, {0, 0, 1}};
    const assets::Canvas picture = frame("town_04", camera);
    expectColourAt(picture, camera, {1.5f, 10, 0.04f}, 0.24f, 0.24f, 0.28f, "the street, asphalt");
    expectColourAt(picture, camera, {1.6f, 35, 5}, 0.80f, 0.78f, 0.72f, "the tower at its end");
    expectBackgroundAt(picture, 320, 5, "the sky");
}

} // namespace
