#pragma once
// The system beep, behind a seam so tests can count beeps instead of
// making noise.

#include <functional>

namespace ostrel {

class SystemBeep {
public:
    static void Beep();

    // Replaces the beep (an empty function: back to QApplication::beep);
    // returns the one it replaces.
    static std::function<void()> SetHandler(std::function<void()> handler);

private:
    static std::function<void()> handler_;
};

}  // namespace ostrel
