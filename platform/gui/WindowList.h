#pragma once
// The platform's list of open windows, front to back. A window joins it when
// it is first shown and leaves it when it closes (or is destroyed). The order
// is kept here rather than read from Qt, because activation is asynchronous
// and unreliable off screen: a window comes to the front when it is shown,
// activated or brought to the front through BringToFront; a window that is
// hidden goes behind every visible one. The front-most visible window is the
// front window; when another takes its place it is told (Event_Deactivate).

#include <vector>

namespace ostrel {

class WindowBase;

class WindowList {
public:
    // Open windows, front to back, hidden ones included.
    static std::vector<WindowBase*> Windows();
    static int WindowCount();
    // The window at this position (0 is the front), or null.
    static WindowBase* Window(int position);
    // The front-most visible window, or null.
    static WindowBase* FrontWindow();
    static bool Contains(const WindowBase* window);

    // Puts the window first in the order and raises and activates it. A
    // hidden window is not shown by this.
    static void BringToFront(WindowBase* window);

    // --- called by WindowBase ---
    static void Shown(WindowBase* window);
    static void Hidden(WindowBase* window);
    static void Activated(WindowBase* window);
    // Qt deactivated the window; `toOwnWindow` when activation went to
    // another window of the list (which then takes the front itself).
    static void Deactivated(WindowBase* window, bool toOwnWindow);
    static void Removed(WindowBase* window);

private:
    static void MoveToFront(WindowBase* window);
    // Tells the former front window when the front window has changed.
    static void FrontMayHaveChanged();

    static std::vector<WindowBase*> order_;
    static WindowBase* front_;  // the window last known to be in front
};

}  // namespace ostrel
