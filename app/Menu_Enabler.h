#pragma once
// The timer that brings the menu bar up to date while no window is open, so
// the bar shows the window-less state (the Window menu's "No windows") within
// one period of the last window closing, without waiting for a menu to open.
// It refreshes once per spell without windows. Started by its constructor;
// runs until it is destroyed.

#include "platform/Timer.h"

namespace ostrel {

class Menu_Enabler : public Timer {
public:
    static constexpr int PeriodMs = 750;

    Menu_Enabler();

    // The menus were brought up to date since the window count last fell
    // to zero.
    bool AlreadyDone = false;

protected:
    void Event_Action() override;
};

}  // namespace ostrel
