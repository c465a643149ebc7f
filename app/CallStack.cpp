#include "app/CallStack.h"

#include <cxxabi.h>
#include <execinfo.h>

#include <cstdlib>
#include <memory>

namespace ostrel {

namespace {

constexpr int MaxFrames = 128;
// Capture's own frame.
constexpr int OwnFrames = 1;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.' || c == '$';
}

}  // namespace

std::vector<std::string> CallStack::Capture(int skip)
{
    void* addresses[MaxFrames];
    const int count = backtrace(addresses, MaxFrames);
    std::unique_ptr<char*, FreeDeleter> symbols(backtrace_symbols(addresses, count));
    std::vector<std::string> frames;
    const int first = OwnFrames + (skip > 0 ? skip : 0);
    for (int i = first; i < count; ++i) {
        if (symbols)
            frames.push_back(Demangled(symbols.get()[i]));
        else
            frames.push_back("?");
    }
    return frames;
}

std::string CallStack::Demangled(const std::string& frame)
{
    // Linux writes "file(_ZN...+0x1f) [0x...]", macOS "3 file 0x... _ZN... + 31";
    // either way the mangled name is a run of name characters starting "_Z".
    std::size_t start = frame.find("_Z");
    while (start != std::string::npos && start > 0 && IsNameChar(frame[start - 1]))
        start = frame.find("_Z", start + 1);
    if (start == std::string::npos)
        return frame;
    std::size_t end = start;
    while (end < frame.size() && IsNameChar(frame[end]))
        ++end;
    const std::string mangled = frame.substr(start, end - start);
    int status = 0;
    std::unique_ptr<char, FreeDeleter> name(
        abi::__cxa_demangle(mangled.c_str(), nullptr, nullptr, &status));
    if (status != 0 || !name)
        return frame;
    return frame.substr(0, start) + name.get() + frame.substr(end);
}

}  // namespace ostrel
