// Effect1200 and Effect1300 animate by the demo clock: at one demo time they
// draw the same, whatever dt they are given and however many frames came before.
#include "DemoFixture.h"
#include "ScratchDataTree.h"

#include "effects/Effect1200.h"
#include "effects/Effect1300.h"

#include <functional>

using namespace irr;

namespace
{
// What a frame drew: every call in order, where every mesh buffer went and
// every sprite's corners.
struct Drawing
{
    std::vector<std::string> calls;
    std::vector<core::matrix4> meshWorlds;
    std::vector<core::vector3df> spriteCorners;

    explicit Drawing(const RecordingDriver& driver) : calls(driver.calls)
    {
        for (const auto& drawn : driver.meshBuffers)
            meshWorlds.push_back(drawn.world);
        for (const auto& sprite : driver.triangles)
            for (const auto& vertex : sprite.vertices)
                spriteCorners.push_back(vertex.Pos);
    }
    bool operator==(const Drawing& other) const
    {
        return calls == other.calls && meshWorlds == other.meshWorlds && spriteCorners == other.spriteCorners;
    }
};

class DemoClockEffects : public DemoFixture, public ::testing::WithParamInterface<int>
{
protected:
    ScratchDataTree tree;
    DemoClockEffects()
    {
        const char* triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
        tree.writeFile("data/models/shape_1a.obj", triangle);
        tree.writeFile("data/models/town_04.obj", triangle);
    }
    std::unique_ptr<Effect> make() const
    {
        if (GetParam() == 1200)
            return std::make_unique<Effect1200>();
        return std::make_unique<Effect1300>();
    }
};
} // namespace

TEST_P(DemoClockEffects, SameDemoTimeSameFrameWhateverDtOrFrameCount)
{
    std::unique_ptr<Effect> effect = make();
    effect->init();
    context->addTime(3.7f);
    driver.clearRecord();
    effect->update(0.016f);
    const Drawing first(driver);
    ASSERT_FALSE(first.meshWorlds.empty());

    // Later frames with other deltas, the demo clock unchanged.
    for (float dt : {0.5f, 2.0f, 0.001f})
    {
        driver.clearRecord();
        effect->update(dt);
        EXPECT_TRUE(Drawing(driver) == first) << dt;
    }

    // A different demo time moves the drawing.
    context->addTime(1.0f);
    driver.clearRecord();
    effect->update(0.016f);
    EXPECT_FALSE(Drawing(driver).meshWorlds == first.meshWorlds);
}

INSTANTIATE_TEST_SUITE_P(Effects, DemoClockEffects, ::testing::Values(1200, 1300),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Effect" + std::to_string(info.param);
                         });
