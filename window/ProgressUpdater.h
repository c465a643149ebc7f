#pragma once
// The transfer window's poll timer. The window never hears from its transfer
// object; it samples it on each tick of this timer instead, once a second
// while a transfer runs. Each tick goes to the window's
// ProgressUpdater_Action. Owned by the window it reports to.

#include "platform/Timer.h"

namespace ostrel {

class TFTP_Wnd;

class ProgressUpdater : public Timer {
public:
    static constexpr int PeriodMs = 1000;

    explicit ProgressUpdater(TFTP_Wnd& window);

    TFTP_Wnd& Window() const { return ownerWindow_; }

protected:
    void Event_Action() override;

private:
    TFTP_Wnd& ownerWindow_;
};

}  // namespace ostrel
