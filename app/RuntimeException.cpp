#include "app/RuntimeException.h"

#include "app/CallStack.h"

#include <utility>

namespace ostrel {

namespace {
// The constructor's own frame.
constexpr int ConstructorFrames = 1;
}  // namespace

RuntimeException::RuntimeException(const std::string& message)
    : std::runtime_error(message), stack_(CallStack::Capture(ConstructorFrames))
{
}

RuntimeException::RuntimeException(const std::string& message, std::vector<std::string> stack)
    : std::runtime_error(message), stack_(std::move(stack))
{
}

}  // namespace ostrel
