#include "TexturePictures.h"

#include <algorithm>
#include <cmath>
#include <numeric>

// The pictures are pixel art: painted on small grids with crisp edges and a
// dark outline, then enlarged by whole factors to the texture's size. The
// effects stretch them a lot, and hard-edged alpha keeps their shapes sharp.
namespace assets
{
namespace
{

constexpr Rgba WHITE = Rgba::hex(0xFFFFFF);
constexpr Rgba INK = Rgba::hex(0x3A2232);

Shape star(float cx, float cy, float outer, float inner, float turn = 0.0f)
{
    std::vector<float> xy;
    for (int i = 0; i < 10; ++i)
    {
        const float r = i % 2 ? inner : outer;
        const float a = turn - 3.14159265f / 2 + i * 3.14159265f / 5;
        xy.push_back(cx + r * std::cos(a));
        xy.push_back(cy + r * std::sin(a));
    }
    return polygon(xy);
}

// ---- the opening grid's cat face -------------------------------------------

constexpr int CAT_FACE_GRID = 32;

Canvas catFaceGrid()
{
    const Rgba fur = Rgba::hex(0xF4A24A), stripe = Rgba::hex(0xD5702A), cream = Rgba::hex(0xFFF1DC);
    const Rgba pink = Rgba::hex(0xFF94AE), eye = Rgba::hex(0x6CC84A);
    Canvas c(CAT_FACE_GRID, CAT_FACE_GRID);
    c.fill(polygon({4, 17, 6, 2, 15, 9}), fur);
    c.fill(polygon({28, 17, 26, 2, 17, 9}), fur);
    c.fill(polygon({7.5f, 12, 7.5f, 5, 12, 9}), pink);
    c.fill(polygon({24.5f, 12, 24.5f, 5, 20, 9}), pink);
    c.fill(ellipse(16, 18, 12.5f, 10), fur);
    c.fill(box(15, 9, 17, 13), stripe);
    c.fill(box(11, 10, 13, 12), stripe);
    c.fill(box(19, 10, 21, 12), stripe);
    c.fill(box(4, 17, 7, 18), stripe);
    c.fill(box(25, 17, 28, 18), stripe);
    c.fill(ellipse(16, 23, 6.5f, 4.2f), cream);
    for (float x : {11.0f, 21.0f})
    {
        c.fill(ellipse(x, 17, 2.5f, 3), eye);
        c.fill(ellipse(x, 17.2f, 0.9f, 2.4f), INK);
        c.set(int(x) - 1, 15, WHITE);
    }
    c.fill(ellipse(7.5f, 22, 1.8f, 1.1f), pink);
    c.fill(ellipse(24.5f, 22, 1.8f, 1.1f), pink);
    c.fill(polygon({14.5f, 20.5f, 17.5f, 20.5f, 16, 22.5f}), pink);
    for (auto [x, y] : {std::pair{16, 22}, {15, 23}, {17, 23}, {14, 23}, {18, 23}})
        c.set(x, y, INK);
    c.outline(INK);
    c.fillRect(0, 20, 3, 21, INK);
    c.fillRect(0, 23, 3, 24, INK);
    c.fillRect(29, 20, 32, 21, INK);
    c.fillRect(29, 23, 32, 24, INK);
    return c;
}

Canvas catFace()
{
    return catFaceGrid().scaled(8);
}

// ---- the title -------------------------------------------------------------

const char* const TITLE_GLYPHS[6][9] = {
    {"XX...XX", "XX..XX.", "XX.XX..", "XXXX...", "XXX....", "XXXX...", "XX.XX..", "XX..XX.", "XX...XX"},
    {"XXXXXXX", "XXXXXXX", "..XXX..", "..XXX..", "..XXX..", "..XXX..", "..XXX..", "XXXXXXX", "XXXXXXX"},
    {"XXXXXX.", "XXXXXXX", "XX...XX", "XX...XX", "XXXXXXX", "XXXXXX.", "XX..XX.", "XX...XX", "XX...XX"},
    {"XX...XX", "XX...XX", "XX...XX", "XX...XX", "XX...XX", "XX...XX", "XX...XX", "XXXXXXX", ".XXXXX."},
    {"XXXXXX.", "XXXXXXX", "XX...XX", "XX...XX", "XXXXXXX", "XXXXXX.", "XX.....", "XX.....", "XX....."},
    {".XXXXX.", "XXXXXXX", "XX...XX", "XX...XX", "XX...XX", "XX...XX", "XX...XX", "XXXXXXX", ".XXXXX."},
};

Canvas title()
{
    // "KIRUPO" in bold blocks, one hue per letter, lighter at the top, with a
    // dark outline and a drop shadow so that it reads over any background.
    constexpr int BLOCK = 9, BLOCK_HEIGHT = 12, COLUMNS = 7, ROWS = 9, ADVANCE = 80, SHADOW = 5;
    const Rgba hues[6] = {Rgba::hex(0xFF4D6D), Rgba::hex(0xFF9A3C), Rgba::hex(0xFFD93C),
                          Rgba::hex(0x5EDB6A), Rgba::hex(0x4DB8FF), Rgba::hex(0xB46DFF)};
    const int left = (512 - (5 * ADVANCE + COLUMNS * BLOCK)) / 2, top = (256 - ROWS * BLOCK_HEIGHT) / 2 - 4;
    Canvas letters(512, 256);
    for (int i = 0; i < 6; ++i)
    {
        const Rgba light = mix(hues[i], WHITE, 0.6f);
        for (int row = 0; row < ROWS; ++row)
            for (int column = 0; column < COLUMNS; ++column)
                if (TITLE_GLYPHS[i][row][column] == 'X')
                {
                    const int x0 = left + i * ADVANCE + column * BLOCK, y0 = top + row * BLOCK_HEIGHT;
                    letters.fill(box(float(x0), float(y0), float(x0 + BLOCK), float(y0 + BLOCK_HEIGHT)),
                                 [&](int, int y) { return mix(light, hues[i], (y - top) / 55.0f); });
                }
    }
    for (int i = 0; i < 3; ++i)
        letters.outline(Rgba::hex(0x2A1038));
    Canvas picture(512, 256);
    picture.fill([&](float x, float y) { return letters.at(int(x) - SHADOW, int(y) - SHADOW).a != 0; },
                 Rgba::hex(0x5A2A78));
    picture.draw(letters, 0, 0);
    return picture;
}

// ---- the star particle -----------------------------------------------------

float distanceToSegment(float x, float y, float x0, float y0, float x1, float y1)
{
    const float dx = x1 - x0, dy = y1 - y0;
    const float t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(x - x0 - t * dx, y - y0 - t * dy);
}

Canvas starParticle()
{
    // White, so that the sprite's vertex colour gives it its tint; the alpha
    // falls off over about three pixels around the star's edge.
    constexpr float CX = 32, CY = 34, OUTER = 30, INNER = 13;
    std::vector<float> xy;
    for (int i = 0; i < 10; ++i)
    {
        const float r = i % 2 ? INNER : OUTER, a = -3.14159265f / 2 + i * 3.14159265f / 5;
        xy.push_back(CX + r * std::cos(a));
        xy.push_back(CY + r * std::sin(a));
    }
    const Shape inside = polygon(xy);
    Canvas c(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
        {
            const float px = x + 0.5f, py = y + 0.5f;
            float d = 1e9f;
            for (int i = 0; i < 10; ++i)
            {
                const int j = (i + 1) % 10;
                d = std::min(d, distanceToSegment(px, py, xy[2 * i], xy[2 * i + 1], xy[2 * j], xy[2 * j + 1]));
            }
            const float signedDistance = inside(px, py) ? -d : d;
            const float alpha = std::clamp(0.5f - signedDistance / 3.0f, 0.0f, 1.0f);
            if (alpha > 0)
                c.set(x, y, Rgba{255, 255, 255, std::uint8_t(std::lround(alpha * 255))});
        }
    return c;
}

// ---- the spiral section's rabbit ------------------------------------------

// The section draws only the top-left 31 x 31 pixels, so the rabbit keeps
// clear of the last row and column.
Canvas rabbit(bool hopping)
{
    const Rgba fur = WHITE, shade = Rgba::hex(0xDCD8EC), pink = Rgba::hex(0xFFA0BE), ink = Rgba::hex(0x3A2840);
    Canvas c(32, 32);
    if (hopping)
    {
        c.fill(stroke(12, 11, 9, 3, 2.2f), fur);
        c.fill(stroke(19, 11, 24, 6, 2.2f), fur);
        c.fill(stroke(24, 6, 27, 9, 2.0f), fur);
        c.fill(stroke(11.5f, 10, 9.5f, 4, 0.8f), pink);
        c.fill(stroke(20, 10, 24, 6.5f, 0.8f), pink);
    }
    else
    {
        c.fill(stroke(12, 12, 11, 3, 2.3f), fur);
        c.fill(stroke(19, 12, 20, 3, 2.3f), fur);
        c.fill(stroke(11.8f, 11, 11.2f, 4, 0.9f), pink);
        c.fill(stroke(19.2f, 11, 19.8f, 4, 0.9f), pink);
    }
    c.fill(ellipse(15.5f, 24.5f, 8.5f, 5.5f), fur);
    c.fill(ellipse(15.5f, 26.5f, 6.5f, 3), shade);
    c.fill(disc(24.5f, 25, 2.6f), fur);
    c.fill(ellipse(15.5f, 16, 7.5f, 6), fur);
    if (hopping)
    {
        // Happy squint and raised paws.
        for (int x : {11, 12, 13})
            c.set(x, x == 12 ? 14 : 15, ink);
        for (int x : {18, 19, 20})
            c.set(x, x == 19 ? 14 : 15, ink);
        c.fill(ellipse(9, 21.5f, 1.8f, 1.5f), fur);
        c.fill(ellipse(22, 21.5f, 1.8f, 1.5f), fur);
    }
    else
    {
        c.fill(ellipse(12, 15, 1.2f, 1.7f), ink);
        c.fill(ellipse(19, 15, 1.2f, 1.7f), ink);
        c.set(11, 14, WHITE);
        c.set(18, 14, WHITE);
        c.fill(ellipse(12, 29, 2.5f, 1.2f), shade);
        c.fill(ellipse(19, 29, 2.5f, 1.2f), shade);
    }
    c.fill(ellipse(9.5f, 18, 1.4f, 0.9f), pink);
    c.fill(ellipse(21.5f, 18, 1.4f, 0.9f), pink);
    c.set(15, 17, pink);
    c.set(16, 17, pink);
    c.set(15, 19, ink);
    c.set(16, 19, ink);
    c.outline(ink);
    for (int i = 0; i < 32; ++i)
    {
        c.set(31, i, CLEAR);
        c.set(i, 31, CLEAR);
    }
    return c;
}

Canvas rabbitSitting()
{
    return rabbit(false);
}
Canvas rabbitHopping()
{
    return rabbit(true);
}

// ---- the spiral ribbons' stripes -------------------------------------------

Canvas stripes()
{
    // Four coloured dashes along v with transparent gaps between them; u runs
    // across the ribbon, and its edges are darker.
    const Rgba colours[4] = {Rgba::hex(0xFF3C8C), Rgba::hex(0xFF9A1F), Rgba::hex(0x1FB5B0), Rgba::hex(0x7A45D8)};
    Canvas c(64, 64);
    for (int y = 0; y < 64; ++y)
    {
        const int stripe = y / 16, row = y % 16;
        if (row < 2 || row >= 14)
            continue;
        for (int x = 0; x < 64; ++x)
        {
            Rgba colour = colours[stripe];
            if (row < 5)
                colour = mix(colour, WHITE, 0.45f);
            if (x < 6 || x >= 58)
                colour = mix(colour, Rgba::hex(0x201030), 0.45f);
            c.set(x, y, colour);
        }
    }
    return c;
}

// ---- the tile pattern ------------------------------------------------------

Canvas tilePattern()
{
    // Four small shapes per 32 x 8 row: the tile grid stretches the top row.
    const Rgba rows[4][4] = {
        {Rgba::hex(0xFF3B5C), Rgba::hex(0xFFD23F), Rgba::hex(0x3FD7FF), Rgba::hex(0x8CFF4A)},
        {Rgba::hex(0xB45CFF), Rgba::hex(0xFF8A3F), Rgba::hex(0x3FFFB4), Rgba::hex(0xFF5CC8)},
        {Rgba::hex(0xFFD23F), Rgba::hex(0x3FD7FF), Rgba::hex(0x8CFF4A), Rgba::hex(0xFF3B5C)},
        {Rgba::hex(0xFF8A3F), Rgba::hex(0x3FFFB4), Rgba::hex(0xFF5CC8), Rgba::hex(0xB45CFF)},
    };
    Canvas c(32, 32);
    for (int row = 0; row < 4; ++row)
    {
        const float oy = row * 8.0f;
        c.fill(heart(4, oy + 4.2f, 3.3f), rows[row][0]);
        c.fill(star(12, oy + 4.3f, 3.6f, 1.6f), rows[row][1]);
        c.fill(polygon({20, oy + 0.8f, 23.2f, oy + 4, 20, oy + 7.2f, 16.8f, oy + 4}), rows[row][2]);
        c.fill(disc(28, oy + 4, 3), rows[row][3]);
    }
    c.outline(Rgba::hex(0x1A1030));
    return c;
}

// ---- pictures that are loaded but not drawn --------------------------------

Canvas collage()
{
    Canvas c(32, 32);
    c.fillRect(2, 3, 20, 18, Rgba::hex(0xE84A5F));
    c.fillRect(12, 10, 29, 28, Rgba::hex(0x2A9D8F));
    c.fill(disc(10, 22, 6), Rgba::hex(0xF4D35E));
    c.fill(disc(22, 9, 4), Rgba::hex(0x1D3557));
    c.fill(disc(22, 9, 1.5f), WHITE);
    c.outline(INK);
    return c;
}

Canvas bloodDrop()
{
    Canvas c(16, 16);
    c.fill(unite(disc(8, 10, 4.5f), polygon({8, 1, 12, 9, 4, 9})), Rgba::hex(0xC0102A));
    c.fill(ellipse(6.5f, 10, 1, 1.8f), Rgba::hex(0xFF7A8A));
    c.outline(Rgba::hex(0x4A0612));
    return c;
}

// ---- the render-to-texture section's background ----------------------------

Canvas spaceBackground()
{
    const Rgba ink = Rgba::hex(0x24123A);
    Canvas c(64, 64);
    for (auto [x, y] : {std::pair{6, 6},
                        {20, 4},
                        {31, 11},
                        {9, 19},
                        {26, 22},
                        {59, 24},
                        {37, 3},
                        {4, 31},
                        {58, 44},
                        {41, 56},
                        {33, 30},
                        {50, 3}})
    {
        const Rgba colour = (x + y) % 3 ? Rgba::hex(0xFFFFFF) : Rgba::hex(0xFFE66D);
        c.fill(box(x - 1.0f, float(y), x + 2.0f, y + 1.0f), colour);
        c.fill(box(float(x), y - 1.0f, x + 1.0f, y + 2.0f), colour);
    }
    // Moon.
    c.fill(subtract(disc(52, 12, 6.5f), disc(55.5f, 9.5f, 5.5f)), Rgba::hex(0xFFF3B0));
    // Ringed planet: the back half of the ring, the planet, the front half.
    const Shape ring = subtract(ellipse(18, 43, 18, 4.5f), ellipse(18, 43, 13.5f, 2.3f));
    c.fill([&](float x, float y) { return y < 43 && ring(x, y); }, Rgba::hex(0xE0A93A));
    c.fill(disc(18, 43, 10.5f), [](int, int y) { return (y / 3) % 2 ? Rgba::hex(0x3FB8AF) : Rgba::hex(0x2E8C99); });
    c.fill(ellipse(14, 38, 3, 1.6f), Rgba::hex(0x9BE6DC));
    c.fill([&](float x, float y) { return y >= 43 && ring(x, y); }, Rgba::hex(0xFFD166));
    // Flying saucer with its beam.
    c.fill(polygon({40, 33, 48, 33, 55, 51, 33, 51}), Rgba::hex(0xC8FF8A));
    c.fill(ellipse(44, 26.5f, 4.5f, 4), Rgba::hex(0x8FE8FF));
    c.fill(ellipse(44, 30.5f, 11.5f, 3), Rgba::hex(0xB8BCD0));
    c.fill(box(33, 30, 56, 31), Rgba::hex(0x8A8EA8));
    for (float x : {36.0f, 40.0f, 44.0f, 48.0f, 52.0f})
        c.fill(disc(x, 31.5f, 0.8f), Rgba::hex(0xFF5C8A));
    // Hills along the bottom.
    const Shape hills = unite(unite(disc(8, 70, 12), disc(30, 73, 14)), unite(disc(50, 70, 11), disc(66, 66, 8)));
    c.fill(hills, [](int, int y) { return y < 60 ? Rgba::hex(0x8A5CC4) : Rgba::hex(0x6B3FA0); });
    c.outline(ink);
    return c.scaled(8);
}

// ---- the conveyor section --------------------------------------------------

Canvas cat(bool secondFrame)
{
    const Rgba fur = Rgba::hex(0xA7AEC6), stripe = Rgba::hex(0x767D9C), belly = Rgba::hex(0xFAF7F2);
    const Rgba pink = Rgba::hex(0xFF94AE), eye = Rgba::hex(0xF2C230);
    Canvas c(32, 32);
    if (secondFrame)
    {
        c.fill(stroke(21, 27, 26, 29, 1.6f), fur);
        c.fill(stroke(26, 29, 29, 26, 1.6f), fur);
        c.fill(stroke(29, 26, 29, 22, 1.6f), stripe);
    }
    else
    {
        c.fill(stroke(21, 27, 27, 24, 1.6f), fur);
        c.fill(stroke(27, 24, 28, 17, 1.6f), fur);
        c.fill(stroke(28, 17, 26, 13, 1.6f), stripe);
    }
    c.fill(ellipse(15, 23, 8.5f, 7.5f), fur);
    c.fill(ellipse(15, 25, 5, 5), belly);
    c.fill(ellipse(11, 29.5f, 2.5f, 1.5f), belly);
    c.fill(ellipse(19, 29.5f, 2.5f, 1.5f), belly);
    const float hy = secondFrame ? 12.0f : 11.0f;
    c.fill(polygon({7, hy - 1, 8, hy - 10, 13, hy - 5}), fur);
    c.fill(polygon({23, hy - 1, 22, hy - 10, 17, hy - 5}), fur);
    c.fill(polygon({8.8f, hy - 3, 9, hy - 7.5f, 11.5f, hy - 5}), pink);
    c.fill(polygon({21.2f, hy - 3, 21, hy - 7.5f, 18.5f, hy - 5}), pink);
    c.fill(ellipse(15, hy, 8.5f, 6.5f), fur);
    c.fill(box(14, hy - 6, 16, hy - 3), stripe);
    c.fill(box(10, hy - 5, 12, hy - 3), stripe);
    c.fill(box(18, hy - 5, 20, hy - 3), stripe);
    c.fill(ellipse(15, hy + 3, 4, 2.4f), belly);
    if (secondFrame)
    {
        for (int x : {10, 11, 12, 17, 18, 19})
            c.set(x, int(hy) + ((x == 11 || x == 18) ? -1 : 0), INK);
        c.fill(ellipse(15, hy + 4, 1.4f, 1.2f), Rgba::hex(0xE0506E));
    }
    else
    {
        for (float x : {11.0f, 19.0f})
        {
            c.fill(ellipse(x, hy, 1.7f, 2), eye);
            c.fill(box(x - 0.5f, hy - 1.5f, x + 0.5f, hy + 1.5f), INK);
        }
        c.set(15, int(hy) + 3, INK);
    }
    c.set(15, int(hy) + 2, pink);
    c.outline(INK);
    return c.scaled(8);
}

Canvas catSitting()
{
    return cat(false);
}
Canvas catMeowing()
{
    return cat(true);
}

Canvas fish()
{
    Canvas c(32, 32);
    c.fill(polygon({21, 16, 30, 8, 28, 16, 30, 24}), Rgba::hex(0x5B8FD9));
    c.fill(polygon({12, 11, 17, 6, 19, 11}), Rgba::hex(0x5B8FD9));
    c.fill(ellipse(14, 16, 10, 6), [](int, int y) { return y < 17 ? Rgba::hex(0x7FB2E5) : Rgba::hex(0xD8ECFA); });
    for (auto [x, y] : {std::pair{15, 13}, {18, 14}, {13, 15}, {20, 16}, {16, 16}})
        c.set(x, y, Rgba::hex(0x4A78C0));
    c.fill(stroke(10, 12, 10, 19, 0.5f), Rgba::hex(0x4A78C0));
    c.fill(disc(7, 14.5f, 1.8f), WHITE);
    c.set(7, 14, INK);
    c.outline(INK);
    return c.scaled(4);
}

Canvas riceBall()
{
    Canvas c(32, 32);
    const Shape corners = unite(unite(disc(16, 9, 5), disc(8, 22, 5)), disc(24, 22, 5));
    c.fill(unite(polygon({16, 4, 28.5f, 24, 3.5f, 24}), unite(corners, box(8, 20, 24, 27))), WHITE);
    c.fill(box(11, 19, 21, 28), Rgba::hex(0x23402B));
    c.fill(box(12, 20, 14, 21), Rgba::hex(0x3C6B48));
    c.set(13, 15, INK);
    c.set(19, 15, INK);
    c.fill(ellipse(11, 17, 1.5f, 0.8f), Rgba::hex(0xFF9BB0));
    c.fill(ellipse(21, 17, 1.5f, 0.8f), Rgba::hex(0xFF9BB0));
    c.set(16, 16, INK);
    c.outline(INK);
    return c.scaled(4);
}

Canvas donut()
{
    Canvas c(32, 32);
    const Shape hole = disc(16, 16, 4.5f);
    c.fill(subtract(disc(16, 16, 12.5f), hole), Rgba::hex(0xE8A95C));
    const Shape icing = [](float x, float y) {
        const float a = std::atan2(y - 16, x - 16), r = std::hypot(x - 16, y - 16);
        return r < 10.5f + std::sin(a * 7) * 1.2f && r > 5.5f;
    };
    c.fill(icing, Rgba::hex(0x8A4B2E));
    const Rgba sprinkles[4] = {Rgba::hex(0xFF5C8A), Rgba::hex(0xFFE14A), Rgba::hex(0x5EDBFF), WHITE};
    int i = 0;
    for (auto [x, y] :
         {std::pair{12, 8}, {19, 7}, {23, 12}, {24, 19}, {19, 23}, {12, 24}, {8, 19}, {7, 12}, {15, 9}, {22, 16}})
    {
        c.set(x, y, sprinkles[i % 4]);
        c.set(x + (i % 2), y + 1 - (i % 2), sprinkles[i % 4]);
        ++i;
    }
    c.outline(INK);
    return c.scaled(4);
}

Canvas heartParticle()
{
    Canvas c(16, 16);
    c.fill(heart(8, 8.3f, 6.6f), Rgba::hex(0xF0284A));
    c.fill(ellipse(5, 5.5f, 1.3f, 1.1f), Rgba::hex(0xFFB3C1));
    c.outline(Rgba::hex(0x6A0E22));
    return c;
}

} // namespace

const std::vector<TexturePicture>& texturePictures()
{
    static const std::vector<TexturePicture> all = {
        {"katze.png", catFace},
        {"na!.png", title},
        {"starticle.png", starParticle},
        {"rabbit1.png", rabbitSitting},
        {"rabbit2.png", rabbitHopping},
        {"stripes4.png", stripes},
        {"lulu.png", tilePattern},
        {"dada.png", collage},
        {"uvo_back.png", spaceBackground},
        {"blood.png", bloodDrop},
        {"katze1.png", catSitting},
        {"katze2.png", catMeowing},
        {"food1.png", fish},
        {"food2.png", riceBall},
        {"food3.png", donut},
        {"hearticle.png", heartParticle},
    };
    return all;
}

Canvas applicationIcon(int size)
{
    // Enlarge by size / g, then average blocks of 32 / g (g their common divisor).
    const int common = std::gcd(size, CAT_FACE_GRID);
    return catFaceGrid().scaled(size / common).reduced(CAT_FACE_GRID / common);
}

} // namespace assets
