#pragma once
// Ctrl-C or a termination signal during a run: the processes the benchmark
// started (the client being measured, the server's process group) are ended
// at once from the signal handler, and the main flow notices the request and
// unwinds, so that the scratch folder is removed on the way out.

#include <sys/types.h>

namespace ostrel::bench {

class Interruption {
public:
    static void Install();
    static bool Requested();
    // The signal that asked for the stop, or 0.
    static int Signal();
    // Throws an interrupted BenchError when a stop was requested.
    static void ThrowIfRequested();

    // Processes to end when a stop is requested (-1: none).
    static void SetCurrentChild(pid_t pid);
    static void SetServerGroup(pid_t group);
};

}  // namespace ostrel::bench
