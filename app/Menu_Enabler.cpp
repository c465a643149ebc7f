#include "app/Menu_Enabler.h"

#include "platform/gui/MenuBarModel.h"
#include "platform/gui/WindowList.h"

namespace ostrel {

Menu_Enabler::Menu_Enabler()
{
    SetPeriod(PeriodMs);
    SetMode(ModeMultiple);
}

void Menu_Enabler::Event_Action()
{
    if (WindowList::WindowCount() != 0) {
        AlreadyDone = false;
        return;
    }
    if (!AlreadyDone) {
        MenuBarModel::EnableMenuItems();
        AlreadyDone = true;
    }
}

}  // namespace ostrel
