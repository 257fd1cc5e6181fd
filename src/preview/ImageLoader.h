#pragma once

#include <QCache>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QUrl>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QPainter;
class QSvgRenderer;

// A decoded picture: pixels, or a vector drawing rendered at the size it is
// painted at (SVG stays sharp at any scale).
class LoadedImage {
public:
    static std::shared_ptr<const LoadedImage> decode(const QByteArray& bytes);
    static std::shared_ptr<const LoadedImage> decodeFile(const QString& path);

    QSizeF size() const;
    bool isVector() const { return m_vector != nullptr; }
    void paint(QPainter* painter, const QRectF& target) const;
    qsizetype cost() const;

private:
    QImage m_raster;
    std::shared_ptr<QSvgRenderer> m_vector;
};

// Where the preview's pictures come from. Local files decode at once and stay
// cached by path, modification time and size, so a re-render reads nothing
// again. Web pictures (http, https) only ever load in the background: asking
// for one that is not cached starts its download and returns nothing; the
// `remoteFinished` signal tells views to ask again.
class ImageLoader : public QObject {
    Q_OBJECT
public:
    static ImageLoader& shared();

    std::shared_ptr<const LoadedImage> local(const QString& path);
    std::shared_ptr<const LoadedImage> remote(const QUrl& url);

    // Number of local files actually read from disk (the rest came from the cache).
    int localReads() const { return m_localReads; }
    void clear();

Q_SIGNALS:
    // The download ended; `remote(url)` now gives the picture, or nothing on failure.
    void remoteFinished(const QUrl& url);

private:
    ImageLoader();
    void finished(QNetworkReply* reply);

    struct Entry {
        std::shared_ptr<const LoadedImage> image; // null: decoding failed
        QDateTime modified;
        qint64 size = -1;
    };
    QCache<QString, Entry> m_local;
    QCache<QUrl, std::shared_ptr<const LoadedImage>> m_remote;
    QHash<QUrl, QDateTime> m_failedAt;
    QHash<QUrl, QNetworkReply*> m_pending;
    QNetworkAccessManager* m_network = nullptr;
    int m_localReads = 0;
};
