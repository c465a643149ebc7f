#include "platform/Timer.h"

#include <algorithm>

namespace ostrel {

namespace {

// A repeating timer needs some time between expiries, or it would starve
// every other event.
constexpr int MinimumRepeatPeriodMs = 1;

}  // namespace

Timer::Timer()
    : driver_(Backend::Current().MakeTimer([this] { Expired(); }))
{
}

// The driver goes with the timer; destroying it cancels any pending expiry.
Timer::~Timer() = default;

void Timer::SetPeriod(int ms)
{
    period_ = std::max(ms, 0);
}

void Timer::SetMode(int mode)
{
    if (mode != ModeSingle && mode != ModeMultiple) {
        mode_ = ModeOff;
        driver_->Stop();
        return;
    }
    mode_ = mode;
    const bool repeating = mode == ModeMultiple;
    const int period = repeating ? std::max(period_, MinimumRepeatPeriodMs) : period_;
    driver_->Start(period, repeating);
}

void Timer::Event_Action()
{
    if (Action) {
        Action();
    }
}

void Timer::Expired()
{
    // A single-shot timer is off once it has fired, so that Mode tells the
    // truth inside the handler and a restart from there is a fresh start.
    if (mode_ == ModeSingle) {
        mode_ = ModeOff;
    }
    Event_Action();
}

}  // namespace ostrel
