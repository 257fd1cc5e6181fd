#include "windows/WelcomeDrop.h"

#include <QMimeData>

QList<QUrl> WelcomeDrop::fileUrls(const QMimeData* data) {
    QList<QUrl> files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            files.append(url);
    }
    return files;
}

bool WelcomeDrop::offersFiles(const QMimeData* data) {
    return !fileUrls(data).isEmpty();
}
