#pragma once
// One console per user session: the first start holds a lock file and listens
// on a local socket beside it, both in a directory only the user can enter; a
// later start hands its request (come to the front, open this file) to the
// first and stops.

#include <QLockFile>
#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // Lock and socket are directory/name.lock and directory/name.socket.
    SingleInstance(const QString& directory, const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The user's runtime directory (XDG_RUNTIME_DIR, else Qt's fallback) when
    // it is a directory of the user's own with mode 0700; otherwise empty, with
    // the reason in why.
    static QString SessionDirectory(QString* why = nullptr);
    // A real directory (not a link), owned by this user, closed to others.
    static bool IsPrivateDirectory(const QString& directory, QString* why);

    // True when no other start holds the lock; this one then listens.
    bool TryBecomeFirst();
    // Why the first start could not listen (empty when it does).
    QString ListenError() const { return listenError_; }
    // Sends the request to the first start, one connection per file (one
    // without a file when there is none); false when it cannot be reached.
    bool HandOver(const QStringList& files);

    // Connections open at once; more are closed at their arrival.
    static constexpr int MaxConnections = 8;
    // A connection has this long to send its whole message.
    static constexpr int ReadMs = 2000;

signals:
    // A later start asked for the front, with the file it was given (or none).
    void Requested(const QStringList& files);
    // A connection that did not bring one sound message, for the link history.
    void Dropped(const QString& historyLine);

private:
    void Accept();
    void Serve(QLocalSocket* socket);

    QString socketPath_;
    QLockFile lock_;
    QLocalServer* server_ = nullptr;
    QString listenError_;
    int open_ = 0;
};
