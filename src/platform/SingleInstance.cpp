#include "platform/SingleInstance.h"

#include "platform/Logging.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <unistd.h>

namespace {

constexpr int connectTimeoutMs = 500;
constexpr int replyPollMs = 200;
constexpr int lockPollMs = 100;
// Hand-overs lost to a quon that closed without answering before this one
// stops asking and starts on its own.
constexpr int maxLostHandOvers = 3;
constexpr char reply = '\x06';

// The socket's folder, ours alone; one that another user made is refused.
bool makePrivateFolder(const QString& path) {
    if (!QDir().mkpath(path) || QFileInfo(path).ownerId() != getuid())
        return false;
    return QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);
}

} // namespace

QString SingleInstance::defaultSocketPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder = !runtime.isEmpty() && QFileInfo(runtime).isDir()
                               ? runtime + QStringLiteral("/quon")
                               : QStringLiteral("/tmp/quon-%1").arg(getuid());
    return folder + QStringLiteral("/instance");
}

SingleInstance::SingleInstance(const QString& socketPath, QObject* parent)
    : QObject(parent), m_socketPath(socketPath) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::prepareLock() {
    if (m_lock)
        return true;
    if (!makePrivateFolder(QFileInfo(m_socketPath).absolutePath()))
        return false;
    m_lock = std::make_unique<QLockFile>(m_socketPath + QStringLiteral(".lock"));
    // Held only by a quon between its start and listen(), however slow that
    // is; a holder that died leaves a stale lock, which is taken over.
    m_lock->setStaleLockTime(0);
    return true;
}

void SingleInstance::releaseLock() {
    if (m_locked)
        m_lock->unlock();
    m_locked = false;
    m_lock.reset();
}

bool SingleInstance::forwardToRunningInstance(const QStringList& arguments) {
    if (!prepareLock())
        return false;
    int lost = 0;
    for (;;) {
        if (!m_locked) {
            m_locked = m_lock->tryLock(lockPollMs);
            if (!m_locked && m_lock->error() != QLockFile::LockFailedError) {
                // No lock can be had at all: run on our own (listen() says why).
                m_lock.reset();
                return false;
            }
        }
        // With the lock, nobody is starting: a running quon answers or there
        // is none. Without it another quon is starting and may listen already.
        const Delivery delivery = deliver(arguments);
        if (delivery == Delivery::Delivered) {
            releaseLock();
            return true;
        }
        if (delivery == Delivery::Lost)
            ++lost;
        if (m_locked && (delivery == Delivery::NoServer || lost >= maxLostHandOvers)) {
            if (delivery != Delivery::NoServer)
                qCWarning(quonPlatform) << "the running quon took no files after" << lost
                                        << "tries; starting on its own";
            return false;
        }
    }
}

SingleInstance::Delivery SingleInstance::deliver(const QStringList& arguments) const {
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(connectTimeoutMs))
        return Delivery::NoServer;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << arguments;
    socket.write(message);
    socket.waitForBytesWritten(connectTimeoutMs);
    // A busy quon answers late; one that goes away without answering never
    // took the arguments.
    while (socket.bytesAvailable() == 0 && socket.state() == QLocalSocket::ConnectedState)
        socket.waitForReadyRead(replyPollMs);
    char answer = 0;
    if (!socket.getChar(&answer) || answer != reply)
        return Delivery::Lost;
    socket.disconnectFromServer();
    return Delivery::Delivered;
}

bool SingleInstance::answers() const {
    QLocalSocket probe;
    probe.connectToServer(m_socketPath);
    return probe.waitForConnected(connectTimeoutMs);
}

bool SingleInstance::listen() {
    if (!m_locked) {
        if (!prepareLock()) {
            qCWarning(quonPlatform) << "no private folder for the instance socket, a second quon"
                                       " starts on its own:"
                                    << QFileInfo(m_socketPath).absolutePath();
            return false;
        }
        while (!(m_locked = m_lock->tryLock(lockPollMs))) {
            if (m_lock->error() != QLockFile::LockFailedError) {
                qCWarning(quonPlatform) << "cannot lock the instance socket, a second quon starts"
                                           " on its own:"
                                        << m_lock->error();
                m_lock.reset();
                return false;
            }
        }
    }
    // A quon that answers is alive: its socket is never removed.
    if (answers()) {
        releaseLock();
        return false;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Nobody answered on the socket: whatever file is there was left by a
    // quon that died.
    QLocalServer::removeServer(m_socketPath);
    const bool listening = m_server->listen(m_socketPath);
    if (listening)
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    else
        qCWarning(quonPlatform) << "the instance socket does not listen, a second quon starts"
                                   " on its own:"
                                << m_socketPath << m_server->errorString();
    releaseLock();
    return listening;
}

void SingleInstance::acceptConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            QStringList arguments;
            in >> arguments;
            if (!in.commitTransaction())
                return;
            socket->write(&reply, 1);
            socket->flush();
            // Not from inside the socket's handler: a receiver's modal question
            // would run its loop there, and the socket may be gone when it ends.
            QMetaObject::invokeMethod(
                this, [this, arguments] { Q_EMIT argumentsReceived(arguments); },
                Qt::QueuedConnection);
        });
    }
}
