#pragma once
// The exception Ostrel's own code throws for a fault it cannot handle where
// it is found. It takes the call stack when it is made, so the error report
// shows where the fault arose rather than where it was caught.

#include <stdexcept>
#include <string>
#include <vector>

namespace ostrel {

class RuntimeException : public std::runtime_error {
public:
    explicit RuntimeException(const std::string& message = std::string());
    // For a report built elsewhere (a foreign exception caught by the
    // application), with the stack that was available there.
    RuntimeException(const std::string& message, std::vector<std::string> stack);

    std::string Message() const { return what(); }
    // One line per frame, the innermost first.
    const std::vector<std::string>& Stack() const { return stack_; }

private:
    std::vector<std::string> stack_;
};

}  // namespace ostrel
