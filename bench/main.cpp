// ostrel_bench: measures Ostrel's TFTP engine against tftp-hpa's client on
// loopback. Run without arguments (or see --help); the internal argument
// --ostrel-child runs one Ostrel transfer in a child process.

#include "bench/BenchError.h"
#include "bench/BenchOptions.h"
#include "bench/BenchReport.h"
#include "bench/BenchRunner.h"
#include "bench/Interruption.h"
#include "bench/OstrelChild.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr int UsageExit = 2;
constexpr int FailureExit = 1;
constexpr int InterruptedExit = 130;

std::filesystem::path SelfBinary()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        throw ostrel::bench::BenchError("cannot find the benchmark's own program file");
    }
    return std::string(path, static_cast<std::size_t>(length));
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace ostrel::bench;
    if (argc >= 2 && std::strcmp(argv[1], OstrelChild::Argument) == 0) {
        return OstrelChild::Main(argc - 2, argv + 2);
    }

    std::string error;
    const auto options = BenchOptions::Parse(argc, argv, error);
    if (!options) {
        std::fprintf(error.empty() ? stdout : stderr, "%s%s%s", error.c_str(), error.empty() ? "" : "\n",
                     BenchOptions::Usage());
        return error.empty() ? 0 : UsageExit;
    }

    Interruption::Install();
    try {
        BenchRunner runner(*options, SelfBinary());
        const BenchResults results = runner.Run();
        BenchReport(results, *options).Print(stdout);
        return 0;
    } catch (const BenchError& failure) {
        std::fprintf(stderr, "ostrel_bench: %s\n", failure.what());
        return failure.Interrupted() ? InterruptedExit : FailureExit;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "ostrel_bench: %s\n", failure.what());
        return FailureExit;
    }
}
