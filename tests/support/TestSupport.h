#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace TestSupport {

// Clears every stored preference (each test runs with a private config dir).
void resetPreferences();
// Writes bytes to dir/name and returns the path.
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
QByteArray readFile(const QString& path);

} // namespace TestSupport

// While alive, a root test process acts as the unprivileged user "nobody", so
// that file permissions bite; for anyone else it does nothing.
class AsUnprivilegedUser {
public:
    AsUnprivilegedUser();
    ~AsUnprivilegedUser();
    AsUnprivilegedUser(const AsUnprivilegedUser&) = delete;
    AsUnprivilegedUser& operator=(const AsUnprivilegedUser&) = delete;

private:
    bool m_switched = false;
};

namespace TestSupport {
// A folder nobody may write into, inside dir (which is opened up for reading).
QString readOnlyFolder(const QTemporaryDir& dir, const QString& name);
} // namespace TestSupport
