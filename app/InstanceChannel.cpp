#include "app/InstanceChannel.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include <utility>

namespace ostrel {

namespace {

constexpr quint32 Magic = 0x4F53544C;  // "OSTL"
constexpr quint32 ProtocolVersion = 1;
constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_4;
constexpr int LengthBytes = sizeof(quint32);
constexpr char TakenReply = '1';
constexpr const char* BufferProperty = "ostrelFrame";

quint32 ReadLength(const QByteArray& bytes)
{
    QDataStream in(bytes.left(LengthBytes));
    in.setVersion(StreamVersion);
    quint32 length = 0;
    in >> length;
    return length;
}

int Remaining(const QDeadlineTimer& deadline)
{
    const qint64 left = deadline.remainingTime();
    return left < 0 ? 0 : static_cast<int>(left);
}

}  // namespace

InstanceChannel::InstanceChannel(QString serverName, QObject* parent)
    : QObject(parent), serverName_(std::move(serverName))
{
}

InstanceChannel::~InstanceChannel()
{
    if (server_)
        server_->close();
}

QString InstanceChannel::DefaultServerName()
{
#ifdef Q_OS_UNIX
    const QString name = QStringLiteral("ostrel-%1").arg(static_cast<qulonglong>(getuid()));
#else
    const QString name = QStringLiteral("ostrel-%1").arg(qEnvironmentVariable("USERNAME"));
#endif
    // In the user's own runtime folder (mode 0700), not in the shared
    // temporary folder, where another user could take the name first.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

QStringList InstanceChannel::AbsolutePaths(const QStringList& arguments)
{
    QStringList paths;
    for (const QString& argument : arguments) {
        if (argument.isEmpty())
            continue;
        const QUrl url(argument);
        const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
        paths << QFileInfo(path).absoluteFilePath();
    }
    return paths;
}

QByteArray InstanceChannel::EncodeFrame(const QStringList& documents)
{
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(StreamVersion);
        out << Magic << ProtocolVersion << documents;
    }
    QByteArray frame;
    QDataStream out(&frame, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    out << static_cast<quint32>(payload.size());
    frame.append(payload);
    return frame;
}

bool InstanceChannel::DecodePayload(const QByteArray& payload, QStringList& documents)
{
    QDataStream in(payload);
    in.setVersion(StreamVersion);
    quint32 magic = 0;
    quint32 version = 0;
    in >> magic >> version;
    if (in.status() != QDataStream::Ok || magic != Magic || version != ProtocolVersion)
        return false;
    QStringList received;
    in >> received;
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return false;
    documents = std::move(received);
    return true;
}

bool InstanceChannel::HandOver(const QStringList& documents, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(Remaining(deadline)))
        return false;
    socket.write(EncodeFrame(documents));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(Remaining(deadline)))
            return false;
    }
    // The answer tells that the documents were taken, not merely sent.
    if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(Remaining(deadline)))
        return false;
    char reply = 0;
    const bool taken = socket.getChar(&reply) && reply == TakenReply;
    socket.disconnectFromServer();
    return taken;
}

bool InstanceChannel::Listen()
{
    if (server_)
        return server_->isListening();
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceChannel::AcceptConnections);
    if (server_->listen(serverName_))
        return true;
    if (server_->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // Nobody took a hand-over on this name (or it would have been asked
    // first): the socket is left over from an instance that is gone.
    QLocalServer::removeServer(serverName_);
    return server_->listen(serverName_);
}

bool InstanceChannel::IsListening() const { return server_ && server_->isListening(); }

void InstanceChannel::AcceptConnections()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadFrom(socket); });
        if (socket->bytesAvailable() > 0)
            ReadFrom(socket);
    }
}

void InstanceChannel::ReadFrom(QLocalSocket* socket)
{
    QByteArray buffer = socket->property(BufferProperty).toByteArray() + socket->readAll();
    if (buffer.size() < LengthBytes) {
        socket->setProperty(BufferProperty, buffer);
        return;
    }
    const quint32 length = ReadLength(buffer);
    if (length > MaxFrameBytes || static_cast<quint64>(buffer.size()) > LengthBytes + quint64{length}) {
        socket->abort();
        return;
    }
    if (static_cast<quint64>(buffer.size()) < LengthBytes + quint64{length}) {
        socket->setProperty(BufferProperty, buffer);
        return;
    }
    socket->setProperty(BufferProperty, QVariant());
    QStringList documents;
    if (!DecodePayload(buffer.mid(LengthBytes), documents)) {
        socket->abort();
        return;
    }
    // Answer first: opening the documents may show a dialog, and the later
    // launch must not wait for it.
    socket->putChar(TakenReply);
    socket->flush();
    socket->disconnectFromServer();
    emit DocumentsHandedOver(documents);
}

}  // namespace ostrel
