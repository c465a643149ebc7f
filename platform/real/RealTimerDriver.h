#pragma once
// A Timer's driver on Qt's event loop. A restart only moves the deadline
// when the armed Qt timer would fire no later than it; the early firing then
// re-arms for the rest. A transfer restarts its timer for every packet, so
// this keeps timer registration off the per-packet path.

#include "platform/Backend.h"

#include <QBasicTimer>
#include <QObject>

#include <chrono>
#include <functional>

namespace ostrel {

class RealTimerDriver final : public QObject, public TimerDriver {
public:
    explicit RealTimerDriver(std::function<void()> onExpiry);
    ~RealTimerDriver() override;

    void Start(int periodMs, bool repeating) override;
    void Stop() override;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    using Clock = std::chrono::steady_clock;
    void Arm(Clock::time_point now, std::chrono::milliseconds delay);

    std::function<void()> onExpiry_;
    QBasicTimer timer_;
    Clock::time_point deadline_;
    Clock::time_point armedFor_;
    std::chrono::milliseconds period_{0};
    bool running_ = false;
    bool repeating_ = false;
};

}  // namespace ostrel
