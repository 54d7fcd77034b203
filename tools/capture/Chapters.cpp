#include "Chapters.h"

#include "demo/EffectDirector.h"

#include <algorithm>
#include <cmath>

namespace
{
struct Section
{
    double start; // demo time, seconds
    const char* name;
};

// The timeline's sections, each until the next one starts; the last until
// the timeline's end. Their names are the chapters' titles.
const Section SECTIONS[] = {
    {0.0, "Bands, cats and stars"},        {10.104, "Flight through the arches"},
    {20.208, "Title over flashing tiles"}, {30.312, "Spiral stars and the rabbit"},
    {50.52, "Cat, conveyor and hearts"},   {60.624, "Heart of squares"},
};

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
} // namespace

std::vector<Chapter> sectionChapters(double firstTime, double endTime)
{
    std::vector<Chapter> chapters;
    const std::size_t count = std::size(SECTIONS);
    for (std::size_t i = 0; i < count; ++i)
    {
        const double start = SECTIONS[i].start;
        const double end = i + 1 < count ? SECTIONS[i + 1].start : EffectDirector::TIMELINE_END;
        if (end <= firstTime || start >= endTime)
            continue;
        chapters.push_back(
            {std::max(start, firstTime) - firstTime, std::min(end, endTime) - firstTime, SECTIONS[i].name});
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
