#include "assets/TextureFile.h"

#include "platform/Warning.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

namespace
{
const unsigned char PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
// Signature, then the IHDR chunk's length, type, width and height.
constexpr std::size_t PNG_HEADER_SIZE = 24;
// Far above any picture the demo draws and any texture the driver takes.
constexpr unsigned long MAX_SIDE = 16384;

unsigned long bigEndian32(const unsigned char* bytes)
{
    return (static_cast<unsigned long>(bytes[0]) << 24) | (static_cast<unsigned long>(bytes[1]) << 16) |
           (static_cast<unsigned long>(bytes[2]) << 8) | bytes[3];
}
} // namespace

std::string findPngHeaderFault(const unsigned char* bytes, std::size_t size)
{
    if (size < sizeof PNG_SIGNATURE || std::memcmp(bytes, PNG_SIGNATURE, sizeof PNG_SIGNATURE) != 0)
        return "not a PNG file";
    if (size < PNG_HEADER_SIZE || std::memcmp(bytes + 12, "IHDR", 4) != 0)
        return "a PNG file cut short before its header";
    const unsigned long width = bigEndian32(bytes + 16);
    const unsigned long height = bigEndian32(bytes + 20);
    if (width == 0 || height == 0 || width > MAX_SIDE || height > MAX_SIDE)
        return "a " + std::to_string(width) + " x " + std::to_string(height) + " picture";
    return "";
}

irr::video::ITexture* loadTexture(irr::video::IVideoDriver* driver, const char* path)
{
    // A missing file is the engine's to report, as before.
    struct stat status;
    if (stat(path, &status) != 0)
        return driver->getTexture(path);
    if (!S_ISREG(status.st_mode))
    {
        warn("%s is not a regular file; the picture is left out", path);
        return nullptr;
    }
    unsigned char header[PNG_HEADER_SIZE];
    std::size_t size = 0;
    if (std::FILE* file = std::fopen(path, "rb"))
    {
        size = std::fread(header, 1, sizeof header, file);
        std::fclose(file);
    }
    const std::string fault = findPngHeaderFault(header, size);
    if (!fault.empty())
    {
        warn("%s: %s; the picture is left out", path, fault.c_str());
        return nullptr;
    }
    return driver->getTexture(path);
}
