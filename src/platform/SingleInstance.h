#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

class QLocalServer;
class QLockFile;

// One quon per user session: the first process listens on a local socket;
// a later one hands its arguments over and exits. A socket left behind by a
// crashed quon is removed and taken over.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // $XDG_RUNTIME_DIR/quon/instance, else /tmp/quon-<uid>/instance.
    static QString defaultSocketPath();

    explicit SingleInstance(const QString& socketPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Works before the application object exists. True when a running quon
    // took the arguments; otherwise this process holds the start-up lock
    // until listen().
    bool forwardToRunningInstance(const QStringList& arguments);
    // Becomes the running instance; needs the application object.
    bool listen();

    QString socketPath() const { return m_socketPath; }

Q_SIGNALS:
    // Emitted from the event loop after the socket's handler has returned, so
    // a receiver may ask questions in modal dialogs.
    void argumentsReceived(const QStringList& arguments);

private:
    // Takes the start-up lock; false when the socket's folder is unusable.
    bool lock();
    void acceptConnection();

    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
