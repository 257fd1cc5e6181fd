#include "platform/DesktopEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

bool hasControlCharacter(const QString& text) {
    for (QChar c : text)
        if (c.category() == QChar::Other_Control)
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
    for (const QByteArray& line : packaged.readAll().split('\n')) {
        entry += (line.startsWith("Exec=") ? exec : line) + '\n';
    }
    return entry.chopped(1);
}

bool DesktopEntry::ensureInstalled() {
    if (!QStandardPaths::locate(QStandardPaths::ApplicationsLocation, QLatin1String(fileName))
             .isEmpty())
        return true;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    const QByteArray entry = forExecutable(QCoreApplication::applicationFilePath());
    if (folder.isEmpty() || entry.isEmpty() || !QDir().mkpath(folder))
        return false;
    QSaveFile file(QDir(folder).filePath(QLatin1String(fileName)));
    return file.open(QIODevice::WriteOnly) && file.write(entry) == entry.size() && file.commit();
}
