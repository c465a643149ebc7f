// One instance per user: a later launch hands its documents (or, with none,
// a re-open) to the running instance over a local socket; without a running
// instance the hand-over fails fast, a stale socket file does not keep the
// first instance from listening, and foreign or oversized frames are dropped.
// The later launch is played by a client on another thread, since it waits
// for the answer while the listener needs this thread's event loop.

#include "app/InstanceChannel.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QtTest>

#include <future>

using namespace ostrel;

Q_DECLARE_METATYPE(QStringList)

namespace {

QString UniqueServerName()
{
    static int serial = 0;
    return QStringLiteral("ostrel-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++serial);
}

std::future<bool> HandOverFromAnotherThread(const QString& serverName, const QStringList& documents)
{
    return std::async(std::launch::async, [serverName, documents] {
        InstanceChannel laterLaunch(serverName);
        return laterLaunch.HandOver(documents);
    });
}

// Writes raw bytes to the listener and reports whether it closed the
// connection without answering.
std::future<bool> SendRawFromAnotherThread(const QString& serverName, const QByteArray& bytes)
{
    return std::async(std::launch::async, [serverName, bytes] {
        QLocalSocket socket;
        socket.connectToServer(serverName);
        if (!socket.waitForConnected(InstanceChannel::HandOverTimeoutMs))
            return false;
        socket.write(bytes);
        socket.waitForBytesWritten(InstanceChannel::HandOverTimeoutMs);
        const bool closed = !socket.waitForReadyRead(InstanceChannel::HandOverTimeoutMs) &&
                            socket.state() != QLocalSocket::ConnectedState;
        return closed && socket.bytesAvailable() == 0;
    });
}

QByteArray FrameOf(const QByteArray& payload)
{
    QByteArray frame;
    QDataStream out(&frame, QIODevice::WriteOnly);
    out << static_cast<quint32>(payload.size());
    return frame + payload;
}

bool Finished(const std::future<bool>& result)
{
    return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

}  // namespace

class InstanceChannelTest : public QObject {
    Q_OBJECT

private slots:
    void handOverReachesTheRunningInstance_data();
    void handOverReachesTheRunningInstance();
    void withoutARunningInstanceTheHandOverFails();
    void staleSocketFileIsReplaced();
    void malformedFramesAreDropped_data();
    void malformedFramesAreDropped();
    void argumentsBecomeAbsolutePaths();
    void defaultNameLiesInAFolderOnlyTheUserCanReach();
};

void InstanceChannelTest::handOverReachesTheRunningInstance_data()
{
    QTest::addColumn<QStringList>("documents");
    QTest::newRow("two files") << QStringList{"/srv/tftp/router.bin", QString::fromUtf8("/home/j\xC3\xBC/new\nline.cfg")};
    QTest::newRow("none: re-open") << QStringList{};
}

void InstanceChannelTest::handOverReachesTheRunningInstance()
{
    QFETCH(QStringList, documents);
    InstanceChannel running(UniqueServerName());
    QVERIFY(running.Listen());
    QSignalSpy handedOver(&running, &InstanceChannel::DocumentsHandedOver);

    std::future<bool> taken = HandOverFromAnotherThread(running.ServerName(), documents);
    QTRY_COMPARE(handedOver.count(), 1);
    QCOMPARE(handedOver.at(0).at(0).toStringList(), documents);
    QTRY_VERIFY(Finished(taken));
    QVERIFY(taken.get());
}

void InstanceChannelTest::withoutARunningInstanceTheHandOverFails()
{
    InstanceChannel laterLaunch(UniqueServerName());
    QElapsedTimer elapsed;
    elapsed.start();
    QVERIFY(!laterLaunch.HandOver({"/tmp/a"}));
    QVERIFY(elapsed.elapsed() < InstanceChannel::HandOverTimeoutMs);
}

void InstanceChannelTest::staleSocketFileIsReplaced()
{
    // What an instance that crashed leaves behind: the socket's file, with
    // nobody listening.
    const QString name = UniqueServerName();
    QFile stale(QDir(QDir::tempPath()).filePath(name));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();

    InstanceChannel laterLaunch(name);
    QVERIFY(!laterLaunch.HandOver({}));
    InstanceChannel running(name);
    QVERIFY(running.Listen());
    QSignalSpy handedOver(&running, &InstanceChannel::DocumentsHandedOver);
    std::future<bool> taken = HandOverFromAnotherThread(name, {"/tmp/b"});
    QTRY_COMPARE(handedOver.count(), 1);
    QTRY_VERIFY(Finished(taken));
    QVERIFY(taken.get());
}

void InstanceChannelTest::malformedFramesAreDropped_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray oversized;
    QDataStream(&oversized, QIODevice::WriteOnly) << quint32{InstanceChannel::MaxFrameBytes + 1};
    const QByteArray valid = InstanceChannel::EncodeFrame({"/tmp/c"});
    QByteArray foreignMagic = valid;
    foreignMagic[sizeof(quint32)] = 'X';

    QTest::newRow("oversized length") << oversized;
    QTest::newRow("foreign magic") << foreignMagic;
    QTest::newRow("garbage payload") << FrameOf("not a document list");
    QTest::newRow("bytes beyond the frame") << valid + QByteArray("extra");
}

void InstanceChannelTest::malformedFramesAreDropped()
{
    QFETCH(QByteArray, bytes);
    InstanceChannel running(UniqueServerName());
    QVERIFY(running.Listen());
    QSignalSpy handedOver(&running, &InstanceChannel::DocumentsHandedOver);

    std::future<bool> closedWithoutAnswer = SendRawFromAnotherThread(running.ServerName(), bytes);
    QTRY_VERIFY(Finished(closedWithoutAnswer));
    QVERIFY(closedWithoutAnswer.get());
    QCOMPARE(handedOver.count(), 0);

    // The listener still serves a proper hand-over afterwards.
    std::future<bool> taken = HandOverFromAnotherThread(running.ServerName(), {"/tmp/d"});
    QTRY_COMPARE(handedOver.count(), 1);
    QTRY_VERIFY(Finished(taken));
    QVERIFY(taken.get());
}

void InstanceChannelTest::argumentsBecomeAbsolutePaths()
{
    const QString here = QDir::currentPath();
    QCOMPARE(InstanceChannel::AbsolutePaths({"image.bin", "/srv/x.cfg", "file:///srv/my%20file.txt", ""}),
             (QStringList{QDir(here).filePath("image.bin"), "/srv/x.cfg", "/srv/my file.txt"}));
}

void InstanceChannelTest::defaultNameLiesInAFolderOnlyTheUserCanReach()
{
    const QFileInfo socket(InstanceChannel::DefaultServerName());
    QVERIFY(socket.isAbsolute());
    QVERIFY(socket.fileName().startsWith(QStringLiteral("ostrel-")));
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFileInfo(socket.path()).permissions() & others, QFile::Permissions());
}

QTEST_GUILESS_MAIN(InstanceChannelTest)

#include "InstanceChannelTest.moc"
