#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace assets
{

Rgba mix(Rgba a, Rgba b, float t)
{
    auto lerp = [t](std::uint8_t p, std::uint8_t q) {
        return std::uint8_t(std::lround(p + (q - p) * std::clamp(t, 0.0f, 1.0f)));
    };
    return Rgba{lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b), lerp(a.a, b.a)};
}

Shape ellipse(float cx, float cy, float rx, float ry)
{
    return [=](float x, float y) {
        const float dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0f;
    };
}

Shape disc(float cx, float cy, float r)
{
    return ellipse(cx, cy, r, r);
}

Shape box(float x0, float y0, float x1, float y1)
{
    return [=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Shape polygon(std::vector<float> xy)
{
    return [xy = std::move(xy)](float x, float y) {
        bool inside = false;
        const size_t n = xy.size() / 2;
        for (size_t i = 0, j = n - 1; i < n; j = i++)
        {
            const float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
                inside = !inside;
        }
        return inside;
    };
}

Shape stroke(float x0, float y0, float x1, float y1, float halfWidth)
{
    return [=](float x, float y) {
        const float dx = x1 - x0, dy = y1 - y0;
        const float lengthSq = dx * dx + dy * dy;
        float t = lengthSq > 0 ? ((x - x0) * dx + (y - y0) * dy) / lengthSq : 0.0f;
        t = std::clamp(t, 0.0f, 1.0f);
        const float ex = x - (x0 + t * dx), ey = y - (y0 + t * dy);
        return ex * ex + ey * ey <= halfWidth * halfWidth;
    };
}

Shape heart(float cx, float cy, float r)
{
    return [=](float px, float py) {
        // (x² + y² − 1)³ − x² y³ ≤ 0, with y up.
        const float x = (px - cx) / r * 1.15f, y = -(py - cy) / r * 1.15f + 0.15f;
        const float q = x * x + y * y - 1.0f;
        return q * q * q - x * x * y * y * y <= 0.0f;
    };
}

Shape unite(Shape a, Shape b)
{
    return [=](float x, float y) { return a(x, y) || b(x, y); };
}

Shape subtract(Shape a, Shape b)
{
    return [=](float x, float y) { return a(x, y) && !b(x, y); };
}

Canvas::Canvas(int width, int height) : w(width), h(height), data(size_t(width) * size_t(height), CLEAR) {}

Rgba Canvas::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= w || y >= h)
        return CLEAR;
    return data[size_t(y) * w + x];
}

void Canvas::set(int x, int y, Rgba colour)
{
    if (x < 0 || y < 0 || x >= w || y >= h)
        return;
    data[size_t(y) * w + x] = colour;
}

void Canvas::blend(int x, int y, Rgba colour)
{
    if (colour.a == 255 || at(x, y).a == 0)
    {
        if (colour.a > 0)
            set(x, y, colour);
        return;
    }
    const Rgba below = at(x, y);
    const float sa = colour.a / 255.0f, da = below.a / 255.0f;
    const float oa = sa + da * (1.0f - sa);
    auto channel = [&](std::uint8_t s, std::uint8_t d) {
        return std::uint8_t(std::lround((s * sa + d * da * (1.0f - sa)) / oa));
    };
    set(x, y,
        Rgba{channel(colour.r, below.r), channel(colour.g, below.g), channel(colour.b, below.b),
             std::uint8_t(std::lround(oa * 255.0f))});
}

void Canvas::fill(const Shape& shape, Rgba colour)
{
    fill(shape, [colour](int, int) { return colour; });
}

void Canvas::fill(const Shape& shape, const std::function<Rgba(int x, int y)>& colour)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (shape(x + 0.5f, y + 0.5f))
                blend(x, y, colour(x, y));
}

void Canvas::fillRect(int x0, int y0, int x1, int y1, Rgba colour)
{
    fill(box(float(x0), float(y0), float(x1), float(y1)), colour);
}

void Canvas::outline(Rgba colour)
{
    std::vector<Rgba> next = data;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            if (at(x, y).a != 0)
                continue;
            if (at(x - 1, y).a || at(x + 1, y).a || at(x, y - 1).a || at(x, y + 1).a)
                next[size_t(y) * w + x] = colour;
        }
    data.swap(next);
}

void Canvas::draw(const Canvas& picture, int x, int y)
{
    for (int py = 0; py < picture.height(); ++py)
        for (int px = 0; px < picture.width(); ++px)
            blend(x + px, y + py, picture.at(px, py));
}

Canvas Canvas::scaled(int factor) const
{
    Canvas out(w * factor, h * factor);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x)
            out.data[size_t(y) * out.w + x] = at(x / factor, y / factor);
    return out;
}

Canvas Canvas::reduced(int factor) const
{
    Canvas out(w / factor, h / factor);
    const int count = factor * factor;
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x)
        {
            int r = 0, g = 0, b = 0, a = 0;
            for (int dy = 0; dy < factor; ++dy)
                for (int dx = 0; dx < factor; ++dx)
                {
                    const Rgba p = at(x * factor + dx, y * factor + dy);
                    r += p.r * p.a;
                    g += p.g * p.a;
                    b += p.b * p.a;
                    a += p.a;
                }
            if (a > 0)
                out.data[size_t(y) * out.w + x] = Rgba{std::uint8_t((r + a / 2) / a), std::uint8_t((g + a / 2) / a),
                                                       std::uint8_t((b + a / 2) / a),
                                                       std::uint8_t((a + count / 2) / count)};
        }
    return out;
}

} // namespace assets
