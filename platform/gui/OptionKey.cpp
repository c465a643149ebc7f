#include "platform/gui/OptionKey.h"

#include <QGuiApplication>

namespace ostrel {

std::optional<bool> OptionKey::testState_;
std::optional<bool> OptionKey::eventState_;

bool OptionKey::IsDown()
{
    if (eventState_)
        return *eventState_;
    if (testState_)
        return *testState_;
    return (QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier) != 0;
}

void OptionKey::SetTestState(std::optional<bool> down) { testState_ = down; }

OptionKey::Scoped::Scoped(bool down) : previous_(testState_) { testState_ = down; }
OptionKey::Scoped::~Scoped() { testState_ = previous_; }

OptionKey::FromKeyEvent::FromKeyEvent(bool down) : previous_(eventState_) { eventState_ = down; }
OptionKey::FromKeyEvent::~FromKeyEvent() { eventState_ = previous_; }

}  // namespace ostrel
