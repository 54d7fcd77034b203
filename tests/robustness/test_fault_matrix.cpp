// Damaged copies of the demo: every picture and model file missing, empty, cut in half,
// overwritten with random bytes, or replaced by another kind of file. For each
// fault one data tree has every file damaged at once, and kirupo-capture draws
// a frame inside each section (and each effect the timeline never shows) that
// uses them: it must end with 0 and write the frame. Run the program directly
// to print the table of cases and outcomes. (The capture tool plays no
// music; the damaged soundtrack is the music layer's test.)
#include "PixelTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

namespace
{
// A frame the capture tool draws, and the asset files (under data/) it uses.
struct Shot
{
    const char* name;
    float seconds;
    int effectId;
    std::vector<std::string> assets;
};

const std::vector<Shot> SHOTS = {
    {"1000 at 5 s", 5, 0, {"textures/katze.png", "textures/na!.png", "textures/starticle.png"}},
    {"1500 at 15 s",
     15,
     0,
     {"models/arks3.obj", "models/arks3.mtl", "textures/lulu.png", "textures/dada.png", "textures/uvo_back.png"}},
    {"2500 at 25 s", 25, 0, {"textures/lulu.png", "textures/na!.png"}},
    {"1100 at 40 s", 40, 0, {"textures/rabbit1.png", "textures/rabbit2.png", "textures/stripes4.png"}},
    {"2200 at 55 s",
     55,
     0,
     {"textures/katze1.png", "textures/katze2.png", "textures/food1.png", "textures/food2.png", "textures/food3.png",
      "textures/hearticle.png"}},
    {"--effect 1200", 2, 1200, {"models/shape_1a.obj", "models/shape_1a.mtl"}},
    {"--effect 1300", 2, 1300, {"models/town_04.obj", "models/town_04.mtl"}},
    {"--effect 1600",
     2,
     1600,
     {"models/arks5.obj", "models/arks5.mtl", "textures/lulu.png", "textures/dada.png", "textures/blood.png"}},
};

enum class Fault
{
    Missing,
    Empty,
    Truncated,
    RandomBytes,
    OtherKind,
};

const char* faultName(Fault fault)
{
    switch (fault)
    {
    case Fault::Missing:
        return "missing";
    case Fault::Empty:
        return "empty";
    case Fault::Truncated:
        return "truncated";
    case Fault::RandomBytes:
        return "random bytes";
    case Fault::OtherKind:
        return "other kind";
    }
    return "?";
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string randomBytes(std::size_t size, std::mt19937& random)
{
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random() & 0xff);
    return bytes;
}

// What lies under the file's name: for a picture, a JPEG whose body is noise
// (the engine tries its JPEG loader on it); for anything else, a picture.
std::string otherKindOfFile(const std::string& asset, const std::string& original, std::mt19937& random)
{
    if (asset.size() > 4 && asset.compare(asset.size() - 4, 4, ".png") == 0)
        return "\xff\xd8\xff\xe0" + randomBytes(original.size(), random);
    return readFile(std::string(KIRUPO_GENERATED_DATA) + "/textures/dada.png");
}

std::vector<std::string> allAssets()
{
    std::vector<std::string> assets;
    for (const Shot& shot : SHOTS)
        for (const std::string& asset : shot.assets)
            if (std::find(assets.begin(), assets.end(), asset) == assets.end())
                assets.push_back(asset);
    return assets;
}

void damage(TestDataTree& tree, const std::string& asset, Fault fault, std::mt19937& random)
{
    const std::string original = readFile(std::string(KIRUPO_GENERATED_DATA) + "/" + asset);
    ASSERT_FALSE(original.empty()) << "no generated " << asset;
    const std::string path = "data/" + asset;
    switch (fault)
    {
    case Fault::Missing:
        tree.remove(path);
        return;
    case Fault::Empty:
        tree.writeFile(path, "");
        return;
    case Fault::Truncated:
        tree.writeFile(path, original.substr(0, original.size() / 2));
        return;
    case Fault::RandomBytes:
        tree.writeFile(path, randomBytes(original.size(), random));
        return;
    case Fault::OtherKind:
        tree.writeFile(path, otherKindOfFile(asset, original, random));
        return;
    }
}

// The outcome of each shot, for the table: "0, PNG" or what went wrong.
std::map<std::string, std::map<std::string, std::string>>& outcomes() // fault -> shot -> outcome
{
    static std::map<std::string, std::map<std::string, std::string>> table;
    return table;
}

std::string takeShot(const TestDataTree& tree, const Shot& shot, const std::string& fault, CaptureResult& result)
{
    const std::string out = tree.root() + "/shot.png";
    std::remove(out.c_str());
    std::vector<std::string> args = {"frame", secondsArgument(shot.seconds), out, "--fps", "1"};
    if (shot.effectId != 0)
        args.insert(args.end(), {"--effect", std::to_string(shot.effectId)});
    result = runCapture(tree, args);
    const Frame frame = loadPng(out);
    std::string name = "damaged-" + fault + "-" + shot.name;
    std::replace(name.begin(), name.end(), ' ', '-');
    keepFrame(frame, name);
    std::string outcome = "exit " + std::to_string(result.exitCode);
    outcome += frame.valid() && frame.width == 640 && frame.height == 480 ? ", PNG" : ", no PNG";
    return outcome;
}

class FaultMatrix : public testing::TestWithParam<Fault>
{
};

TEST_P(FaultMatrix, everySectionDrawsAFrameAndEndsWithZero)
{
    const Fault fault = GetParam();
    TestDataTree tree;
    tree.copyGeneratedAssets();
    std::mt19937 random(8);
    for (const std::string& asset : allAssets())
        damage(tree, asset, fault, random);

    for (const Shot& shot : SHOTS)
    {
        CaptureResult result;
        const std::string outcome = takeShot(tree, shot, faultName(fault), result);
        outcomes()[faultName(fault)][shot.name] = outcome;
        EXPECT_EQ(outcome, "exit 0, PNG") << shot.name << ", every asset " << faultName(fault) << ":\n"
                                          << result.errors;
        EXPECT_EQ(result.errors.find("Sanitizer"), std::string::npos) << result.errors;
        EXPECT_EQ(result.errors.find("runtime error"), std::string::npos) << result.errors;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryAsset, FaultMatrix,
                         testing::Values(Fault::Missing, Fault::Empty, Fault::Truncated, Fault::RandomBytes,
                                         Fault::OtherKind),
                         [](const testing::TestParamInfo<Fault>& info) {
                             std::string name = faultName(info.param);
                             name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
                             return name;
                         });

// Without data/ beside bin/, the program says where it looked, on one line,
// and draws the demo as with every asset missing.
TEST(MissingDataDirectory, oneLineNamesTheDirectoryAndTheFrameIsDrawn)
{
    TestDataTree tree;
    std::filesystem::remove_all(tree.root() + "/data");
    const Shot shot = {"1000 at 5 s", 5, 0, {}};
    CaptureResult result;
    const std::string outcome = takeShot(tree, shot, "no-data-directory", result);
    outcomes()["no data directory"][shot.name] = outcome;
    EXPECT_EQ(outcome, "exit 0, PNG") << result.errors;

    std::istringstream lines(result.errors);
    std::string line;
    int naming = 0;
    while (std::getline(lines, line))
        naming += line.find(tree.root() + "/data") != std::string::npos;
    EXPECT_EQ(naming, 1) << result.errors;
}

// Printed after a run of the whole program: one row per asset file, one
// column per fault; a cell is the outcome of every shot that uses the file.
class TablePrinter : public testing::Environment
{
public:
    void TearDown() override
    {
        if (outcomes().size() < 2)
            return;
        std::printf("\n| asset file | shots |");
        for (const auto& [fault, shots] : outcomes())
            if (fault != "no data directory")
                std::printf(" %s |", fault.c_str());
        std::printf("\n|---|---|");
        for (std::size_t i = 1; i < outcomes().size(); ++i)
            std::printf("---|");
        std::printf("\n");
        for (const std::string& asset : allAssets())
        {
            std::string shotNames;
            for (const Shot& shot : SHOTS)
                if (std::find(shot.assets.begin(), shot.assets.end(), asset) != shot.assets.end())
                    shotNames += (shotNames.empty() ? "" : "; ") + std::string(shot.name);
            std::printf("| %s | %s |", asset.c_str(), shotNames.c_str());
            for (const auto& [fault, shots] : outcomes())
            {
                if (fault == "no data directory")
                    continue;
                std::string cell;
                for (const Shot& shot : SHOTS)
                    if (std::find(shot.assets.begin(), shot.assets.end(), asset) != shot.assets.end())
                    {
                        const auto found = shots.find(shot.name);
                        const std::string outcome = found == shots.end() ? "not run" : found->second;
                        if (cell.find(outcome) == std::string::npos)
                            cell += (cell.empty() ? "" : "; ") + outcome;
                    }
                std::printf(" %s |", cell.c_str());
            }
            std::printf("\n");
        }
        for (const auto& [shot, outcome] : outcomes()["no data directory"])
            std::printf("| (no data/ directory) | %s | %s |\n", shot.c_str(), outcome.c_str());
    }
};

const testing::Environment* const printer = testing::AddGlobalTestEnvironment(new TablePrinter);
} // namespace
