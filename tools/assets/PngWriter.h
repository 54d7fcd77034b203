#pragma once

#include "Canvas.h"

#include <string>

namespace irr
{
class IrrlichtDevice;
}

namespace assets
{

// Writes canvases as RGBA PNG files through the engine's own image writer,
// on a null device (no window, no display needed). The files carry no time
// stamps, so the same canvas always gives the same bytes.
class PngWriter
{
public:
    PngWriter();
    ~PngWriter();
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    bool write(const Canvas& canvas, const std::string& path);

private:
    irr::IrrlichtDevice* device;
};

} // namespace assets
