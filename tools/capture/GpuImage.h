#pragma once

#include <cstddef>
#include <vector>

// A frame as OpenGL hands it back without converting it: four bytes a
// pixel in the order the framebuffer keeps them, the bottom row first.
struct GpuImage
{
    enum class Order
    {
        Bgra,
        Rgba,
    };

    unsigned width = 0;
    unsigned height = 0;
    Order order = Order::Bgra;
    std::vector<unsigned char> pixels;

    GpuImage() = default;
    GpuImage(unsigned width, unsigned height)
        : width(width), height(height), pixels(static_cast<std::size_t>(width) * height * 4)
    {
    }

    std::size_t rowBytes() const { return static_cast<std::size_t>(width) * 4; }
    // Row y of the picture, counted from the top.
    const unsigned char* rowFromTop(unsigned y) const { return pixels.data() + (height - 1 - y) * rowBytes(); }
};
