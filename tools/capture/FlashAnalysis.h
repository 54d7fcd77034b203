#pragma once

#include "FlashCounter.h"
#include "Png.h"

#include <string>
#include <vector>

// The flashes of a run of 640 x 480 frames: every region of the threshold
// area (213 x 160 pixels, a quarter of a 10 degree field on the picture seen
// full-screen) at a stride of a few pixels, and the whole picture, each with
// a general and a saturated-red FlashCounter; per section the worst count
// in any one second, where and when. Everything is made up front: a frame
// costs one pass over its pixels (a summed-area table) and one reading per
// region.
class FlashAnalysis
{
public:
    static constexpr int REGION_WIDTH = 213;
    static constexpr int REGION_HEIGHT = 160;
    static constexpr int STRIDE = 8;
    static constexpr float LIMIT = 3.0f; // flashes in any one second

    explicit FlashAnalysis(int fps, unsigned width = 640, unsigned height = 480);

    // The next frame, its demo time and the effect its section shows.
    void addFrame(const RgbImage& picture, float seconds, int effect);

    struct Worst
    {
        float flashes = 0.0f;
        float at = 0.0f; // the demo time the second ends
        int x = -1;      // the region's top left; -1: the whole picture
        int y = -1;
    };
    struct Section
    {
        int effect = 0;
        float first = 0.0f; // demo times of its first and last frame
        float last = 0.0f;
        Worst general;
        Worst red;
        bool passes() const { return general.flashes <= LIMIT && red.flashes <= LIMIT; }
    };
    const std::vector<Section>& sections() const { return results; }
    int regionCount() const { return static_cast<int>(regions.size()) - 1; }

    std::string table() const;
    std::string json() const;

private:
    struct Region
    {
        int x, y, width, height;
        FlashCounter general;
        FlashCounter red;
    };
    void sumPixels(const RgbImage& picture);
    double areaSum(int channel, const Region& region) const;

    unsigned width;
    unsigned height;
    float linear[256];           // sRGB component to linear light
    std::vector<double> sums;    // per channel, (width + 1) x (height + 1)
    std::vector<Region> regions; // the last is the whole picture
    std::vector<Section> results;
};
