#pragma once

#include <cstddef>
#include <string>
#include <vector>

// An 8-bit RGB picture, rows top first, no padding between rows.
struct RgbImage
{
    unsigned width = 0;
    unsigned height = 0;
    std::vector<unsigned char> pixels;

    RgbImage() = default;
    RgbImage(unsigned width, unsigned height)
        : width(width), height(height), pixels(static_cast<std::size_t>(width) * height * 3)
    {
    }

    unsigned char* row(unsigned y) { return pixels.data() + static_cast<std::size_t>(y) * width * 3; }
    const unsigned char* row(unsigned y) const { return pixels.data() + static_cast<std::size_t>(y) * width * 3; }
};

// PNG encoding and decoding through libpng. Encoding writes no time stamp or
// other varying chunk, so the same pixels always give the same bytes.
namespace png
{

// channels is 3 (RGB) or 4 (RGBA); rows top first. Level is zlib's 0 to 9:
// frames are written at a low level because most of their area is flat colour
// and they are many. Throws std::runtime_error when libpng refuses.
std::vector<unsigned char> encode(unsigned width, unsigned height, unsigned channels, const unsigned char* pixels,
                                  int compressionLevel = 3);
std::vector<unsigned char> encode(const RgbImage& image, int compressionLevel = 3);

// Reads any PNG as 8-bit RGB, the stored colours as they are (alpha is
// dropped, not composed over a background). Returns
// false and leaves the image empty when the file is missing or not a PNG.
bool decode(const std::string& path, RgbImage& image);

} // namespace png
