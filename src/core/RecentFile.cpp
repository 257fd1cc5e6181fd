#include "core/RecentFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

// Seconds from the Unix epoch to 2001-01-01T00:00:00Z, the stored date epoch.
constexpr double referenceDateOffset = 978307200.0;
// Beyond this QDateTime cannot hold the date (and the cast would overflow).
constexpr double largestStoredSeconds = 1.0e14;

double storedSeconds(const QDateTime& date) {
    return double(date.toMSecsSinceEpoch()) / 1000.0 - referenceDateOffset;
}

std::optional<QDateTime> dateFromStored(double seconds) {
    if (!std::isfinite(seconds) || std::fabs(seconds) > largestStoredSeconds)
        return std::nullopt;
    const qint64 ms = std::llround((seconds + referenceDateOffset) * 1000.0);
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

} // namespace

QByteArray RecentFile::encodeList(const QList<RecentFile>& files) {
    QJsonArray array;
    for (const RecentFile& file : files) {
        QJsonObject object;
        object.insert(QStringLiteral("url"), file.id());
        object.insert(QStringLiteral("lastOpened"), storedSeconds(file.lastOpened));
        array.append(object);
    }
    // A slash only ever occurs inside JSON strings, so escaping every one is safe.
    return QJsonDocument(array).toJson(QJsonDocument::Compact).replace("/", "\\/");
}

std::optional<QList<RecentFile>> RecentFile::decodeList(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QList<RecentFile> files;
    for (const QJsonValue& value : document.array()) {
        const QJsonValue url = value.toObject().value(QStringLiteral("url"));
        const QJsonValue lastOpened = value.toObject().value(QStringLiteral("lastOpened"));
        if (!value.isObject() || !url.isString() || !lastOpened.isDouble())
            return std::nullopt;
        const QUrl parsed(url.toString(), QUrl::StrictMode);
        const std::optional<QDateTime> date = dateFromStored(lastOpened.toDouble());
        if (url.toString().isEmpty() || !parsed.isValid() || !date)
            return std::nullopt;
        files.append(RecentFile{parsed, *date});
    }
    return files;
}
