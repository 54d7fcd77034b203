#include "Storyboard.h"

#include <algorithm>
#include <cstring>

const unsigned char Storyboard::BACKGROUND[3] = {0x22, 0x22, 0x22};
const unsigned char Storyboard::INK[3] = {0xE6, 0xE6, 0xE6};

namespace
{
// A 5 x 7 pixel font for the labels: digits, the decimal point, "s" and the
// space. Each row is five bits, the highest the leftmost pixel.
struct Glyph
{
    char character;
    unsigned char rows[7];
};
const Glyph GLYPHS[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}}, {'s', {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E}},
    {' ', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
};
constexpr unsigned SCALE = 2;                 // font pixels are 2 x 2 sheet pixels
constexpr unsigned ADVANCE = (5 + 1) * SCALE; // one column of space between glyphs
constexpr unsigned GLYPH_HEIGHT = 7 * SCALE;

const Glyph* glyphFor(char c)
{
    for (const Glyph& glyph : GLYPHS)
        if (glyph.character == c)
            return &glyph;
    return nullptr;
}
} // namespace

Storyboard::Storyboard(int pictures, int columns) : columns(columns)
{
    const unsigned rows = static_cast<unsigned>((pictures + columns - 1) / columns);
    const unsigned width = MARGIN + static_cast<unsigned>(columns) * (THUMB_WIDTH + MARGIN);
    const unsigned height = MARGIN + rows * (THUMB_HEIGHT + LABEL_HEIGHT + MARGIN);
    image = RgbImage(width, height);
    for (std::size_t i = 0; i < image.pixels.size(); i += 3)
        std::memcpy(&image.pixels[i], BACKGROUND, 3);
}

unsigned Storyboard::thumbLeft(int index) const
{
    return MARGIN + static_cast<unsigned>(index % columns) * (THUMB_WIDTH + MARGIN);
}

unsigned Storyboard::thumbTop(int index) const
{
    return MARGIN + static_cast<unsigned>(index / columns) * (THUMB_HEIGHT + LABEL_HEIGHT + MARGIN);
}

void Storyboard::place(int index, const RgbImage& frame, const std::string& label)
{
    const unsigned left = thumbLeft(index), top = thumbTop(index);
    // Each thumbnail pixel is the rounded mean of a 2 x 2 block of the frame.
    for (unsigned y = 0; y < THUMB_HEIGHT; ++y)
    {
        const unsigned char* upper = frame.row(2 * y);
        const unsigned char* lower = frame.row(2 * y + 1);
        unsigned char* out = image.row(top + y) + left * 3;
        for (unsigned x = 0; x < THUMB_WIDTH * 3; ++x)
        {
            const unsigned channel = x % 3, pixel = x / 3;
            const unsigned a = 6 * pixel + channel, b = a + 3;
            out[x] = static_cast<unsigned char>((upper[a] + upper[b] + lower[a] + lower[b] + 2) / 4);
        }
    }
    const unsigned textWidth = static_cast<unsigned>(label.size()) * ADVANCE;
    const unsigned textLeft = left + (THUMB_WIDTH > textWidth ? (THUMB_WIDTH - textWidth) / 2 : 0);
    drawText(textLeft, top + THUMB_HEIGHT + (LABEL_HEIGHT - GLYPH_HEIGHT) / 2, label);
}

void Storyboard::drawText(unsigned left, unsigned top, const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const Glyph* glyph = glyphFor(text[i]);
        if (!glyph)
            continue;
        const unsigned glyphLeft = left + static_cast<unsigned>(i) * ADVANCE;
        for (unsigned row = 0; row < GLYPH_HEIGHT; ++row)
            for (unsigned column = 0; column < 5 * SCALE; ++column)
            {
                const bool ink = glyph->rows[row / SCALE] & (0x10 >> (column / SCALE));
                const unsigned x = glyphLeft + column, y = top + row;
                if (ink && x < image.width && y < image.height)
                    std::memcpy(image.row(y) + x * 3, INK, 3);
            }
    }
}
