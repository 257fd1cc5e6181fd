#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

class QLocalServer;
class QLockFile;

// One quon per user session: the first process listens on a local socket;
// a later one hands its arguments over and exits. A socket left behind by a
// crashed quon is removed and taken over; a live one never is.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // $XDG_RUNTIME_DIR/quon/instance, else /tmp/quon-<uid>/instance.
    static QString defaultSocketPath();

    explicit SingleInstance(const QString& socketPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Works before the application object exists. True once a running quon
    // has acknowledged the arguments. While another quon is starting (it
    // holds the start-up lock) this waits for it, however long it takes. False
    // when there is no running quon: this process then holds the start-up
    // lock until listen().
    bool forwardToRunningInstance(const QStringList& arguments);
    // Becomes the running instance; needs the application object. False when
    // another quon already answers on the socket.
    bool listen();

    QString socketPath() const { return m_socketPath; }

Q_SIGNALS:
    // Emitted from the event loop after the socket's handler has returned, so
    // a receiver may ask questions in modal dialogs.
    void argumentsReceived(const QStringList& arguments);

private:
    enum class Delivery { Delivered, NoServer, Lost };

    // The lock object for the socket; false when the socket's folder is unusable.
    bool prepareLock();
    void releaseLock();
    Delivery deliver(const QStringList& arguments) const;
    bool answers() const;
    void acceptConnection();

    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    bool m_locked = false;
    QLocalServer* m_server = nullptr;
};
