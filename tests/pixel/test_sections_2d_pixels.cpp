// Real frames of the three 2D sections, rendered by kirupo-capture with the
// OpenGL driver from textures of flat known colours, checked at places their
// geometry fixes. Each section is pinned from its first frame, so its clock
// is the capture's demo clock.
#include "PixelTest.h"

#include "effects/LinearCongruentialGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using irr::video::SColor;

namespace
{
// Texture colours, each far from the others and from every background.
const SColor TILE(255, 40, 90, 220);
const SColor TITLE_TOP(255, 220, 30, 30);
const SColor TITLE_BOTTOM(255, 250, 220, 40);
const SColor GRID_SPRITE(255, 30, 200, 60);
const SColor CAT_FRAME_1(255, 60, 120, 200);
const SColor CAT_FRAME_2(255, 200, 120, 60);
const SColor FOOD[3] = {SColor(255, 240, 140, 20), SColor(255, 20, 160, 240), SColor(255, 150, 40, 200)};
const SColor HEART(255, 220, 20, 60);
const SColor CLEAR(0, 0, 0, 0);

// Screen colours the sections draw themselves.
const SColor BLACK(255, 0, 0, 0);
const SColor DARK_GREEN(255, 16, 64, 0);
const SColor YELLOW_BAND(255, 255, 255, 0);
const SColor PINK_BAND(255, 255, 128, 255);
const SColor LIGHT_PINK(255, 255, 222, 230);
const SColor STAR_COLOURS[4] = {SColor(255, 255, 128, 128), SColor(255, 255, 255, 128), SColor(255, 128, 255, 128),
                                SColor(255, 255, 128, 255)};

// A time that selects frame n at 60 frames per second: the capture's timer
// runs in whole milliseconds (frame n at floor(n * 1000 / 60) ms) and the
// frame shown is the first whose clock reaches the time asked for.
float frames(int n)
{
    return n / 60.0f - 0.004f;
}

// Every texture the three sections load, with features that show geometry:
// tiles opaque on their left half only, a title red above and yellow below,
// grid sprites and hearts opaque in their middle half only.
void writeSectionTextures(TestDataTree& tree)
{
    tree.writeTexture("lulu.png", 32, 8, [](unsigned x, unsigned) { return x < 16 ? TILE : CLEAR; });
    tree.writeTexture("na!.png", 512, 256, [](unsigned, unsigned y) { return y < 128 ? TITLE_TOP : TITLE_BOTTOM; });
    const auto middleHalf = [](SColor colour, unsigned size) {
        return [colour, size](unsigned x, unsigned y) {
            const bool inside = x >= size / 4 && x < size * 3 / 4 && y >= size / 4 && y < size * 3 / 4;
            return inside ? colour : CLEAR;
        };
    };
    tree.writeTexture("katze.png", 256, 256, middleHalf(GRID_SPRITE, 256));
    tree.writeTexture("starticle.png", 64, 64, SColor(255, 255, 255, 255));
    tree.writeTexture("katze1.png", 256, 256, CAT_FRAME_1);
    tree.writeTexture("katze2.png", 256, 256, CAT_FRAME_2);
    tree.writeTexture("food1.png", 128, 128, FOOD[0]);
    tree.writeTexture("food2.png", 128, 128, FOOD[1]);
    tree.writeTexture("food3.png", 128, 128, FOOD[2]);
    tree.writeTexture("hearticle.png", 16, 16, middleHalf(HEART, 16));
}

class SectionFrames : public ::testing::Test
{
protected:
    SectionFrames() { writeSectionTextures(tree); }

    Frame capture(int effectId, float seconds)
    {
        Frame frame = captureFrame(tree, seconds, effectId);
        EXPECT_TRUE(frame.valid());
        EXPECT_EQ(frame.width, 640u);
        EXPECT_EQ(frame.height, 480u);
        return frame;
    }

    TestDataTree tree;
};

// Checks one pixel; on failure names the place and what was seen.
#define EXPECT_COLOUR(frame, x, y, expected, what)                                                                     \
    do                                                                                                                 \
    {                                                                                                                  \
        const SColor seen = (frame).at(x, y);                                                                          \
        EXPECT_LE(colourDistance(seen, expected), 6)                                                                   \
            << (what) << " at (" << (x) << ", " << (y) << "): saw " << seen.getRed() << "," << seen.getGreen() << ","  \
            << seen.getBlue();                                                                                         \
    } while (0)

struct Star
{
    float x, y, halfSize;
    SColor colour;
};

// The burst as the opening spawns it: eight draws per star from the start of the sequence.
std::vector<Star> spawnedStars()
{
    LinearCongruentialGenerator random;
    std::vector<Star> stars;
    for (int n = 0; n < 150; ++n)
    {
        int draws[8];
        for (int& d : draws)
            d = random.next();
        stars.push_back({static_cast<float>(draws[0] % 500 + 70), static_cast<float>(draws[1] % 320 + 80),
                         static_cast<float>(draws[6] % 16 + 32), STAR_COLOURS[draws[5] % 4]});
    }
    return stars;
}
} // namespace

TEST_F(SectionFrames, TitlePulseTilesTurnFromBlackToTheirColoursAroundTheImage)
{
    // 13 frames in (0.216 s): tiles black; s = 0.216 * 550 + 20 = 138.8, so
    // the image spans (181, 135) to (458, 344): red above y = 240, yellow below.
    const Frame black = capture(2500, frames(13));
    ASSERT_TRUE(black.valid());
    EXPECT_COLOUR(black, 30, 30, BLACK, "left half of the top-left tile");
    EXPECT_COLOUR(black, 100, 30, DARK_GREEN, "clear half of the top-left tile");
    EXPECT_COLOUR(black, 540, 450, BLACK, "left half of the bottom-right tile");
    EXPECT_COLOUR(black, 620, 450, DARK_GREEN, "clear half of the bottom-right tile");
    EXPECT_COLOUR(black, 183, 150, TITLE_TOP, "inside the image's left edge");
    EXPECT_COLOUR(black, 176, 150, BLACK, "outside the image's left edge");
    EXPECT_COLOUR(black, 456, 150, TITLE_TOP, "inside the image's right edge");
    EXPECT_COLOUR(black, 463, 150, DARK_GREEN, "outside the image's right edge");
    EXPECT_COLOUR(black, 300, 138, TITLE_TOP, "inside the image's top edge");
    EXPECT_COLOUR(black, 300, 131, BLACK, "outside the image's top edge");
    EXPECT_COLOUR(black, 300, 341, TITLE_BOTTOM, "inside the image's bottom edge");
    EXPECT_COLOUR(black, 300, 348, BLACK, "outside the image's bottom edge");

    // 42 frames in (0.7 s): tiles in colour; s = 0.08 * 550 + 20 = 64: (256, 192) to (384, 288).
    const Frame coloured = capture(2500, frames(42));
    ASSERT_TRUE(coloured.valid());
    EXPECT_COLOUR(coloured, 30, 30, TILE, "left half of the top-left tile");
    EXPECT_COLOUR(coloured, 100, 30, DARK_GREEN, "clear half of the top-left tile");
    EXPECT_COLOUR(coloured, 540, 450, TILE, "left half of the bottom-right tile");
    EXPECT_COLOUR(coloured, 260, 196, TITLE_TOP, "inside the image's top-left corner");
    EXPECT_COLOUR(coloured, 252, 196, DARK_GREEN, "left of the image");
    EXPECT_COLOUR(coloured, 380, 284, TITLE_BOTTOM, "inside the image's bottom-right corner");
    EXPECT_COLOUR(coloured, 388, 284, TILE, "right of the image");
}

TEST_F(SectionFrames, OpeningBandsAndGridThenABandFlash)
{
    // 3.5 s in: bands of 64 plus the fading flash of 3.161 s; odd grid rows
    // are in, even rows show only the flash's odd columns; the scroll is 32,
    // so every sprite is centred on a multiple of 64.
    const Frame grid = capture(1000, frames(210));
    ASSERT_TRUE(grid.valid());
    EXPECT_COLOUR(grid, 32, 32, YELLOW_BAND, "band 0 between sprites");
    EXPECT_COLOUR(grid, 32, 96, PINK_BAND, "band 1 between sprites");
    EXPECT_COLOUR(grid, 64, 96, GRID_SPRITE, "the sprite of row 1, column 1");
    EXPECT_COLOUR(grid, 384, 96, GRID_SPRITE, "the sprite of row 1, column 6");
    EXPECT_COLOUR(grid, 128, 160, YELLOW_BAND, "row 2, column 2, still empty");
    EXPECT_COLOUR(grid, 64, 476, GRID_SPRITE, "the top of row 7's sprite, centred on the bottom edge");

    // 1.05 s: the flash of 0.635 has faded below seven tenths, the band shows.
    const Frame before = capture(1000, frames(63));
    ASSERT_TRUE(before.valid());
    EXPECT_COLOUR(before, 60, 96, PINK_BAND, "band 1 before the trigger at 1.1 s");
    // The first frame after 1.1 s: the trigger fires and the bands go black;
    // only the even columns' sprites show, swollen by the flash.
    const Frame flash = capture(1000, frames(67));
    ASSERT_TRUE(flash.valid());
    EXPECT_COLOUR(flash, 60, 96, BLACK, "band 1 during the flash");
    EXPECT_COLOUR(flash, 300, 32, BLACK, "band 0 during the flash");
    EXPECT_COLOUR(flash, 25, 96, GRID_SPRITE, "row 1, column 0, swollen by the flash");
    EXPECT_COLOUR(flash, 89, 96, BLACK, "row 1, column 1, no sprite during an even trigger");
}

TEST_F(SectionFrames, OpeningBurstAppearsWithItsOwnColoursThenFallsAwayFromTheTitle)
{
    // The first frame after 7.578 s spawns the burst and draws it where it was
    // spawned. A star's middle shows its own colour when no later star covers it.
    const Frame burst = capture(1000, frames(455));
    ASSERT_TRUE(burst.valid());
    const std::vector<Star> stars = spawnedStars();
    int checked = 0;
    for (size_t i = 0; i < stars.size(); ++i)
    {
        bool covered = false;
        for (size_t later = i + 1; later < stars.size() && !covered; ++later)
            covered = std::hypot(stars[later].x - stars[i].x, stars[later].y - stars[i].y) <
                      stars[later].halfSize * 1.5f + 10;
        if (covered)
            continue;
        EXPECT_COLOUR(burst, static_cast<unsigned>(stars[i].x), static_cast<unsigned>(stars[i].y), stars[i].colour,
                      "middle of star " + std::to_string(i));
        ++checked;
    }
    EXPECT_GE(checked, 5);

    // By 10 s every star has fallen off the bottom: the title shows whole.
    const Frame title = capture(1000, frames(600));
    ASSERT_TRUE(title.valid());
    EXPECT_COLOUR(title, 67, 115, TITLE_TOP, "inside the title's top-left corner");
    EXPECT_COLOUR(title, 572, 364, TITLE_BOTTOM, "inside the title's bottom-right corner");
    EXPECT_COLOUR(title, 320, 200, TITLE_TOP, "the title's upper half");
    EXPECT_COLOUR(title, 320, 300, TITLE_BOTTOM, "the title's lower half");
    EXPECT_COLOUR(title, 61, 200, PINK_BAND, "left of the title, on band 3");
}

TEST_F(SectionFrames, ConveyorCatFoodAndHeartsOnPink)
{
    // 0.1 s: cat frame 1 over (38, 158)-(202, 322); food item 0 over
    // (185, 191)-(258, 265); heart 0 over (54, 74)-(135, 155), opaque in its middle half.
    const Frame early = capture(2200, frames(6));
    ASSERT_TRUE(early.valid());
    EXPECT_COLOUR(early, 600, 50, LIGHT_PINK, "background");
    EXPECT_COLOUR(early, 60, 300, CAT_FRAME_1, "the cat's lower left");
    EXPECT_COLOUR(early, 33, 300, LIGHT_PINK, "left of the cat");
    EXPECT_COLOUR(early, 221, 228, FOOD[0], "food item 0");
    EXPECT_COLOUR(early, 221, 187, LIGHT_PINK, "above food item 0");
    EXPECT_COLOUR(early, 95, 115, HEART, "heart 0");
    EXPECT_COLOUR(early, 60, 80, LIGHT_PINK, "heart 0's clear corner");

    // 0.3 s: the cat's second frame.
    const Frame second = capture(2200, frames(18));
    ASSERT_TRUE(second.valid());
    EXPECT_COLOUR(second, 60, 300, CAT_FRAME_2, "the cat's lower left");

    // 0.55 s: the second food picture; item 0 over (141, 179)-(212, 251), in front of the cat.
    const Frame later = capture(2200, frames(33));
    ASSERT_TRUE(later.valid());
    EXPECT_COLOUR(later, 195, 240, FOOD[1], "food item 0 over the cat");
    EXPECT_COLOUR(later, 60, 300, CAT_FRAME_1, "the cat's lower left");
}
