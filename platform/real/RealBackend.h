#pragma once
// The production backend: timers and sockets on Qt's event loop (a
// QCoreApplication must exist before they are used), the host's resolver and
// a generator seeded from the system's entropy source.

#include "platform/Backend.h"

#include <random>

namespace ostrel {

class RealBackend final : public Backend {
public:
    static RealBackend& Instance();

    std::unique_ptr<TimerDriver> MakeTimer(std::function<void()> onExpiry) override;
    std::unique_ptr<SocketDriver> MakeSocket(SocketEvents events) override;
    std::string LookupIPAddress(const std::string& host) override;
    // Names go to the resolver on a worker thread; the answer comes back as
    // an event of the application's event loop.
    void LookupIPAddressLater(const std::string& host, std::function<void(std::string)> done) override;
    int RandomInRange(int low, int high) override;

private:
    RealBackend();

    std::mt19937 generator_;
};

}  // namespace ostrel
