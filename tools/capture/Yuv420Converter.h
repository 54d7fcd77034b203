#pragma once

#include "GpuImage.h"

#include <cstddef>
#include <vector>

struct SwsContext;

// Converts frames as the GPU keeps them into the H.264 video's frames:
// YUV 4:2:0 in limited-range BT.709, exactly as ffmpeg's scale filter
// converts them there (libswscale with ffmpeg's settings: bicubic chroma),
// the picture placed at (left, top) among black bars. Both must be even, and
// the picture's sides too, so that the bars share no chroma sample with it.
class Yuv420Converter
{
public:
    Yuv420Converter(unsigned frameWidth, unsigned frameHeight, unsigned left, unsigned top);
    ~Yuv420Converter();

    Yuv420Converter(const Yuv420Converter&) = delete;
    Yuv420Converter& operator=(const Yuv420Converter&) = delete;

    // The whole frame's Y, U and V planes one after the other, as ffmpeg's
    // rawvideo reads yuv420p. The picture must fit in the frame at (left, top).
    const std::vector<unsigned char>& convert(const GpuImage& picture);

private:
    void prepare(const GpuImage& picture);

    unsigned width, height, left, top;
    std::vector<unsigned char> planes;  // the frame's
    std::vector<unsigned char> scratch; // libswscale's: the picture's planes, rows padded
    std::size_t scratchStride = 0, scratchLuma = 0, scratchChroma = 0;
    SwsContext* context = nullptr;
    // The pictures the context is made for.
    unsigned pictureWidth = 0, pictureHeight = 0;
    GpuImage::Order order = GpuImage::Order::Bgra;
};
