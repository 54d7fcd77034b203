#include "BenchReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace
{
constexpr double REFRESH_MS = 16.7;

// The smallest time that at least `percent` per cent of the frames do not exceed.
double nearestRank(const std::vector<double>& sorted, double percent)
{
    const std::size_t rank = static_cast<std::size_t>(std::ceil(percent / 100.0 * sorted.size()));
    return sorted[std::max<std::size_t>(rank, 1) - 1];
}

std::string format(const char* pattern, double a, double b = 0, double c = 0, double d = 0, double e = 0)
{
    char text[256];
    std::snprintf(text, sizeof text, pattern, a, b, c, d, e);
    return text;
}

std::string timesJson(const FrameTimes& t, double floorRatio)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "\"frames\": %d, \"mean_ms\": %.3f, \"p50_ms\": %.3f, \"p99_ms\": %.3f, \"max_ms\": %.3f, "
                  "\"over_16_7_ms\": %d, \"floor_ratio\": %.2f",
                  t.frames, t.mean, t.p50, t.p99, t.max, t.over16_7, floorRatio);
    return text;
}

std::string timesRow(const std::string& name, const FrameTimes& t, double floorRatio)
{
    char text[256];
    std::snprintf(text, sizeof text, "%-22s %7d %9.3f %9.3f %9.3f %9.3f %8d %8.1f\n", name.c_str(), t.frames, t.mean,
                  t.p50, t.p99, t.max, t.over16_7, floorRatio);
    return text;
}
} // namespace

FrameTimes FrameTimes::of(std::vector<double> milliseconds)
{
    FrameTimes t;
    if (milliseconds.empty())
        return t;
    std::sort(milliseconds.begin(), milliseconds.end());
    t.frames = static_cast<int>(milliseconds.size());
    t.mean = std::accumulate(milliseconds.begin(), milliseconds.end(), 0.0) / t.frames;
    t.p50 = nearestRank(milliseconds, 50.0);
    t.p99 = nearestRank(milliseconds, 99.0);
    t.max = milliseconds.back();
    t.over16_7 = static_cast<int>(
        std::count_if(milliseconds.begin(), milliseconds.end(), [](double ms) { return ms > REFRESH_MS; }));
    return t;
}

std::vector<SectionTimes> groupBySection(const std::vector<irr::s32>& effectIds, const std::vector<float>& clocks,
                                         const std::vector<double>& milliseconds)
{
    std::vector<SectionTimes> sections;
    std::vector<std::vector<double>> times;
    for (std::size_t i = 0; i < effectIds.size(); ++i)
    {
        auto found = std::find_if(sections.begin(), sections.end(),
                                  [&](const SectionTimes& s) { return s.effectId == effectIds[i]; });
        if (found == sections.end())
        {
            SectionTimes section;
            section.effectId = effectIds[i];
            section.from = clocks[i];
            sections.push_back(section);
            times.emplace_back();
            found = sections.end() - 1;
        }
        found->to = clocks[i];
        times[static_cast<std::size_t>(found - sections.begin())].push_back(milliseconds[i]);
    }
    for (std::size_t s = 0; s < sections.size(); ++s)
        sections[s].times = FrameTimes::of(times[s]);
    return sections;
}

double BenchReport::floorRatio(const FrameTimes& t) const
{
    return emptyFrame.mean > 0.0 ? t.mean / emptyFrame.mean : 0.0;
}

std::string BenchReport::table() const
{
    const StartupTimes& s = startup;
    std::string text = format("Start-up %.3f s from the process's start to its first frame: before the window "
                              "%.3f s, device and window %.3f s,\n",
                              s.total(), s.process, s.device);
    text += format("  loading (context, director, every effect's init) %.3f s, music %.3f s, first frame %.3f s\n",
                   s.init, s.music, s.firstFrame);
    text += format("Peak resident memory %.1f MB\n", peakMegabytes);
    text += format("Frames at %.0f fps of demo time, each from beginScene until the GPU finished endScene (ms):\n\n",
                   fps);
    text += "                        frames      mean       p50       p99       max  >16.7ms  x floor\n";
    text += timesRow("empty frame (floor)", emptyFrame, floorRatio(emptyFrame));
    for (const SectionTimes& section : sections)
    {
        char name[64];
        std::snprintf(name, sizeof name, "%d  %.3f-%.3f s", section.effectId, static_cast<double>(section.from),
                      static_cast<double>(section.to));
        text += timesRow(name, section.times, floorRatio(section.times));
    }
    text += timesRow(pinnedEffect ? "every frame" : "whole timeline", whole, floorRatio(whole));
    return text;
}

std::string BenchReport::json() const
{
    const StartupTimes& s = startup;
    std::string text = "{\n";
    text += format("  \"fps\": %.0f,\n", fps);
    text += format("  \"pinned_effect\": %.0f,\n", pinnedEffect);
    text += format("  \"startup\": {\"total_s\": %.6f, \"process_s\": %.6f, \"device_s\": %.6f, ", s.total(), s.process,
                   s.device);
    text += format("\"init_s\": %.6f, \"music_s\": %.6f, \"first_frame_s\": %.6f},\n", s.init, s.music, s.firstFrame);
    text += format("  \"peak_rss_mb\": %.1f,\n", peakMegabytes);
    text += "  \"empty_frame\": {" + timesJson(emptyFrame, floorRatio(emptyFrame)) + "},\n";
    text += "  \"sections\": [\n";
    for (std::size_t i = 0; i < sections.size(); ++i)
    {
        const SectionTimes& section = sections[i];
        char head[96];
        std::snprintf(head, sizeof head, "    {\"effect\": %d, \"from_s\": %.4f, \"to_s\": %.4f, ", section.effectId,
                      static_cast<double>(section.from), static_cast<double>(section.to));
        text += head + timesJson(section.times, floorRatio(section.times)) + (i + 1 < sections.size() ? "},\n" : "}\n");
    }
    text += "  ],\n";
    text += "  \"whole\": {" + timesJson(whole, floorRatio(whole)) + "}\n";
    text += "}\n";
    return text;
}
