#include "window/ProgressUpdater.h"

#include "window/TFTP_Wnd.h"

namespace ostrel {

ProgressUpdater::ProgressUpdater(TFTP_Wnd& window) : ownerWindow_(window)
{
    SetPeriod(PeriodMs);
}

void ProgressUpdater::Event_Action()
{
    ownerWindow_.ProgressUpdater_Action();
}

}  // namespace ostrel
