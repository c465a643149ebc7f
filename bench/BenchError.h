#pragma once
// Why a benchmark run ended early: something failed (a transfer that did not
// succeed or did not arrive intact, a server that would not start), or the
// user stopped it. A measurement of a broken transfer is worthless, so the
// run stops at the first failure.

#include <stdexcept>
#include <string>

namespace ostrel::bench {

class BenchError : public std::runtime_error {
public:
    explicit BenchError(const std::string& what, bool interrupted = false)
        : std::runtime_error(what), interrupted_(interrupted)
    {
    }

    bool Interrupted() const { return interrupted_; }

private:
    bool interrupted_;
};

}  // namespace ostrel::bench
