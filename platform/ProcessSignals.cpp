#include "platform/ProcessSignals.h"

#include <csignal>
#include <mutex>

namespace ostrel::ProcessSignals {

void IgnoreFatalWriteSignals()
{
    static std::once_flag once;
    std::call_once(once, [] {
        std::signal(SIGPIPE, SIG_IGN);
        std::signal(SIGXFSZ, SIG_IGN);
    });
}

}  // namespace ostrel::ProcessSignals
