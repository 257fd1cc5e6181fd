#include "preview/ImageLoader.h"

#include "platform/GuardedRead.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPainter>
#include <QSvgRenderer>

namespace {

constexpr int cacheBytes = 256 * 1024 * 1024;
constexpr qint64 largestImageFile = 64 * 1024 * 1024;
constexpr int transferTimeoutMs = 30000;
// A failed download is tried again when a view asks after this long.
constexpr qint64 retryAfterSeconds = 60;

bool isSvg(const QByteArray& format) {
    return format == "svg" || format == "svgz";
}

} // namespace

std::shared_ptr<const LoadedImage> LoadedImage::decode(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    auto image = std::make_shared<LoadedImage>();
    if (isSvg(reader.format())) {
        auto renderer = std::make_shared<QSvgRenderer>(bytes);
        if (!renderer->isValid() || renderer->defaultSize().isEmpty())
            return nullptr;
        image->m_vector = std::move(renderer);
        return image;
    }
    reader.setAutoTransform(true);
    image->m_raster = reader.read();
    if (image->m_raster.isNull())
        return nullptr;
    return image;
}

std::shared_ptr<const LoadedImage> LoadedImage::decodeFile(const QString& path) {
    // The path may have become a pipe, a device or a huge file since it was
    // looked at: the read neither blocks nor takes more than a picture needs.
    const GuardedRead::Result read = GuardedRead::read(path, largestImageFile);
    return read.ok() ? decode(read.bytes) : nullptr;
}

QSizeF LoadedImage::size() const {
    if (m_vector)
        return m_vector->defaultSize();
    return m_raster.deviceIndependentSize();
}

qsizetype LoadedImage::cost() const {
    return m_vector ? 64 * 1024 : m_raster.sizeInBytes();
}

void LoadedImage::paint(QPainter* painter, const QRectF& target) const {
    if (m_vector) {
        m_vector->render(painter, target);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(target, m_raster);
    painter->restore();
}

ImageLoader& ImageLoader::shared() {
    static ImageLoader* instance = new ImageLoader;
    return *instance;
}

ImageLoader::ImageLoader() : m_local(cacheBytes), m_remote(cacheBytes) {}

void ImageLoader::clear() {
    m_local.clear();
    m_remote.clear();
    m_failedAt.clear();
    m_localReads = 0;
}

std::shared_ptr<const LoadedImage> ImageLoader::local(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile())
        return nullptr;
    const QDateTime modified = info.lastModified();
    const qint64 size = info.size();
    if (Entry* entry = m_local.object(path)) {
        if (entry->modified == modified && entry->size == size)
            return entry->image;
    }
    ++m_localReads;
    auto image = LoadedImage::decodeFile(path);
    const qsizetype cost = image ? image->cost() : 1;
    m_local.insert(path, new Entry{image, modified, size}, int(qMin<qsizetype>(cost, cacheBytes)));
    return image;
}

std::shared_ptr<const LoadedImage> ImageLoader::remote(const QUrl& url) {
    if (auto* cached = m_remote.object(url))
        return *cached;
    if (m_pending.contains(url))
        return nullptr;
    const auto failed = m_failedAt.constFind(url);
    if (failed != m_failedAt.constEnd() &&
        failed->secsTo(QDateTime::currentDateTimeUtc()) < retryAfterSeconds)
        return nullptr;

    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(url);
    request.setTransferTimeout(transferTimeoutMs);
    QNetworkReply* reply = m_network->get(request);
    m_pending.insert(url, reply);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finished(reply); });
    return nullptr;
}

void ImageLoader::finished(QNetworkReply* reply) {
    reply->deleteLater();
    const QUrl url = m_pending.key(reply);
    m_pending.remove(url);
    std::shared_ptr<const LoadedImage> image;
    if (reply->error() == QNetworkReply::NoError)
        image = LoadedImage::decode(reply->readAll());
    if (image) {
        m_failedAt.remove(url);
        m_remote.insert(url, new std::shared_ptr<const LoadedImage>(image),
                        int(qMin<qsizetype>(image->cost(), cacheBytes)));
    } else {
        m_failedAt.insert(url, QDateTime::currentDateTimeUtc());
    }
    Q_EMIT remoteFinished(url);
}
