#include "platform/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <unistd.h>

namespace {

constexpr int connectTimeoutMs = 500;
constexpr int replyTimeoutMs = 1000;
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

bool SingleInstance::lock() {
    if (m_lock)
        return true;
    if (!makePrivateFolder(QFileInfo(m_socketPath).absolutePath()))
        return false;
    // Two quons starting at once: the second waits until the first listens.
    m_lock = std::make_unique<QLockFile>(m_socketPath + QStringLiteral(".lock"));
    m_lock->tryLock(5000);
    return true;
}

bool SingleInstance::forwardToRunningInstance(const QStringList& arguments) {
    if (!lock())
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << arguments;
    socket.write(message);
    socket.waitForBytesWritten(replyTimeoutMs);
    // A busy quon may answer late; it has the arguments all the same.
    socket.waitForReadyRead(replyTimeoutMs);
    socket.disconnectFromServer();
    m_lock.reset();
    return true;
}

bool SingleInstance::listen() {
    if (!m_lock) {
        if (!lock())
            return false;
        QLocalSocket probe;
        probe.connectToServer(m_socketPath);
        if (probe.waitForConnected(connectTimeoutMs)) {
            m_lock.reset();
            return false;
        }
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Nobody answered on the socket: whatever file is there was left by a
    // quon that died.
    QLocalServer::removeServer(m_socketPath);
    const bool listening = m_server->listen(m_socketPath);
    if (listening)
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    m_lock.reset();
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
