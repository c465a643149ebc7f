#include "app/App.h"

#include "app/About_Wnd.h"
#include "app/ErrorReport.h"
#include "app/FileTypes.h"
#include "app/General_Methods.h"
#include "app/InstanceChannel.h"
#include "app/M_AppStore.h"
#include "app/Menu.h"
#include "app/Menu_Enabler.h"
#include "app/OstrelApplication.h"
#include "app/TrayIcon.h"
#include "app/Window_Methods.h"
#include "platform/ProcessSignals.h"
#include "platform/gui/ApplicationQuit.h"
#include "platform/gui/MenuBarModel.h"
#include "platform/gui/MenuItem.h"
#include "platform/gui/OptionKey.h"
#include "platform/gui/WindowList.h"

#include "window/TFTP_Wnd.h"

#include <QFile>

#include <utility>

namespace ostrel {

namespace {

constexpr const char* ApplicationName = "Ostrel";
// The desktop entry, the icon and the AppStream data go by this name.
constexpr const char* DesktopFileName = "org.example.Ostrel";
constexpr const char* IconSvg = ":/ostrel/icons/ostrel.svg";
constexpr const char* IconPngPattern = ":/ostrel/icons/ostrel-%1.png";
constexpr int IconPngSizes[] = {32, 64, 128, 256};

MenuItem* ItemNamed(const char* name)
{
    MenuBarModel* model = MenuBarModel::Instance();
    return model ? model->Item(QString::fromLatin1(name)) : nullptr;
}

void SetEnabled(const char* name, bool enabled)
{
    if (MenuItem* item = ItemNamed(name))
        item->SetEnabled(enabled);
}

void SetVisible(const char* name, bool visible)
{
    if (MenuItem* item = ItemNamed(name))
        item->SetVisible(visible);
}

FolderItemPtr ItemForPath(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    return std::make_shared<FolderItem>(QFile::encodeName(path).toStdString());
}

}  // namespace

App::App(QObject* parent) : QObject(parent), menu_(new Menu(this))
{
    menu_->SetApplicationTarget(this);
    AddMenuHandler("AppleAbout", [this](int) { return _AppleAbout_Action(); });
    AddMenuHandler("FileNew", [this](int) { return _FileNew_Action(); });
    AddMenuHandler("FileCloseAll", [this](int) { return _FileCloseAll_Action(); });
}

App::~App()
{
    if (application_) {
        application_->SetExceptionHandler({});
        application_->SetFileOpenHandler({});
        application_->SetReopenHandler({});
    }
    menu_->SetApplicationTarget(nullptr);
    General_Methods::gMenuEnabler.reset();
}

void App::SetTransferWindowMaker(TransferWindowMaker maker) { maker_ = std::move(maker); }

App::TransferWindowMaker App::DefaultTransferWindowMaker()
{
    return {[]() -> WindowBase* { return new TFTP_Wnd(); },
            [](WindowBase* window, const FolderItemPtr& item) {
                if (auto* transfer = qobject_cast<TFTP_Wnd*>(window))
                    transfer->SetSendFile(item);
            }};
}

// --- events ---

void App::Event_Open()
{
    M_AppStore::Init(std::string());
    const std::int32_t version = M_AppStore::MacOSVersion();
    const char* refusal = nullptr;
    if (version <= 0)
        refusal = NoVersionMessage;
    else if (version < M_AppStore::FirstSupportedVersion)
        refusal = OldSystemMessage;
    if (refusal) {
        startupRefused_ = true;
        General_Methods::QuickMessageDialog(QString::fromLatin1(refusal),
                                            QString::fromLatin1(StartupQuitCaption));
        ApplicationQuit::Request(StartupExitCode);
        return;
    }
    General_Methods::gMenuEnabler = std::make_unique<Menu_Enabler>();
}

void App::Event_Close() {}

void App::Event_OpenDocument(const FolderItemPtr& item)
{
    if (!item || !item->Exists() || item->Directory())
        return;
    WindowBase* window = MakeTransferWindow();
    if (window && maker_.setSendFile)
        maker_.setSendFile(window, item);
}

void App::Event_NewDocument() { MakeTransferWindow(); }

void App::Event_EnableMenuItems()
{
    SetEnabled("AppleAbout", true);
    SetEnabled("FileNew", true);
    if (OptionKey::IsDown()) {
        SetVisible("FileClose", false);
        SetVisible("FileCloseAll", true);
        if (WindowList::WindowCount() > 0)
            SetEnabled("FileCloseAll", true);
    } else {
        SetVisible("FileClose", true);
        SetVisible("FileCloseAll", false);
    }
    Window_Methods::EnableWindowMenu();
    UpdateTrayIcon();
}

bool App::Event_UnhandledException(const RuntimeException& error)
{
    ErrorReport::Show(ErrorReport::Compose(error));
    return true;
}

bool App::Event_HandleAppleEvent(const std::string& eventClass, const std::string& eventID)
{
    if (eventClass == CoreEventClass && eventID == ReopenEventID && WindowList::WindowCount() == 0)
        NewDocument();
    return false;
}

// --- menu commands ---

bool App::_AppleAbout_Action()
{
    About_Wnd::ShowInstance();
    UpdateTrayIcon();
    return true;
}

bool App::_FileNew_Action()
{
    NewDocument();
    return true;
}

bool App::_FileCloseAll_Action()
{
    Window_Methods::CloseAllWindows();
    return true;
}

// --- platform requests ---

void App::NewDocument() { Event_NewDocument(); }

void App::OpenDocuments(const QStringList& paths)
{
    const int before = windowsMade_;
    for (const QString& path : paths)
        Event_OpenDocument(ItemForPath(path));
    if (windowsMade_ == before)
        Reopen();
}

void App::Reopen() { Event_HandleAppleEvent(CoreEventClass, ReopenEventID); }

void App::ConnectApplication(OstrelApplication& application)
{
    application_ = &application;
    application.SetExceptionHandler(
        [this](const RuntimeException& error) { Event_UnhandledException(error); });
    // The system's own hand-over (macOS): as there, a folder opens nothing.
    application.SetFileOpenHandler(
        [this](const QString& path) { Event_OpenDocument(ItemForPath(path)); });
    application.SetReopenHandler([this] { Reopen(); });
}

void App::ConnectChannel(InstanceChannel& channel)
{
    connect(&channel, &InstanceChannel::DocumentsHandedOver, this,
            [this](const QStringList& documents) { OpenDocuments(documents); });
}

void App::EnableTrayIcon()
{
    if (!tray_) {
        tray_ = std::make_unique<TrayIcon>(TrayIcon::Commands{
            [this] { NewDocument(); },
            [this] { _AppleAbout_Action(); },
            [] { ApplicationQuit::Request(0); },
        });
    }
    UpdateTrayIcon();
}

void App::UpdateTrayIcon()
{
    if (tray_)
        tray_->Update(WindowList::WindowCount());
}

WindowBase* App::MakeTransferWindow()
{
    if (!maker_.make)
        maker_ = DefaultTransferWindowMaker();
    WindowBase* window = maker_.make ? maker_.make() : nullptr;
    if (!window)
        return nullptr;
    ++windowsMade_;
    window->BringToFront();
    UpdateTrayIcon();
    return window;
}

QIcon App::ApplicationIcon()
{
    QIcon icon;
    for (int size : IconPngSizes)
        icon.addFile(QString::fromLatin1(IconPngPattern).arg(size), QSize(size, size));
    // Sharp at any size where the SVG image plug-in is installed; the PNGs
    // serve where it is not.
    icon.addFile(QString::fromLatin1(IconSvg));
    return icon;
}

// --- running Ostrel ---

int App::Main(int argc, char** argv)
{
    ProcessSignals::IgnoreFatalWriteSignals();
    OstrelApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(ApplicationName));
    QApplication::setApplicationVersion(QString::fromLatin1(OSTREL_VERSION));
    QApplication::setDesktopFileName(QString::fromLatin1(DesktopFileName));
    QApplication::setWindowIcon(ApplicationIcon());
    QApplication::setQuitOnLastWindowClosed(false);

    const QStringList documents = InstanceChannel::AbsolutePaths(application.arguments().mid(1));
    InstanceChannel channel;
    if (channel.HandOver(documents))
        return 0;

    FileTypes::AllFiles();
    FileTypes::TextPlain();
    App app;
    app.ConnectApplication(application);

    app.Event_Open();
    if (app.StartupRefused())
        return application.exec();  // ends at once with the exit code asked for

    channel.Listen();
    app.ConnectChannel(channel);
    app.EnableTrayIcon();
    app.OpenDocuments(documents);

    const int exitCode = application.exec();
    app.Event_Close();
    // Closed windows wait for the loop to delete them; it has ended.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Windows still open at this point were never asked to close (the loop
    // was ended from outside); they go before the menu bar they show.
    for (WindowBase* window : WindowList::Windows())
        delete window;
    return exitCode;
}

}  // namespace ostrel
