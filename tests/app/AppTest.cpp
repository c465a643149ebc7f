// The application object: the start-up check and its exit, one transfer
// window per document handed over and none for folders, re-open, the
// application's part of menu enabling, and the error report, both called
// directly and for an exception escaping an event handler.

#include "AppFixture.h"

#include "app/ErrorReport.h"
#include "app/InstanceChannel.h"
#include "app/General_Methods.h"
#include "app/M_AppStore.h"
#include "app/OstrelApplication.h"
#include "app/RuntimeException.h"
#include "controls/FilenameField.h"
#include "platform/gui/OptionKey.h"
#include "window/TFTP_Wnd.h"

#include <QClipboard>
#include <QFileOpenEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <future>
#include <stdexcept>

using namespace ostrel;
using namespace ostrel::test;

namespace ostrel::test {

// Throws from its event handler, the way a fault in any handler would. Not
// in an anonymous namespace: the stack names only symbols it can see.
class Thrower : public QObject {
public:
    enum class Kind { Ostrel, Foreign };
    explicit Thrower(Kind kind) : kind_(kind) {}
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        if (kind_ == Kind::Ostrel)
            throw RuntimeException("the transfer table is inconsistent");
        throw std::runtime_error("foreign fault");
    }

private:
    Kind kind_;
};

}  // namespace ostrel::test

namespace {

QStringList Lines(const QString& text) { return text.split(QLatin1Char('\n')); }

}  // namespace

class AppTest : public QObject {
    Q_OBJECT

private slots:
    void init() { fixture_ = std::make_unique<AppFixture>(); }
    void cleanup() { fixture_.reset(); }

    void startupChecksTheHost_data();
    void startupChecksTheHost();
    void versionQueryRunsOnce();
    void eachDocumentGetsItsOwnWindow();
    void launchWithoutUsableDocumentsOpensOnePlainWindow();
    void documentsOpenRealTransferWindowsSetToSend();
    void reopenOpensAWindowOnlyWhenNoneIsOpen();
    void systemFileOpenAndQuitEventsReachTheApp();
    void laterLaunchesHandTheirDocumentsToTheRunningApp();
    void newAndCloseAllCommands();
    void optionKeySwapsCloseForCloseAll();
    void reportOfAnEmptyMessageIsTheStackAlone();
    void reportShowsFifteenLinesAndCopiesAll();
    void reportRaisedWhileAReportIsShownStacksNoDialog();
    void exceptionEscapingAHandlerIsReportedAndOstrelGoesOn();

private:
    App& app() { return *fixture_->app; }
    const std::vector<MessageDialogRequest>& dialogs() const { return fixture_->dialogs.Messages(); }

    std::unique_ptr<AppFixture> fixture_;
};

void AppTest::startupChecksTheHost_data()
{
    QTest::addColumn<bool>("answers");
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("refusal");

    const QString noVersion = QStringLiteral(
        "Can't get the Mac OS system version. This could indicate a serious problem, so check "
        "your system.");
    const QString tooOld = QStringLiteral("You need at least OS X 10.5 to run this app.");
    QTest::newRow("query fails") << false << 0 << noVersion;
    QTest::newRow("query answers 0") << true << 0 << noVersion;
    QTest::newRow("10.4.15") << true << 0x104F << tooOld;
    QTest::newRow("10.5.0") << true << 0x1050 << QString();
    QTest::newRow("14.2.1") << true << 0x1421 << QString();
}

void AppTest::startupChecksTheHost()
{
    QFETCH(bool, answers);
    QFETCH(int, version);
    QFETCH(QString, refusal);
    fixture_->hostVersion = answers ? std::optional<std::int32_t>(version) : std::nullopt;
    General_Methods::gMenuEnabler.reset();

    app().Event_Open();

    QCOMPARE(app().StartupRefused(), !refusal.isEmpty());
    QCOMPARE(WindowList::WindowCount(), 0);  // the check opens no window
    if (refusal.isEmpty()) {
        QVERIFY(dialogs().empty());
        QVERIFY(fixture_->exitCodes.empty());
        QVERIFY(General_Methods::gMenuEnabler != nullptr);
        return;
    }
    QCOMPARE(dialogs().size(), std::size_t{1});
    const MessageDialogRequest& shown = dialogs()[0];
    QCOMPARE(shown.title, QStringLiteral("Ostrel"));
    QCOMPARE(shown.message, refusal);
    QCOMPARE(shown.actionCaption, QStringLiteral("Quit"));
    QVERIFY(shown.explanation.isEmpty());
    QVERIFY(!shown.cancelVisible && !shown.alternateVisible);
    QCOMPARE(fixture_->exitCodes, std::vector<int>{0});
    QVERIFY(General_Methods::gMenuEnabler == nullptr);
    QCOMPARE(M_AppStore::MacOSVersion(), answers ? version : M_AppStore::UnknownVersion);
}

void AppTest::versionQueryRunsOnce()
{
    int queries = 0;
    M_AppStore::SetVersionQuery([&queries]() -> std::optional<std::int32_t> {
        ++queries;
        return std::nullopt;
    });
    M_AppStore::Init("org.example.Ostrel");
    M_AppStore::Init(std::string());
    QCOMPARE(M_AppStore::MacOSVersion(), M_AppStore::UnknownVersion);
    QCOMPARE(queries, 1);  // a failed query is not repeated
    QCOMPARE(M_AppStore::AppBundleIdentifier, std::string("org.example.Ostrel"));
}

void AppTest::eachDocumentGetsItsOwnWindow()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString first = dir.filePath("router.bin");
    const QString second = dir.filePath("switch config.txt");
    for (const QString& path : {first, second}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("firmware");
    }

    app().Event_OpenDocument(std::make_shared<FolderItem>(dir.path().toStdString()));
    app().Event_OpenDocument(std::make_shared<FolderItem>(dir.filePath("missing").toStdString()));
    app().Event_OpenDocument(nullptr);
    QCOMPARE(WindowList::WindowCount(), 0);

    app().OpenDocuments({first, dir.path(), second});
    const std::vector<StandInTransferWindow*> windows = AppFixture::TransferWindows();
    QCOMPARE(windows.size(), std::size_t{2});
    QStringList sent;
    for (StandInTransferWindow* window : windows) {
        QVERIFY(window->isVisible());
        QVERIFY(window->sendFile);
        sent << QString::fromStdString(window->sendFile->Path().string());
    }
    sent.sort();
    QCOMPARE(sent, (QStringList{first, second}));
    QCOMPARE(Window_Methods::WindowArray.size(), std::size_t{2});
    QVERIFY(dialogs().empty());  // folders and missing files are ignored silently
}

void AppTest::launchWithoutUsableDocumentsOpensOnePlainWindow()
{
    QTemporaryDir dir;
    app().OpenDocuments({dir.path()});
    QCOMPARE(WindowList::WindowCount(), 1);
    QVERIFY(!AppFixture::TransferWindows().front()->sendFile);

    app().OpenDocuments({});  // a later launch without documents, with a window open
    QCOMPARE(WindowList::WindowCount(), 1);
}

void AppTest::documentsOpenRealTransferWindowsSetToSend()
{
    QTemporaryDir dir;
    const QString document = dir.filePath("fw.bin");
    QFile file(document);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("firmware");
    file.close();
    app().SetTransferWindowMaker(App::DefaultTransferWindowMaker());

    app().OpenDocuments({document});
    auto* window = dynamic_cast<TFTP_Wnd*>(WindowList::FrontWindow());
    QVERIFY(window);
    QVERIFY(window->FileFld()->GetFile());
    QCOMPARE(window->FileFld()->GetFile()->Path().string(), document.toStdString());
    QVERIFY(window->windowTitle().contains(QStringLiteral("fw.bin")));
    QCOMPARE(Window_Methods::WindowArray.size(), std::size_t{1});
}

void AppTest::reopenOpensAWindowOnlyWhenNoneIsOpen()
{
    QVERIFY(!app().Event_HandleAppleEvent("aevt", "rApp"));
    QVERIFY(!app().Event_HandleAppleEvent("AEVT", "rapp"));
    QCOMPARE(WindowList::WindowCount(), 0);

    QVERIFY(!app().Event_HandleAppleEvent("aevt", "rapp"));
    QCOMPARE(WindowList::WindowCount(), 1);
    QVERIFY(!app().Event_HandleAppleEvent("aevt", "rapp"));
    QCOMPARE(WindowList::WindowCount(), 1);
}

void AppTest::systemFileOpenAndQuitEventsReachTheApp()
{
    auto* application = qobject_cast<OstrelApplication*>(QCoreApplication::instance());
    app().ConnectApplication(*application);
    QTemporaryDir dir;
    const QString document = dir.filePath("config.txt");
    QFile file(document);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QFileOpenEvent openFolder(dir.path());
    QCoreApplication::sendEvent(application, &openFolder);
    QCOMPARE(WindowList::WindowCount(), 0);
    QFileOpenEvent openFile(document);
    QCoreApplication::sendEvent(application, &openFile);
    QCOMPARE(AppFixture::TransferWindows().size(), std::size_t{1});

    // The system's quit request asks the windows, like File > Quit.
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(application, &quit);
    QCOMPARE(WindowList::WindowCount(), 0);
    QCOMPARE(fixture_->exitCodes, std::vector<int>{0});
}

void AppTest::laterLaunchesHandTheirDocumentsToTheRunningApp()
{
    QTemporaryDir dir;
    const QString document = dir.filePath("startup-config");
    QFile file(document);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    InstanceChannel channel(QStringLiteral("ostrel-apptest-%1").arg(QCoreApplication::applicationPid()));
    QVERIFY(channel.Listen());
    app().ConnectChannel(channel);

    auto laterLaunch = [&channel](const QStringList& documents) {
        std::future<bool> taken = std::async(std::launch::async, [name = channel.ServerName(), documents] {
            return InstanceChannel(name).HandOver(documents);
        });
        while (taken.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return taken.get();
    };
    QVERIFY(laterLaunch({}));  // re-open with no window: one window
    QCOMPARE(WindowList::WindowCount(), 1);
    QVERIFY(laterLaunch({}));  // re-open with a window: nothing
    QCOMPARE(WindowList::WindowCount(), 1);
    QVERIFY(laterLaunch({document}));
    QTRY_COMPARE(WindowList::WindowCount(), 2);
    QCOMPARE(AppFixture::TransferWindows().front()->sendFile->Path().string(), document.toStdString());
}

void AppTest::newAndCloseAllCommands()
{
    MenuBarModel* menu = MenuBarModel::Instance();
    QVERIFY(menu->Choose("FileNew"));
    QVERIFY(menu->Choose("FileNew"));
    QCOMPARE(WindowList::WindowCount(), 2);

    QVERIFY(menu->Dispatch("FileCloseAll", 0));
    QCOMPARE(WindowList::WindowCount(), 0);
    QVERIFY(!Window_Methods::gCloseAllInProgress);
}

void AppTest::optionKeySwapsCloseForCloseAll()
{
    MenuBarModel* menu = MenuBarModel::Instance();
    MenuItem* close = AppFixture::Item("FileClose");
    MenuItem* closeAll = AppFixture::Item("FileCloseAll");
    {
        OptionKey::Scoped option(true);
        menu->RunEnablingPass();
        QVERIFY(!close->Visible());
        QVERIFY(closeAll->Visible());
        QVERIFY(!closeAll->Enabled());  // nothing to close
        QVERIFY(AppFixture::Item("AppleAbout")->Enabled());
        QVERIFY(AppFixture::Item("FileNew")->Enabled());

        app().NewDocument();
        menu->RunEnablingPass();
        QVERIFY(closeAll->Enabled());
    }
    menu->RunEnablingPass();
    QVERIFY(close->Visible());
    QVERIFY(close->Enabled());  // by the window, not by the application
    QVERIFY(!closeAll->Visible());
}

void AppTest::reportOfAnEmptyMessageIsTheStackAlone()
{
    const RuntimeException error(std::string(), {"frame one", "frame two", "frame three"});
    QVERIFY(app().Event_UnhandledException(error));

    QCOMPARE(dialogs().size(), std::size_t{1});
    const MessageDialogRequest& shown = dialogs()[0];
    QCOMPARE(shown.message, QStringLiteral(
        "An unkown error has occured. Please report this to the author. You should probably save "
        "any open documents and restart Ostrel to be on the safe side."));
    QCOMPARE(shown.explanation, QStringLiteral("frame one\nframe two\nframe three"));
    QCOMPARE(shown.icon, DialogIcon::Caution);
    QCOMPARE(shown.alternateCaption, QStringLiteral("&Copy To Clipboard"));
    QVERIFY(shown.alternateVisible);
    QVERIFY(!shown.cancelVisible);
    QVERIFY(shown.title.isEmpty());
}

void AppTest::reportShowsFifteenLinesAndCopiesAll()
{
    std::vector<std::string> stack;
    for (int frame = 1; frame <= 18; ++frame)
        stack.push_back("frame " + std::to_string(frame));
    const RuntimeException error("Index out of range", stack);  // with its blank line: 20 lines
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));

    // Dismissed: the clipboard is left alone.
    QVERIFY(app().Event_UnhandledException(error));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));

    fixture_->dialogs.SetMessageAnswer([](const MessageDialogRequest&) { return DialogButton::Alternate; });
    QVERIFY(app().Event_UnhandledException(error));

    const QString explanation = dialogs().back().explanation;
    QVERIFY(explanation.endsWith(QStringLiteral("frame 13\n")));
    QCOMPARE(Lines(explanation).size(), 16);  // 15 lines, each with its line ending
    QCOMPARE(Lines(explanation).mid(0, 3), (QStringList{"Index out of range", "", "frame 1"}));
    const QString copied = QGuiApplication::clipboard()->text();
    QCOMPARE(Lines(copied).size(), 20);
    QVERIFY(copied.startsWith(explanation));
    QVERIFY(copied.endsWith(QStringLiteral("frame 17\nframe 18")));
}

void AppTest::reportRaisedWhileAReportIsShownStacksNoDialog()
{
    // A fault that recurs in every event the dialog's own loop delivers
    // (a repaint, say) must not pile up dialogs.
    const RuntimeException error("again", {"frame"});
    fixture_->dialogs.SetMessageAnswer([this, &error](const MessageDialogRequest&) {
        app().Event_UnhandledException(error);
        return DialogButton::Action;
    });
    QVERIFY(app().Event_UnhandledException(error));
    QCOMPARE(dialogs().size(), std::size_t{1});
    QVERIFY(!ErrorReport::IsShowing());

    QVERIFY(app().Event_UnhandledException(error));  // the next one is shown again
    QCOMPARE(dialogs().size(), std::size_t{2});
}

void AppTest::exceptionEscapingAHandlerIsReportedAndOstrelGoesOn()
{
    auto* application = qobject_cast<OstrelApplication*>(QCoreApplication::instance());
    QVERIFY(application);
    app().ConnectApplication(*application);
    app().NewDocument();

    Thrower ostrelFault(Thrower::Kind::Ostrel);
    Thrower foreignFault(Thrower::Kind::Foreign);
    QCoreApplication::postEvent(&ostrelFault, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&foreignFault, new QEvent(QEvent::User));
    QTRY_COMPARE(dialogs().size(), std::size_t{2});

    // The stack is the one where the exception was made, so it names the
    // handler that threw.
    const QString ostrelReport = dialogs()[0].explanation;
    QVERIFY(ostrelReport.startsWith(QStringLiteral("the transfer table is inconsistent\n\n")));
    QVERIFY2(ostrelReport.contains(QStringLiteral("Thrower::event")), qPrintable(ostrelReport));
    QVERIFY(dialogs()[1].explanation.startsWith(QStringLiteral("foreign fault\n\n")));
    QVERIFY(Lines(dialogs()[1].explanation).size() > 2);  // the stack where it was caught

    // Ostrel goes on: its window is still there and events still arrive.
    QCOMPARE(WindowList::WindowCount(), 1);
    QTimer later;
    QSignalSpy fired(&later, &QTimer::timeout);
    later.start(0);
    QVERIFY(fired.wait());
}

int main(int argc, char** argv)
{
    OstrelApplication application(argc, argv);
    AppTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AppTest.moc"
