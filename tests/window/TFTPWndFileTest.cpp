// How the transfer window gets its file: the block count of a file to send,
// the open dialog in Send mode, the save dialog in Receive mode, the
// Send/Receive switch discarding the file, files dropped on the drop area,
// and a file handed over before the window is shown.

#include "WindowFixture.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QtTest>

#include <filesystem>
#include <limits>
#include <system_error>

using namespace ostrel;
using namespace ostrel::test;

namespace {

const QString InReceiveMode = QStringLiteral("You can't drop a file in Receive mode.");
const QString FolderDropped = QStringLiteral("You can only drop files, not folders or disks.");

// Drags these URLs onto the area and drops them, as a file manager would,
// then lets the window handle the drop.
void Drop(TFTP_Dropper* area, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPoint at(area->width() / 2, area->height() / 2);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &enter);
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &drop);
    QCoreApplication::sendPostedEvents();
}

}  // namespace

class TFTPWndFileTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowWorld>(); }
    void cleanup() { world_.reset(); }

    void fileBlocksFollowTheLength_data();
    void fileBlocksFollowTheLength();
    void hugeFileIsCountedWithoutOverflow();
    void openDialogTakesOnlyExistingFiles_data();
    void openDialogTakesOnlyExistingFiles();
    void saveDialogNamesTheFileToReceive();
    void switchingDirectionDiscardsTheFile();
    void drops_data();
    void drops();
    void fileHandedOverBeforeShowing();

private:
    std::unique_ptr<WindowWorld> world_;
};

void TFTPWndFileTest::fileBlocksFollowTheLength_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("blocks");
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("one block") << 512 << 1;
    QTest::newRow("one byte more") << 513 << 2;
    QTest::newRow("three blocks") << 1536 << 3;
}

void TFTPWndFileTest::fileBlocksFollowTheLength()
{
    QFETCH(int, bytes);
    QFETCH(int, blocks);
    ProbeWnd* w = world_->Open();
    w->SetSendFile(world_->MakeFile("fw.bin", std::string(std::size_t(bytes), 'x')));
    QCOMPARE(w->FileBlocks, std::int64_t(blocks));
    QCOMPARE(w->TransferPBar()->maximum(), blocks);
}

void TFTPWndFileTest::hugeFileIsCountedWithoutOverflow()
{
    // 4 TiB and one byte, as a sparse file: more blocks than 32 bits hold.
    constexpr std::uint64_t bytes = (std::uint64_t(1) << 42) + 1;
    const auto path = world_->files / "disk.img";
    testsupport::TempDir::WriteFile(path, "");
    std::error_code error;
    std::filesystem::resize_file(path, bytes, error);
    if (error)
        QSKIP("The file system here has no room for a sparse file of 4 TiB.");

    ProbeWnd* w = world_->Open();
    w->SetSendFile(world_->FileAt(path));
    QCOMPARE(w->FileBlocks, std::int64_t((std::uint64_t(1) << 33) + 1));
    QVERIFY(w->TransferPBar()->maximum() > std::numeric_limits<int>::max() / 2);
    QCOMPARE(w->windowTitle(), QStringLiteral("TFTP Send: disk.img"));
}

void TFTPWndFileTest::openDialogTakesOnlyExistingFiles_data()
{
    QTest::addColumn<QString>("second");
    QTest::newRow("cancelled") << "";
    QTest::newRow("a folder") << "folder";
    QTest::newRow("a missing file") << "missing.bin";
}

void TFTPWndFileTest::openDialogTakesOnlyExistingFiles()
{
    QFETCH(QString, second);
    ProbeWnd* w = world_->Open();
    world_->AnswerFileDialogs(world_->MakeFile("fw.bin", std::string(600, 'x')));
    w->FileBtn()->click();
    QCOMPARE(w->FileFld()->text(), QStringLiteral("fw.bin"));
    QCOMPARE(w->windowTitle(), QStringLiteral("TFTP Send: fw.bin"));
    QCOMPARE(w->FileBlocks, std::int64_t(2));
    const FileDialogRequest& request = world_->dialogs.FileRequests().front();
    QCOMPARE(request.kind, FileDialogKind::Open);
    QCOMPARE(request.filter, QStringLiteral("All Files (*)"));

    std::filesystem::create_directory(world_->files / "folder");
    world_->AnswerFileDialogs(second.isEmpty() ? nullptr : world_->FileAt(world_->files / second.toStdString()));
    w->FileBtn()->click();
    QCOMPARE(world_->dialogs.FileRequests().size(), std::size_t(2));
    QCOMPARE(w->FileFld()->text(), QStringLiteral("fw.bin"));
    QCOMPARE(w->windowTitle(), QStringLiteral("TFTP Send: fw.bin"));
    QCOMPARE(w->FileBlocks, std::int64_t(2));
}

void TFTPWndFileTest::saveDialogNamesTheFileToReceive()
{
    ProbeWnd* w = world_->Open();
    w->SetSendFile(world_->MakeFile("fw.bin", std::string(5000, 'x')));
    w->TypeBBtn(TFTP_Wnd::DirectionReceive)->click();

    // A name that does not exist yet is what the save dialog is for.
    world_->AnswerFileDialogs(world_->FileAt(world_->files / "startup-config"));
    w->FileBtn()->click();
    QCOMPARE(w->FileFld()->text(), QStringLiteral("startup-config"));
    QCOMPARE(w->windowTitle(), QStringLiteral("TFTP Receive: startup-config"));
    QVERIFY(w->StartBtn()->isEnabled());
    QCOMPARE(w->TransferPBar()->maximum(), 0);
    QCOMPARE(w->FileBlocks, std::int64_t(10));  // left from the file to send

    world_->AnswerFileDialogs(nullptr);
    w->FileBtn()->click();
    QCOMPARE(w->FileFld()->text(), QStringLiteral("startup-config"));

    const auto& requests = world_->dialogs.FileRequests();
    QCOMPARE(requests.size(), std::size_t(2));
    QCOMPARE(requests[0].kind, FileDialogKind::Save);
    QCOMPARE(requests[0].filter, QStringLiteral("Text Files (*.asc *.ascii *.text *.txt)"));
    QCOMPARE(requests[0].defaultName, QStringLiteral("Type the filename exactly"));
    QCOMPARE(requests[1].defaultName, QStringLiteral("startup-config"));
}

void TFTPWndFileTest::switchingDirectionDiscardsTheFile()
{
    ProbeWnd* w = world_->ReadyToSend("fw.bin", "data");
    TFTP_BBtn* send = w->TypeBBtn(TFTP_Wnd::DirectionSend);
    TFTP_BBtn* receive = w->TypeBBtn(TFTP_Wnd::DirectionReceive);

    receive->click();
    QCOMPARE(w->TransferType, TFTP_Wnd::DirectionReceive);
    QCOMPARE(w->FileFld()->text(), QStringLiteral("No file selected"));
    QCOMPARE(w->windowTitle(), QStringLiteral("TFTP Receive: No file selected"));
    QVERIFY(!w->StartBtn()->isEnabled());
    QVERIFY(receive->Value() && !send->Value());

    // Pressing the current direction again changes nothing.
    world_->AnswerFileDialogs(world_->FileAt(world_->files / "running-config"));
    w->FileBtn()->click();
    receive->click();
    QCOMPARE(w->FileFld()->text(), QStringLiteral("running-config"));
    QVERIFY(receive->Value() && !send->Value());

    send->click();
    QCOMPARE(w->TransferType, TFTP_Wnd::DirectionSend);
    QCOMPARE(w->windowTitle(), QStringLiteral("TFTP Send: No file selected"));
    QVERIFY(send->Value() && !receive->Value());
}

void TFTPWndFileTest::drops_data()
{
    // Entries: a name is a file, "folder/" a folder, "http..." a web link.
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("taken");
    const QStringList none;
    QTest::newRow("send, a file") << "send" << QStringList{"new.bin"} << none << "new.bin";
    QTest::newRow("send, a folder") << "send" << QStringList{"folder/"} << QStringList{FolderDropped}
                                    << "earlier.bin";
    QTest::newRow("send, two folders then files")
        << "send" << QStringList{"folder/", "other/", "new.bin", "later.bin"}
        << QStringList{FolderDropped, FolderDropped} << "new.bin";
    QTest::newRow("send, a web link then a file")
        << "send" << QStringList{"https://example.com/fw.bin", "new.bin"} << none << "new.bin";
    QTest::newRow("receive, a file") << "receive" << QStringList{"new.bin"} << QStringList{InReceiveMode}
                                     << "No file selected";
    QTest::newRow("receive, a folder") << "receive" << QStringList{"folder/"} << QStringList{InReceiveMode}
                                       << "No file selected";
    QTest::newRow("running") << "running" << QStringList{"new.bin", "folder/"} << none << "earlier.bin";
    QTest::newRow("finished") << "finished" << QStringList{"new.bin"} << none << "new.bin";
}

void TFTPWndFileTest::drops()
{
    QFETCH(QString, state);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, messages);
    QFETCH(QString, taken);
    ProbeWnd* w = world_->ReadyToSend("earlier.bin", std::string(3000, 'e'));
    if (state == "receive")
        w->TypeBBtn(TFTP_Wnd::DirectionReceive)->click();
    if (state == "running" || state == "finished") {
        w->StartBtn()->click();
        if (state == "finished")
            world_->Tick();
    }
    const QString title = w->windowTitle();
    const int status = w->TransferStatus;
    QList<QUrl> urls;
    for (const QString& entry : entries) {
        if (entry.startsWith("http")) {
            urls << QUrl(entry);
        } else if (entry.endsWith('/')) {
            std::filesystem::create_directory(world_->files / entry.chopped(1).toStdString());
            urls << QUrl::fromLocalFile(QString::fromStdString((world_->files / entry.chopped(1).toStdString()).string()));
        } else {
            world_->MakeFile(entry.toStdString(), std::string(100, 'n'));
            urls << QUrl::fromLocalFile(QString::fromStdString((world_->files / entry.toStdString()).string()));
        }
    }

    Drop(w->FileDropper(), urls);
    QCOMPARE(world_->Messages(), messages);
    QCOMPARE(w->FileFld()->text(), taken);
    QCOMPARE(w->TransferStatus, status);
    if (state != "send") {
        QCOMPARE(w->windowTitle(), title);
        return;
    }
    QCOMPARE(w->windowTitle(), "TFTP Send: " + taken);
    QCOMPARE(w->FileBlocks, std::int64_t(taken == "new.bin" ? 1 : 6));
}

void TFTPWndFileTest::fileHandedOverBeforeShowing()
{
    // As the application does for a document it was asked to open.
    auto w = std::make_unique<ProbeWnd>();
    w->SetSendFile(world_->MakeFile("image.bin", std::string(1025, 'i')));
    w->show();
    QCOMPARE(w->TransferType, TFTP_Wnd::DirectionSend);
    QCOMPARE(w->FileFld()->text(), QStringLiteral("image.bin"));
    QCOMPARE(w->windowTitle(), QStringLiteral("TFTP Send: image.bin"));
    QCOMPARE(w->FileBlocks, std::int64_t(3));
    QVERIFY(w->StartBtn()->isEnabled());
}

QTEST_MAIN(TFTPWndFileTest)
#include "TFTPWndFileTest.moc"
