#pragma once
// The median and other percentiles of a benchmark's samples (0 for none): a
// few runs that a busy machine holds up move them less than they move a
// mean or a maximum.
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

// The value below which `share` (0..1) of the samples lie, nearest rank (0 for none).
inline double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t rank = size_t(std::clamp(share, 0.0, 1.0) * double(values.size() - 1) + 0.5);
    return values[rank];
}

} // namespace bench
