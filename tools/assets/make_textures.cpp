// Paints every texture of the demo into the directory given as argument.
#include "PngWriter.h"
#include "TexturePictures.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::filesystem::path directory = argv[1];
    std::filesystem::create_directories(directory);
    assets::PngWriter writer;
    for (const assets::TexturePicture& texture : assets::texturePictures())
    {
        const std::string path = (directory / texture.fileName).string();
        if (!writer.write(texture.paint(), path))
        {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
