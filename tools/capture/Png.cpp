#include "Png.h"

#include <png.h>

#include <cstring>
#include <stdexcept>

namespace png
{

namespace
{
void appendToVector(png_structp writer, png_bytep data, png_size_t length)
{
    auto* bytes = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(writer));
    bytes->insert(bytes->end(), data, data + length);
}

void noFlush(png_structp) {}

// libpng reports a fatal error by long-jumping out; the messages are kept
// rather than printed, and the caller sees an exception.
void keepError(png_structp writer, png_const_charp message)
{
    auto* text = static_cast<std::string*>(png_get_error_ptr(writer));
    *text = message;
    png_longjmp(writer, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}
} // namespace

std::vector<unsigned char> encode(unsigned width, unsigned height, unsigned channels, const unsigned char* pixels,
                                  int compressionLevel)
{
    if (channels != 3 && channels != 4)
        throw std::invalid_argument("PNG pictures have 3 or 4 channels here");
    std::string error;
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, keepError, ignoreWarning);
    png_infop info = writer ? png_create_info_struct(writer) : nullptr;
    if (!info)
    {
        png_destroy_write_struct(&writer, nullptr);
        throw std::runtime_error("out of memory for PNG encoding");
    }

    std::vector<unsigned char> bytes;
    std::vector<png_const_bytep> rows(height);
    for (unsigned y = 0; y < height; ++y)
        rows[y] = pixels + static_cast<std::size_t>(y) * width * channels;

    if (setjmp(png_jmpbuf(writer)))
    {
        png_destroy_write_struct(&writer, &info);
        throw std::runtime_error("PNG encoding failed: " + error);
    }
    png_set_write_fn(writer, &bytes, appendToVector, noFlush);
    png_set_compression_level(writer, compressionLevel);
    // One filter instead of trying all five per row: far quicker, and flat
    // areas compress nearly as well.
    png_set_filter(writer, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(writer, info, width, height, 8, channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(writer, info);
    png_write_rows(writer, const_cast<png_bytepp>(rows.data()), height);
    png_write_end(writer, info);
    png_destroy_write_struct(&writer, &info);
    return bytes;
}

std::vector<unsigned char> encode(const RgbImage& image, int compressionLevel)
{
    return encode(image.width, image.height, 3, image.pixels.data(), compressionLevel);
}

bool decode(const std::string& path, RgbImage& image)
{
    image = RgbImage();
    png_image reader;
    std::memset(&reader, 0, sizeof reader);
    reader.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&reader, path.c_str()))
        return false;
    // Read with alpha and drop it: composing over a background would run
    // through linear light and change the stored colours.
    reader.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> rgba(PNG_IMAGE_SIZE(reader));
    if (!png_image_finish_read(&reader, nullptr, rgba.data(), 0, nullptr))
    {
        png_image_free(&reader);
        return false;
    }
    RgbImage decoded(reader.width, reader.height);
    const std::size_t count = static_cast<std::size_t>(reader.width) * reader.height;
    for (std::size_t i = 0; i < count; ++i)
        std::memcpy(&decoded.pixels[i * 3], &rgba[i * 4], 3);
    image = std::move(decoded);
    return true;
}

} // namespace png
