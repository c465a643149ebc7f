#include "bench/SampleSet.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ostrel::bench {

double SampleSet::Median(std::vector<double> values)
{
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double SampleSet::FastestDataSeconds() const
{
    const std::vector<double> values = Values(&Sample::dataSeconds);
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

double SampleSet::SlowestDataSeconds() const
{
    const std::vector<double> values = Values(&Sample::dataSeconds);
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

long SampleSet::MedianMaxRssKiB() const
{
    return std::lround(Median(Values(&Sample::maxRssKiB)));
}

}  // namespace ostrel::bench
