#pragma once
// A timer with a period in milliseconds and a mode: 0 off, 1 single (expires
// once, one period after being started), 2 multiple (repeats). Setting mode 1
// or 2 starts a full period from that moment; setting 0 stops it. Expiries
// run Event_Action on the event loop; the default Event_Action calls Action.

#include "platform/Backend.h"

#include <functional>
#include <memory>

namespace ostrel {

class Timer {
public:
    static constexpr int ModeOff = 0;
    static constexpr int ModeSingle = 1;
    static constexpr int ModeMultiple = 2;

    Timer();
    virtual ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int Period() const { return period_; }
    void SetPeriod(int ms);  // takes effect at the next start
    int Mode() const { return mode_; }
    void SetMode(int mode);

    // Run by the default Event_Action on each expiry.
    std::function<void()> Action;

protected:
    virtual void Event_Action();

private:
    void Expired();

    int period_ = 1000;
    int mode_ = ModeOff;
    std::unique_ptr<TimerDriver> driver_;
};

}  // namespace ostrel
