#include "bench/Interruption.h"

#include "bench/BenchError.h"

#include <csignal>
#include <string>

namespace ostrel::bench {

namespace {

volatile std::sig_atomic_t gStopSignal = 0;
volatile pid_t gCurrentChild = -1;
volatile pid_t gServerGroup = -1;

extern "C" void OnStopSignal(int signal)
{
    gStopSignal = signal;
    // Only async-signal-safe calls here.
    if (gCurrentChild > 0) {
        ::kill(gCurrentChild, SIGKILL);
    }
    if (gServerGroup > 0) {
        ::kill(-gServerGroup, SIGTERM);
    }
}

}  // namespace

void Interruption::Install()
{
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a blocked wait returns and looks at the flag
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

bool Interruption::Requested()
{
    return gStopSignal != 0;
}

int Interruption::Signal()
{
    return gStopSignal;
}

void Interruption::ThrowIfRequested()
{
    if (Requested()) {
        throw BenchError("interrupted by signal " + std::to_string(Signal()), true);
    }
}

void Interruption::SetCurrentChild(pid_t pid)
{
    gCurrentChild = pid;
}

void Interruption::SetServerGroup(pid_t group)
{
    gServerGroup = group;
}

}  // namespace ostrel::bench
