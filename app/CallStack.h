#pragma once
// The call stack of the running thread as text, one line per frame, with
// C++ names demangled where the symbol table has them. Used by the error
// report: an Ostrel exception takes it when it is made, and for any other
// exception the stack where it was caught is the best there is.

#include <string>
#include <vector>

namespace ostrel {

class CallStack {
public:
    // The frames from the caller of Capture outwards, leaving out `skip`
    // further frames nearest to it.
    static std::vector<std::string> Capture(int skip = 0);

    // One frame line as the system gives it, with a mangled name in it
    // replaced by its demangled form.
    static std::string Demangled(const std::string& frame);
};

}  // namespace ostrel
