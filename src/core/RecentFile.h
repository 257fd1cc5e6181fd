#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QUrl>
#include <optional>

// One entry of the recent-files list: a file URL and when it was last opened.
struct RecentFile {
    QUrl url;
    QDateTime lastOpened;

    // The URL's absolute string.
    QString id() const { return url.toString(QUrl::FullyEncoded); }

    bool operator==(const RecentFile& other) const {
        return url == other.url && lastOpened == other.lastOpened;
    }

    // The stored form: a compact JSON array of {"url", "lastOpened"} objects,
    // the date in seconds since 1 January 2001 UTC, forward slashes escaped.
    static QByteArray encodeList(const QList<RecentFile>& files);
    // Any JSON of that shape; anything else (one bad entry included) gives no list.
    static std::optional<QList<RecentFile>> decodeList(const QByteArray& json);
};
