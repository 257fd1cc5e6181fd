#include "windows/RecentFilesPresentation.h"

#include "core/MarkdownFileTypes.h"

#include <QFileInfo>

QList<RecentFile> RecentFilesPresentation::collapsedFiles(const QList<RecentFile>& files) {
    return showsExpandLink(files.size()) ? files.first(collapsedCount) : files;
}

bool RecentFilesPresentation::showsExpandLink(qsizetype fileCount) {
    return fileCount > collapsedCount;
}

QString RecentFilesPresentation::displayName(const QUrl& url) {
    return documentBaseName(url);
}

QString RecentFilesPresentation::folderName(const QUrl& url) {
    const QString folder = folderPath(url);
    const QString name = QFileInfo(folder).fileName();
    return name.isEmpty() ? folder : name;
}

QString RecentFilesPresentation::folderPath(const QUrl& url) {
    return QFileInfo(url.toLocalFile()).path();
}
