// Renders the transfer window off screen in three states, new, running and
// failed, as new.png, running.png and failed.png, and the About window on its
// "About" tab as about.png, in the folder given as the only argument. The transfers run in the simulated network against a tiny
// server played here, on the virtual clock, so every picture comes out the
// same. Each picture gets a plain title bar drawn above the window, since an
// off-screen window has no frame of its own.

#include "app/About_Wnd.h"
#include "app/Menu.h"
#include "controls/IP_Field.h"
#include "controls/PushButton_Glue.h"
#include "controls/TFTP_BBtn.h"
#include "controls/TFTP_Button.h"
#include "platform/gui/DialogResponder.h"
#include "platform/sim/SimWorld.h"
#include "window/TFTP_Wnd.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <string>

using namespace ostrel;

namespace {

constexpr const char* ServerName = "router.lan";
constexpr const char* ServerAddress = "10.0.0.2";
constexpr int RequestPort = 69;
constexpr int TransferPort = 3456;
constexpr int OpRead = 1;
constexpr int OpWrite = 2;
constexpr int OpData = 3;
constexpr int OpAck = 4;
constexpr int OpError = 5;
constexpr int ErrorFileNotFound = 1;
// The running picture: the server stops answering at this block of the file.
constexpr int StalledAtBlock = 1234;
constexpr std::size_t SentFileBytes = 2048 * 512;
constexpr int PollMs = 1000;

constexpr int TitleBarHeight = 26;
constexpr int FrameWidth = 1;

std::string Packet(int opcode, int number, const std::string& rest = {})
{
    return std::string{'\0', static_cast<char>(opcode), static_cast<char>(number / 256),
                       static_cast<char>(number % 256)} + rest;
}

int NumberOf(const std::string& packet)
{
    return packet.size() < 4 ? -1 : static_cast<unsigned char>(packet[2]) * 256 + static_cast<unsigned char>(packet[3]);
}

// Takes uploads until StalledAtBlock and refuses every download.
void PlayServer(sim::SimWorld& world)
{
    world.AddName(ServerName, ServerAddress);
    world.AddPeer(ServerAddress, RequestPort, [&world](const sim::SentDatagram& d) {
        if (d.data.size() < 2)
            return;
        if (d.data[1] == OpWrite)
            world.Inject(ServerAddress, TransferPort, d.fromPort, Packet(OpAck, 0));
        else if (d.data[1] == OpRead)
            world.Inject(ServerAddress, TransferPort, d.fromPort,
                         Packet(OpError, ErrorFileNotFound, std::string("File not found", 15)));
    });
    world.AddPeer(ServerAddress, TransferPort, [&world](const sim::SentDatagram& d) {
        const int block = NumberOf(d.data);
        if (d.data.size() >= 2 && d.data[1] == OpData && block < StalledAtBlock)
            world.Inject(ServerAddress, TransferPort, d.fromPort, Packet(OpAck, block));
    });
}

TFTP_Wnd* NewWindow()
{
    auto* window = new TFTP_Wnd;
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    return window;
}

void TypeAddress(TFTP_Wnd& window, const QString& address)
{
    window.AddressFld()->setText(address);
}

QImage Framed(QWidget& window)
{
    const QPixmap content = window.grab();
    QImage picture(content.width() + 2 * FrameWidth, content.height() + TitleBarHeight + FrameWidth,
                   QImage::Format_ARGB32_Premultiplied);
    picture.fill(QColor(0x8a, 0x8a, 0x8a));
    QPainter painter(&picture);
    const QRect bar(FrameWidth, FrameWidth, content.width(), TitleBarHeight - FrameWidth);
    QLinearGradient shade(bar.topLeft(), bar.bottomLeft());
    shade.setColorAt(0, QColor(0xf0, 0xf0, 0xf0));
    shade.setColorAt(1, QColor(0xd6, 0xd6, 0xd6));
    painter.fillRect(bar, shade);
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.setPen(QColor(0x30, 0x30, 0x30));
    painter.drawText(bar, Qt::AlignCenter, window.windowTitle());
    painter.drawText(bar.adjusted(0, 0, -8, 0), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("\u00D7"));
    painter.drawPixmap(FrameWidth, TitleBarHeight, content);
    return picture;
}

bool Save(QWidget& window, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name);
    if (!Framed(window).save(path, "PNG")) {
        std::fprintf(stderr, "ostrel_pictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: ostrel_pictures OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "ostrel_pictures: cannot make %s\n", argv[1]);
        return 1;
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    sim::SimWorld world;
    PlayServer(world);
    Menu menuBar;
    DialogResponder dialogs;
    QTemporaryDir files;

    bool saved = true;

    TFTP_Wnd* fresh = NewWindow();
    saved &= Save(*fresh, folder, QStringLiteral("new.png"));

    const QString firmware = files.filePath(QStringLiteral("router-firmware.bin"));
    QFile out(firmware);
    saved &= out.open(QIODevice::WriteOnly) && out.write(QByteArray(SentFileBytes, '\x5a')) > 0;
    out.close();
    TFTP_Wnd* running = NewWindow();
    running->SetSendFile(std::make_shared<FolderItem>(QFile::encodeName(firmware).toStdString()));
    TypeAddress(*running, QString::fromLatin1(ServerName));
    running->StartBtn()->click();
    world.Advance(PollMs);
    saved &= Save(*running, folder, QStringLiteral("running.png"));

    TFTP_Wnd* failed = NewWindow();
    failed->TypeBBtn(TFTP_Wnd::DirectionReceive)->click();
    dialogs.SetFileAnswer([&files](const FileDialogRequest&) {
        return std::make_shared<FolderItem>(QFile::encodeName(files.filePath(QStringLiteral("startup-config.txt"))).toStdString());
    });
    failed->FileBtn()->click();
    TypeAddress(*failed, QString::fromLatin1(ServerName));
    failed->StartBtn()->click();
    world.Advance(PollMs);
    saved &= Save(*failed, folder, QStringLiteral("failed.png"));

    About_Wnd* about = About_Wnd::ShowInstance();
    about->TabPanel1()->setCurrentIndex(About_Wnd::TabAbout);
    saved &= Save(*about, folder, QStringLiteral("about.png"));

    for (TFTP_Wnd* window : {fresh, running, failed})
        delete window;
    delete about;
    return saved ? 0 : 1;
}
