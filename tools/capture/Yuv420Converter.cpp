#include "Yuv420Converter.h"

#include "CaptureErrors.h"

extern "C"
{
#include <libavutil/opt.h>
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include <cstring>

namespace
{
// Limited-range black.
constexpr unsigned char BLACK_Y = 16;
constexpr unsigned char BLACK_CHROMA = 128;
} // namespace

Yuv420Converter::Yuv420Converter(unsigned frameWidth, unsigned frameHeight, unsigned left, unsigned top)
    : width(frameWidth), height(frameHeight), left(left), top(top)
{
    const std::size_t luma = static_cast<std::size_t>(width) * height;
    planes.assign(luma, BLACK_Y);
    planes.resize(luma + 2 * (luma / 4), BLACK_CHROMA);
}

Yuv420Converter::~Yuv420Converter()
{
    sws_freeContext(context);
}

void Yuv420Converter::prepare(const GpuImage& picture)
{
    if (context && picture.width == pictureWidth && picture.height == pictureHeight && picture.order == order)
        return;
    if (left + picture.width > width || top + picture.height > height)
        throw CaptureError("a frame does not fit the video");
    sws_freeContext(context);
    pictureWidth = picture.width;
    pictureHeight = picture.height;
    order = picture.order;
    // Rows of a whole multiple of 128 bytes (64 for chroma), and a row to
    // spare after each plane.
    scratchStride = (pictureWidth + 127) / 128 * 128;
    scratchLuma = scratchStride * (pictureHeight + 1);
    scratchChroma = scratchStride / 2 * (pictureHeight / 2 + 1);
    scratch.assign(scratchLuma + 2 * scratchChroma, 0);
    // The alpha byte is padding: the framebuffer's alpha is not the picture's.
    const AVPixelFormat in = order == GpuImage::Order::Rgba ? AV_PIX_FMT_RGB0 : AV_PIX_FMT_BGR0;
    context = sws_alloc_context();
    const bool set = context && av_opt_set_int(context, "srcw", pictureWidth, 0) >= 0 &&
                     av_opt_set_int(context, "srch", pictureHeight, 0) >= 0 &&
                     av_opt_set_int(context, "src_format", in, 0) >= 0 &&
                     av_opt_set_int(context, "dstw", pictureWidth, 0) >= 0 &&
                     av_opt_set_int(context, "dsth", pictureHeight, 0) >= 0 &&
                     av_opt_set_int(context, "dst_format", AV_PIX_FMT_YUV420P, 0) >= 0 &&
                     av_opt_set_int(context, "sws_flags", SWS_BICUBIC, 0) >= 0 &&
                     sws_init_context(context, nullptr, nullptr) >= 0;
    int *inverse = nullptr, *table = nullptr;
    int sourceRange = 0, range = 0, brightness = 0, contrast = 0, saturation = 0;
    if (!set ||
        sws_getColorspaceDetails(context, &inverse, &sourceRange, &table, &range, &brightness, &contrast, &saturation) <
            0 ||
        sws_setColorspaceDetails(context, inverse, sourceRange, sws_getCoefficients(SWS_CS_ITU709), 0, brightness,
                                 contrast, saturation) < 0)
    {
        sws_freeContext(context);
        context = nullptr;
        throw CaptureError("libswscale cannot convert the frames to YUV 4:2:0");
    }
}

const std::vector<unsigned char>& Yuv420Converter::convert(const GpuImage& picture)
{
    prepare(picture);
    // Bottom row first: read from the last row upwards.
    const std::size_t rowBytes = picture.rowBytes();
    const uint8_t* source[] = {picture.pixels.data() + (picture.height - 1) * rowBytes};
    const int sourceStride[] = {-static_cast<int>(rowBytes)};
    // libswscale may write a little past the end of each row: it writes into
    // planes of its own with room to spare, copied into the frame.
    uint8_t* converted[] = {scratch.data(), scratch.data() + scratchLuma, scratch.data() + scratchLuma + scratchChroma};
    const int stride[] = {static_cast<int>(scratchStride), static_cast<int>(scratchStride / 2),
                          static_cast<int>(scratchStride / 2)};
    sws_scale(context, source, sourceStride, 0, static_cast<int>(picture.height), converted, stride);

    const std::size_t luma = static_cast<std::size_t>(width) * height;
    unsigned char* plane[] = {planes.data(), planes.data() + luma, planes.data() + luma + luma / 4};
    for (int p = 0; p < 3; ++p)
    {
        const unsigned shift = p == 0 ? 0 : 1;
        const std::size_t frameStride = width >> shift;
        const std::size_t pictureRow = picture.width >> shift;
        for (unsigned y = 0; y < picture.height >> shift; ++y)
            std::memcpy(plane[p] + ((top >> shift) + y) * frameStride + (left >> shift),
                        converted[p] + y * static_cast<std::size_t>(stride[p]), pictureRow);
    }
    return planes;
}
