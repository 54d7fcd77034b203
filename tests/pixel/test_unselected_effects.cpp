// Real frames of the registered effects the timeline never shows,
// rendered by kirupo-capture --effect with the OpenGL driver.
#include "PixelTest.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace irr;

namespace
{
const video::SColor PALE_YELLOW(255, 255, 255, 140);
const video::SColor BLACK(255, 0, 0, 0);
const video::SColor GREEN(255, 0, 255, 0);
const video::SColor ORANGE(255, 255, 192, 0);
const video::SColor WHITE(255, 255, 255, 255);

// Where a world point lands on the screen, seen by the effects' 90-degree camera.
core::vector2di onScreen(core::vector3df point, const core::vector3df& camera, const core::vector3df& target,
                         const core::vector3df& up)
{
    core::matrix4 view;
    view.buildCameraLookAtMatrixLH(camera, target, up);
    const core::vector2df at = ::onScreen(view, point);
    return core::vector2di(static_cast<s32>(at.X), static_cast<s32>(at.Y));
}

struct Box
{
    core::vector3df low, high;
};

// OBJ text for boxes of one material, every face in both windings (so it
// shows from either side) with its outward normal. The loader mirrors x, in
// positions and normals, so the file holds -x.
std::string boxesObj(std::initializer_list<Box> boxes, const std::string& material)
{
    std::ostringstream obj;
    obj << "mtllib box.mtl\nusemtl " << material << "\n";
    // Corner bits: 1 the high x, 2 the high y, 4 the high z. Faces by their corners, with mirrored normals.
    struct Face
    {
        int a, b, c, d;
        const char* normal;
    };
    const Face faces[6] = {{0, 2, 6, 4, "1 0 0"}, {1, 3, 7, 5, "-1 0 0"}, {0, 1, 5, 4, "0 -1 0"},
                           {2, 3, 7, 6, "0 1 0"}, {0, 1, 3, 2, "0 0 -1"}, {4, 5, 7, 6, "0 0 1"}};
    for (const Face& face : faces)
        obj << "vn " << face.normal << "\n";
    // Each quad's two triangles, once each way round.
    const int BOTH_WINDINGS[4][3] = {{0, 1, 2}, {0, 2, 3}, {2, 1, 0}, {3, 2, 0}};
    int first = 1; // OBJ indices count from 1
    for (const Box& box : boxes)
    {
        for (int corner = 0; corner < 8; ++corner)
            obj << "v " << -(corner & 1 ? box.high.X : box.low.X) << " " << (corner & 2 ? box.high.Y : box.low.Y) << " "
                << (corner & 4 ? box.high.Z : box.low.Z) << "\n";
        for (int n = 0; n < 6; ++n)
        {
            const Face& f = faces[n];
            const int quad[4] = {first + f.a, first + f.b, first + f.c, first + f.d};
            for (const auto& triangle : BOTH_WINDINGS)
            {
                obj << "f";
                for (int k = 0; k < 3; ++k)
                    obj << " " << quad[triangle[k]] << "//" << n + 1;
                obj << "\n";
            }
        }
        first += 8;
    }
    return obj.str();
}
} // namespace

// Each copy is a rod along its own y axis: spinning about that axis keeps it
// in place, and the turn of 1 radian about z leans it to the left.
TEST(Effect1200Frames, ThreeLeaningRodsOnPaleYellow)
{
    TestDataTree tree;
    tree.writeModel("shape_1a.obj", boxesObj({{{-0.2f, -1.5f, -0.2f}, {0.2f, 1.5f, 0.2f}}}, "rod"), "box.mtl",
                    "newmtl rod\nKd 0.2 0.4 0.9\n");
    const Frame frame = captureFrame(tree, 2.0f, 1200, 10);
    ASSERT_TRUE(frame.valid());
    keepFrame(frame, "effect1200-rods");

    // Unlit: the rods show their own colour, the same on every face.
    const video::SColor rod(255, 51, 102, 229);
    core::matrix4 lean;
    lean.setRotationRadians(core::vector3df(0, 0, 1));
    for (int copy = 0; copy < 3; ++copy)
    {
        const core::vector3df centre(4.0f * copy - 4, 0, 0);
        for (float along : {-0.5f, 0.0f, 1.2f})
        {
            core::vector3df point(0, along, 0);
            lean.rotateVect(point);
            EXPECT_TRUE(colourAt(frame, onScreen(centre + point, {4, 0, -3.5f}, {1, 0, 0}, {0, 1, 0}), rod)) << copy;
        }
        // Where an upright rod would reach, the backdrop shows.
        EXPECT_TRUE(colourAt(frame, onScreen(centre + core::vector3df(0, 1.2f, 0), {4, 0, -3.5f}, {1, 0, 0}, {0, 1, 0}),
                             PALE_YELLOW))
            << copy;
    }
    for (core::vector2di corner : {core::vector2di(5, 5), {634, 5}, {5, 474}, {634, 474}})
        EXPECT_TRUE(colourAt(frame, corner, PALE_YELLOW));
}

namespace
{
// What the glow overlays make of a colour c of the sharp scene where the
// blurred scene has the same colour: the cyan copy, then the dark grey one,
// each added as source + destination * (1 - source).
video::SColor glowing(video::SColor c)
{
    auto add = [](float destination, float source) { return source + destination * (1 - source); };
    const float r = c.getRed() / 255.0f, g = c.getGreen() / 255.0f, b = c.getBlue() / 255.0f;
    const float grey = 32 / 255.0f;
    return video::SColor(255, static_cast<u32>(255 * add(add(r, 0), grey * r) + 0.5f),
                         static_cast<u32>(255 * add(add(g, g), grey * g) + 0.5f),
                         static_cast<u32>(255 * add(add(b, b), grey * b) + 0.5f));
}
} // namespace

// A flat red square on the ground, lit only by the white ambient light (both
// lights travel level with it). At demo time 0 the town stands at y = -15,
// so the square covers y = -3 to 5 in the world, ahead of the camera.
TEST(Effect1300Frames, GlowBrightensTheTownAndSpillsPastItsEdgesOntoBlack)
{
    TestDataTree tree;
    tree.writeModel("town_04.obj", boxesObj({{{-3, 12, -0.01f}, {3, 20, 0}}}, "ground"), "box.mtl",
                    "newmtl ground\nKa 0.8 0.2 0.2\nKd 0.5 0.5 0.5\n");
    const Frame frame = captureFrame(tree, 0.0f, 1300);
    ASSERT_TRUE(frame.valid());
    keepFrame(frame, "effect1300-square");

    auto seen = [](const core::vector3df& point) { return onScreen(point, {0, -7, 4}, {0, 5, 2}, {0, 0, 1}); };
    // Inside the square the glow adds its cyan to the sharp red.
    const video::SColor sharp(255, 204, 51, 51);
    EXPECT_TRUE(colourAt(frame, seen({0, 1, 0}), glowing(sharp), 6));
    EXPECT_TRUE(colourAt(frame, seen({-2, 3, 0}), glowing(sharp), 6));

    // Walking out of the square across its far edge and across its side, the
    // sharp red ends where the sharp scene is black, but the blurred copy
    // spills over: the first pixel past the red is a faint cyan-grey.
    const core::vector2di middle = seen({0, 1, 0});
    for (core::vector2di step : {core::vector2di(0, -1), core::vector2di(1, 0), core::vector2di(-1, 0)})
    {
        core::vector2di at = middle;
        while (frame.at(static_cast<unsigned>(at.X), static_cast<unsigned>(at.Y)).getRed() > 150)
            at += step;
        const video::SColor spill = frame.at(static_cast<unsigned>(at.X), static_cast<unsigned>(at.Y));
        EXPECT_GE(spill.getGreen(), 8u) << at.X << "," << at.Y;
        EXPECT_GT(spill.getGreen(), spill.getRed()) << at.X << "," << at.Y;
        EXPECT_NEAR(spill.getGreen(), spill.getBlue(), 1) << at.X << "," << at.Y;
        EXPECT_TRUE(colourAt(frame, at + step * 8, BLACK));
    }
    // Where neither covers, black: the dark backdrop is cleared away.
    for (core::vector2di away : {core::vector2di(5, 5), {320, 20}, {634, 474}, seen({0, 5.5f, 0})})
        EXPECT_TRUE(colourAt(frame, away, BLACK));
}

// At local time 0 the camera stands at (24, 23, -400) looking along
// (0.2, 0, 1). A square across its way faces the light head on and turns
// white; a wall to its left, lengthwise, gets no light and glows orange.
TEST(Effect1600Frames, ModelLitWhiteAndOrangeOverGreen)
{
    TestDataTree tree;
    const std::string obj = boxesObj({{{26, 19, -370}, {34, 27, -369.9f}}, {{14, 19, -385}, {14.1f, 27, -370}}},
                                     "plain");
    tree.writeModel("arks5.obj", obj, "box.mtl", "newmtl plain\nKa 0 0 0\nKd 0.3 0.3 0.3\n");
    const Frame frame = captureFrame(tree, 0.0f, 1600);
    ASSERT_TRUE(frame.valid());
    keepFrame(frame, "effect1600-square-and-wall");

    auto seen = [](const core::vector3df& point) {
        return onScreen(point, {24, 23, -400}, {24.2f, 23, -399}, {0.15f, 1, 0});
    };
    EXPECT_TRUE(colourAt(frame, seen({30, 23, -370}), WHITE));
    EXPECT_TRUE(colourAt(frame, seen({14.1f, 23, -377}), ORANGE));
    for (core::vector2di corner : {core::vector2di(634, 5), {634, 474}, {320, 20}})
        EXPECT_TRUE(colourAt(frame, corner, GREEN));
}

// The generated assets, for a look at what these effects really show.
TEST(UnselectedEffectFrames, GeneratedAssets)
{
    TestDataTree tree;
    tree.copyGeneratedAssets();

    const Frame shapes = captureFrame(tree, 2.0f, 1200, 10);
    ASSERT_TRUE(shapes.valid());
    keepFrame(shapes, "effect1200-generated");
    EXPECT_TRUE(colourAt(shapes, {5, 5}, PALE_YELLOW));
    EXPECT_LT(countNear(shapes, PALE_YELLOW), 640u * 480u * 9 / 10);

    const Frame town = captureFrame(tree, 0.0f, 1300);
    ASSERT_TRUE(town.valid());
    keepFrame(town, "effect1300-generated");
    EXPECT_EQ(countNear(town, video::SColor(255, 16, 16, 20)), 0u);
    EXPECT_LT(countNear(town, BLACK), 640u * 480u / 2);

    const Frame flight = captureFrame(tree, 1.0f, 1600, 10);
    ASSERT_TRUE(flight.valid());
    keepFrame(flight, "effect1600-generated");
    EXPECT_GT(countNear(flight, GREEN), 10000u);
    EXPECT_GT(countNear(flight, ORANGE), 10000u);
}
