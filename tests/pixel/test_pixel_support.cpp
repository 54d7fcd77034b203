// The pixel-test support itself: the data tree, PNG round trips and the
// private display every pixel test relies on.
#include "PixelTest.h"

#include <gtest/gtest.h>
// Xlib after gtest: its macros (None, Bool) would break gtest's headers.
#include <X11/Xlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace
{
std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
} // namespace

TEST(TestDataTree, IsLaidOutLikeAnInstalledDemoAndVanishesWithTheObject)
{
    std::string root;
    {
        TestDataTree tree;
        root = tree.root();
        EXPECT_TRUE(fs::path(root).is_absolute());
        EXPECT_EQ(tree.bin(), root + "/bin");
        for (const char* dir : {"bin", "data/textures", "data/models", "data/stream"})
            EXPECT_TRUE(fs::is_directory(root + "/" + dir)) << dir;
        // Programs run in bin/ and find their assets through ../data.
        tree.writeFile("data/stream/kiru.ogg", "not really music");
        EXPECT_EQ(readFile(tree.bin() + "/../data/stream/kiru.ogg"), "not really music");
        tree.remove("data/stream/kiru.ogg");
        EXPECT_FALSE(fs::exists(root + "/data/stream/kiru.ogg"));
    }
    EXPECT_FALSE(fs::exists(root));
}

TEST(TestDataTree, ModelsGetTheirMaterialFileBesideThem)
{
    TestDataTree tree;
    tree.writeModel("cube.obj", "mtllib cube.mtl\nv 0 0 0\n", "cube.mtl", "newmtl red\nKd 1 0 0\n");
    EXPECT_EQ(readFile(tree.root() + "/data/models/cube.obj"), "mtllib cube.mtl\nv 0 0 0\n");
    EXPECT_EQ(readFile(tree.root() + "/data/models/cube.mtl"), "newmtl red\nKd 1 0 0\n");
    tree.writeModel("plain.obj", "v 0 0 0\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(tree.root() + "/data/models"), fs::directory_iterator()), 3);
}

TEST(TestDataTree, TexturesReadBackPixelForPixelWithXRightAndYDown)
{
    TestDataTree tree;
    // Every pixel different, so a swapped axis or a flipped row shows.
    auto pattern = [](unsigned x, unsigned y) { return irr::video::SColor(255, x * 40, y * 60, 200 - x - y); };
    tree.writeTexture("pattern.png", 5, 3, pattern);
    const Frame read = loadPng(tree.root() + "/data/textures/pattern.png");
    ASSERT_TRUE(read.valid());
    EXPECT_EQ(read.width, 5u);
    EXPECT_EQ(read.height, 3u);
    for (unsigned y = 0; y < 3; ++y)
        for (unsigned x = 0; x < 5; ++x)
            EXPECT_EQ(read.at(x, y), pattern(x, y)) << x << "," << y;

    tree.writeTexture("flat.png", 2, 2, irr::video::SColor(255, 1, 2, 3));
    EXPECT_EQ(loadPng(tree.root() + "/data/textures/flat.png").at(1, 1), irr::video::SColor(255, 1, 2, 3));
}

TEST(TestDataTree, TexturesKeepTheirAlpha)
{
    TestDataTree tree;
    tree.writeTexture("half.png", 1, 1, irr::video::SColor(100, 255, 0, 0));
    const std::string bytes = readFile(tree.root() + "/data/textures/half.png");
    ASSERT_GT(bytes.size(), 26u);
    EXPECT_EQ(bytes[25], 6); // colour type RGBA
    // A frame has no alpha: the stored colour comes back as it is.
    EXPECT_EQ(loadPng(tree.root() + "/data/textures/half.png").at(0, 0), irr::video::SColor(255, 255, 0, 0));
}

TEST(LoadPng, AnythingButAPngGivesAnInvalidFrame)
{
    TestDataTree tree;
    tree.writeFile("junk.png", "this is no picture");
    EXPECT_FALSE(loadPng(tree.root() + "/junk.png").valid());
    EXPECT_FALSE(loadPng(tree.root() + "/missing.png").valid());
    EXPECT_FALSE(Frame().valid());
    EXPECT_EQ(Frame().at(0, 0).getAlpha(), 0u);
}

TEST(ColourDistance, IsTheLargestChannelDifferenceWhicheverWay)
{
    const irr::video::SColor a(255, 10, 200, 30), b(0, 20, 190, 80);
    EXPECT_EQ(colourDistance(a, b), 50);
    EXPECT_EQ(colourDistance(b, a), 50);
    EXPECT_EQ(colourDistance(a, irr::video::SColor(0, 10, 200, 30)), 0); // alpha is not compared
}

TEST(SecondsArgument, ReadsBackAsTheSameFloat)
{
    for (float t : {0.0f, 10.104f, 65.0f, 70.728f, 0.1f + 0.2f})
        EXPECT_EQ(std::strtof(secondsArgument(t).c_str(), nullptr), t) << secondsArgument(t);
}

TEST(PrivateDisplay, IsUpWithAWindowManager)
{
    const char* name = std::getenv("DISPLAY");
    ASSERT_NE(name, nullptr);
    Display* display = XOpenDisplay(name);
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(DefaultDepth(display, DefaultScreen(display)), 24);
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    EXPECT_NE(check, 0u); // the window manager announced itself
    XCloseDisplay(display);
}
