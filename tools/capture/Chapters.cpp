#include "Chapters.h"

#include "demo/EffectTable.h"

#include <algorithm>
#include <cmath>

namespace
{
// ffmetadata's special characters are escaped with a backslash.
std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text)
    {
        if (c == '=' || c == ';' || c == '#' || c == '\\' || c == '\n')
            out += '\\';
        out += c;
    }
    return out;
}

long long milliseconds(double seconds)
{
    return std::llround(seconds * 1000.0);
}

double wholeMilliseconds(float seconds)
{
    return static_cast<double>(milliseconds(static_cast<double>(seconds))) / 1000.0;
}
} // namespace

std::vector<Chapter> sectionChapters(double firstTime, double endTime)
{
    std::vector<Chapter> chapters;
    // Each section is a chapter, titled as the effect table names it.
    for (const TimelineSection& section : timelineSections())
    {
        // Sections change on whole milliseconds; as floats they lie a little off.
        const double start = wholeMilliseconds(section.start);
        const double end = wholeMilliseconds(section.end);
        if (end <= firstTime || start >= endTime)
            continue;
        chapters.push_back(
            {std::max(start, firstTime) - firstTime, std::min(end, endTime) - firstTime, section.effect->title});
    }
    // The last chapter lasts as long as the video, even past the timeline's end.
    if (!chapters.empty())
        chapters.back().end = endTime - firstTime;
    return chapters;
}

std::string ffmetadata(const std::string& title, const std::vector<Chapter>& chapters)
{
    std::string text = ";FFMETADATA1\ntitle=" + escaped(title) + "\n";
    for (const Chapter& chapter : chapters)
        text += "[CHAPTER]\nTIMEBASE=1/1000\nSTART=" + std::to_string(milliseconds(chapter.start)) +
                "\nEND=" + std::to_string(milliseconds(chapter.end)) + "\ntitle=" + escaped(chapter.title) + "\n";
    return text;
}
