#include "FlashAnalysis.h"

#include <cmath>
#include <cstdio>

FlashAnalysis::FlashAnalysis(int fps, unsigned width, unsigned height)
    : width(width), height(height), sums(3 * static_cast<std::size_t>(width + 1) * (height + 1), 0.0)
{
    for (int v = 0; v < 256; ++v)
        linear[v] = FlashCounter::linearLight(static_cast<unsigned char>(v));
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    auto add = [&](int x, int y, int rw, int rh) {
        regions.push_back({x, y, rw, rh,
                           FlashCounter(FlashCounter::GENERAL_THRESHOLD, FlashCounter::GENERAL_DARKER_BELOW, fps),
                           FlashCounter(FlashCounter::RED_THRESHOLD, HUGE_VALF, fps)});
    };
    // The last row and column of regions touch the picture's edges.
    for (int y = 0;; y += STRIDE)
    {
        const int top = std::min(y, h - REGION_HEIGHT);
        for (int x = 0;; x += STRIDE)
        {
            const int left = std::min(x, w - REGION_WIDTH);
            add(left, top, REGION_WIDTH, REGION_HEIGHT);
            if (left == w - REGION_WIDTH)
                break;
        }
        if (top == h - REGION_HEIGHT)
            break;
    }
    add(0, 0, w, h);
}

void FlashAnalysis::sumPixels(const RgbImage& picture)
{
    const std::size_t stride = width + 1;
    const std::size_t plane = stride * (height + 1);
    for (unsigned y = 0; y < height; ++y)
    {
        const unsigned char* p = picture.row(y);
        double row[3] = {0.0, 0.0, 0.0};
        for (unsigned x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
            {
                row[c] += linear[*p++];
                const std::size_t at = c * plane + (y + 1) * stride + x + 1;
                sums[at] = sums[at - stride] + row[c];
            }
    }
}

double FlashAnalysis::areaSum(int channel, const Region& r) const
{
    const std::size_t stride = width + 1;
    const double* s = sums.data() + channel * stride * (height + 1);
    const std::size_t top = static_cast<std::size_t>(r.y) * stride,
                      bottom = static_cast<std::size_t>(r.y + r.height) * stride;
    return s[bottom + r.x + r.width] - s[bottom + r.x] - s[top + r.x + r.width] + s[top + r.x];
}

void FlashAnalysis::addFrame(const RgbImage& picture, float seconds, int effect)
{
    if (picture.width != width || picture.height != height)
        return;
    if (results.empty() || results.back().effect != effect)
    {
        results.emplace_back();
        results.back().effect = effect;
        results.back().first = seconds;
    }
    Section& section = results.back();
    section.last = seconds;
    sumPixels(picture);
    auto note = [&](Worst& worst, float flashes, const Region& r) {
        if (flashes > worst.flashes)
        {
            const bool whole = r.width == static_cast<int>(width) && r.height == static_cast<int>(height);
            worst = {flashes, seconds, whole ? -1 : r.x, whole ? -1 : r.y};
        }
    };
    for (Region& r : regions)
    {
        const double pixels = static_cast<double>(r.width) * r.height;
        const float red = static_cast<float>(areaSum(0, r) / pixels);
        const float green = static_cast<float>(areaSum(1, r) / pixels);
        const float blue = static_cast<float>(areaSum(2, r) / pixels);
        note(section.general, r.general.add(seconds, FlashCounter::luminance(red, green, blue)), r);
        note(section.red, r.red.add(seconds, FlashCounter::redValue(red, green, blue)), r);
    }
}

namespace
{
std::string where(const FlashAnalysis::Worst& worst)
{
    if (worst.flashes == 0.0f)
        return "-";
    if (worst.x < 0)
        return "whole picture";
    char text[48];
    std::snprintf(text, sizeof text, "%d,%d %dx%d", worst.x, worst.y, FlashAnalysis::REGION_WIDTH,
                  FlashAnalysis::REGION_HEIGHT);
    return text;
}
} // namespace

std::string FlashAnalysis::table() const
{
    std::string out = "effect  from s   to s     general/s  where               when s  red/s  where               "
                      "when s  limit 3\n";
    char line[256];
    for (const Section& s : results)
    {
        std::snprintf(line, sizeof line, "%-6d  %7.3f  %7.3f  %9.1f  %-18s  %6.3f  %5.1f  %-18s  %6.3f  %s\n", s.effect,
                      static_cast<double>(s.first), static_cast<double>(s.last), static_cast<double>(s.general.flashes),
                      where(s.general).c_str(), static_cast<double>(s.general.at), static_cast<double>(s.red.flashes),
                      where(s.red).c_str(), static_cast<double>(s.red.at), s.passes() ? "passes" : "FAILS");
        out += line;
    }
    return out;
}

std::string FlashAnalysis::json() const
{
    auto worst = [](const Worst& w) {
        char text[160];
        if (w.x < 0)
            std::snprintf(text, sizeof text, "{\"flashes_per_second\": %.1f, \"at_s\": %.3f, \"region\": \"whole\"}",
                          static_cast<double>(w.flashes), static_cast<double>(w.at));
        else
            std::snprintf(
                text, sizeof text, "{\"flashes_per_second\": %.1f, \"at_s\": %.3f, \"region\": [%d, %d, %d, %d]}",
                static_cast<double>(w.flashes), static_cast<double>(w.at), w.x, w.y, REGION_WIDTH, REGION_HEIGHT);
        return std::string(text);
    };
    std::string out = "{\"limit_per_second\": 3, \"region\": [213, 160], \"stride\": 8, \"sections\": [";
    char head[128];
    for (std::size_t i = 0; i < results.size(); ++i)
    {
        const Section& s = results[i];
        std::snprintf(head, sizeof head, "%s\n  {\"effect\": %d, \"from_s\": %.3f, \"to_s\": %.3f, ", i ? "," : "",
                      s.effect, static_cast<double>(s.first), static_cast<double>(s.last));
        out += head + ("\"general\": " + worst(s.general) + ", \"red\": " + worst(s.red) +
                       ", \"passes\": " + (s.passes() ? "true" : "false") + "}");
    }
    return out + "\n]}\n";
}
