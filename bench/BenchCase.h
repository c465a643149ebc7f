#pragma once
// One measured case (which direction, which file size, which client) with
// its samples, and the results of a whole run.

#include "bench/SampleSet.h"

#include <cstdint>
#include <vector>

namespace ostrel::bench {

enum class Direction { Send, Receive };
enum class Client { Ostrel, TftpHpa };

struct BenchCase {
    Direction direction = Direction::Send;
    std::uint64_t sizeMB = 0;
    Client client = Client::Ostrel;
    SampleSet samples;
};

struct BenchResults {
    std::vector<BenchCase> cases;
    long rssFloorKiB = 0;  // ru_maxrss of a child that does nothing

    const BenchCase* Find(Direction direction, std::uint64_t sizeMB, Client client) const
    {
        for (const BenchCase& c : cases) {
            if (c.direction == direction && c.sizeMB == sizeMB && c.client == client) {
                return &c;
            }
        }
        return nullptr;
    }
};

}  // namespace ostrel::bench
