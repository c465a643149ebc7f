#pragma once
// Waits briefly, spinning, for the answer to a datagram a socket has just
// sent. TFTP is lock-step: nothing moves until the peer answers. On a fast
// link the answer comes within tens of microseconds, sooner than the process
// can go to sleep in the event loop and be woken again, and that sleep and
// wake-up is most of the time a block costs. So after a send the socket
// watches for the answer for a short while; the event loop then finds it
// ready and dispatches it at once, as usual: the answer is never read or
// announced here.
//
// The wait adapts to the peer: it keeps a smoothed figure of how long
// answers take (measured here when the answer comes while waiting, and from
// the read notification when it comes later) and waits only while that
// figure is short. A slow device or link (milliseconds) gets no spinning,
// and its answers still keep the figure up to date, so a link that becomes
// fast is noticed.

#include <cstdint>

namespace ostrel {

class ReplyWait {
public:
    // Beyond this, sleeping in the event loop costs less than spinning.
    static constexpr std::int64_t LongestWaitNs = 200'000;

    // Right after a datagram went out on fd: waits until fd is readable or
    // the budget for this peer is spent.
    void AfterSend(int fd);
    // A datagram was found readable by the event loop (not while waiting).
    void AnswerSeen();

private:
    std::int64_t Budget() const;
    void Learn(std::int64_t answerNs);

    std::int64_t sentAtNs_ = 0;
    bool awaiting_ = false;
    std::int64_t typicalNs_ = -1;  // smoothed answer time; -1 until known
};

}  // namespace ostrel
