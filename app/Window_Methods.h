#pragma once
// The registry of open windows behind the Window menu and the commands that
// close several windows at once. Every window registers from its open
// handler and unregisters from its close handler; its close query calls
// WindowCloseWithOption, so that closing a window with Option held closes
// the other visible windows first.

#include "platform/gui/WindowBase.h"

#include <QPointer>

#include <vector>

namespace ostrel::Window_Methods {

// Every registered window, in the order in which they registered. Entries
// are weak: a window destroyed without unregistering reads as null, and
// entries of closed or destroyed windows are dropped at the next change.
extern std::vector<QPointer<WindowBase>> WindowArray;
// True while CloseAllWindows or CloseAllButFront is closing windows; keeps
// the close queries of those windows from starting another close-all.
extern bool gCloseAllInProgress;

void RegisterWindow(WindowBase* window);
// Removes the first entry that is this window; nothing if there is none.
void UnregisterWindow(WindowBase* window);

// Asks every visible window to close, back-most first. A window that
// refuses stays open; the others still close. Hidden windows are left alone.
void CloseAllWindows();
// The same, except that the front window is neither asked nor closed.
void CloseAllButFront();
// With Option held and no close-all running: CloseAllButFront, then the
// File menu's close item reads "Close".
void WindowCloseWithOption();

// Rebuilds the window entries of the Window menu from WindowArray: one per
// window with its current title, Ctrl+1 to Ctrl+9, then Ctrl+0, then none;
// a disabled "No windows" entry when none is registered.
void EnableWindowMenu();

}  // namespace ostrel::Window_Methods
