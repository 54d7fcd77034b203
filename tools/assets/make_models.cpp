// Builds every model of the demo into the directory given as argument.
#include "ModelShapes.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    for (const assets::ModelShape& shape : assets::modelShapes())
    {
        const assets::MeshBuilder mesh = shape.build();
        if (!mesh.write(argv[1], shape.name))
        {
            std::fprintf(stderr, "cannot write %s into %s\n", shape.name.c_str(), argv[1]);
            return 1;
        }
    }
    return 0;
}
