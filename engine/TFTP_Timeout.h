#pragma once
// The retransmission timer of one transfer: single-shot, 3000 ms, restarted
// by the transfer whenever it makes progress or repeats a packet. On expiry
// it calls the transfer's Retry. It refers to its transfer only weakly, so
// the transfer (which owns the timer) is not kept alive by it, and an expiry
// after the transfer has gone, or after TearDown, does nothing.

#include "platform/Timer.h"

#include <memory>

namespace ostrel {

class TFTP_Base;

class TFTP_Timeout : public Timer {
public:
    static constexpr int RetransmitPeriodMs = 3000;

    // Binds the timer to its transfer and starts the first period at once.
    explicit TFTP_Timeout(const std::weak_ptr<TFTP_Base>& transfer);
    ~TFTP_Timeout() override;

    // The transfer, or null once it has gone or was unbound.
    std::shared_ptr<TFTP_Base> MyObject() const { return zMyObject.lock(); }
    // Rebinds the timer (null: to nobody).
    void SetMyObject(const std::shared_ptr<TFTP_Base>& transfer) { zMyObject = transfer; }

    // Stops the timer and unbinds it from its transfer for good.
    void TearDown();

protected:
    void Event_Action() override;

private:
    std::weak_ptr<TFTP_Base> zMyObject;
};

}  // namespace ostrel
