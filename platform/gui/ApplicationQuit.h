#pragma once
// Quitting the application: every open window is asked to close, front to
// back, with appQuitting true in its close query; the first window that
// refuses cancels the quit. Once all have closed, the event loop is asked to
// end with the exit code (queued, so a request made before the loop runs is
// honoured as soon as it starts).

#include <functional>

namespace ostrel {

class ApplicationQuit {
public:
    // True when every window closed and the exit was requested.
    static bool Request(int exitCode = 0);
    // True while Request is closing windows.
    static bool InProgress() { return inProgress_; }

    // Replaces what ends the event loop (tests must not end theirs); an
    // empty function restores the default. Returns the one it replaces.
    static std::function<void(int)> SetExitHandler(std::function<void(int)> handler);

private:
    static bool CloseEveryWindow();

    static bool inProgress_;
    static std::function<void(int)> exitHandler_;
};

}  // namespace ostrel
