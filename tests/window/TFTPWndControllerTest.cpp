// The transfer window's controller on the simulated clock and network: each
// state's look, every transition, the progress and outcome texts, Stop and
// close with their question, starting again, server texts as plain text, and
// windows transferring side by side.

#include "WindowFixture.h"

#include "platform/gui/ApplicationQuit.h"
#include "platform/gui/MenuBarModel.h"
#include "support/TftpPackets.h"
#include "window/ServerText.h"

#include <QLocale>
#include <QtTest>

#include <cerrno>

using namespace ostrel;
using namespace ostrel::test;
namespace pk = ostrel::testsupport::packets;

namespace {

const QString StartHelp = QStringLiteral("This will start the transfer.");
const QString DisabledHelp = StartHelp + QStringLiteral(
    "\n\nIt is disabled because you have not chosen a file or set an address.");
const QString StopHelp = QStringLiteral("This will abort the transfer in progress.");
const QString CloseHelp = QStringLiteral("This will close the window.");
const QString Succeeded = QStringLiteral("Transfer completed successfully");

// Everything the state decides, one entry per aspect, so that a comparison
// names what differs.
QStringList LookOf(const TFTP_Wnd& w)
{
    const bool dimmed = w.AddressFld()->isReadOnly() && w.PasswordFld()->isReadOnly() &&
                        !w.FileBtn()->isEnabled() && !w.FileFld()->isEnabled() &&
                        !w.TypeBBtn(0)->isEnabled() && !w.TypeBBtn(1)->isEnabled();
    const bool usable = !w.AddressFld()->isReadOnly() && !w.PasswordFld()->isReadOnly() &&
                        w.FileBtn()->isEnabled() && w.FileFld()->isEnabled() &&
                        w.TypeBBtn(0)->isEnabled() && w.TypeBBtn(1)->isEnabled();
    QStringList look{w.StartBtn()->text(), w.StartBtn()->isEnabled() ? "enabled" : "disabled",
                     w.StartBtn()->toolTip(), dimmed ? "dimmed" : usable ? "usable" : "partly dimmed"};
    if (Shown(w.TransferPBar()))
        look << "bar";
    if (Shown(w.OutputFld()))
        look << "progress";
    if (Shown(w.ErrorFld()))
        look << "outcome: " + w.ErrorFld()->text();
    look << w.windowTitle();
    return look;
}

QStringList Idle(const QString& title) { return {"Start", "disabled", DisabledHelp, "usable", title}; }
QStringList Ready(const QString& title) { return {"Start", "enabled", StartHelp, "usable", title}; }
QStringList Running(const QString& title)
{
    return {"Stop...", "enabled", StopHelp, "dimmed", "bar", "progress", title};
}
QStringList Finished(const QString& title)
{
    return {"Close", "enabled", CloseHelp, "dimmed", "outcome: " + Succeeded, title};
}
QStringList Failed(const QString& reason, const QString& title, bool startEnabled = true)
{
    return {"Start", startEnabled ? "enabled" : "disabled", startEnabled ? StartHelp : DisabledHelp,
            "usable", "outcome: Error: " + reason, title};
}

const QString SendTitle = QStringLiteral("TFTP Send: fw.bin");

}  // namespace

class TFTPWndControllerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() { world_ = std::make_unique<WindowWorld>(); }
    void cleanup() { world_.reset(); }

    void startFollowsFileAndAddress();
    void failedWindowKeepsItsOutcomeWhileSettingsChange();
    void transferEndsFinished_data();
    void transferEndsFinished();
    void transferEndsFailed_data();
    void transferEndsFailed();
    void progressShowsTheBlockCounter_data();
    void progressShowsTheBlockCounter();
    void stopAsksFirst_data();
    void stopAsksFirst();
    void stopAfterTheEndKeepsTheOutcome_data();
    void stopAfterTheEndKeepsTheOutcome();
    void closeDuringATransferAsksFirst_data();
    void closeDuringATransferAsksFirst();
    void closeWithoutATransferAsksNothing_data();
    void closeWithoutATransferAsksNothing();
    void startAgainReplacesTheEndedTransfer();
    void serverTextIsShownAsPlainText();
    void serverTextIsMadeSafeToShow_data();
    void serverTextIsMadeSafeToShow();
    void windowsTransferSideBySide();

private:
    std::unique_ptr<WindowWorld> world_;
};

void TFTPWndControllerTest::startFollowsFileAndAddress()
{
    ProbeWnd* w = world_->Open();
    QCOMPARE(LookOf(*w), Idle("TFTP Send: No file selected"));

    // The initial address text counts as an address.
    w->SetSendFile(world_->MakeFile("fw.bin", "data"));
    QCOMPARE(LookOf(*w), Ready(SendTitle));

    w->AddressFld()->clear();
    QCOMPARE(LookOf(*w), Idle(SendTitle));
    QTest::keyClicks(w->AddressFld(), QStringLiteral("r"));
    QCOMPARE(LookOf(*w), Ready(SendTitle));

    w->TypeBBtn(TFTP_Wnd::DirectionReceive)->click();
    QCOMPARE(LookOf(*w), Idle("TFTP Receive: No file selected"));
}

void TFTPWndControllerTest::failedWindowKeepsItsOutcomeWhileSettingsChange()
{
    ProbeWnd* w = world_->ReadyToSend("fw.bin", "data");
    w->AddressFld()->setText(QStringLiteral("Server Name or Address"));
    w->StartBtn()->click();
    world_->Tick();
    const QString reason = QStringLiteral("Couldn't resolve address");
    QCOMPARE(LookOf(*w), Failed(reason, SendTitle));

    w->AddressFld()->clear();
    QCOMPARE(LookOf(*w), Failed(reason, SendTitle, false));
    w->AddressFld()->setText(ServerAddress);
    QCOMPARE(LookOf(*w), Failed(reason, SendTitle));
    w->TypeBBtn(TFTP_Wnd::DirectionReceive)->click();
    QCOMPARE(LookOf(*w), Failed(reason, "TFTP Receive: No file selected", false));
    QCOMPARE(w->TransferStatus, TFTP_Wnd::StatusFailed);
}

void TFTPWndControllerTest::transferEndsFinished_data()
{
    QTest::addColumn<bool>("send");
    QTest::newRow("send") << true;
    QTest::newRow("receive") << false;
}

void TFTPWndControllerTest::transferEndsFinished()
{
    QFETCH(bool, send);
    const std::string content = pk::Pattern(3 * 512 + 100);
    ProbeWnd* w = nullptr;
    if (send) {
        w = world_->ReadyToSend("fw.bin", content);
    } else {
        world_->server.SetFile("fw.bin", content);
        w = world_->ReadyToReceive("fw.bin");
    }
    const QString title = w->windowTitle();
    QCOMPARE(title, QString(send ? "TFTP Send: fw.bin" : "TFTP Receive: fw.bin"));

    w->StartBtn()->click();
    QCOMPARE(LookOf(*w), Running(title));
    QCOMPARE(w->ProgressUpdater()->Mode(), Timer::ModeMultiple);
    // The receiving side lingers one retransmission period before it is done.
    world_->Tick(4);
    QCOMPARE(LookOf(*w), Finished(title));
    QCOMPARE(w->ProgressUpdater()->Mode(), Timer::ModeOff);
    if (send)
        QCOMPARE(world_->server.File("fw.bin").value_or(""), content);
    else
        QCOMPARE(testsupport::TempDir::ReadFile(world_->files / "fw.bin"), content);

    // Only closing is left, and it asks nothing.
    QPointer<ProbeWnd> guard(w);
    w->StartBtn()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull());
    QVERIFY(world_->dialogs.Messages().empty());
}

void TFTPWndControllerTest::transferEndsFailed_data()
{
    QTest::addColumn<bool>("send");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("reason");
    QTest::newRow("server error") << false << ServerAddress << 1 << "File not found.";
    QTest::newRow("no response") << true << "10.0.0.9" << 18 << "No response from server.";
    QTest::newRow("address does not resolve") << true << "Server Name or Address" << 1
                                              << "Couldn't resolve address";
}

void TFTPWndControllerTest::transferEndsFailed()
{
    QFETCH(bool, send);
    QFETCH(QString, address);
    QFETCH(int, ticks);
    QFETCH(QString, reason);
    ProbeWnd* w = send ? world_->ReadyToSend("fw.bin", "data") : world_->ReadyToReceive("fw.bin");
    w->AddressFld()->setText(address);
    const QString title = w->windowTitle();
    w->StartBtn()->click();

    world_->Tick(ticks - 1);
    QCOMPARE(LookOf(*w), Running(title));
    world_->Tick();
    QCOMPARE(LookOf(*w), Failed(reason, title));
    QCOMPARE(w->ProgressUpdater()->Mode(), Timer::ModeOff);
}

void TFTPWndControllerTest::progressShowsTheBlockCounter_data()
{
    QTest::addColumn<bool>("send");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("total");
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    QTest::newRow("send, en_US") << true << us << " of 4,000";
    QTest::newRow("send, de_DE") << true << german << " of 4.000";
    QTest::newRow("receive, en_US") << false << us << "";
}

void TFTPWndControllerTest::progressShowsTheBlockCounter()
{
    QFETCH(bool, send);
    QFETCH(QLocale, locale);
    QFETCH(QString, total);
    QLocale::setDefault(locale);
    const std::string content = pk::Pattern(4000 * 512);
    ProbeWnd* w = nullptr;
    if (send) {
        w = world_->ReadyToSend("fw.bin", content);
    } else {
        world_->server.SetFile("fw.bin", content);
        w = world_->ReadyToReceive("fw.bin");
    }
    QCOMPARE(w->FileBlocks, std::int64_t(send ? 4000 : 0));
    world_->world.SetLatency(1);  // 500 blocks a second
    w->StartBtn()->click();
    world_->Tick(3);
    world_->world.SetDropRate(1.0, 1);  // the network goes quiet: the counter stands
    world_->Tick();

    const std::int64_t block = w->Transfer()->GetLastBlock();
    QVERIFY2(block > 1000 && block < 4000, qPrintable(QString::number(block)));
    const QString counted = locale.toString(static_cast<qlonglong>(block));
    QVERIFY(counted.size() > QString::number(block).size());  // grouped
    QCOMPARE(w->OutputFld()->text(), (send ? "Sent block " : "Received block ") + counted + total);
    if (send) {
        QCOMPARE(w->TransferPBar()->maximum(), 4000);
        QCOMPARE(w->TransferPBar()->value(), int(block));
    } else {
        QCOMPARE(w->TransferPBar()->maximum(), 0);
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TFTPWndControllerTest::stopAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void TFTPWndControllerTest::stopAsksFirst()
{
    QFETCH(bool, yes);
    const std::string content = pk::Pattern(2000 * 512);
    ProbeWnd* w = world_->ReadyToSend("fw.bin", content);
    world_->world.SetLatency(1);
    w->StartBtn()->click();
    world_->Tick();
    world_->AnswerQuestions(yes);

    w->StartBtn()->click();
    QCOMPARE(world_->Messages(), QStringList{AbortQuestion});
    const MessageDialogRequest& question = world_->dialogs.Messages().front();
    QCOMPARE(question.actionCaption, QStringLiteral("Yes"));
    QCOMPARE(question.cancelCaption, QStringLiteral("No"));
    if (!yes) {
        QCOMPARE(LookOf(*w), Running(SendTitle));
        world_->Tick(4);
        QCOMPARE(LookOf(*w), Finished(SendTitle));
        QCOMPARE(world_->server.File("fw.bin").value_or(""), content);
        return;
    }
    QCOMPARE(w->TransferStatus, TFTP_Wnd::StatusIdle);
    QCOMPARE(LookOf(*w), Ready(SendTitle));
    world_->Tick();
    QCOMPARE(LookOf(*w), Failed("Aborted", SendTitle));
    QVERIFY(!world_->server.File("fw.bin"));
}

void TFTPWndControllerTest::stopAfterTheEndKeepsTheOutcome_data()
{
    QTest::addColumn<bool>("tickDuringQuestion");
    QTest::newRow("ended before the question") << false;
    QTest::newRow("ended while the question was open") << true;
}

void TFTPWndControllerTest::stopAfterTheEndKeepsTheOutcome()
{
    QFETCH(bool, tickDuringQuestion);
    ProbeWnd* w = world_->ReadyToSend("fw.bin", "small");
    w->StartBtn()->click();
    world_->world.RunUntilIdle();  // done, but not yet seen by a tick
    QCOMPARE(w->Transfer()->GetStage(), TransferStage::Succeeded);
    world_->dialogs.SetMessageAnswer([&](const MessageDialogRequest&) {
        // A real dialog keeps the event loop, and so the poll, running.
        if (tickDuringQuestion)
            world_->Tick();
        return DialogButton::Action;
    });

    w->StartBtn()->click();
    QCOMPARE(world_->Messages(), QStringList{AbortQuestion});
    world_->Tick();
    QCOMPARE(LookOf(*w), Finished(SendTitle));
}

void TFTPWndControllerTest::closeDuringATransferAsksFirst_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("yes");
    for (const char* how : {"close box", "File > Close", "Quit"}) {
        QTest::addRow("%s, Yes", how) << how << true;
        QTest::addRow("%s, No", how) << how << false;
    }
}

void TFTPWndControllerTest::closeDuringATransferAsksFirst()
{
    QFETCH(QString, how);
    QFETCH(bool, yes);
    const std::string content = pk::Pattern(2000 * 512);
    QPointer<ProbeWnd> w = world_->ReadyToSend("fw.bin", content);
    world_->world.SetLatency(1);
    w->StartBtn()->click();
    world_->Tick();
    world_->AnswerQuestions(yes);
    int exits = 0;
    const auto previousExit = ApplicationQuit::SetExitHandler([&exits](int) { ++exits; });

    if (how == "close box")
        w->close();
    else if (how == "File > Close")
        QVERIFY(MenuBarModel::Instance()->Choose("FileClose"));
    else
        ApplicationQuit::Request();
    ApplicationQuit::SetExitHandler(previousExit);
    QCOMPARE(world_->Messages(), QStringList{AbortQuestion});
    QCOMPARE(exits, how == "Quit" && yes ? 1 : 0);

    if (yes) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(w.isNull());
        // The transfer is gone with its socket: nothing more goes out.
        QVERIFY(world_->world.BoundPorts().empty());
        world_->world.TakeSent();
        world_->Tick(10);
        QVERIFY(world_->world.TakeSent().empty());
        QVERIFY(Window_Methods::WindowArray.empty());
        return;
    }
    QVERIFY(!w.isNull() && w->isVisible());
    QCOMPARE(LookOf(*w), Running(SendTitle));
    world_->Tick(4);
    QCOMPARE(LookOf(*w), Finished(SendTitle));
}

void TFTPWndControllerTest::closeWithoutATransferAsksNothing_data()
{
    QTest::addColumn<QString>("state");
    for (const char* state : {"idle", "ready", "failed", "finished", "stopped, not yet failed"})
        QTest::newRow(state) << state;
}

void TFTPWndControllerTest::closeWithoutATransferAsksNothing()
{
    QFETCH(QString, state);
    QPointer<ProbeWnd> w;
    if (state == "idle") {
        w = world_->Open();
    } else if (state == "stopped, not yet failed") {
        w = world_->ReadyToSend("fw.bin", pk::Pattern(2000 * 512));
        world_->world.SetLatency(1);
        w->StartBtn()->click();
        world_->Tick();
        world_->AnswerQuestions(true);
        w->StartBtn()->click();
        QCOMPARE(w->TransferStatus, TFTP_Wnd::StatusIdle);
    } else {
        w = world_->ReadyToSend("fw.bin", "data");
        if (state == "failed")
            w->AddressFld()->setText(QStringLiteral("Server Name or Address"));
        if (state != "ready") {
            w->StartBtn()->click();
            world_->Tick();
        }
    }
    const auto asked = world_->dialogs.Messages().size();

    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.isNull());
    QCOMPARE(world_->dialogs.Messages().size(), asked);
}

void TFTPWndControllerTest::startAgainReplacesTheEndedTransfer()
{
    ProbeWnd* w = world_->ReadyToSend("fw.bin", "first choice");
    w->AddressFld()->setText(QStringLiteral("10.0.0.9"));
    w->StartBtn()->click();
    world_->world.Advance(1);
    const std::shared_ptr<TFTP_Base> old = w->Transfer();
    QVERIFY(old->IsConnected());
    world_->Tick(18);
    QCOMPARE(w->TransferStatus, TFTP_Wnd::StatusFailed);

    // New settings for the second try.
    w->SetSendFile(world_->MakeFile("cfg.txt", "second choice"));
    w->AddressFld()->setText(ServerAddress);
    w->PasswordFld()->setText(QStringLiteral("s3cret"));
    QVERIFY(MenuBarModel::Instance()->Choose("OptionsTransferType", 1));
    w->StartBtn()->click();
    QVERIFY(!old->IsConnected());
    QVERIFY(w->Transfer() != old);
    world_->Tick();

    QCOMPARE(LookOf(*w), Finished("TFTP Send: cfg.txt"));
    const auto& request = world_->server.Requests().back();
    QCOMPARE(request.fileName, std::string("cfg.txt"));
    QCOMPARE(request.password, std::string("s3cret"));
    QCOMPARE(request.mode, std::string("netascii"));
    QCOMPARE(world_->server.File("cfg.txt").value_or(""), std::string("second choice"));
}

void TFTPWndControllerTest::serverTextIsShownAsPlainText()
{
    const std::string text = "<b>Denied</b> by policy <a href=\"x\">see</a>, " + std::string(300, 'x');
    const std::string errorServer = "10.0.0.3";
    world_->world.AddPeer(errorServer, 69, [&](const sim::SentDatagram& d) {
        world_->world.Inject(errorServer, 4000, d.fromPort, pk::Error(2, text));
    });
    ProbeWnd* w = world_->ReadyToSend("fw.bin", "data");
    w->AddressFld()->setText(QString::fromStdString(errorServer));
    w->StartBtn()->click();
    world_->Tick();

    ElidedLabel* outcome = w->ErrorFld();
    QCOMPARE(outcome->text(), "Error: " + QString::fromStdString(text));
    QCOMPARE(outcome->textFormat(), Qt::PlainText);
    // A long text stays in its strip, cut, and whole in the tool tip.
    QCOMPARE(outcome->geometry(), QRect(5, 185, 305, 18));
    QVERIFY(outcome->IsElided());
    QVERIFY(outcome->fontMetrics().horizontalAdvance(outcome->ShownText()) <= outcome->width());
    QVERIFY(outcome->FullTextTip().contains("&lt;b&gt;Denied&lt;/b&gt;"));
    QVERIFY(outcome->FullTextTip().contains(QString(300, 'x')));
    QVERIFY(!w->ErrorFld()->FullTextTip().contains("<b>"));

    // A short one is shown whole, with no tip.
    w->AddressFld()->setText(QStringLiteral("Server Name or Address"));
    w->StartBtn()->click();
    world_->Tick();
    QVERIFY(!outcome->IsElided());
    QVERIFY(outcome->FullTextTip().isEmpty());
}

void TFTPWndControllerTest::serverTextIsMadeSafeToShow_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    const QString bad(QChar::ReplacementCharacter);
    QTest::newRow("UTF-8") << QByteArray("Datei nicht gefunden \xC3\xBC") << QString::fromUtf8("Datei nicht gefunden \u00FC");
    QTest::newRow("invalid UTF-8") << QByteArray("bad \xFF byte") << "bad " + bad + " byte";
    QTest::newRow("line breaks and tabs") << QByteArray("one\r\ntwo\tthree") << "one  two three";
    QTest::newRow("other control characters") << QByteArray("bell\x07\x1B[2J") << "bell" + bad + bad + "[2J";
    QTest::newRow("direction override") << QByteArray("txt.\xE2\x80\xAE" "exe") << "txt." + bad + "exe";
    QTest::newRow("ends at the zero byte") << QByteArray("Disk full\0padding", 17) << "Disk full";
}

void TFTPWndControllerTest::serverTextIsMadeSafeToShow()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QCOMPARE(ServerText::ForDisplay(bytes.toStdString()), shown);
}

void TFTPWndControllerTest::windowsTransferSideBySide()
{
    const std::string a = pk::Pattern(1500 * 512, 1);
    const std::string b = pk::Pattern(1500 * 512, 2);
    const std::string c = pk::Pattern(1500 * 512 + 7, 3);
    ProbeWnd* stopped = world_->ReadyToSend("a.bin", a);
    QPointer<ProbeWnd> closed = world_->ReadyToSend("b.bin", b);
    ProbeWnd* goesOn = world_->ReadyToSend("c.bin", c);
    world_->world.SetLatency(1);
    for (ProbeWnd* w : {stopped, closed.data(), goesOn})
        w->StartBtn()->click();
    world_->Tick();
    world_->AnswerQuestions(true);

    stopped->StartBtn()->click();
    closed->close();
    QCOMPARE(world_->Messages(), (QStringList{AbortQuestion, AbortQuestion}));
    QCOMPARE(LookOf(*goesOn), Running("TFTP Send: c.bin"));
    world_->Tick();
    QCOMPARE(LookOf(*stopped), Failed("Aborted", "TFTP Send: a.bin"));
    QCOMPARE(LookOf(*goesOn), Running("TFTP Send: c.bin"));
    world_->Tick(3);
    QCOMPARE(LookOf(*goesOn), Finished("TFTP Send: c.bin"));
    QCOMPARE(world_->server.File("c.bin").value_or(""), c);
    QVERIFY(!world_->server.File("a.bin"));
    QVERIFY(!world_->server.File("b.bin"));
    QCOMPARE(world_->server.CompletedTransfers(), 1);
}

QTEST_MAIN(TFTPWndControllerTest)
#include "TFTPWndControllerTest.moc"
