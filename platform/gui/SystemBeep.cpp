#include "platform/gui/SystemBeep.h"

#include <QApplication>

#include <utility>

namespace ostrel {

std::function<void()> SystemBeep::handler_;

void SystemBeep::Beep()
{
    if (handler_)
        handler_();
    else
        QApplication::beep();
}

std::function<void()> SystemBeep::SetHandler(std::function<void()> handler)
{
    return std::exchange(handler_, std::move(handler));
}

}  // namespace ostrel
