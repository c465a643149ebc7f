#pragma once
// Prints a run's medians as a table (MB/s, blocks/s, CPU seconds, peak
// RSS for each direction, size and client), the throughput ratio of Ostrel
// to tftp-hpa, and Ostrel's peak memory for the smallest and the largest
// file, each with its target and whether it was met.

#include "bench/BenchResults.h"
#include "bench/BenchOptions.h"

#include <cstdint>
#include <cstdio>

namespace ostrel::bench {

class BenchReport {
public:
    static constexpr double ThroughputRatioTarget = 1.0;
    static constexpr long RssGrowthTargetKiB = 2048;
    static constexpr std::uint64_t BytesPerMB = 1024 * 1024;
    static constexpr std::uint64_t DataBytesPerBlock = 512;

    BenchReport(const BenchResults& results, const BenchOptions& options);

    void Print(std::FILE* out) const;

    static const char* DirectionName(Direction direction);
    static const char* ClientName(Client client);
    // DATA packets for a file: one per 512 bytes, and a short last one.
    static std::uint64_t Blocks(std::uint64_t sizeMB);

private:
    void PrintHeading(std::FILE* out) const;
    void PrintRow(std::FILE* out, const BenchCase& benchCase) const;
    void PrintRatio(std::FILE* out, Direction direction, std::uint64_t sizeMB) const;
    void PrintCompletionTimes(std::FILE* out) const;
    void PrintMemory(std::FILE* out) const;

    const BenchResults& results_;
    const BenchOptions& options_;
};

}  // namespace ostrel::bench
