#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>

namespace TestSupport {

// Clears every stored preference (each test runs with a private config dir).
void resetPreferences();
// Writes bytes to dir/name and returns the path.
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
QByteArray readFile(const QString& path);
// A folder the test process cannot create files in: a read-only subfolder of
// dir, or a system folder when running as root (root ignores permissions).
QString readOnlyFolder(const QTemporaryDir& dir);

// Screenshots for a person to look at: the folder QUON_SCREENSHOTS names
// (empty when unset), and each appearance, light then dark, set in turn.
QString screenshotFolder();
void forEachAppearance(const std::function<void(const QString& appearance)>& shoot);

} // namespace TestSupport
