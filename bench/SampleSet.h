#pragma once
// The repeated measurements of one case (direction, size, client) and their
// medians, each figure taken on its own.

#include <vector>

namespace ostrel::bench {

struct Sample {
    double dataSeconds = 0;   // from fork until the last block was acknowledged
    double wholeSeconds = 0;  // from fork until the client process ended
    double cpuSeconds = 0;    // user + system of the client process
    long maxRssKiB = 0;       // ru_maxrss of the client process
};

class SampleSet {
public:
    void Add(const Sample& sample) { samples_.push_back(sample); }
    bool Empty() const { return samples_.empty(); }
    std::size_t Count() const { return samples_.size(); }

    double MedianDataSeconds() const;
    double FastestDataSeconds() const;
    double SlowestDataSeconds() const;
    double MedianWholeSeconds() const;
    double MedianCpuSeconds() const;
    long MedianMaxRssKiB() const;

private:
    static double Median(std::vector<double> values);
    std::vector<double> DataSeconds() const;

    std::vector<Sample> samples_;
};

}  // namespace ostrel::bench
