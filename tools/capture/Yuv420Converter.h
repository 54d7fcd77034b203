#pragma once

#include "GpuImage.h"

#include <vector>

struct SwsContext;

// Converts frames as the GPU keeps them into the H.264 video's frames:
// YUV 4:2:0 in limited-range BT.709, exactly as ffmpeg's scale filter
// converts them there (libswscale with ffmpeg's settings: bicubic chroma),
// the picture placed at (left, top) among black bars. Both must be even, so
// that the bars do not share a chroma sample with the picture.
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
    std::vector<unsigned char> planes;
    SwsContext* context = nullptr;
    // The pictures the context is made for.
    unsigned pictureWidth = 0, pictureHeight = 0;
    GpuImage::Order order = GpuImage::Order::Bgra;
};
