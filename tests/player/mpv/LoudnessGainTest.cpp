#include "player/mpv/LoudnessGain.h"

#include <QtGlobal>
#include <gtest/gtest.h>

namespace {

TEST(LoudnessGain, BringsFilesToTheTargetWithinLimitsAndBelowClipping)
{
    const struct
    {
        const char *what;
        double integrated;
        double peak;
        double gain;
    } cases[] = {
        {"loud master comes down", -8, 1.0, -10},
        {"at the target stays", -18, 0.5, 0},
        {"quiet recording goes up", -28, 0.1, 10},
        {"very loud is cut at most 20 dB", 4, 1.0, -20},
        {"very quiet is raised at most 15 dB", -45, 0.01, 15},
        // 0.5 is -6.02 dBFS: raised only until it reaches -1 dBFS.
        {"a loud click holds a quiet file back", -30, 0.5, 5.0206},
        {"silence is left alone", -70, 0.0, 0},
        {"no reading is left alone", qQNaN(), 0.2, 0},
        {"no peak reading limits nothing", -25, qQNaN(), 7},
    };
    for (const auto &c : cases)
        EXPECT_NEAR(loudnessgain::levelling(c.integrated, c.peak), c.gain, 0.001) << c.what;
}

TEST(LoudnessGain, TypicalGainIsTheMiddleOneOfRecentFiles)
{
    EXPECT_EQ(loudnessgain::typical({}), 0);
    EXPECT_EQ(loudnessgain::typical({-4}), -4);
    // One odd file does not pull it along.
    EXPECT_EQ(loudnessgain::typical({-6, 12, -5, -7, -6.5}), -6);
}

} // namespace
