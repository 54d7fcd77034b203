#pragma once

// Pixel tests: real frames of the demo rendered by kirupo-capture with the
// OpenGL driver on a private Xvfb, from a data tree the test makes itself.
// A test program that links kirupo_pixel_support gets a main that starts one
// Xvfb with a window manager for the whole program and stops it at exit.

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

// A temporary directory laid out like an installed demo: bin/ with
// kirupo-capture in it (the program finds data/ beside its own directory;
// bin/ is also the working directory of its runs) and
// data/{textures,models,stream}. Removed when destroyed.
class TestDataTree
{
public:
    TestDataTree(); // empty tree (every asset missing)
    ~TestDataTree();

    TestDataTree(const TestDataTree&) = delete;
    TestDataTree& operator=(const TestDataTree&) = delete;

    std::string root() const; // absolute path of the tree
    std::string bin() const;  // root()/bin

    // Copies the generated assets from build/data (missing ones stay missing).
    void copyGeneratedAssets();
    // A texture of one flat colour, or one given per pixel (x right, y down).
    void writeTexture(const std::string& name, unsigned width, unsigned height, irr::video::SColor colour);
    void writeTexture(const std::string& name, unsigned width, unsigned height,
                      const std::function<irr::video::SColor(unsigned x, unsigned y)>& pixel);
    // data/models/<name> with the given OBJ text, and an .mtl beside it when given.
    void writeModel(const std::string& name, const std::string& obj, const std::string& mtlName = "",
                    const std::string& mtl = "");
    void writeFile(const std::string& relativePath, const std::string& bytes); // anything under root()
    void remove(const std::string& relativePath);

private:
    std::string rootPath;
};

struct Frame // a 640 x 480 RGB picture
{
    unsigned width = 0, height = 0;
    std::vector<unsigned char> rgb;                      // row-major, top row first
    irr::video::SColor at(unsigned x, unsigned y) const; // alpha 255
    bool valid() const;
};
Frame loadPng(const std::string& path); // invalid Frame when unreadable
// With KIRUPO_KEEP_FRAMES set to a directory, writes the frame there as
// <name>.png to look at; otherwise does nothing.
void keepFrame(const Frame& frame, const std::string& name);

struct CaptureResult
{
    int exitCode;       // the program's exit code; 128 + the signal when a signal ended it
    std::string errors; // what it wrote on stderr
    std::string output; // what it wrote on stdout
};

// Runs the tree's kirupo-capture with these arguments in tree.bin(), on the
// test program's private Xvfb, with SDL's dummy audio driver. Each entry of
// environment sets a variable for this run; an empty value removes it.
CaptureResult runCapture(const TestDataTree& tree, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& environment = {});

// kirupo-capture frame SECONDS out.png [--fps N] [--effect ID]; fails the test (ADD_FAILURE) and
// returns an invalid Frame when the command fails. effectId 0 means the timeline's choice.
Frame captureFrame(const TestDataTree& tree, float seconds, int effectId = 0, int fps = 60);

// Colour distance helper for assertions: max per-channel difference.
int colourDistance(irr::video::SColor a, irr::video::SColor b);
// Whether the frame's pixel at `at` lies within `tolerance` of `expected`;
// when it does not, the message says what was there instead.
::testing::AssertionResult colourAt(const Frame& frame, irr::core::vector2di at, irr::video::SColor expected,
                                    int tolerance = 3);
inline ::testing::AssertionResult colourAt(const Frame& frame, int x, int y, irr::video::SColor expected,
                                           int tolerance = 3)
{
    return colourAt(frame, irr::core::vector2di(x, y), expected, tolerance);
}
// How many pixels of the frame lie within `tolerance` of `colour`.
size_t countNear(const Frame& frame, irr::video::SColor colour, int tolerance = 3);
// Where a world point lands on the 640x480 screen, seen through `view` and
// the 3D effects' own projection.
irr::core::vector2df onScreen(const irr::core::matrix4& view, irr::core::vector3df point);

// The absolute path of build/bin/kirupo-capture.
std::string captureProgram();
// Formats seconds so that reading the text back gives the same float.
std::string secondsArgument(float seconds);
