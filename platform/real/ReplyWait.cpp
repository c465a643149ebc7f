#include "platform/real/ReplyWait.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <time.h>

namespace ostrel {

namespace {

// Room above the typical answer time before the wait gives up.
constexpr std::int64_t WaitMarginNs = 20'000;
constexpr int WaitFactor = 2;
// The smoothed figure moves an eighth of the way towards each new answer.
constexpr int SmoothingShift = 3;
constexpr std::int64_t NsPerSecond = 1'000'000'000;

std::int64_t MonotonicNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * NsPerSecond + now.tv_nsec;
}

bool Readable(int fd)
{
    pollfd watched{fd, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&watched, 1, 0);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

}  // namespace

std::int64_t ReplyWait::Budget() const
{
    if (typicalNs_ < 0) {
        return LongestWaitNs;  // nothing known yet: find out
    }
    if (typicalNs_ > LongestWaitNs) {
        return 0;
    }
    return std::min(LongestWaitNs, typicalNs_ * WaitFactor + WaitMarginNs);
}

void ReplyWait::AfterSend(int fd)
{
    sentAtNs_ = MonotonicNs();
    awaiting_ = true;
    const std::int64_t budget = Budget();
    if (budget == 0) {
        return;
    }
    for (;;) {
        if (Readable(fd)) {
            Learn(MonotonicNs() - sentAtNs_);
            return;
        }
        if (MonotonicNs() - sentAtNs_ >= budget) {
            return;  // the answer, if any, comes through the event loop
        }
    }
}

void ReplyWait::AnswerSeen()
{
    if (awaiting_) {
        Learn(MonotonicNs() - sentAtNs_);
    }
}

void ReplyWait::Learn(std::int64_t answerNs)
{
    awaiting_ = false;
    if (typicalNs_ < 0) {
        typicalNs_ = answerNs;
    } else {
        typicalNs_ += (answerNs - typicalNs_) >> SmoothingShift;
    }
}

}  // namespace ostrel
