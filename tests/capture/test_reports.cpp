// What the capture composes itself: the storyboard sheet, the timedemo's
// statistics and the progress line.
#include "BenchReport.h"
#include "Progress.h"
#include "Storyboard.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
RgbImage flatFrame(unsigned char r, unsigned char g, unsigned char b)
{
    RgbImage frame(640, 480);
    for (std::size_t i = 0; i < frame.pixels.size(); i += 3)
    {
        frame.pixels[i] = r;
        frame.pixels[i + 1] = g;
        frame.pixels[i + 2] = b;
    }
    return frame;
}

const unsigned char* pixel(const RgbImage& image, unsigned x, unsigned y)
{
    return image.row(y) + x * 3;
}

bool isColour(const unsigned char* p, const unsigned char* c)
{
    return std::memcmp(p, c, 3) == 0;
}

int inkIn(const RgbImage& image, unsigned left, unsigned top, unsigned width, unsigned height)
{
    int count = 0;
    for (unsigned y = top; y < top + height; ++y)
        for (unsigned x = left; x < left + width; ++x)
            count += isColour(pixel(image, x, y), Storyboard::INK);
    return count;
}
} // namespace

TEST(Storyboard, ThumbnailsFillRowsLeftToRightWithTheirLabelsBeneath)
{
    Storyboard board(5, 2); // three rows, the last one half empty
    const RgbImage& sheet = board.sheet();
    constexpr unsigned M = Storyboard::MARGIN, W = Storyboard::THUMB_WIDTH, H = Storyboard::THUMB_HEIGHT,
                       L = Storyboard::LABEL_HEIGHT;
    EXPECT_EQ(sheet.width, M + 2 * (W + M));
    EXPECT_EQ(sheet.height, M + 3 * (H + L + M));
    EXPECT_EQ(board.thumbLeft(3), M + W + M);
    EXPECT_EQ(board.thumbTop(3), M + H + L + M);

    const unsigned char colours[5][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}};
    const char* labels[5] = {"0.000 s", "2.533 s", "5.050 s", "7.583 s", "10.117 s"};
    for (int i = 0; i < 5; ++i)
        board.place(i, flatFrame(colours[i][0], colours[i][1], colours[i][2]), labels[i]);

    for (int i = 0; i < 5; ++i)
    {
        const unsigned x = board.thumbLeft(i), y = board.thumbTop(i);
        EXPECT_TRUE(isColour(pixel(sheet, x, y), colours[i])) << i;
        EXPECT_TRUE(isColour(pixel(sheet, x + W - 1, y + H - 1), colours[i])) << i;
        EXPECT_TRUE(isColour(pixel(sheet, x - 1, y), Storyboard::BACKGROUND)) << i;
        EXPECT_TRUE(isColour(pixel(sheet, x + W, y + H - 1), Storyboard::BACKGROUND)) << i;
        EXPECT_GT(inkIn(sheet, x, y + H, W, L), 50) << "label of " << i;
    }
    // The empty sixth place stays background, labels stay in their strips.
    EXPECT_EQ(inkIn(sheet, M + W + M, M + 2 * (H + L + M), W, H + L), 0);
    EXPECT_EQ(inkIn(sheet, 0, 0, sheet.width, M), 0);
}

TEST(Storyboard, EachThumbnailPixelIsTheMeanOfTwoByTwoFramePixels)
{
    RgbImage frame = flatFrame(0, 0, 0);
    // Frame pixels (10,20) (11,20) (10,21) (11,21) make thumbnail pixel (5,10).
    const unsigned char reds[4] = {10, 20, 30, 41};
    frame.row(20)[10 * 3] = reds[0];
    frame.row(20)[11 * 3] = reds[1];
    frame.row(21)[10 * 3] = reds[2];
    frame.row(21)[11 * 3] = reds[3];
    frame.row(479)[639 * 3 + 2] = 200; // the bottom-right corner, blue
    Storyboard board(1, 1);
    board.place(0, frame, "");
    const unsigned x = board.thumbLeft(0), y = board.thumbTop(0);
    EXPECT_EQ(pixel(board.sheet(), x + 5, y + 10)[0], (10 + 20 + 30 + 41 + 2) / 4);
    EXPECT_EQ(pixel(board.sheet(), x + 319, y + 239)[2], 50);
    EXPECT_EQ(pixel(board.sheet(), x + 4, y + 10)[0], 0);
}

TEST(Storyboard, DifferentTimesGiveDifferentLabels)
{
    Storyboard board(2, 2);
    board.place(0, flatFrame(0, 0, 0), "12.630 s");
    board.place(1, flatFrame(0, 0, 0), "13.680 s");
    const RgbImage& sheet = board.sheet();
    const unsigned top = board.thumbTop(0) + Storyboard::THUMB_HEIGHT;
    int differences = 0;
    for (unsigned y = top; y < top + Storyboard::LABEL_HEIGHT; ++y)
        for (unsigned x = 0; x < Storyboard::THUMB_WIDTH; ++x)
            differences += !isColour(pixel(sheet, board.thumbLeft(0) + x, y), pixel(sheet, board.thumbLeft(1) + x, y));
    EXPECT_GT(differences, 20); // "2.6" against "3.6"
}

TEST(BenchReport, PercentilesAreNearestRankAndSlowFramesAreCounted)
{
    std::vector<double> times;
    for (int i = 100; i >= 1; --i) // 1 .. 100 ms, unsorted
        times.push_back(i);
    const FrameTimes t = FrameTimes::of(times);
    EXPECT_EQ(t.frames, 100);
    EXPECT_DOUBLE_EQ(t.mean, 50.5);
    EXPECT_DOUBLE_EQ(t.p50, 50.0);
    EXPECT_DOUBLE_EQ(t.p99, 99.0);
    EXPECT_DOUBLE_EQ(t.max, 100.0);
    EXPECT_EQ(t.over16_7, 84); // 17 .. 100

    const FrameTimes one = FrameTimes::of({16.7});
    EXPECT_DOUBLE_EQ(one.p99, 16.7);
    EXPECT_EQ(one.over16_7, 0); // exactly one refresh is in time
    EXPECT_EQ(FrameTimes::of({}).frames, 0);
}

TEST(BenchReport, FramesAreGroupedBySectionInTimelineOrder)
{
    const std::vector<irr::s32> ids = {1000, 1000, 1500, 1500, 1500, 2500};
    const std::vector<float> clocks = {0.0f, 5.0f, 10.2f, 15.0f, 20.0f, 20.3f};
    const std::vector<double> ms = {1.0, 3.0, 2.0, 2.0, 8.0, 4.0};
    const std::vector<SectionTimes> sections = groupBySection(ids, clocks, ms);
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].effectId, 1000);
    EXPECT_EQ(sections[0].times.frames, 2);
    EXPECT_DOUBLE_EQ(sections[0].times.mean, 2.0);
    EXPECT_EQ(sections[1].effectId, 1500);
    EXPECT_EQ(sections[1].from, 10.2f);
    EXPECT_EQ(sections[1].to, 20.0f);
    EXPECT_DOUBLE_EQ(sections[1].times.max, 8.0);
    EXPECT_EQ(sections[2].times.frames, 1);

    BenchReport report;
    report.sections = sections;
    const std::string json = report.json();
    EXPECT_NE(json.find("\"effect\": 1500, \"from_s\": 10.2000, \"to_s\": 20.0000, \"frames\": 3"), std::string::npos)
        << json;
    EXPECT_NE(report.table().find("1500  10.200-20.000 s"), std::string::npos) << report.table();
}

TEST(Progress, TellsFramesPercentRateAndTimeLeft)
{
    EXPECT_EQ(Progress::describe(1061, 4244, 10.0),
              "[#######.......................] 1061/4244 frames  25%  106.1 fps  0:30 left");
    EXPECT_EQ(Progress::describe(0, 4244, 0.0),
              "[..............................] 0/4244 frames   0%  0.0 fps  --:-- left");
}
