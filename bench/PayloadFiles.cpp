#include "bench/PayloadFiles.h"

#include "bench/BenchError.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>
#include <vector>

namespace ostrel::bench::PayloadFiles {

namespace {
constexpr std::size_t ChunkSize = 64 * 1024;
}

void MakeRandomFile(const std::filesystem::path& file, std::uint64_t size)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    std::mt19937_64 generator{std::random_device{}()};
    std::vector<std::uint64_t> words(ChunkSize / sizeof(std::uint64_t));
    std::uint64_t left = size;
    while (left > 0 && out) {
        std::generate(words.begin(), words.end(), std::ref(generator));
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(left, ChunkSize));
        out.write(reinterpret_cast<const char*>(words.data()), static_cast<std::streamsize>(count));
        left -= count;
    }
    out.close();
    if (!out) {
        throw BenchError("cannot write " + file.string());
    }
    using std::filesystem::perms;
    std::filesystem::permissions(file, perms::owner_read | perms::owner_write | perms::group_read
                                           | perms::others_read);
}

bool SameContents(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code error;
    const auto sizeA = std::filesystem::file_size(a, error);
    if (error) {
        return false;
    }
    const auto sizeB = std::filesystem::file_size(b, error);
    if (error || sizeA != sizeB) {
        return false;
    }
    std::ifstream inA(a, std::ios::binary);
    std::ifstream inB(b, std::ios::binary);
    std::vector<char> bufferA(ChunkSize);
    std::vector<char> bufferB(ChunkSize);
    while (inA && inB) {
        inA.read(bufferA.data(), static_cast<std::streamsize>(bufferA.size()));
        inB.read(bufferB.data(), static_cast<std::streamsize>(bufferB.size()));
        if (inA.gcount() != inB.gcount()
            || std::memcmp(bufferA.data(), bufferB.data(), static_cast<std::size_t>(inA.gcount())) != 0) {
            return false;
        }
    }
    return inA.eof() && inB.eof();
}

}  // namespace ostrel::bench::PayloadFiles
