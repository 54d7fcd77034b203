#include "assets/Mipmaps.h"

#include "platform/OpenGL.h"

#include <vector>

using namespace irr;

namespace
{
u8 roundedMean(u32 a, u32 b)
{
    return static_cast<u8>((a + b + 1) >> 1);
}

u32 bytesPerTexel(video::ECOLOR_FORMAT format)
{
    switch (format)
    {
    case video::ECF_A8R8G8B8:
        return 4;
    case video::ECF_R8G8B8:
        return 3;
    default:
        return 0; // not made of 8-bit channels
    }
}

// The engine's own order of levels: both sides halve until each is 1.
core::dimension2du nextLevel(core::dimension2du size)
{
    return core::dimension2du(size.Width > 1 ? size.Width / 2 : 1, size.Height > 1 ? size.Height / 2 : 1);
}
} // namespace

void halvePicture(const u8* source, u32 width, u32 height, u32 bytesPerTexel, u8* target)
{
    const core::dimension2du half = nextLevel(core::dimension2du(width, height));
    const u32 pitch = width * bytesPerTexel;
    const u32 nextColumn = width > 1 ? bytesPerTexel : 0;
    const u32 nextRow = height > 1 ? pitch : 0;
    for (u32 y = 0; y < half.Height; ++y)
    {
        const u8* upper = source + (height > 1 ? 2 * y : y) * pitch;
        for (u32 x = 0; x < half.Width; ++x)
        {
            const u8* texel = upper + (width > 1 ? 2 * x : x) * bytesPerTexel;
            for (u32 c = 0; c < bytesPerTexel; ++c)
            {
                const u8 top = roundedMean(texel[c], texel[nextColumn + c]);
                const u8 bottom = roundedMean(texel[nextRow + c], texel[nextRow + nextColumn + c]);
                *target++ = roundedMean(top, bottom);
            }
        }
    }
}

void buildMipmaps(video::IVideoDriver* driver)
{
    std::vector<u8> levels;
    for (u32 i = 0; i < driver->getTextureCount(); ++i)
    {
        video::ITexture* texture = driver->getTextureByIndex(i);
        const u32 texelBytes = bytesPerTexel(texture->getColorFormat());
        if (!texture->hasMipMaps() || texture->isRenderTarget() || texelBytes == 0)
            continue;
        const core::dimension2du size = texture->getSize();
        if (size.Width * size.Height <= 1 || texture->getPitch() != size.Width * texelBytes)
            continue;

        // Every level below the picture, one after the other, each halved
        // from the one above.
        std::size_t total = 0;
        for (core::dimension2du level = nextLevel(size);; level = nextLevel(level))
        {
            total += level.Width * level.Height * texelBytes;
            if (level.Width == 1 && level.Height == 1)
                break;
        }
        levels.resize(total);
        const u8* above = static_cast<const u8*>(texture->lock(video::ETLM_READ_ONLY));
        if (!above)
            continue;
        u8* below = levels.data();
        for (core::dimension2du level = size; level.Width > 1 || level.Height > 1; level = nextLevel(level))
        {
            halvePicture(above, level.Width, level.Height, texelBytes, below);
            above = below;
            below += nextLevel(level).Width * nextLevel(level).Height * texelBytes;
        }
        texture->unlock();

        // The engine uploads the levels to the texture bound on the first
        // unit: binding it through a material keeps the engine's own record
        // of what is bound right.
        video::SMaterial binding;
        binding.setTexture(0, texture);
        driver->setMaterial(binding);
        glActiveTexture(GL_TEXTURE0);
        texture->regenerateMipMapLevels(levels.data());
    }
}
