#include "ScratchDataTree.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

ScratchDataTree::ScratchDataTree() : previousDirectory(fs::current_path())
{
    std::string pattern = (fs::temp_directory_path() / "kirupo-data-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary directory");
    root = pattern;
    fs::create_directories(root / "bin");
    fs::create_directories(root / "data" / "models");
    fs::create_directories(root / "data" / "textures");
    fs::current_path(root / "bin");
}

ScratchDataTree::~ScratchDataTree()
{
    std::error_code ignored;
    fs::current_path(previousDirectory, ignored);
    fs::remove_all(root, ignored);
}

void ScratchDataTree::writeFile(const std::string& relativePath, const std::string& bytes) const
{
    const fs::path path = root / relativePath;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}
