// The heart finale: 101 breathing squares seen upside down by a circling camera.
#include "DemoFixture.h"

#include "demo/EngineCompat.h"
#include "effects/Effect1900.h"

#include <cmath>
#include <map>
#include <set>

using namespace irr;

namespace
{
struct Span
{
    int from, to;
};
// The heart, row by row: where it is filled and where its outline runs.
const std::map<int, std::vector<Span>> FILL = {
    {3, {{3, 5}, {9, 11}}}, {4, {{2, 6}, {8, 12}}}, {5, {{1, 13}}},  {6, {{1, 13}}}, {7, {{1, 13}}}, {8, {{2, 12}}},
    {9, {{2, 12}}},         {10, {{3, 11}}},        {11, {{4, 10}}}, {12, {{5, 9}}}, {13, {{6, 8}}},
};
const std::map<int, std::vector<Span>> OUTLINE = {
    {3, {{3, 5}, {9, 11}}},
    {4, {{2, 2}, {6, 6}, {8, 8}, {12, 12}}},
    {5, {{1, 1}, {7, 7}, {13, 13}}},
    {6, {{1, 1}, {13, 13}}},
    {7, {{1, 1}, {13, 13}}},
    {8, {{2, 2}, {12, 12}}},
    {9, {{2, 2}, {12, 12}}},
    {10, {{3, 3}, {11, 11}}},
    {11, {{4, 4}, {10, 10}}},
    {12, {{5, 5}, {9, 9}}},
    {13, {{6, 8}}},
};

using Cell = std::pair<int, int>; // row, column

std::set<Cell> cellsOf(const std::map<int, std::vector<Span>>& rows)
{
    std::set<Cell> cells;
    for (const auto& row : rows)
        for (const Span& span : row.second)
            for (int c = span.from; c <= span.to; ++c)
                cells.insert({row.first, c});
    return cells;
}

// Which cell a square was drawn for, from its place in the world.
Cell cellAt(const core::matrix4& world)
{
    const core::vector3df at = world.getTranslation();
    return {static_cast<int>(std::lround(at.Y / 3.2f)) + 8, static_cast<int>(std::lround(at.X / 3.2f)) + 8};
}

// Where the middle of a drawn square lands on the screen, in pixels.
core::vector2df onScreen(const RecordingDriver::Triangles& drawn)
{
    core::vector3df middle(0, 0, -1);
    drawn.world.transformVect(middle);
    drawn.view.transformVect(middle);
    f32 clip[4];
    drawn.projection.transformVect(clip, middle);
    return core::vector2df(320 * (1 + clip[0] / clip[3]), 240 * (1 - clip[1] / clip[3]));
}

class Effect1900Test : public DemoFixture
{
protected:
    Effect1900 effect;

    Effect1900Test() { effect.init(); }

    void drawOnlyFrameAt(float localTime)
    {
        effect.update(0.0f);
        if (localTime > 0)
        {
            driver.clearRecord();
            effect.update(localTime);
        }
        ASSERT_EQ(effect.getLocalTime(), localTime);
    }
    std::map<Cell, const RecordingDriver::Triangles*> squaresByCell() const
    {
        std::map<Cell, const RecordingDriver::Triangles*> squares;
        for (const auto& drawn : driver.triangles)
            squares[cellAt(drawn.world)] = &drawn;
        return squares;
    }
};
} // namespace

TEST_F(Effect1900Test, HeartIsThirtyWhiteOutlineSquaresAroundSeventyOneRedOnes)
{
    effect.update(0.0f);

    const std::set<Cell> fill = cellsOf(FILL);
    const std::set<Cell> outline = cellsOf(OUTLINE);
    ASSERT_EQ(driver.triangles.size(), 101u);
    std::set<Cell> drawnCells;
    int white = 0, red = 0;
    for (const auto& drawn : driver.triangles)
    {
        const Cell cell = cellAt(drawn.world);
        drawnCells.insert(cell);
        ASSERT_EQ(drawn.vertices.size(), 4u);
        ASSERT_EQ(drawn.triangleCount, 2u);
        EXPECT_EQ(drawn.indices, (std::vector<u16>{0, 1, 2, 1, 3, 2}));
        const video::SColor colour = drawn.vertices[0].Color;
        EXPECT_EQ(colour, outline.count(cell) ? video::SColor(0xFFFFFFFF) : video::SColor(0xFFFF0000));
        (colour == video::SColor(0xFFFFFFFF) ? white : red)++;
        const core::vector3df corners[4] = {{-1, -1, -1}, {1, -1, -1}, {-1, 1, -1}, {1, 1, -1}};
        for (u32 v = 0; v < 4; ++v)
        {
            EXPECT_EQ(drawn.vertices[v].Pos, corners[v]);
            EXPECT_EQ(drawn.vertices[v].Normal, core::vector3df(0, 0, 1));
            EXPECT_EQ(drawn.vertices[v].Color, colour);
            EXPECT_EQ(drawn.vertices[v].TCoords, core::vector2df(corners[v].X > 0, corners[v].Y > 0));
        }
    }
    EXPECT_EQ(drawnCells, fill);
    EXPECT_EQ(white, 30);
    EXPECT_EQ(red, 71);
    // Row by row, column by column.
    EXPECT_EQ(cellAt(driver.triangles.front().world), Cell(3, 3));
    EXPECT_EQ(cellAt(driver.triangles.back().world), Cell(13, 8));

    // The grids the effect holds agree: every outline cell is also filled.
    for (int i = 0; i < 256; ++i)
        EXPECT_TRUE(!Effect1900::heartOutline[i] || Effect1900::heartFill[i]) << i;
}

TEST_F(Effect1900Test, FirstFrameCameraStandsAboveTheMiddleAndEverySquareBreathesFromItsDiagonal)
{
    effect.update(0.3f);

    core::matrix4 view, projection;
    view.buildCameraLookAtMatrixLH(core::vector3df(0, 4, -20.5f), core::vector3df(0, 0, 0), core::vector3df(0, -1, 0));
    projection.buildProjectionMatrixPerspectiveFovLH(1.5707951f, 1.3333334f, 0.1f, 1000.0f);
    for (const auto& entry : squaresByCell())
    {
        const Cell cell = entry.first;
        const RecordingDriver::Triangles& drawn = *entry.second;
        EXPECT_EQ(drawn.view, view);
        EXPECT_TRUE(drawn.projection.equals(projection, 1e-6f));

        // A pure scale then the cell's place: squares 3.2 apart, of half-side
        // s, moved in depth by the z scale.
        const double s = 1 - 0.5 * std::sin(0.3 * (cell.first + cell.second));
        core::matrix4 world;
        world.setTranslation(core::vector3df((cell.second - 8) * 3.2f, (cell.first - 8) * 3.2f, 0));
        world.setScale(core::vector3df(float(s), float(s), float(5 * std::sin(s))));
        EXPECT_TRUE(drawn.world.equals(world, 1e-5f)) << cell.first << "," << cell.second;
    }
}

TEST_F(Effect1900Test, SquaresSwingThroughTheHeartsPlaneWithANegativeDepthScale)
{
    // At t = 2 every square's depth scale 5 sin(4 + s) is negative.
    drawOnlyFrameAt(2.0f);
    ASSERT_EQ(driver.triangles.size(), 101u);
    for (const auto& drawn : driver.triangles)
    {
        const f32 s = drawn.world(0, 0);
        EXPECT_NEAR(drawn.world(2, 2), 5 * std::sin(4 + s), 1e-4f);
        EXPECT_LT(drawn.world(2, 2), 0.0f);
        EXPECT_EQ(drawn.world(1, 1), s);
        // Nothing but scale and translation.
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                EXPECT_TRUE(row == column || drawn.world(row, column) == 0.0f) << row << "," << column;
        EXPECT_FALSE(drawn.material.BackfaceCulling);
    }
}

TEST_F(Effect1900Test, HeartStandsUprightOnTheScreenWhereverTheCameraCircles)
{
    // A quarter turn of the camera at a time.
    for (float dt : {0.0f, 1.6f, 1.6f, 1.6f})
    {
        driver.clearRecord();
        effect.update(dt);
        const float t = effect.getLocalTime();
        auto squares = squaresByCell();
        // The camera's up vector points down world y: row 3 is at the top,
        // the point of row 13 at the bottom, column 1 on the right.
        const core::vector2df top = onScreen(*squares.at({3, 4}));
        const core::vector2df point = onScreen(*squares.at({13, 7}));
        const core::vector2df right = onScreen(*squares.at({6, 1}));
        const core::vector2df left = onScreen(*squares.at({6, 13}));
        EXPECT_LT(top.Y, point.Y - 200) << t;
        EXPECT_GT(right.X, left.X + 200) << t;
        // The camera circles at radius 4 in the plane z = -20.5, looking at the middle.
        core::matrix4 inverse;
        squares.begin()->second->view.getInverse(inverse);
        const core::vector3df camera = inverse.getTranslation();
        EXPECT_NEAR(camera.X, 4 * std::sin(t), 1e-4f);
        EXPECT_NEAR(camera.Y, 4 * std::cos(t), 1e-4f);
        EXPECT_NEAR(camera.Z, -20.5f, 1e-4f);
    }
}

TEST_F(Effect1900Test, FrameIsBlackBackdropThenOneMaterialForAllSquaresWritingDepth)
{
    effect.update(0.0f);

    EXPECT_EQ(driver.calls.front(), "draw2DRectangle");
    ASSERT_EQ(driver.rectangles.size(), 1u);
    EXPECT_EQ(driver.rectangles[0].colour, video::SColor(0xFF000000));
    EXPECT_EQ(driver.rectangles[0].area, core::recti(0, 0, 640, 480));
    EXPECT_FALSE(driver.rectangles[0].clipped);

    // One material before the squares: unlit, two-sided, blended by vertex
    // alpha, no texture.
    ASSERT_EQ(driver.materials.size(), 1u);
    video::SMaterial expected;
    expected.MaterialType = video::EMT_TRANSPARENT_ALPHA_CHANNEL;
    expected.MaterialTypeParam = ALPHA_CHANNEL_REFERENCE;
    expected.Lighting = false;
    expected.BackfaceCulling = false;
    expected.AmbientColor = video::SColor(0x00000000);
    expected.DiffuseColor = video::SColor(0x00000000);
    expected.EmissiveColor = video::SColor(0xFFFFFFFF);
    EXPECT_EQ(driver.materials[0], expected);
    EXPECT_EQ(driver.materials[0].getTexture(0), nullptr);
    EXPECT_TRUE(driver.materials[0].getFlag(video::EMF_BILINEAR_FILTER));

    // Each square gets its own world transform right before it is drawn; the
    // nearer of two overlapping squares hides the other, so depth is written
    // for the squares and the driver's default is back afterwards.
    size_t squares = 0;
    for (size_t i = 0; i < driver.calls.size(); ++i)
        if (driver.calls[i] == "drawIndexedTriangleList")
        {
            EXPECT_EQ(driver.calls[i - 1], "setTransform");
            ++squares;
        }
    EXPECT_EQ(squares, 101u);
    for (const auto& drawn : driver.triangles)
        EXPECT_TRUE(drawn.zWriteOnTransparent);
    EXPECT_EQ(driver.calls.back(), "setAllowZWriteOnTransparent");

    // One white light along world +z, added under this frame's camera.
    ASSERT_EQ(driver.lightsAdded.size(), 1u);
    EXPECT_EQ(driver.lightsAdded[0].Type, video::ELT_DIRECTIONAL);
    EXPECT_EQ(driver.lightsAdded[0].Direction, core::vector3df(0, 0, 1));
    EXPECT_EQ(driver.lightsAdded[0].Radius, 1000.0f);
    EXPECT_EQ(driver.lightsAdded[0].DiffuseColor.toSColor(), video::SColor(0xFFFFFFFF));
    EXPECT_EQ(driver.lightsAdded[0].SpecularColor.toSColor(), video::SColor(0xFF000000));
    EXPECT_EQ(driver.lightViews[0], driver.triangles[0].view);
    EXPECT_EQ(driver.count("deleteAllDynamicLights"), 1u);
}
