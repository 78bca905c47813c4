#pragma once
// The median of a benchmark's samples (0 for none): a few runs that a busy
// machine holds up move it less than they move a mean.
#include <algorithm>
#include <vector>

namespace bench {

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace bench
