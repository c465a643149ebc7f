#include "platform/real/RealTimerDriver.h"

#include <QTimerEvent>

#include <utility>

namespace ostrel {

namespace {

// Qt's timers count whole milliseconds: a firing this close to the deadline
// counts as on time instead of re-arming for a fraction of a millisecond.
constexpr std::chrono::milliseconds Tolerance{1};

}  // namespace

RealTimerDriver::RealTimerDriver(std::function<void()> onExpiry)
    : onExpiry_(std::move(onExpiry))
{
}

RealTimerDriver::~RealTimerDriver() = default;

void RealTimerDriver::Start(int periodMs, bool repeating)
{
    const Clock::time_point now = Clock::now();
    period_ = std::chrono::milliseconds(periodMs);
    repeating_ = repeating;
    running_ = true;
    deadline_ = now + period_;
    if (!timer_.isActive() || armedFor_ > deadline_) {
        Arm(now, period_);
    }
}

void RealTimerDriver::Stop()
{
    // The Qt timer may stay armed; its firing finds nothing running.
    running_ = false;
}

void RealTimerDriver::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != timer_.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    const Clock::time_point now = Clock::now();
    if (!running_) {
        timer_.stop();
        return;
    }
    if (deadline_ - now >= Tolerance) {
        Arm(now, std::chrono::ceil<std::chrono::milliseconds>(deadline_ - now));
        return;
    }
    if (repeating_) {
        deadline_ = now + period_;
        Arm(now, period_);
    } else {
        running_ = false;
        timer_.stop();
    }
    // The callback may destroy this driver: call a copy, touch nothing after.
    const std::function<void()> onExpiry = onExpiry_;
    onExpiry();
}

void RealTimerDriver::Arm(Clock::time_point now, std::chrono::milliseconds delay)
{
    timer_.start(static_cast<int>(delay.count()), Qt::PreciseTimer, this);
    armedFor_ = now + delay;
}

}  // namespace ostrel
