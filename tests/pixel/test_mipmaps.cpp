// Mipmaps made on the CPU must be, texel for texel, the ones Mesa's renderer
// makes itself: the textures the sections draw smaller than their pictures
// would otherwise change.
#include "assets/Mipmaps.h"
#include "platform/DemoDevice.h"

#include <gtest/gtest.h>

#include <vector>

using namespace irr;

namespace
{
// Level `level` of the texture as the driver holds it.
std::vector<u8> levelOf(video::ITexture* texture, u32 level)
{
    const u8* texels = static_cast<const u8*>(texture->lock(video::ETLM_READ_ONLY, level));
    core::dimension2du size = texture->getSize();
    for (u32 i = 0; i < level; ++i)
        size = core::dimension2du(size.Width > 1 ? size.Width / 2 : 1, size.Height > 1 ? size.Height / 2 : 1);
    std::vector<u8> copy(texels, texels + size.Width * size.Height * 4);
    texture->unlock();
    return copy;
}
} // namespace

TEST(Mipmaps, TheLevelsMadeOnTheCpuAreTheRenderersOwn)
{
    IrrlichtDevice* device = createDemoDevice(DeviceSettings(), nullptr);
    ASSERT_NE(device, nullptr);
    video::IVideoDriver* driver = device->getVideoDriver();

    // Noise, so that every way of rounding a mean turns up; wider than high,
    // so that the last levels halve one side only.
    video::IImage* picture = driver->createImage(video::ECF_A8R8G8B8, core::dimension2du(64, 8));
    u8* texels = static_cast<u8*>(picture->lock());
    u32 seed = 12345;
    for (u32 i = 0; i < 64 * 8 * 4; ++i)
        texels[i] = static_cast<u8>((seed = seed * 1103515245u + 12345u) >> 16);
    picture->unlock();

    driver->disableFeature(video::EVDF_MIP_MAP_AUTO_UPDATE, false);
    video::ITexture* renderers = driver->addTexture("made by the renderer", picture);
    driver->disableFeature(video::EVDF_MIP_MAP_AUTO_UPDATE, true);
    video::ITexture* ours = driver->addTexture("made on the CPU", picture);
    picture->drop();
    ASSERT_TRUE(renderers->hasMipMaps() && ours->hasMipMaps());
    // Before buildMipmaps the engine's stand-in levels differ, or this test could not tell.
    ASSERT_NE(levelOf(ours, 1), levelOf(renderers, 1));

    buildMipmaps(driver);
    for (u32 level = 1; level <= 6; ++level) // 32x4, 16x2, 8x1, 4x1, 2x1, 1x1
        EXPECT_EQ(levelOf(ours, level), levelOf(renderers, level)) << "level " << level;
    device->drop();
}
