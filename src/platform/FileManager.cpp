#include "platform/FileManager.h"

#include "platform/Logging.h"
#include "platform/ToolRunner.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

namespace {

void openFolder(const QString& path, const std::function<void(bool)>& done) {
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(path).absolutePath());
    ToolRunner::run(QStringLiteral("xdg-open"), {folder.toString(QUrl::FullyEncoded)},
                    [done](const ToolRunner::Result& result) {
                        // An opener still running at the time-out is the
                        // file manager it started in the foreground.
                        if (done)
                            done(result.started && (result.timedOut || result.exitCode == 0));
                    });
}

} // namespace

void FileManager::showItem(const QString& path, const std::function<void(bool shown)>& done) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openFolder(path, done);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, [path, done](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            if (w->isError()) {
                qCWarning(quonPlatform) << "the file manager did not show" << path << "-"
                                        << w->error().message() << "- opening its folder";
                openFolder(path, done);
            }
            // What follows may ask the user: not inside the reply.
            else if (done)
                QTimer::singleShot(0, QCoreApplication::instance(), [done] { done(true); });
        });
}
