#include "PngWriter.h"

#include <irrlicht.h>

#include <vector>

namespace assets
{

PngWriter::PngWriter()
{
    irr::SIrrlichtCreationParameters params;
    params.DriverType = irr::video::EDT_NULL;
    params.LoggingLevel = irr::ELL_NONE;
    device = irr::createDeviceEx(params);
}

PngWriter::~PngWriter()
{
    if (device)
        device->drop();
}

bool PngWriter::write(const Canvas& canvas, const std::string& path)
{
    if (!device)
        return false;
    std::vector<irr::u32> argb;
    argb.reserve(canvas.pixels().size());
    for (const Rgba& p : canvas.pixels())
        argb.push_back(irr::video::SColor(p.a, p.r, p.g, p.b).color);

    irr::video::IVideoDriver* driver = device->getVideoDriver();
    irr::video::IImage* image = driver->createImageFromData(
        irr::video::ECF_A8R8G8B8, irr::core::dimension2d<irr::u32>(irr::u32(canvas.width()), irr::u32(canvas.height())),
        argb.data(), false, false);
    const bool written = image && driver->writeImageToFile(image, path.c_str());
    if (image)
        image->drop();
    return written;
}

} // namespace assets
