#pragma once
// What one benchmark run measures, from the command line:
//   --repeat N     runs per figure (the median is reported), default 3
//   --sizes A,B    file sizes in MB for the throughput comparison,
//                  default 32,100; a 1 MB file is always measured too, as
//                  the reference for Ostrel's peak memory
//   --tftp PATH    tftp-hpa's client, default /usr/bin/tftp
//   --tftpd PATH   tftpd-hpa's server, default /usr/sbin/in.tftpd

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ostrel::bench {

struct BenchOptions {
    static constexpr int DefaultRepeat = 3;
    static constexpr int MaxRepeat = 100;
    static constexpr std::uint64_t MaxSizeMB = 4096;
    static constexpr std::uint64_t ReferenceSizeMB = 1;

    int repeat = DefaultRepeat;
    std::vector<std::uint64_t> sizesMB = {32, 100};
    std::string tftpBinary = "/usr/bin/tftp";
    std::string tftpdBinary = "/usr/sbin/in.tftpd";

    // Parses argv[1..]; on a usage error returns nothing and writes the
    // reason to `error` (empty for --help).
    static std::optional<BenchOptions> Parse(int argc, char** argv, std::string& error);
    static const char* Usage();
};

}  // namespace ostrel::bench
