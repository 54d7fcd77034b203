// Composes the demo's soundtrack and writes it as an Ogg Vorbis file.
#include "OggWriter.h"
#include "Soundtrack.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s OUTPUT_FILE\n", argv[0]);
        return 2;
    }
    const std::filesystem::path path = argv[1];
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    if (!synth::writeOggVorbis(soundtrack::compose(), path.string(), 0.5f))
    {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
