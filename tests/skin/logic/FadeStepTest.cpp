#include "skin/FadeStep.h"

#include <gtest/gtest.h>

namespace {

int ticksToArrive(std::uint32_t from, std::uint32_t to, int step)
{
    int ticks = 0;
    for (fade::Step s {from, false}; !s.arrived; ++ticks) {
        s = fade::stepTowards(s.color, to, step);
        if (ticks > 1000)
            return -1;
    }
    return ticks;
}

TEST(FadeStepTest, EveryChannelHeadsForItsTargetAndStopsOnIt)
{
    struct Case
    {
        std::uint32_t from;
        std::uint32_t to;
        int step;
        int ticks;
    };
    const Case cases[] = {
        // Red needs 128 steps of two to get from 0 to 255.
        {0xFF8000, 0xFFFFFF, 2, 128},
        {0xFFFFFF, 0xFF8000, -2, 128},
        {0xC0C0C0, 0xFFFFFF, 2, 32},
        // Channels moving in opposite directions both arrive.
        {0x00FF00, 0xFF00FF, 5, 51},
        {0x123456, 0x123456, 2, 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ticksToArrive(c.from, c.to, c.step), c.ticks) << std::hex << c.from << " " << c.to;
}

TEST(FadeStepTest, OneTickMovesEachChannelByTheStep)
{
    const fade::Step s = fade::stepTowards(0x10F080, 0x20E080, 4);
    EXPECT_EQ(s.color, 0x14EC80u);
    EXPECT_FALSE(s.arrived);
}

} // namespace
