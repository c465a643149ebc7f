#include "bench/BenchOptions.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace ostrel::bench {

namespace {

template <class Number>
bool ParseNumber(const std::string& text, Number& value)
{
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && rest == end;
}

bool ParseSizes(const std::string& text, std::vector<std::uint64_t>& sizes)
{
    sizes.clear();
    std::istringstream items(text);
    std::string item;
    while (std::getline(items, item, ',')) {
        std::uint64_t size = 0;
        if (!ParseNumber(item, size) || size == 0 || size > BenchOptions::MaxSizeMB) {
            return false;
        }
        sizes.push_back(size);
    }
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return !sizes.empty();
}

}  // namespace

const char* BenchOptions::Usage()
{
    return "usage: ostrel_bench [--repeat N] [--sizes MB,MB,...] [--tftp PATH] [--tftpd PATH]\n"
           "  Sends and receives files of the given sizes (default 32,100 MB; 1 MB is always\n"
           "  measured too) through tftpd-hpa on 127.0.0.1, with Ostrel's engine and with\n"
           "  tftp-hpa's client, N times each (default 3), and prints the medians.\n";
}

std::optional<BenchOptions> BenchOptions::Parse(int argc, char** argv, std::string& error)
{
    BenchOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--help" || argument == "-h") {
            error.clear();
            return std::nullopt;
        }
        if (!hasValue) {
            error = "missing value after " + argument;
            return std::nullopt;
        }
        const std::string value = argv[++i];
        if (argument == "--repeat") {
            if (!ParseNumber(value, options.repeat) || options.repeat < 1 || options.repeat > MaxRepeat) {
                error = "--repeat takes a number from 1 to " + std::to_string(MaxRepeat);
                return std::nullopt;
            }
        } else if (argument == "--sizes") {
            if (!ParseSizes(value, options.sizesMB)) {
                error = "--sizes takes sizes in MB from 1 to " + std::to_string(MaxSizeMB) + ", separated by commas";
                return std::nullopt;
            }
        } else if (argument == "--tftp") {
            options.tftpBinary = value;
        } else if (argument == "--tftpd") {
            options.tftpdBinary = value;
        } else {
            error = "unknown option " + argument;
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace ostrel::bench
