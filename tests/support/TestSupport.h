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
// A folder the test process cannot create files in: a read-only subfolder of
// dir, or a system folder when running as root (root ignores permissions).
QString readOnlyFolder(const QTemporaryDir& dir);

} // namespace TestSupport
