#include "bench/BenchReport.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <ctime>
#include <string>

namespace ostrel::bench {

namespace {

const char* Verdict(bool met)
{
    return met ? "met" : "NOT met";
}

std::string Fixed(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

}  // namespace

BenchReport::BenchReport(const BenchResults& results, const BenchOptions& options)
    : results_(results), options_(options)
{
}

const char* BenchReport::DirectionName(Direction direction)
{
    return direction == Direction::Send ? "send" : "receive";
}

const char* BenchReport::ClientName(Client client)
{
    return client == Client::Ostrel ? "Ostrel" : "tftp-hpa";
}

std::uint64_t BenchReport::Blocks(std::uint64_t sizeMB)
{
    return sizeMB * BytesPerMB / DataBytesPerBlock + 1;
}

void BenchReport::Print(std::FILE* out) const
{
    PrintHeading(out);
    for (const Direction direction : {Direction::Send, Direction::Receive}) {
        for (const BenchCase& c : results_.cases) {
            if (c.direction != direction) {
                continue;
            }
            PrintRow(out, c);
            if (c.client == Client::TftpHpa) {
                PrintRatio(out, direction, c.sizeMB);
            }
        }
    }
    PrintCompletionTimes(out);
    PrintMemory(out);
}

void BenchReport::PrintHeading(std::FILE* out) const
{
    const std::time_t now = std::time(nullptr);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d", std::localtime(&now));
    utsname host{};
    ::uname(&host);
    std::fprintf(out, "\nOstrel benchmark, %s, %ld cores, %s %s, loopback to tftpd-hpa\n", date,
                 ::sysconf(_SC_NPROCESSORS_ONLN), host.sysname, host.release);
    std::fprintf(out, "Medians of %d runs (MB/s range: slowest-fastest run). MB = 1,048,576 bytes;\n"
                      "a block is one DATA packet of 512 bytes.\n",
                 options_.repeat);
    std::fprintf(out, "Time runs from starting the client process to the acknowledgement of the last block;\n"
                      "CPU and peak RSS are the client process's own (wait4 rusage).\n\n");
    std::fprintf(out, "%-8s %7s  %-9s %9s %13s %10s %7s %13s\n", "", "size", "client", "MB/s", "(range)",
                 "blocks/s", "CPU s", "peak RSS KiB");
}

void BenchReport::PrintRow(std::FILE* out, const BenchCase& benchCase) const
{
    const double seconds = benchCase.samples.MedianDataSeconds();
    const double megabytes = static_cast<double>(benchCase.sizeMB);
    const double blocks = static_cast<double>(Blocks(benchCase.sizeMB));
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on a chain
    // of + that starts from a literal.
    std::string range = "(";
    range += Fixed(megabytes / benchCase.samples.SlowestDataSeconds());
    range += '-';
    range += Fixed(megabytes / benchCase.samples.FastestDataSeconds());
    range += ')';
    std::fprintf(out, "%-8s %4llu MB  %-9s %9.2f %13s %10.0f %7.2f %13ld\n", DirectionName(benchCase.direction),
                 static_cast<unsigned long long>(benchCase.sizeMB), ClientName(benchCase.client),
                 megabytes / seconds, range.c_str(), blocks / seconds, benchCase.samples.MedianCpuSeconds(),
                 benchCase.samples.MedianMaxRssKiB());
}

void BenchReport::PrintRatio(std::FILE* out, Direction direction, std::uint64_t sizeMB) const
{
    const BenchCase* ostrel = results_.Find(direction, sizeMB, Client::Ostrel);
    const BenchCase* tftp = results_.Find(direction, sizeMB, Client::TftpHpa);
    if (ostrel == nullptr || tftp == nullptr) {
        return;
    }
    // Same bytes both ways, so the throughput ratio is the inverse time ratio.
    const double ratio = tftp->samples.MedianDataSeconds() / ostrel->samples.MedianDataSeconds();
    std::fprintf(out, "%-8s %7s  Ostrel / tftp-hpa throughput: %.2f (target at least %.1f: %s)\n", "", "", ratio,
                 ThroughputRatioTarget, Verdict(ratio >= ThroughputRatioTarget));
}

void BenchReport::PrintCompletionTimes(std::FILE* out) const
{
    std::fprintf(out, "\nOstrel receive until the transfer reports success (after the last block it waits one\n"
                      "3 s retransmission period for a repeated last block; tftp-hpa exits at once):\n");
    for (const BenchCase& c : results_.cases) {
        if (c.direction == Direction::Receive && c.client == Client::Ostrel) {
            std::fprintf(out, "  %4llu MB: data %.2f s, success reported after %.2f s\n",
                         static_cast<unsigned long long>(c.sizeMB), c.samples.MedianDataSeconds(),
                         c.samples.MedianWholeSeconds());
        }
    }
}

void BenchReport::PrintMemory(std::FILE* out) const
{
    const std::uint64_t small = BenchOptions::ReferenceSizeMB;
    const std::uint64_t large = options_.sizesMB.back();
    std::fprintf(out, "\nOstrel peak RSS, %llu MB vs %llu MB (target: at most %ld KiB more):\n",
                 static_cast<unsigned long long>(small), static_cast<unsigned long long>(large), RssGrowthTargetKiB);
    for (const Direction direction : {Direction::Send, Direction::Receive}) {
        const BenchCase* a = results_.Find(direction, small, Client::Ostrel);
        const BenchCase* b = results_.Find(direction, large, Client::Ostrel);
        if (a == nullptr || b == nullptr) {
            continue;
        }
        const long growth = b->samples.MedianMaxRssKiB() - a->samples.MedianMaxRssKiB();
        std::fprintf(out, "  %-8s %7ld KiB vs %7ld KiB: %+ld KiB (%s)\n", DirectionName(direction),
                     a->samples.MedianMaxRssKiB(), b->samples.MedianMaxRssKiB(), growth,
                     Verdict(growth <= RssGrowthTargetKiB));
    }
    std::fprintf(out, "  (an empty child process measures %ld KiB: the floor of every RSS figure)\n",
                 results_.rssFloorKiB);
}

}  // namespace ostrel::bench
