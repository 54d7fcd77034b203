#pragma once

#include <filesystem>
#include <string>

// A temporary directory laid out like an installed demo (bin/ beside data/),
// made the working directory for as long as it exists, so that the demo's
// "../data/..." paths resolve into it. Removed, and the previous working
// directory restored, when destroyed.
class ScratchDataTree
{
public:
    ScratchDataTree();
    ~ScratchDataTree();

    ScratchDataTree(const ScratchDataTree&) = delete;
    ScratchDataTree& operator=(const ScratchDataTree&) = delete;

    // Writes a file under the tree's root, e.g. "data/models/arks3.obj".
    void writeFile(const std::string& relativePath, const std::string& bytes) const;

private:
    std::filesystem::path root;
    std::filesystem::path previousDirectory;
};
