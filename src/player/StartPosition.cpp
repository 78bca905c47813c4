#include "player/StartPosition.h"

#include <algorithm>
#include <cmath>

namespace startposition {

bool isChoice(int percent)
{
    return std::find(kChoices.begin(), kChoices.end(), percent) != kChoices.end();
}

double seconds(int percent, double duration, Source source)
{
    if (source != Source::File || !isChoice(percent) || !std::isfinite(duration) || duration < kShortestSkipped)
        return 0;
    return duration * percent / 100;
}

} // namespace startposition
