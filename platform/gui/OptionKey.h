#pragma once
// The state of the Option key (Alt on Linux), read at the moment it is
// needed. While a key event is being matched against the menu shortcuts the
// event's own modifiers are the truth; tests may pin the state instead.

#include <optional>

namespace ostrel {

class OptionKey {
public:
    static bool IsDown();

    // Pins the state for tests (nullopt: back to the real keyboard).
    static void SetTestState(std::optional<bool> down);

    // Holds a test state for the lifetime of the object.
    class Scoped {
    public:
        explicit Scoped(bool down);
        ~Scoped();
        Scoped(const Scoped&) = delete;
        Scoped& operator=(const Scoped&) = delete;

    private:
        std::optional<bool> previous_;
    };

    // The state taken from the key event being handled, for as long as the
    // object lives.
    class FromKeyEvent {
    public:
        explicit FromKeyEvent(bool down);
        ~FromKeyEvent();
        FromKeyEvent(const FromKeyEvent&) = delete;
        FromKeyEvent& operator=(const FromKeyEvent&) = delete;

    private:
        std::optional<bool> previous_;
    };

private:
    static std::optional<bool> testState_;
    static std::optional<bool> eventState_;
};

}  // namespace ostrel
