#include "skin/FadeStep.h"

#include <algorithm>
#include <cstdlib>

namespace fade {

Step stepTowards(std::uint32_t current, std::uint32_t target, int step)
{
    const int magnitude = std::abs(step);
    std::uint32_t result = 0;
    for (int shift : {0, 8, 16}) {
        const int from = int((current >> shift) & 0xFF);
        const int to = int((target >> shift) & 0xFF);
        const int moved = from < to ? std::min(from + magnitude, to) : std::max(from - magnitude, to);
        result |= std::uint32_t(moved) << shift;
    }
    target &= 0xFFFFFF;
    return {result, result == target};
}

} // namespace fade
