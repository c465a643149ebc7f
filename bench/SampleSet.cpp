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

std::vector<double> SampleSet::DataSeconds() const
{
    std::vector<double> values;
    for (const Sample& s : samples_) {
        values.push_back(s.dataSeconds);
    }
    return values;
}

double SampleSet::MedianDataSeconds() const
{
    return Median(DataSeconds());
}

double SampleSet::FastestDataSeconds() const
{
    const std::vector<double> values = DataSeconds();
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

double SampleSet::SlowestDataSeconds() const
{
    const std::vector<double> values = DataSeconds();
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

double SampleSet::MedianWholeSeconds() const
{
    std::vector<double> values;
    for (const Sample& s : samples_) {
        values.push_back(s.wholeSeconds);
    }
    return Median(std::move(values));
}

double SampleSet::MedianCpuSeconds() const
{
    std::vector<double> values;
    for (const Sample& s : samples_) {
        values.push_back(s.cpuSeconds);
    }
    return Median(std::move(values));
}

long SampleSet::MedianMaxRssKiB() const
{
    std::vector<double> values;
    for (const Sample& s : samples_) {
        values.push_back(static_cast<double>(s.maxRssKiB));
    }
    return std::lround(Median(std::move(values)));
}

}  // namespace ostrel::bench
