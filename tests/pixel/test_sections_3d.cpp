// Real frames of the three 3D sections, rendered by kirupo-capture with the
// OpenGL driver from test assets of known colours.
#include "PixelTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using namespace irr;

namespace
{
const video::SColor ORANGE(255, 255, 192, 0);
const video::SColor PINK(255, 255, 0, 128);
const video::SColor BLACK(255, 0, 0, 0);
const video::SColor BLUE(255, 0, 0, 255);
const video::SColor PALE_YELLOW(255, 255, 255, 140);
const video::SColor GREY(255, 92, 92, 92);
const video::SColor GREEN(255, 0, 200, 0);
const video::SColor MAGENTA(255, 200, 0, 200);
const video::SColor CYAN(255, 0, 255, 255);
const video::SColor WHITE(255, 255, 255, 255);
const video::SColor RED(255, 255, 0, 0);

// OBJ text for a square of half-side `half` centred on `centre`, spanned by
// the unit vectors across and up, facing the way across x up points. The
// loader mirrors x, so the file holds -x.
std::string squareObj(const core::vector3df& centre, const core::vector3df& across, const core::vector3df& up,
                      float half)
{
    std::ostringstream obj;
    obj << "mtllib square.mtl\nusemtl flat\n";
    for (int corner = 0; corner < 4; ++corner)
    {
        const float a = (corner == 0 || corner == 3) ? -half : half;
        const float b = corner < 2 ? -half : half;
        const core::vector3df p = centre + across * a + up * b;
        obj << "v " << -p.X << " " << p.Y << " " << p.Z << "\n";
    }
    const core::vector3df facing = across.crossProduct(up);
    obj << "vn " << -facing.X << " " << facing.Y << " " << facing.Z << "\n";
    obj << "f 1//1 3//1 2//1\nf 1//1 4//1 3//1\n";
    return obj.str();
}

// The background picture: an opaque blue disc of radius 150 in the middle of
// 512 x 512, transparent around it.
void writeDiscPicture(TestDataTree& tree)
{
    tree.writeTexture("uvo_back.png", 512, 512, [](unsigned x, unsigned y) {
        const int dx = static_cast<int>(x) - 256, dy = static_cast<int>(y) - 256;
        return dx * dx + dy * dy < 150 * 150 ? BLUE : video::SColor(0, 0, 0, 0);
    });
}
} // namespace

// The first camera starts at (24, 23, -410) looking along (0.5, 0, 1). A small
// square 30 units down that line shows in the middle of its picture however
// the camera rolls, and lies behind the second camera.
TEST(Effect1500Frames, OrangeModelInTheMiddleOverThePictureBlackenedInTheFirstHalfSecond)
{
    TestDataTree tree;
    writeDiscPicture(tree);
    const core::vector3df ahead = core::vector3df(0.5f, 0, 1).normalize();
    // Facing the camera, with a blue diffuse colour of its own.
    const core::vector3df across = core::vector3df(-1, 0, 0.5f).normalize();
    tree.writeModel("arks3.obj", squareObj(core::vector3df(24, 23, -410) + ahead * 30, across, {0, 1, 0}, 6),
                    "square.mtl", "newmtl flat\nKa 0 0 0\nKd 0.2 0.4 0.9\n");

    const Frame frame = captureFrame(tree, 0.0f, 1500);
    ASSERT_TRUE(frame.valid());
    keepFrame(frame, "effect1500-start");
    // The lit model shows only its orange glow, blown up from the 32 x 32 target.
    EXPECT_TRUE(colourAt(frame, 320, 240, ORANGE));
    // Around it the picture's disc, black for now; outside it the pink screen.
    for (auto [x, y] : {std::pair{320, 130}, {320, 350}, {170, 240}, {470, 240}})
        EXPECT_TRUE(colourAt(frame, x, y, BLACK));
    for (auto [x, y] : {std::pair{10, 10}, {630, 10}, {10, 470}, {630, 470}})
        EXPECT_TRUE(colourAt(frame, x, y, PINK));
    // Blocky: the square covers a handful of 20 x 15 pixel texels.
    const size_t orange = countNear(frame, ORANGE, 3);
    EXPECT_GT(orange, 6u * 300);
    EXPECT_LT(orange, 60u * 300);
}

TEST(Effect1500Frames, PictureShowsItsOwnColoursInTheSecondHalfOfTheSecond)
{
    TestDataTree tree;
    writeDiscPicture(tree);
    // By 0.75 s both cameras have flown past the square.
    const core::vector3df ahead = core::vector3df(0.5f, 0, 1).normalize();
    tree.writeModel("arks3.obj", squareObj(core::vector3df(24, 23, -410) + ahead * 30, {1, 0, 0}, {0, 1, 0}, 6),
                    "square.mtl", "newmtl flat\nKa 0 0 0\n");

    const Frame frame = captureFrame(tree, 0.75f, 1500, 4);
    ASSERT_TRUE(frame.valid());
    keepFrame(frame, "effect1500-three-quarters");
    for (auto [x, y] : {std::pair{320, 240}, {320, 130}, {170, 240}})
        EXPECT_TRUE(colourAt(frame, x, y, BLUE));
    for (auto [x, y] : {std::pair{10, 10}, {630, 470}})
        EXPECT_TRUE(colourAt(frame, x, y, PINK));
    EXPECT_EQ(countNear(frame, ORANGE, 3), 0u);
}

TEST(Effect1500Frames, MissingModelLeavesTheScreenAndPictureAlone)
{
    TestDataTree tree;
    writeDiscPicture(tree);
    const Frame frame = captureFrame(tree, 0.0f, 1500);
    ASSERT_TRUE(frame.valid());
    EXPECT_TRUE(colourAt(frame, 320, 240, BLACK));
    EXPECT_TRUE(colourAt(frame, 10, 10, PINK));
    EXPECT_EQ(countNear(frame, ORANGE, 3), 0u);
}

class Effect1100Frames : public ::testing::Test
{
protected:
    TestDataTree tree;
    Effect1100Frames()
    {
        tree.writeTexture("rabbit1.png", 32, 32, GREEN);
        tree.writeTexture("rabbit2.png", 32, 32, MAGENTA);
    }
};

// Pinned from demo time 0, both clocks read 1.4 s: the second picture, half
// a side of 180, not doubled: the rabbit covers (140, 60) to (500, 420).
TEST_F(Effect1100Frames, RabbitOverTheYellowScreenAndGreyBand)
{
    tree.writeTexture("stripes4.png", 8, 8, video::SColor(0, 0, 255, 255)); // ribbons unseen
    const Frame frame = captureFrame(tree, 1.4f, 1100, 10);
    ASSERT_TRUE(frame.valid());
    keepFrame(frame, "effect1100-plain");
    for (auto [x, y] : {std::pair{320, 240}, {150, 70}, {490, 410}})
        EXPECT_TRUE(colourAt(frame, x, y, MAGENTA));
    for (auto [x, y] : {std::pair{320, 50}, {320, 430}, {20, 130}, {620, 390}})
        EXPECT_TRUE(colourAt(frame, x, y, PALE_YELLOW));
    for (auto [x, y] : {std::pair{20, 150}, {130, 240}, {510, 240}, {620, 370}})
        EXPECT_TRUE(colourAt(frame, x, y, GREY));
}

// At 1.6 s the demo clock's fraction is above a half: the first picture,
// half a side of 270, reaching from (50, -30) to (590, 510).
TEST_F(Effect1100Frames, RabbitTakesTheFirstPictureInTheSecondHalfOfEachSecond)
{
    tree.writeTexture("stripes4.png", 8, 8, video::SColor(0, 0, 255, 255));
    const Frame frame = captureFrame(tree, 1.6f, 1100, 10);
    ASSERT_TRUE(frame.valid());
    EXPECT_TRUE(colourAt(frame, 320, 240, GREEN));
    EXPECT_TRUE(colourAt(frame, 60, 5, GREEN));
    EXPECT_TRUE(colourAt(frame, 40, 240, GREY));
    EXPECT_TRUE(colourAt(frame, 600, 100, PALE_YELLOW));
}

TEST_F(Effect1100Frames, RibbonsShowTheirOpaqueTexelsOnlyAroundTheRabbit)
{
    // Opaque stripes: the ribbons show beside the rabbit, not over it.
    tree.writeTexture("stripes4.png", 8, 8, CYAN);
    Frame frame = captureFrame(tree, 1.4f, 1100, 10);
    ASSERT_TRUE(frame.valid());
    keepFrame(frame, "effect1100-ribbons");
    EXPECT_GT(countNear(frame, CYAN, 3), 5000u);
    EXPECT_TRUE(colourAt(frame, 320, 240, MAGENTA));
    EXPECT_TRUE(colourAt(frame, 150, 70, MAGENTA));

    // Texels below half alpha are dropped, as in the engine the demo was made with.
    tree.writeTexture("stripes4.png", 8, 8, video::SColor(100, 0, 255, 255));
    frame = captureFrame(tree, 1.4f, 1100, 10);
    ASSERT_TRUE(frame.valid());
    const size_t plain = countNear(frame, PALE_YELLOW, 3) + countNear(frame, GREY, 3) + countNear(frame, MAGENTA, 3);
    EXPECT_EQ(plain, 640u * 480u);
}

namespace
{
// Where the middle of the heart's square (row, column) lands at local time t,
// seen as the finale's camera sees it.
core::vector2df cellOnScreen(int row, int column, float t)
{
    core::matrix4 view, world;
    view.buildCameraLookAtMatrixLH(core::vector3df(4 * std::sin(t), 4 * std::cos(t), -20.5f), {0, 0, 0}, {0, -1, 0});
    const float s = 1 - 0.5f * std::sin(t + 0.3f * (row + column));
    world.setTranslation(core::vector3df((column - 8) * 3.2f, (row - 8) * 3.2f, 0));
    world.setScale(core::vector3df(s, s, 5 * std::sin(2 * t + s)));
    core::vector3df middle(0, 0, -1);
    world.transformVect(middle);
    return onScreen(view, middle);
}
} // namespace

TEST(Effect1900Frames, RedAndWhiteSquaresOnBlackWithTheHeartUpright)
{
    TestDataTree tree;
    const float t = 1.5f;
    const Frame frame = captureFrame(tree, t, 1900, 10);
    ASSERT_TRUE(frame.valid());
    keepFrame(frame, "effect1900");

    struct Expected
    {
        int row, column;
        video::SColor colour;
    };
    // White outline at the lobes, the sides and the point; red inside;
    // nothing above the lobes, below the point or left of column 13.
    const Expected cells[] = {{3, 4, WHITE}, {13, 7, WHITE}, {6, 1, WHITE},  {6, 13, WHITE}, {7, 7, RED},  {10, 5, RED},
                              {5, 10, RED},  {1, 7, BLACK},  {15, 7, BLACK}, {8, 15, BLACK}, {4, 7, BLACK}};
    for (const Expected& cell : cells)
    {
        const core::vector2df at = cellOnScreen(cell.row, cell.column, t);
        ASSERT_TRUE(at.X > 0 && at.X < 640 && at.Y > 0 && at.Y < 480) << cell.row << "," << cell.column;
        EXPECT_TRUE(colourAt(frame, int(at.X), int(at.Y), cell.colour)) << cell.row << "," << cell.column;
    }
    // Upright: the point below the lobes, column 1 on the right.
    EXPECT_GT(cellOnScreen(13, 7, t).Y, cellOnScreen(3, 4, t).Y + 150);
    EXPECT_GT(cellOnScreen(6, 1, t).X, cellOnScreen(6, 13, t).X + 150);
    for (auto [x, y] : {std::pair{5, 5}, {635, 5}, {5, 475}, {635, 475}})
        EXPECT_TRUE(colourAt(frame, x, y, BLACK));
    EXPECT_GT(countNear(frame, RED, 3), 20000u);
    EXPECT_GT(countNear(frame, WHITE, 3), 5000u);
}
