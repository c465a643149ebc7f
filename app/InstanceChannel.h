#pragma once
// Keeps Ostrel to one running instance per user. The first instance listens
// on a local socket with a per-user name; a later launch connects, hands over
// the documents it was started with (none: a request to re-open) and exits.
//
// A hand-over is one frame: a 32-bit length, then a QDataStream holding a
// magic number, the protocol version and the list of absolute file paths.
// The listener answers with one byte once the documents are taken. Frames
// that are too long or malformed are dropped with their connection.

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace ostrel {

class InstanceChannel : public QObject {
    Q_OBJECT
public:
    static constexpr int HandOverTimeoutMs = 5000;
    static constexpr quint32 MaxFrameBytes = 1024 * 1024;

    explicit InstanceChannel(QString serverName = DefaultServerName(), QObject* parent = nullptr);
    ~InstanceChannel() override;

    // "ostrel-<uid>" in the user's runtime folder: one per user, so users
    // never reach each other's instance.
    static QString DefaultServerName();
    const QString& ServerName() const { return serverName_; }

    // A later launch: hands the documents to the running instance and waits
    // until it has taken them. False when none answers (there is none, or
    // its socket is stale).
    bool HandOver(const QStringList& documents, int timeoutMs = HandOverTimeoutMs);

    // The first instance: starts listening, replacing a stale socket left by
    // an instance that ended without cleaning up. False when that fails; the
    // instance then runs on its own.
    bool Listen();
    bool IsListening() const;

    // Command-line arguments as absolute file paths (file: URLs become local
    // paths).
    static QStringList AbsolutePaths(const QStringList& arguments);

    // The frame that carries `documents`, and its reading; a malformed or
    // foreign payload gives false.
    static QByteArray EncodeFrame(const QStringList& documents);
    static bool DecodePayload(const QByteArray& payload, QStringList& documents);

signals:
    // Documents handed over by a later launch; empty for a re-open.
    void DocumentsHandedOver(const QStringList& documents);

private:
    void AcceptConnections();
    void ReadFrom(QLocalSocket* socket);

    QString serverName_;
    QLocalServer* server_ = nullptr;
};

}  // namespace ostrel
