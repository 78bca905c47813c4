#include "player/StartPosition.h"

#include <QtGlobal>
#include <gtest/gtest.h>

namespace {

using startposition::Source;

TEST(StartPosition, ShareOfLongFilesOnlyAndOnlyTheMenusChoices)
{
    const struct
    {
        int percent;
        double duration;
        Source source;
        double start;
    } cases[] = {
        {25, 120, Source::File, 30},
        {10, 3600, Source::File, 360},
        {50, 20, Source::File, 10},
        {0, 120, Source::File, 0},
        // Shorter than 20 s, or of unknown length: from the beginning.
        {50, 19.99, Source::File, 0},
        {25, 10, Source::File, 0},
        {25, 0, Source::File, 0},
        {25, qQNaN(), Source::File, 0},
        {25, qInf(), Source::File, 0},
        // Songs and lists are heard from their first note.
        {25, 120, Source::Midi, 0},
        {50, 600, Source::Playlist, 0},
        // A share the menu does not offer is none.
        {33, 120, Source::File, 0},
        {-25, 120, Source::File, 0},
        {100, 120, Source::File, 0},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(startposition::seconds(c.percent, c.duration, c.source), c.start)
            << c.percent << "% of " << c.duration;
}

} // namespace
