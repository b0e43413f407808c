#pragma once
// One console per user session: the first start holds a lock file and listens
// on a local socket beside it; a later start hands its request (come to the
// front, open these files) to the first and stops.

#include <QLockFile>
#include <QObject>
#include <QStringList>

#include <memory>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // Lock and socket are directory/name.lock and directory/name.socket.
    SingleInstance(const QString& directory, const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The user's runtime directory (XDG_RUNTIME_DIR), where the pair lives.
    static QString SessionDirectory();

    // True when no other start holds the lock; this one then listens.
    bool TryBecomeFirst();
    // Sends the request to the first start; false when it cannot be reached.
    bool HandOver(const QStringList& files);

signals:
    // A later start asked for the front, with the files it was given.
    void Requested(const QStringList& files);

private:
    void Accept();

    QString socketPath_;
    QLockFile lock_;
    QLocalServer* server_ = nullptr;
};
