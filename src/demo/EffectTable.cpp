#include "demo/EffectTable.h"

#include <algorithm>

const std::vector<TimelineSection>& timelineSections()
{
    static const std::vector<TimelineSection> sections = [] {
        std::vector<const EffectRegistration*> shown;
        for (const EffectRegistration& row : effectTable())
            if (row.onTimeline())
                shown.push_back(&row);
        std::sort(shown.begin(), shown.end(), [](const EffectRegistration* a, const EffectRegistration* b) {
            return a->sectionEnd < b->sectionEnd;
        });
        std::vector<TimelineSection> timeline;
        float start = 0.0f;
        for (const EffectRegistration* row : shown)
        {
            timeline.push_back({start, row->sectionEnd, row});
            start = row->sectionEnd;
        }
        return timeline;
    }();
    return sections;
}
