// Files the capture writes appear whole or not at all, and PNGs hold exactly
// the pixels given.
#include "CaptureErrors.h"
#include "OutputFile.h"
#include "Png.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace
{
class OutputFileTest : public ::testing::Test
{
protected:
    OutputFileTest()
    {
        std::string pattern = fs::temp_directory_path().string() + "/kirupo-output-XXXXXX";
        directory = mkdtemp(pattern.data());
    }
    ~OutputFileTest() override { fs::remove_all(directory); }

    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(directory))
            names.push_back(entry.path().filename().string());
        return names;
    }
    std::string read(const std::string& name) const
    {
        std::ifstream in(directory + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::string directory;
};
} // namespace

TEST_F(OutputFileTest, NothingIsVisibleUnderTheTargetNameUntilCommit)
{
    std::ofstream(directory + "/out.png") << "the old picture";
    OutputFile out(directory + "/out.png");
    out.write(std::string("new "));
    out.write(std::vector<unsigned char>{'b', 'y', 't', 'e', 's'});
    EXPECT_EQ(read("out.png"), "the old picture");
    EXPECT_EQ(entries().size(), 2u); // the target and the hidden temporary beside it
    out.commit();
    EXPECT_EQ(read("out.png"), "new bytes");
    EXPECT_EQ(entries(), std::vector<std::string>{"out.png"});
    struct stat info;
    ASSERT_EQ(stat((directory + "/out.png").c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IRGRP, 0u) << "readable like any other file";
}

TEST_F(OutputFileTest, AnAbandonedFileLeavesNoTrace)
{
    {
        OutputFile out(directory + "/video.mp4");
        out.write(std::string("half a video"));
    }
    EXPECT_TRUE(entries().empty());
}

TEST_F(OutputFileTest, AnUnwritableTargetFailsAtOnce)
{
    EXPECT_THROW(OutputFile(directory + "/no/such/dir/out.png"), CaptureError);
    EXPECT_THROW(OutputFile(directory + "/"), CaptureError);
    fs::create_directory(directory + "/taken");
    EXPECT_THROW(OutputFile(directory + "/taken"), CaptureError);
    EXPECT_EQ(entries(), std::vector<std::string>{"taken"});
}

TEST_F(OutputFileTest, PngsHoldTheirPixelsRowsTopFirst)
{
    RgbImage image(3, 2);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<unsigned char>(i * 13);
    const std::vector<unsigned char> bytes = png::encode(image);
    EXPECT_EQ(bytes, png::encode(image)) << "the same pixels give the same bytes";
    ASSERT_GT(bytes.size(), 26u);
    EXPECT_EQ(bytes[24], 8); // bits per channel
    EXPECT_EQ(bytes[25], 2); // RGB, no alpha

    OutputFile out(directory + "/p.png");
    out.write(bytes);
    out.commit();
    RgbImage read;
    ASSERT_TRUE(png::decode(directory + "/p.png", read));
    EXPECT_EQ(read.width, 3u);
    EXPECT_EQ(read.height, 2u);
    EXPECT_EQ(read.pixels, image.pixels);
}
