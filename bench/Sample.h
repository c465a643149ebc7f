#pragma once
// What one run of one client measured.

namespace ostrel::bench {

struct Sample {
    double dataSeconds = 0;   // from fork until the last block was acknowledged
    double wholeSeconds = 0;  // from fork until the client process ended
    double cpuSeconds = 0;    // user + system of the client process
    long maxRssKiB = 0;       // ru_maxrss of the client process
};

}  // namespace ostrel::bench
