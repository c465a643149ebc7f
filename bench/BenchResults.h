#pragma once
// The results of a whole run: every measured case, and the floor below which
// no peak RSS figure can go.

#include "bench/BenchCase.h"

#include <cstdint>
#include <vector>

namespace ostrel::bench {

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
