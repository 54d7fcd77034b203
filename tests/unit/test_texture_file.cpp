// The picture check in front of the engine's image loaders: a PNG loads as
// before; what is not a PNG, or claims a size the loader's arithmetic
// overflows on, is left out with one line on stderr naming the file.
#include "DemoFixture.h"
#include "ScratchDataTree.h"

#include "assets/TextureFile.h"

#include <filesystem>

using namespace irr;

namespace
{
const char* const PATH = "../data/textures/t.png";
const std::string PROGRAM = std::string(program_invocation_short_name) + ": ";
// A 2 x 1 RGBA PNG: one red and one green pixel.
const std::string TWO_PIXELS(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x02\x00\x00\x00\x01\x08\x06\x00"
    "\x00\x00\xf4\x22\x7f\x8a\x00\x00\x00\x0e\x49\x44\x41\x54\x78\x9c\x63\xf8\xcf\xc0\xf0\x1f\x04\x01\x10\xf8\x03"
    "\xfd\x4e\x95\xc1\x6f\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
    71);

class TextureFileTest : public DemoFixture
{
protected:
    ScratchDataTree tree;

    video::ITexture* load(std::string& errors)
    {
        testing::internal::CaptureStderr();
        video::ITexture* texture = loadTexture(&driver, PATH);
        errors = testing::internal::GetCapturedStderr();
        return texture;
    }
};

TEST_F(TextureFileTest, APngLoadsAndAMissingFileIsTheEnginesToReport)
{
    tree.writeFile("data/textures/t.png", TWO_PIXELS);
    std::string errors;
    EXPECT_NE(load(errors), nullptr);
    EXPECT_EQ(driver.texturesLoaded.back(), PATH);
    EXPECT_EQ(errors, "");

    loadTexture(&driver, "../data/textures/none.png");
    EXPECT_EQ(driver.texturesLoaded.back(), "../data/textures/none.png");
}

TEST_F(TextureFileTest, WhatTheLoadersWouldMisreadIsLeftOutAndNamed)
{
    auto withSize = [](const char* width, const char* height) {
        return TWO_PIXELS.substr(0, 16) + std::string(width, 4) + std::string(height, 4) + TWO_PIXELS.substr(24);
    };
    struct Case
    {
        const char* what;
        std::string bytes;
        const char* fault;
    };
    const Case cases[] = {
        {"a damaged JPEG", "\xff\xd8\xff\xe0\x00\x10JFIF\xff\xff", "not a PNG file"},
        {"an empty file", "", "not a PNG file"},
        {"a PNG cut inside its header", TWO_PIXELS.substr(0, 20), "a PNG file cut short before its header"},
        {"a size whose byte count overflows 32 bits", withSize("\x00\x01\x00\x00", "\x00\x01\x00\x00"),
         "a 65536 x 65536 picture"},
        {"no width", withSize("\x00\x00\x00\x00", "\x00\x00\x00\x01"), "a 0 x 1 picture"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        tree.writeFile("data/textures/t.png", c.bytes);
        const size_t loadsBefore = driver.texturesLoaded.size();
        std::string errors;
        EXPECT_EQ(load(errors), nullptr);
        EXPECT_EQ(errors, PROGRAM + PATH + ": " + c.fault + "; the picture is left out\n");
        EXPECT_EQ(driver.texturesLoaded.size(), loadsBefore) << "the engine was handed the file";
    }

    std::filesystem::remove("../data/textures/t.png");
    std::filesystem::create_directory("../data/textures/t.png");
    std::string errors;
    EXPECT_EQ(load(errors), nullptr);
    EXPECT_EQ(errors, PROGRAM + PATH + " is not a regular file; the picture is left out\n");
}
} // namespace
