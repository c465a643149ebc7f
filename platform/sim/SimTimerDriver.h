#pragma once
// A Timer's driver in the simulated world: each start schedules an expiry
// on the virtual clock; a stop or restart makes earlier expiries stale.

#include "platform/sim/SimWorldImpl.h"

#include <cstdint>
#include <functional>

namespace ostrel::sim {

class SimTimerDriver final : public TimerDriver {
public:
    SimTimerDriver(SimWorld::Impl& world, std::function<void()> onExpiry);
    ~SimTimerDriver() override;

    void Start(int periodMs, bool repeating) override;
    void Stop() override;

    // Run by the expiry event scheduled for `generation`.
    void Expire(std::uint64_t generation);
    void Detach() { world_ = nullptr; }

private:
    void ScheduleExpiry();

    SimWorld::Impl* world_;
    int id_ = 0;
    std::function<void()> onExpiry_;
    std::uint64_t generation_ = 0;
    bool running_ = false;
    bool repeating_ = false;
    int periodMs_ = 0;
};

}  // namespace ostrel::sim
