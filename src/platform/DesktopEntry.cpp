#include "platform/DesktopEntry.h"

#include "platform/GuardedRead.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <optional>

namespace {

// Far more than any entry of ours; a larger file is not one.
constexpr qint64 entrySizeLimit = 64 * 1024;

bool hasControlCharacter(const QString& text) {
    for (QChar c : text)
        if (c.category() == QChar::Other_Control)
            return true;
    return false;
}

// Where quon's own entry lives; empty without a user data folder.
QString ownEntryPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    return folder.isEmpty() ? QString()
                            : QDir(folder).filePath(QLatin1String(DesktopEntry::fileName));
}

// The entry at the path when it is quon's own: a small regular file (no link,
// device or pipe) carrying the mark.
std::optional<QByteArray> readOwnEntry(const QString& path) {
    if (path.isEmpty() || QFileInfo(path).isSymLink())
        return std::nullopt;
    const GuardedRead::Result read = GuardedRead::read(path, entrySizeLimit);
    if (!read.ok())
        return std::nullopt;
    const QByteArray& bytes = read.bytes;
    for (const QByteArray& line : bytes.split('\n'))
        if (line.trimmed() == DesktopEntry::ownMark)
            return bytes;
    return std::nullopt;
}

// An entry for quon in the data folders other than the user's own file.
bool isInstalledElsewhere(const QString& ownPath) {
    const QStringList found = QStandardPaths::locateAll(QStandardPaths::ApplicationsLocation,
                                                        QLatin1String(DesktopEntry::fileName));
    // The user's folder may be reached through a link: compared as the
    // kernel resolves them, their own entry is never one elsewhere.
    const QString own = QFileInfo(ownPath).canonicalFilePath();
    for (const QString& path : found)
        if (QFileInfo(path).canonicalFilePath() != own)
            return true;
    return false;
}

} // namespace

QString DesktopEntry::execArgument(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = argument.isEmpty();
    for (QChar c : argument)
        needsQuotes = needsQuotes || reserved.contains(c);
    QString quoted;
    if (needsQuotes)
        quoted += QLatin1Char('"');
    for (QChar c : argument) {
        if (needsQuotes && (c == QLatin1Char('"') || c == QLatin1Char('`') ||
                            c == QLatin1Char('$') || c == QLatin1Char('\\')))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    if (needsQuotes)
        quoted += QLatin1Char('"');
    // The string-value escape comes on top of the quoting: every backslash doubles.
    return quoted.replace(QLatin1String("\\"), QLatin1String("\\\\"));
}

QByteArray DesktopEntry::forExecutable(const QString& executablePath) {
    if (hasControlCharacter(executablePath))
        return {};
    QFile packaged(QStringLiteral(":/packaging/") + QLatin1String(fileName));
    if (!packaged.open(QIODevice::ReadOnly))
        return {};
    QByteArray entry;
    const QByteArray exec = "Exec=" + execArgument(executablePath).toUtf8() + " %U";
    // A plain string value: only the backslash is escaped.
    const QByteArray tryExec =
        "TryExec=" +
        QString(executablePath).replace(QLatin1String("\\"), QLatin1String("\\\\")).toUtf8();
    for (const QByteArray& line : packaged.readAll().trimmed().split('\n')) {
        if (line.startsWith("Exec="))
            entry += exec + '\n';
        else if (line.startsWith("TryExec="))
            entry += tryExec + '\n';
        else
            entry += line + '\n';
        if (line == "[Desktop Entry]")
            entry += QByteArray(ownMark) + '\n';
    }
    return entry;
}

bool DesktopEntry::ensureInstalled() {
    const QString path = ownEntryPath();
    const std::optional<QByteArray> own = readOwnEntry(path);
    // The user's own install, or a file quon does not know: never touched.
    if (!own && (QFileInfo::exists(path) || QFileInfo(path).isSymLink()))
        return true;
    if (isInstalledElsewhere(path)) {
        if (own)
            QFile::remove(path);
        return true;
    }
    const QByteArray entry = forExecutable(QCoreApplication::applicationFilePath());
    if (path.isEmpty() || entry.isEmpty() || !QDir().mkpath(QFileInfo(path).path()))
        return false;
    if (own == entry)
        return true;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(entry) == entry.size() && file.commit();
}

void DesktopEntry::removeOwnEntry() {
    const QString path = ownEntryPath();
    if (readOwnEntry(path))
        QFile::remove(path);
}
