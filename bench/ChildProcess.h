#pragma once
// Runs one program as a child process and measures it alone: the wall time
// from just before fork to the return of wait4(), and the child's own CPU
// seconds and peak resident set from wait4()'s rusage. Its standard output
// and error go to a file, read back afterwards.
//
// Linux's ru_maxrss of a child is the largest of its resident sets before
// and after exec, so the benchmark process keeps its own memory small and
// reports the figure of an empty child as the floor of the measurement.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ostrel::bench {

struct ChildResult {
    bool exited = false;        // false: killed by a signal (or the time limit)
    int exitCode = -1;
    bool timedOut = false;
    std::int64_t startNs = 0;   // CLOCK_MONOTONIC just before fork
    std::int64_t endNs = 0;     // CLOCK_MONOTONIC when wait4 returned
    double userSeconds = 0;
    double systemSeconds = 0;
    long maxRssKiB = 0;
    std::string output;         // what the child wrote to stdout and stderr

    double WallSeconds() const { return static_cast<double>(endNs - startNs) / 1e9; }
    double CpuSeconds() const { return userSeconds + systemSeconds; }
    bool Succeeded() const { return exited && exitCode == 0; }
};

class ChildProcess {
public:
    // CLOCK_MONOTONIC in nanoseconds: shared by every process on the host,
    // so a child's own timestamps compare with the parent's.
    static std::int64_t MonotonicNs();

    // Runs argv[0] (a path) with the arguments; the output file is made in
    // `outputFolder`. Throws BenchError when the child cannot be started.
    static ChildResult Run(const std::vector<std::string>& argv, const std::filesystem::path& outputFolder,
                           std::chrono::seconds timeLimit);
};

}  // namespace ostrel::bench
