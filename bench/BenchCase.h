#pragma once
// One measured case: which direction, which file size, which client, and
// its samples.

#include "bench/SampleSet.h"

#include <cstdint>

namespace ostrel::bench {

enum class Direction { Send, Receive };
enum class Client { Ostrel, TftpHpa };

struct BenchCase {
    Direction direction = Direction::Send;
    std::uint64_t sizeMB = 0;
    Client client = Client::Ostrel;
    SampleSet samples;
};

}  // namespace ostrel::bench
