#pragma once

#include "core/RecentFile.h"

#include <QList>
#include <QString>
#include <QUrl>

// What the home window's recent-files section shows of the list.
namespace RecentFilesPresentation {

inline constexpr int collapsedCount = 5;

// The whole list when it has five files or fewer, else its first five.
QList<RecentFile> collapsedFiles(const QList<RecentFile>& files);
// "Show more" appears from six files on, whichever presentation is chosen.
bool showsExpandLink(qsizetype fileCount);

// notes.md shows as "notes", report.final.md as "report.final".
QString displayName(const QUrl& url);
// The name of the file's folder ("Docs").
QString folderName(const QUrl& url);
// The path of the file's folder ("/home/x/Docs").
QString folderPath(const QUrl& url);

} // namespace RecentFilesPresentation
