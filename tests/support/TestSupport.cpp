#include "support/TestSupport.h"

#include "core/Preferences.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

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

AsUnprivilegedUser::AsUnprivilegedUser() {
    if (geteuid() != 0)
        return;
    constexpr uid_t nobody = 65534;
    m_switched = setegid(nobody) == 0 && seteuid(nobody) == 0;
    if (!m_switched)
        qFatal("cannot switch to an unprivileged user");
}

AsUnprivilegedUser::~AsUnprivilegedUser() {
    if (m_switched && (seteuid(0) != 0 || setegid(0) != 0))
        qFatal("cannot switch back to root");
}

QString TestSupport::readOnlyFolder(const QTemporaryDir& dir, const QString& name) {
    const auto readable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                          QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                          QFileDevice::ExeOther;
    QFile::setPermissions(dir.path(), readable);
    const QString path = dir.filePath(name);
    if (!QDir().mkpath(path))
        qFatal("cannot make %s", qPrintable(path));
    QFile::setPermissions(path, readable & ~QFileDevice::WriteOwner);
    return path;
}
