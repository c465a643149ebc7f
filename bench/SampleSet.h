#pragma once
// The repeated measurements of one case (direction, size, client) and their
// medians, each figure taken on its own.

#include "bench/Sample.h"

#include <vector>

namespace ostrel::bench {

class SampleSet {
public:
    void Add(const Sample& sample) { samples_.push_back(sample); }

    double MedianDataSeconds() const { return Median(Values(&Sample::dataSeconds)); }
    double FastestDataSeconds() const;
    double SlowestDataSeconds() const;
    double MedianWholeSeconds() const { return Median(Values(&Sample::wholeSeconds)); }
    double MedianCpuSeconds() const { return Median(Values(&Sample::cpuSeconds)); }
    long MedianMaxRssKiB() const;

private:
    template <class Field>
    std::vector<double> Values(Field Sample::*field) const
    {
        std::vector<double> values;
        for (const Sample& sample : samples_) {
            values.push_back(static_cast<double>(sample.*field));
        }
        return values;
    }
    static double Median(std::vector<double> values);

    std::vector<Sample> samples_;
};

}  // namespace ostrel::bench
