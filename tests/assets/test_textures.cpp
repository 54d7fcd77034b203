// The generated textures, read back through the engine's PNG loader: their
// sizes, and the alpha shapes in the areas the sections draw from them.
#include <irrlicht.h>

#include "NullDeviceSuite.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

using namespace irr;

namespace
{

const std::string TEXTURES = std::string(KIRUPO_DATA_DIR) + "/textures/";

class Textures : public NullDeviceSuite
{
protected:
    struct ImageDrop
    {
        void operator()(video::IImage* image) const
        {
            if (image)
                image->drop();
        }
    };
    using Image = std::unique_ptr<video::IImage, ImageDrop>;

    static Image load(const std::string& name)
    {
        return Image(device->getVideoDriver()->createImageFromFile((TEXTURES + name).c_str()));
    }

    // Shares of a rectangle's pixels that are fully transparent and fully opaque.
    struct Coverage
    {
        double clear = 0, opaque = 0, partial = 0;
    };
    static Coverage coverage(video::IImage* image, core::rect<s32> area)
    {
        Coverage c;
        for (s32 y = area.UpperLeftCorner.Y; y < area.LowerRightCorner.Y; ++y)
            for (s32 x = area.UpperLeftCorner.X; x < area.LowerRightCorner.X; ++x)
            {
                const u32 alpha = image->getPixel(u32(x), u32(y)).getAlpha();
                (alpha == 0 ? c.clear : alpha == 255 ? c.opaque : c.partial) += 1;
            }
        const double n = double(area.getArea());
        c.clear /= n;
        c.opaque /= n;
        c.partial /= n;
        return c;
    }
};

struct Expected
{
    const char* name;
    u32 width, height;
    core::rect<s32> drawn; // the source rectangle the sections draw from
};

// Every texture the demo loads, its size, and what the sections draw of it.
const Expected ALL[] = {
    {"katze.png", 256, 256, {0, 0, 256, 256}},    {"na!.png", 512, 256, {0, 0, 512, 256}},
    {"starticle.png", 64, 64, {0, 0, 64, 64}},    {"rabbit1.png", 32, 32, {0, 0, 31, 31}},
    {"rabbit2.png", 32, 32, {0, 0, 31, 31}},      {"stripes4.png", 64, 64, {0, 0, 64, 64}},
    {"lulu.png", 32, 32, {0, 0, 32, 8}},          {"dada.png", 32, 32, {0, 0, 32, 32}},
    {"uvo_back.png", 512, 512, {0, 0, 512, 512}}, {"blood.png", 16, 16, {0, 0, 16, 16}},
    {"katze1.png", 256, 256, {0, 0, 256, 256}},   {"katze2.png", 256, 256, {0, 0, 256, 256}},
    {"food1.png", 128, 128, {0, 0, 128, 128}},    {"food2.png", 128, 128, {0, 0, 128, 128}},
    {"food3.png", 128, 128, {0, 0, 128, 128}},    {"hearticle.png", 16, 16, {0, 0, 16, 16}},
};

bool isPowerOfTwo(u32 v)
{
    return v && !(v & (v - 1));
}

TEST_F(Textures, EachHasItsSizeAnAlphaChannelAndAShapeWhereItIsDrawn)
{
    for (const Expected& e : ALL)
    {
        SCOPED_TRACE(e.name);
        const Image image = load(e.name);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->getDimension(), core::dimension2d<u32>(e.width, e.height));
        EXPECT_TRUE(isPowerOfTwo(e.width) && isPowerOfTwo(e.height));
        EXPECT_EQ(image->getColorFormat(), video::ECF_A8R8G8B8);
        // The sections draw these with their alpha channel: inside the drawn
        // area there must be a picture and there must be a background.
        const Coverage c = coverage(image.get(), e.drawn);
        EXPECT_GT(c.opaque + c.partial, 0.1) << "too little picture";
        EXPECT_GT(c.clear, 0.08) << "too little transparent background";
    }
}

TEST_F(Textures, PixelArtHasCrispAlpha)
{
    // Everything but the star is hard-edged: each pixel fully opaque or fully clear.
    for (const Expected& e : ALL)
    {
        if (std::string(e.name) == "starticle.png")
            continue;
        SCOPED_TRACE(e.name);
        const Image image = load(e.name);
        ASSERT_TRUE(image);
        EXPECT_EQ(coverage(image.get(), {0, 0, s32(e.width), s32(e.height)}).partial, 0.0);
    }
}

TEST_F(Textures, StarIsWhiteWithASoftEdge)
{
    const Image star = load("starticle.png");
    ASSERT_TRUE(star);
    // White wherever it shows, so that the sprite's vertex colour gives it its tint.
    for (u32 y = 0; y < 64; ++y)
        for (u32 x = 0; x < 64; ++x)
        {
            const video::SColor p = star->getPixel(x, y);
            if (p.getAlpha() > 0)
            {
                ASSERT_TRUE(p.getRed() == 255 && p.getGreen() == 255 && p.getBlue() == 255) << x << "," << y;
            }
        }
    EXPECT_EQ(star->getPixel(32, 34).getAlpha(), 255u) << "the centre is solid";
    EXPECT_EQ(star->getPixel(1, 62).getAlpha(), 0u) << "the corners are clear";
    // A soft edge: a band of part-transparent pixels all round the star.
    const Coverage c = coverage(star.get(), {0, 0, 64, 64});
    EXPECT_GT(c.partial, 0.08);
    // Alpha falls off gradually along a ray from the centre out of a point.
    u32 steps = 0, previous = 255;
    for (u32 y = 34; y > 0; --y)
    {
        const u32 alpha = star->getPixel(32, y).getAlpha();
        EXPECT_LE(alpha, previous);
        if (alpha > 0 && alpha < 255)
            ++steps;
        previous = alpha;
    }
    EXPECT_GE(steps, 2u);
}

TEST_F(Textures, TitleSpellsSixLettersOnATransparentBackground)
{
    const Image title = load("na!.png");
    ASSERT_TRUE(title);
    // Columns that hold any lettering form six separate runs: K, I, R, U, P, O
    // (the outline and shadow widen each letter but keep the gaps).
    int runs = 0;
    bool inRun = false;
    for (u32 x = 0; x < 512; ++x)
    {
        bool any = false;
        for (u32 y = 0; y < 256 && !any; ++y)
            any = title->getPixel(x, y).getAlpha() > 0;
        if (any && !inRun)
            ++runs;
        inRun = any;
    }
    EXPECT_EQ(runs, 6);
    // A clear margin all round: the image's edges never cut a letter.
    for (u32 i = 0; i < 512; ++i)
    {
        EXPECT_EQ(title->getPixel(i, 0).getAlpha(), 0u);
        EXPECT_EQ(title->getPixel(i, 255).getAlpha(), 0u);
    }
    for (u32 i = 0; i < 256; ++i)
    {
        EXPECT_EQ(title->getPixel(0, i).getAlpha(), 0u);
        EXPECT_EQ(title->getPixel(511, i).getAlpha(), 0u);
    }
    // Bold lettering: each letter's strokes are solid over large areas.
    EXPECT_GT(coverage(title.get(), {0, 0, 512, 256}).opaque, 0.2);
}

TEST_F(Textures, RabbitFitsTheDrawnCornerAndChangesPose)
{
    const Image sitting = load("rabbit1.png"), hopping = load("rabbit2.png");
    ASSERT_TRUE(sitting && hopping);
    // Only the top-left 31 x 31 pixels are drawn: the last row and column stay clear.
    for (u32 i = 0; i < 32; ++i)
        for (const Image* rabbit : {&sitting, &hopping})
        {
            EXPECT_EQ((*rabbit)->getPixel(31, i).getAlpha(), 0u);
            EXPECT_EQ((*rabbit)->getPixel(i, 31).getAlpha(), 0u);
        }
    // Centred, so that the huge enlargement keeps the rabbit on screen.
    EXPECT_EQ(sitting->getPixel(15, 16).getAlpha(), 255u);
    EXPECT_EQ(hopping->getPixel(15, 16).getAlpha(), 255u);
    int differing = 0;
    for (u32 y = 0; y < 32; ++y)
        for (u32 x = 0; x < 32; ++x)
            differing += sitting->getPixel(x, y) != hopping->getPixel(x, y);
    EXPECT_GT(differing, 32 * 32 / 20) << "two poses, not one picture twice";
}

TEST_F(Textures, CatFramesAreTwoDifferentFramesOfOneCat)
{
    const Image first = load("katze1.png"), second = load("katze2.png");
    ASSERT_TRUE(first && second);
    int differing = 0, bothOpaque = 0;
    for (u32 y = 0; y < 256; ++y)
        for (u32 x = 0; x < 256; ++x)
        {
            differing += first->getPixel(x, y) != second->getPixel(x, y);
            bothOpaque += first->getPixel(x, y).getAlpha() == 255 && second->getPixel(x, y).getAlpha() == 255;
        }
    EXPECT_GT(differing, 256 * 256 / 50) << "the frames must move";
    EXPECT_GT(bothOpaque, 256 * 256 / 4) << "the same cat in both frames";
}

TEST_F(Textures, TileStripIsColourfulAndShaped)
{
    const Image tiles = load("lulu.png");
    ASSERT_TRUE(tiles);
    // The 32 x 8 strip that the tile grid stretches holds several hues.
    std::set<int> hueSectors;
    for (u32 y = 0; y < 8; ++y)
        for (u32 x = 0; x < 32; ++x)
        {
            const video::SColor p = tiles->getPixel(x, y);
            video::SColorHSL hsl;
            hsl.fromRGB(video::SColorf(p));
            if (p.getAlpha() == 255 && hsl.Saturation > 50 && hsl.Luminance > 40)
                hueSectors.insert(int(hsl.Hue / 60.0f));
        }
    EXPECT_GE(hueSectors.size(), 3u);
    // With black corner colours the tiles show their alpha shapes: the strip
    // needs both shapes and gaps.
    const Coverage strip = coverage(tiles.get(), {0, 0, 32, 8});
    EXPECT_GT(strip.opaque, 0.3);
    EXPECT_GT(strip.clear, 0.1);
}

TEST_F(Textures, RibbonStripesRunAcrossTheRibbonWithGapsAlongIt)
{
    const Image stripes = load("stripes4.png");
    ASSERT_TRUE(stripes);
    // Along v (down a column) opaque dashes alternate with clear gaps, four times.
    int dashes = 0;
    bool inDash = false;
    for (u32 y = 0; y < 64; ++y)
    {
        const bool opaque = stripes->getPixel(32, y).getAlpha() == 255;
        dashes += opaque && !inDash;
        inDash = opaque;
    }
    EXPECT_EQ(dashes, 4);
    // Across u (along a row inside a dash) the ribbon is solid from edge to edge.
    for (u32 x = 0; x < 64; ++x)
        EXPECT_EQ(stripes->getPixel(x, 8).getAlpha(), 255u);
}

} // namespace
