#pragma once
// What the shell tests share: a stand-in for the application object's menu
// handlers and enabling, and a small window that takes part in the window
// list the way every Ostrel window does.

#include "app/Window_Methods.h"
#include "platform/gui/MenuBarModel.h"
#include "platform/gui/MenuCommandTarget.h"
#include "platform/gui/MenuItem.h"
#include "platform/gui/OptionKey.h"
#include "platform/gui/WindowBase.h"
#include "platform/gui/WindowList.h"

#include <QStringList>

#include <functional>

namespace ostrel::test {

inline MenuItem* ItemNamed(const QString& name, int index = 0)
{
    return MenuBarModel::Instance()->Item(name, index);
}

// Carries the application-level commands and enabling: About and New always,
// Close All in place of Close while Option is held, the Window menu rebuilt.
class AppStandIn : public MenuCommandTarget {
public:
    AppStandIn()
    {
        AddMenuHandler("FileCloseAll", [](int) {
            Window_Methods::CloseAllWindows();
            return true;
        });
    }
    void EnableMenuItems() override
    {
        ++passes;
        ItemNamed("AppleAbout")->SetEnabled(true);
        ItemNamed("FileNew")->SetEnabled(true);
        const bool option = OptionKey::IsDown();
        ItemNamed("FileClose")->SetVisible(!option);
        ItemNamed("FileCloseAll")->SetVisible(option);
        if (option && WindowList::WindowCount() > 0)
            ItemNamed("FileCloseAll")->SetEnabled(true);
        Window_Methods::EnableWindowMenu();
    }
    int passes = 0;
};

// Registers from its open handler, unregisters from its close handler, and
// calls WindowCloseWithOption at the end of every close query; File > Close
// closes it. The journal records "<title>:query" and "<title>:close".
class ShellWindow : public WindowBase {
public:
    ShellWindow(const QString& title, QStringList* journal) : journal_(journal)
    {
        setWindowTitle(title);
        AddMenuHandler("FileClose", [this](int) {
            close();
            return true;
        });
    }
    void Event_Open() override { Window_Methods::RegisterWindow(this); }
    void Event_Close() override
    {
        ++closes;
        journal_->append(windowTitle() + ":close");
        Window_Methods::UnregisterWindow(this);
    }
    bool Event_CancelClose(bool appQuitting) override
    {
        Q_UNUSED(appQuitting);
        journal_->append(windowTitle() + ":query");
        const bool refuse = refuses && refuses();
        Window_Methods::WindowCloseWithOption();
        return refuse;
    }
    void Event_EnableMenuItems() override { ItemNamed("FileClose")->SetEnabled(true); }

    int closes = 0;
    std::function<bool()> refuses;

private:
    QStringList* journal_;
};

}  // namespace ostrel::test
