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

// The program's icon: the opening grid's cat face at size x size pixels.
// Whole multiples of its 32-pixel grid enlarge it pixel for pixel; other
// sizes average the grid's pixels over each icon pixel.
Canvas applicationIcon(int size);

} // namespace assets
