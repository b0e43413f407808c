#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {
constexpr int HandOverMs = 3000;
}

SingleInstance::SingleInstance(const QString& directory, const QString& name, QObject* parent)
    : QObject(parent), socketPath_(QDir(directory).filePath(name + QStringLiteral(".socket"))),
      lock_(QDir(directory).filePath(name + QStringLiteral(".lock"))) {
    // A lock left by a crashed console is taken over (QLockFile checks its PID).
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
}

QString SingleInstance::SessionDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

bool SingleInstance::TryBecomeFirst() {
    if (!lock_.tryLock(0)) {
        // Nobody holds it, yet it cannot be made (no runtime directory):
        // better a second console than none.
        return lock_.error() != QLockFile::LockFailedError;
    }
    // Whoever left the socket is gone: the lock was free.
    QLocalServer::removeServer(socketPath_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::Accept);
    server_->listen(socketPath_);
    return true;
}

void SingleInstance::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // One request per connection: file paths, one a line, then the end of the stream.
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            const QString text = QString::fromUtf8(socket->readAll());
            socket->deleteLater();
            emit Requested(text.split(QLatin1Char('\n'), Qt::SkipEmptyParts));
        });
    }
}

bool SingleInstance::HandOver(const QStringList& files) {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(HandOverMs)) return false;
    QByteArray request;
    for (const QString& f : files)
        request += QDir::current().absoluteFilePath(f).toUtf8() + '\n';
    socket.write(request);
    if (!request.isEmpty() && !socket.waitForBytesWritten(HandOverMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(HandOverMs);
    return true;
}
