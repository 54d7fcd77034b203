#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace assets
{

struct Rgba
{
    std::uint8_t r = 0, g = 0, b = 0, a = 0;

    static constexpr Rgba hex(std::uint32_t rgb, std::uint8_t alpha = 255)
    {
        return Rgba{std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb), alpha};
    }
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Rgba& o) const { return !(*this == o); }
};

constexpr Rgba CLEAR{0, 0, 0, 0};

// Mixes two colours: t = 0 gives a, t = 1 gives b.
Rgba mix(Rgba a, Rgba b, float t);

// A point-in-shape test in pixel coordinates (pixel (x, y) covers
// [x, x + 1) x [y, y + 1)); painting asks it at pixel centres, which keeps
// the edges of small pictures crisp.
using Shape = std::function<bool(float x, float y)>;

Shape ellipse(float cx, float cy, float rx, float ry);
Shape disc(float cx, float cy, float r);
Shape box(float x0, float y0, float x1, float y1);
// A convex or concave polygon, even-odd rule.
Shape polygon(std::vector<float> xy);
// A band of the given half width around the segment from (x0, y0) to (x1, y1).
Shape stroke(float x0, float y0, float x1, float y1, float halfWidth);
// A heart centred on (cx, cy), about 2r wide.
Shape heart(float cx, float cy, float r);
Shape unite(Shape a, Shape b);
Shape subtract(Shape a, Shape b);

// An RGBA picture, row 0 at the top. Pixels outside are ignored on writing
// and read as clear.
class Canvas
{
public:
    Canvas(int width, int height);

    int width() const { return w; }
    int height() const { return h; }
    Rgba at(int x, int y) const;
    void set(int x, int y, Rgba colour);
    // Source-over blending of a colour onto one pixel.
    void blend(int x, int y, Rgba colour);

    void fill(const Shape& shape, Rgba colour);
    // Fills with a colour that depends on the pixel.
    void fill(const Shape& shape, const std::function<Rgba(int x, int y)>& colour);
    void fillRect(int x0, int y0, int x1, int y1, Rgba colour);

    // Rings every opaque region with a one-pixel border of the given colour
    // on the transparent pixels next to it (four-neighbourhood).
    void outline(Rgba colour);
    // Draws another picture onto this one, blending, with its top-left at (x, y).
    void draw(const Canvas& picture, int x, int y);
    // Nearest-neighbour enlargement: every pixel becomes a factor x factor block.
    Canvas scaled(int factor) const;
    // Box-filter reduction: every factor x factor block becomes its average
    // pixel, colours weighted by their alpha so clear pixels add no colour.
    Canvas reduced(int factor) const;

    const std::vector<Rgba>& pixels() const { return data; }

private:
    int w, h;
    std::vector<Rgba> data;
};

} // namespace assets
