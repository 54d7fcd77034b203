#pragma once

#include "Canvas.h"

#include <string>
#include <vector>

namespace assets
{

// One texture of the demo: its file name under data/textures and how it is painted.
struct TexturePicture
{
    std::string fileName;
    Canvas (*paint)();
};

// Every texture the demo loads, in a fixed order.
const std::vector<TexturePicture>& texturePictures();

} // namespace assets
