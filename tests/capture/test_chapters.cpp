// A video's chapters: one per section of the timeline it touches, with times
// of the video itself, as ffmpeg reads them from its metadata file.
#include "Chapters.h"
#include "demo/EffectDirector.h"

#include <gtest/gtest.h>

#include <set>

TEST(VideoChapters, TheWholeTimelineHasOneChapterPerSectionWhereTheTimelineChangesEffect)
{
    const std::vector<Chapter> chapters = sectionChapters(0.0, 70.728);
    ASSERT_EQ(chapters.size(), 6u);
    std::set<std::string> titles;
    for (std::size_t i = 0; i < chapters.size(); ++i)
    {
        const Chapter& c = chapters[i];
        titles.insert(c.title);
        EXPECT_LT(c.start, c.end) << i;
        // Just inside the chapter the timeline shows another effect than
        // just before it.
        const float start = static_cast<float>(c.start);
        if (i > 0)
        {
            EXPECT_DOUBLE_EQ(c.start, chapters[i - 1].end) << i;
            EXPECT_NE(EffectDirector::effectAt(start - 0.01f), EffectDirector::effectAt(start + 0.01f)) << c.title;
        }
        EXPECT_EQ(EffectDirector::effectAt(start + 0.01f), EffectDirector::effectAt(static_cast<float>(c.end) - 0.01f))
            << c.title;
    }
    EXPECT_EQ(chapters.front().start, 0.0);
    EXPECT_DOUBLE_EQ(chapters[3].start, 30.312);
    EXPECT_DOUBLE_EQ(chapters.back().end, 70.728);
    EXPECT_EQ(titles.size(), 6u) << "each section has its own name";
}

TEST(VideoChapters, AClipHasTheSectionsItTouchesTimedFromItsStart)
{
    // 15 s to 35 s: the end of the second section, the third, the start of the fourth.
    std::vector<Chapter> chapters = sectionChapters(15.0, 35.0);
    const std::vector<Chapter> whole = sectionChapters(0.0, 70.728);
    ASSERT_EQ(chapters.size(), 3u);
    EXPECT_EQ(chapters[0].title, whole[1].title);
    EXPECT_DOUBLE_EQ(chapters[0].start, 0.0);
    EXPECT_DOUBLE_EQ(chapters[1].start, 20.208 - 15.0);
    EXPECT_DOUBLE_EQ(chapters[2].start, 30.312 - 15.0);
    EXPECT_DOUBLE_EQ(chapters[2].end, 20.0);
    EXPECT_EQ(chapters[2].title, whole[3].title);

    // A clip that ends where a section starts does not touch it.
    EXPECT_EQ(sectionChapters(0.0, 10.104).size(), 1u);
    // A video running a frame past the timeline's end keeps its last chapter to its end.
    EXPECT_DOUBLE_EQ(sectionChapters(60.0, 71.0).back().end, 11.0);
}
