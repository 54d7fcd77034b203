// A video's chapters: one per section of the timeline it touches, timed from
// the video's start.
#include "Chapters.h"
#include "demo/EffectDirector.h"

#include <gtest/gtest.h>

TEST(VideoChapters, OnePerSectionTouchedWhereTheTimelineChangesEffectTimedFromTheClipsStart)
{
    const std::vector<Chapter> whole = sectionChapters(0.0, 70.728);
    ASSERT_EQ(whole.size(), 6u);
    for (std::size_t i = 0; i < whole.size(); ++i)
    {
        // The timeline shows one effect through the chapter, another just before it.
        const float start = static_cast<float>(whole[i].start), end = static_cast<float>(whole[i].end);
        EXPECT_EQ(EffectDirector::effectAt(start + 0.01f), EffectDirector::effectAt(end - 0.01f)) << i;
        if (i > 0)
        {
            EXPECT_NE(EffectDirector::effectAt(start - 0.01f), EffectDirector::effectAt(start + 0.01f)) << i;
            EXPECT_NE(whole[i].title, whole[i - 1].title) << i;
        }
    }
    EXPECT_DOUBLE_EQ(whole.back().end, 70.728);

    // 15 s to 35 s: the end of the second section, the third, the start of the fourth.
    const std::vector<Chapter> clip = sectionChapters(15.0, 35.0);
    ASSERT_EQ(clip.size(), 3u);
    EXPECT_EQ(clip[0].title, whole[1].title);
    EXPECT_DOUBLE_EQ(clip[0].start, 0.0);
    EXPECT_DOUBLE_EQ(clip[1].start, 20.208 - 15.0);
    EXPECT_DOUBLE_EQ(clip[2].start, 30.312 - 15.0);
    EXPECT_DOUBLE_EQ(clip[2].end, 20.0);
    // A clip that ends where a section starts does not touch it; one that
    // runs a frame past the timeline keeps its last chapter to its end.
    EXPECT_EQ(sectionChapters(0.0, 10.104).size(), 1u);
    EXPECT_DOUBLE_EQ(sectionChapters(60.0, 71.0).back().end, 11.0);
}
