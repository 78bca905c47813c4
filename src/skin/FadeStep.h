#pragma once
// One tick of a colour fade: every channel moves by a step towards its
// target, in whichever direction that lies, and stops on it.
#include <cstdint>

namespace fade {

struct Step
{
    std::uint32_t color;
    // Every channel is on its target.
    bool arrived;
};

// Colours are 0x00BBGGRR values; step is the change per channel and tick.
Step stepTowards(std::uint32_t current, std::uint32_t target, int step);

} // namespace fade
