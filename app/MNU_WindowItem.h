#pragma once
// An entry of the Window menu, standing for one open window. It refers to
// its window weakly, so an entry never keeps a closed window alive; choosing
// an entry whose window has gone sounds the system beep.

#include "platform/gui/MenuItem.h"
#include "platform/gui/WindowBase.h"

#include <QPointer>

namespace ostrel {

class MNU_WindowItem : public MenuItem {
    Q_OBJECT
public:
    // `caption` is shown as it is: window titles come from file names, so
    // an ampersand is a character, not a mnemonic marker.
    MNU_WindowItem(const QString& name, int index, const QString& caption, WindowBase* window);

    WindowBase* Tag() const { return window_; }

    bool Event_Action() override;

    // A window title made safe as a menu caption.
    static QString CaptionFor(const QString& title);

private:
    QPointer<WindowBase> window_;
};

}  // namespace ostrel
