// Paints the program's icon, the cat face, at every size the desktop's icon
// theme looks for: OUTPUT_DIRECTORY/hicolor/NxN/apps/kirupo.png.
#include "PngWriter.h"
#include "TexturePictures.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    assets::PngWriter writer;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
    {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path directory = std::filesystem::path(argv[1]) / "hicolor" / name / "apps";
        std::filesystem::create_directories(directory);
        const std::string path = (directory / "kirupo.png").string();
        if (!writer.write(assets::applicationIcon(size), path))
        {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
