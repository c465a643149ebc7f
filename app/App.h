#pragma once
// The application object. It checks the host at start, starts the
// menu-enabling timer, opens a transfer window for a new document and one
// for every document handed over (set to send it), opens one on re-opening
// while no window is open, carries the application-level menu commands
// (About, New, Close All) and its part of the menu enabling, and turns any
// exception that nothing else caught into an error report.
//
// Main runs Ostrel as a whole: the QApplication, the file types, the menu
// bar, one instance per user (a later launch hands its documents over and
// exits), the tray icon and the event loop.

#include "app/RuntimeException.h"
#include "platform/FolderItem.h"
#include "platform/gui/MenuCommandTarget.h"
#include "platform/gui/WindowBase.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

namespace ostrel {

class InstanceChannel;
class Menu;
class OstrelApplication;
class TrayIcon;

class App : public QObject, public MenuCommandTarget {
    Q_OBJECT
public:
    // How App makes its transfer windows: `make` gives a new window that is
    // not shown yet; `setSendFile` hands it the document to send.
    struct TransferWindowMaker {
        std::function<WindowBase*()> make;
        std::function<void(WindowBase*, const FolderItemPtr&)> setSendFile;
    };

    static constexpr const char* StartupQuitCaption = "Quit";
    static constexpr const char* NoVersionMessage =
        "Can't get the Mac OS system version. This could indicate a serious problem, so check "
        "your system.";
    static constexpr const char* OldSystemMessage = "You need at least OS X 10.5 to run this app.";
    static constexpr int StartupExitCode = 0;
    // The re-open event: class "aevt", ID "rapp".
    static constexpr const char* CoreEventClass = "aevt";
    static constexpr const char* ReopenEventID = "rapp";

    // Builds the menu bar and becomes its application target.
    explicit App(QObject* parent = nullptr);
    ~App() override;

    // Runs Ostrel; returns the exit code. What main() calls.
    static int Main(int argc, char** argv);

    // The real transfer window by default.
    void SetTransferWindowMaker(TransferWindowMaker maker);
    static TransferWindowMaker DefaultTransferWindowMaker();

    Menu* MenuBar() const { return menu_; }
    // True once the start-up check refused the host and asked to quit.
    bool StartupRefused() const { return startupRefused_; }

    // --- events raised by the platform ---
    void Event_Open();
    void Event_Close();
    void Event_OpenDocument(const FolderItemPtr& item);
    void Event_NewDocument();
    void Event_EnableMenuItems();
    bool Event_UnhandledException(const RuntimeException& error);
    bool Event_HandleAppleEvent(const std::string& eventClass, const std::string& eventID);

    // --- menu commands ---
    bool _AppleAbout_Action();
    bool _FileNew_Action();
    bool _FileCloseAll_Action();

    // MenuCommandTarget: the application's part of the enabling pass.
    void EnableMenuItems() override { Event_EnableMenuItems(); }

    // --- what the platform asks of the application ---
    void NewDocument();
    // The documents of a launch, or handed over by a later one: one window
    // per file. When none of them gave a window (there were none, or only
    // folders and missing files), a re-open.
    void OpenDocuments(const QStringList& paths);
    void Reopen();
    // Takes the platform's events from the QApplication: exceptions that
    // escape event handlers, files to open, re-activation.
    void ConnectApplication(OstrelApplication& application);
    // Opens the documents that later launches hand over.
    void ConnectChannel(InstanceChannel& channel);
    // Shows the tray icon while no window is open, where the desktop has a
    // tray.
    void EnableTrayIcon();
    const TrayIcon* Tray() const { return tray_.get(); }

    // Ostrel's icon, from the compiled-in SVG and its PNG renderings.
    static QIcon ApplicationIcon();

private:
    WindowBase* MakeTransferWindow();
    void UpdateTrayIcon();

    Menu* menu_ = nullptr;
    // The application whose events come here; let go of on destruction.
    QPointer<OstrelApplication> application_;
    TransferWindowMaker maker_;
    std::unique_ptr<TrayIcon> tray_;
    bool startupRefused_ = false;
    int windowsMade_ = 0;
};

}  // namespace ostrel
