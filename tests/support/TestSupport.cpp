#include "support/TestSupport.h"

#include "core/Preferences.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

QString TestSupport::screenshotFolder() {
    return qEnvironmentVariable("QUON_SCREENSHOTS");
}

void TestSupport::forEachAppearance(const std::function<void(const QString&)>& shoot) {
    for (const char* appearance : {"light", "dark"}) {
        Preferences::shared().setString(PreferenceKeys::appearancePreference,
                                        QString::fromLatin1(appearance));
        shoot(QString::fromLatin1(appearance));
    }
}

void TestSupport::resetPreferences() {
    Preferences::shared().clearAll();
}

QString TestSupport::writeFile(const QTemporaryDir& dir, const QString& name,
                               const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

QByteArray TestSupport::readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString TestSupport::readOnlyFolder(const QTemporaryDir& dir) {
    if (geteuid() == 0)
        return QStringLiteral("/sys");
    const QString path = dir.filePath(QStringLiteral("read-only"));
    QDir().mkpath(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    return path;
}
