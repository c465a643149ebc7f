#include "engine/TFTP_Timeout.h"

#include "engine/TFTP_Base.h"

namespace ostrel {

TFTP_Timeout::TFTP_Timeout(const std::weak_ptr<TFTP_Base>& transfer)
    : zMyObject(transfer)
{
    SetPeriod(RetransmitPeriodMs);
    SetMode(ModeSingle);
}

TFTP_Timeout::~TFTP_Timeout()
{
    TearDown();
}

void TFTP_Timeout::TearDown()
{
    SetMode(ModeOff);
    zMyObject.reset();
}

void TFTP_Timeout::Event_Action()
{
    // Holding the transfer for the call keeps it alive while it retries.
    if (const auto transfer = MyObject()) {
        transfer->Retry();
    }
}

}  // namespace ostrel
