#include "app/SingleInstance.h"

#include "app/HandOverMessage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <memory>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

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

bool SingleInstance::IsPrivateDirectory(const QString& directory, QString* why) {
    const auto refuse = [why, &directory](const QString& reason) {
        if (why) *why = directory + QStringLiteral(": ") + reason;
        return false;
    };
    if (directory.isEmpty() || !QDir::isAbsolutePath(directory))
        return refuse(QStringLiteral("no runtime directory"));
#ifdef Q_OS_WIN
    // The per-user application data folder: closed to other users by the system.
    if (!QFileInfo(directory).isDir()) return refuse(QStringLiteral("not a directory"));
    return true;
#else
    struct stat st {};
    if (::lstat(QFile::encodeName(directory).constData(), &st) != 0)
        return refuse(QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISDIR(st.st_mode)) return refuse(QStringLiteral("not a directory"));
    if (st.st_uid != ::geteuid()) return refuse(QStringLiteral("owned by another user"));
    if ((st.st_mode & 077) != 0)
        return refuse(QStringLiteral("open to other users (mode %1, not 0700)")
                          .arg(st.st_mode & 07777, 4, 8, QLatin1Char('0')));
    return true;
#endif
}

QString SingleInstance::SessionDirectory(QString* why) {
    QString directory = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (directory.isEmpty())
        directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return IsPrivateDirectory(directory, why) ? directory : QString();
}

bool SingleInstance::TryBecomeFirst() {
    if (!lock_.tryLock(0)) {
        // Nobody holds it, yet it cannot be made: better a second console
        // than none.
        return lock_.error() != QLockFile::LockFailedError;
    }
    // Whoever left the socket is gone: the lock was free.
    QLocalServer::removeServer(socketPath_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->setMaxPendingConnections(MaxConnections);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::Accept);
    if (!server_->listen(socketPath_)) listenError_ = server_->errorString();
    return true;
}

void SingleInstance::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (open_ >= MaxConnections) {
            emit Dropped(QStringLiteral("HAND-OVER DROPPED: more than %1 connections at once")
                             .arg(MaxConnections));
            socket->abort();
            socket->deleteLater();
            continue;
        }
        Serve(socket);
    }
}

// One message per connection, read within ReadMs and at most HandOverMaxBytes;
// the connection is closed after it either way.
void SingleInstance::Serve(QLocalSocket* socket) {
    ++open_;
    struct State {
        QByteArray bytes;
        bool done = false;
    };
    auto state = std::make_shared<State>();
    auto* deadline = new QTimer(socket);
    deadline->setObjectName(QStringLiteral("HandOverDeadline"));
    deadline->setSingleShot(true);

    const auto finish = [this, socket, state, deadline](const QString& dropped) {
        if (state->done) return;
        state->done = true;
        --open_;
        deadline->stop();
        if (!dropped.isEmpty()) emit Dropped(QStringLiteral("HAND-OVER DROPPED: ") + dropped);
        socket->abort();
        socket->deleteLater();
    };
    const auto take = [this, socket, state, finish](bool ended) {
        if (state->done) return;
        // Never more than one byte past the limit is kept.
        const qint64 room = static_cast<qint64>(HandOverMaxBytes) + 1 - state->bytes.size();
        if (room > 0) state->bytes += socket->read(room);
        const HandOverMessage m = ParseHandOver(std::string_view(
            state->bytes.constData(), static_cast<std::size_t>(state->bytes.size())));
        if (m.Status == HandOverMessage::Invalid) {
            finish(QString::fromStdString(m.Reason));
        } else if (m.Status == HandOverMessage::Complete) {
            const QString path = QFile::decodeName(QByteArray::fromStdString(m.Path));
            finish(QString());
            emit Requested(path.isEmpty() ? QStringList() : QStringList{path});
        } else if (ended) {
            finish(QStringLiteral("closed before the end of the message"));
        }
    };
    connect(socket, &QLocalSocket::readyRead, this, [take] { take(false); });
    connect(socket, &QLocalSocket::disconnected, this, [take] { take(true); });
    connect(deadline, &QTimer::timeout, this, [finish] {
        finish(QStringLiteral("no whole message within %1 s").arg(ReadMs / 1000));
    });
    deadline->start(ReadMs);
    if (socket->bytesAvailable() > 0) take(false);
}

bool SingleInstance::HandOver(const QStringList& files) {
    const QStringList paths = files.isEmpty() ? QStringList{QString()} : files;
    for (const QString& f : paths) {
        QLocalSocket socket;
        socket.connectToServer(socketPath_);
        if (!socket.waitForConnected(HandOverMs)) return false;
        const std::string message = BuildHandOver(
            f.isEmpty() ? std::string()
                        : QFile::encodeName(QDir::current().absoluteFilePath(f)).toStdString());
        socket.write(message.data(), static_cast<qint64>(message.size()));
        if (!socket.waitForBytesWritten(HandOverMs)) return false;
        // The first closes the connection once it has the whole message.
        if (socket.state() != QLocalSocket::UnconnectedState)
            socket.waitForDisconnected(HandOverMs);
    }
    return true;
}
