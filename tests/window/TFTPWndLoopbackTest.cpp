// A real transfer window on the real backend against tftpd-hpa on loopback:
// it sends a file to the server and then, in a second window, receives it
// back, both compared byte for byte. Traffic never leaves 127.0.0.1.

#include "app/Menu.h"
#include "controls/FilenameField.h"
#include "controls/IP_Field.h"
#include "controls/PushButton_Glue.h"
#include "controls/TFTP_BBtn.h"
#include "controls/TFTP_Button.h"
#include "platform/gui/DialogResponder.h"
#include "support/TempDir.h"
#include "support/TftpPackets.h"
#include "support/TftpdServer.h"
#include "window/ElidedLabel.h"
#include "window/TFTP_Wnd.h"

#include <QPointer>
#include <QtTest>

#include <memory>

using namespace ostrel;
using testsupport::TempDir;
using testsupport::TftpdServer;

namespace {

constexpr int TransferDeadlineMs = 60000;
const QString Succeeded = QStringLiteral("Transfer completed successfully");

}  // namespace

class TFTPWndLoopbackTest : public QObject {
    Q_OBJECT

private slots:
    void sendsAndReceivesAgainstTftpd();
};

void TFTPWndLoopbackTest::sendsAndReceivesAgainstTftpd()
{
    TftpdServer server;
    Menu menu;
    DialogResponder dialogs;
    TempDir local;
    TempDir fetched;
    // Some hundreds of blocks and a short last one.
    const std::string content = testsupport::packets::Pattern(700 * 512 + 123);
    TempDir::WriteFile(local / "firmware.bin", content);

    std::unique_ptr<TFTP_Wnd> sender(new TFTP_Wnd);
    sender->setAttribute(Qt::WA_DeleteOnClose, false);
    sender->show();
    sender->SetSendFile(std::make_shared<FolderItem>(local / "firmware.bin"));
    sender->AddressFld()->setText(QString::fromStdString(server.ClientAddress()));
    sender->StartBtn()->click();
    QCOMPARE(sender->StartBtn()->text(), QStringLiteral("Stop..."));
    QTRY_COMPARE_WITH_TIMEOUT(sender->ErrorFld()->text(), Succeeded, TransferDeadlineMs);
    QCOMPARE(sender->StartBtn()->text(), QStringLiteral("Close"));
    QCOMPARE(TempDir::ReadFile(server.Root() / "firmware.bin"), content);

    std::unique_ptr<TFTP_Wnd> receiver(new TFTP_Wnd);
    receiver->setAttribute(Qt::WA_DeleteOnClose, false);
    receiver->show();
    receiver->TypeBBtn(TFTP_Wnd::DirectionReceive)->click();
    dialogs.SetFileAnswer([&fetched](const FileDialogRequest&) {
        return std::make_shared<FolderItem>(fetched / "firmware.bin");
    });
    receiver->FileBtn()->click();
    receiver->AddressFld()->setText(QString::fromStdString(server.ClientAddress()));
    receiver->StartBtn()->click();
    QTRY_COMPARE_WITH_TIMEOUT(receiver->ErrorFld()->text(), Succeeded, TransferDeadlineMs);
    QCOMPARE(TempDir::ReadFile(fetched / "firmware.bin"), content);
    QVERIFY(dialogs.Messages().empty());
}

QTEST_MAIN(TFTPWndLoopbackTest)
#include "TFTPWndLoopbackTest.moc"
