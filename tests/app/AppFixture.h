#pragma once
// What the application tests share: a small stand-in for the transfer window
// (it takes part in the window list like every Ostrel window and records the
// file it is set to send), and an App wired to make those, on the simulated
// clock, on a host that passes the start-up check, with the dialogs answered
// by a responder and the quit requests recorded instead of ending the loop.

#include "app/App.h"
#include "app/M_AppStore.h"
#include "app/Window_Methods.h"
#include "platform/gui/ApplicationQuit.h"
#include "platform/gui/DialogResponder.h"
#include "platform/gui/MenuBarModel.h"
#include "platform/gui/MenuItem.h"
#include "platform/gui/WindowBase.h"
#include "platform/gui/WindowList.h"
#include "platform/sim/SimWorld.h"

#include <QCoreApplication>

#include <memory>
#include <optional>
#include <vector>

namespace ostrel::test {

class StandInTransferWindow : public WindowBase {
public:
    StandInTransferWindow()
    {
        setWindowTitle(QStringLiteral("Send"));
        AddMenuHandler("FileClose", [this](int) {
            close();
            return true;
        });
    }
    void Event_Open() override { Window_Methods::RegisterWindow(this); }
    void Event_Close() override { Window_Methods::UnregisterWindow(this); }
    bool Event_CancelClose(bool appQuitting) override
    {
        Q_UNUSED(appQuitting);
        Window_Methods::WindowCloseWithOption();
        return false;
    }
    void Event_EnableMenuItems() override
    {
        MenuBarModel::Instance()->Item("FileClose")->SetEnabled(true);
    }

    FolderItemPtr sendFile;
};

class AppFixture {
public:
    AppFixture()
    {
        previousQuery_ = M_AppStore::SetVersionQuery([this] { return hostVersion; });
        previousExit_ = ApplicationQuit::SetExitHandler([this](int code) { exitCodes.push_back(code); });
        app = std::make_unique<App>();
        app->SetTransferWindowMaker({
            [] { return new StandInTransferWindow(); },
            [](WindowBase* window, const FolderItemPtr& item) {
                static_cast<StandInTransferWindow*>(window)->sendFile = item;
            },
        });
    }
    ~AppFixture()
    {
        for (WindowBase* window : WindowList::Windows())
            delete window;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Window_Methods::WindowArray.clear();
        app.reset();
        ApplicationQuit::SetExitHandler(previousExit_);
        M_AppStore::SetVersionQuery(previousQuery_);
    }
    AppFixture(const AppFixture&) = delete;
    AppFixture& operator=(const AppFixture&) = delete;

    static std::vector<StandInTransferWindow*> TransferWindows()
    {
        std::vector<StandInTransferWindow*> windows;
        for (WindowBase* window : WindowList::Windows()) {
            if (auto* transfer = dynamic_cast<StandInTransferWindow*>(window))
                windows.push_back(transfer);
        }
        return windows;
    }
    static MenuItem* Item(const char* name) { return MenuBarModel::Instance()->Item(name); }

    std::optional<std::int32_t> hostVersion = M_AppStore::FirstSupportedVersion;
    std::vector<int> exitCodes;
    sim::SimWorld world;
    DialogResponder dialogs;
    std::unique_ptr<App> app;

private:
    M_AppStore::VersionQuery previousQuery_;
    std::function<void(int)> previousExit_;
};

}  // namespace ostrel::test
