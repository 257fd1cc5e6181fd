#include "preview/MarkdownImageView.h"

#include "core/L10n.h"
#include "preview/ImageURLResolver.h"
#include "preview/SelectableTextView.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

QString missingText(const QString& source) {
    return L10n::tr("Missing: %1").arg(source);
}

} // namespace

ImagePresentation MarkdownImageView::present(const MarkdownNode& image,
                                             const QString& documentDirectory) {
    ImagePresentation p;
    p.caption = image.plainText();
    const QString source = image.destination.toString();
    if (source.isEmpty())
        return p;
    const std::optional<QUrl> url = ImageURLResolver::resolve(source, documentDirectory);
    if (url && url->isLocalFile()) {
        p.picture = ImagePresentation::Picture::Local;
        p.url = *url;
        return p;
    }
    if (url && ImageURLResolver::isWebUrl(*url)) {
        p.picture = ImagePresentation::Picture::Remote;
        p.url = *url;
        return p;
    }
    p.picture = ImagePresentation::Picture::Missing;
    p.missingText = missingText(source);
    return p;
}

MarkdownImageView::MarkdownImageView(const MarkdownNode& image,
                                     const MarkdownRendererContext& context, QWidget* parent)
    : ColumnFillingWidget(parent), m_presentation(present(image, context.documentDirectory)),
      m_design(context.designSystem) {

    using Picture = ImagePresentation::Picture;
    if (m_presentation.picture == Picture::Local) {
        m_picture = ImageLoader::shared().local(m_presentation.url.toLocalFile());
        if (!m_picture) {
            // A file that is there but no picture reads as missing, like a wrong path.
            m_presentation.picture = Picture::Missing;
            m_presentation.missingText = missingText(image.destination.toString());
        }
    } else if (m_presentation.picture == Picture::Remote) {
        m_picture = ImageLoader::shared().remote(m_presentation.url);
        if (!m_picture)
            connect(&ImageLoader::shared(), &ImageLoader::remoteFinished, this,
                    &MarkdownImageView::remoteFinished);
    }

    if (!m_presentation.caption.isEmpty()) {
        m_caption = new SelectableTextView(this);
        StyledText caption;
        caption.append(m_presentation.caption, {});
        m_caption->setContent(caption, m_design.typography.caption, m_design.colors.mutedText, 0,
                              true);
    }
}

void MarkdownImageView::remoteFinished(const QUrl& url) {
    if (url != m_presentation.url)
        return;
    disconnect(&ImageLoader::shared(), &ImageLoader::remoteFinished, this,
               &MarkdownImageView::remoteFinished);
    m_picture = ImageLoader::shared().remote(url);
    updateGeometry();
    resizeEvent(nullptr);
    update();
}

int MarkdownImageView::pictureHeight(int width) const {
    if (m_presentation.picture == ImagePresentation::Picture::None)
        return 0;
    if (!m_picture)
        return placeholderHeight;
    const QSizeF natural = m_picture->size();
    if (natural.width() <= 0)
        return placeholderHeight;
    return int(std::ceil(width * natural.height() / natural.width()));
}

int MarkdownImageView::heightForWidth(int width) const {
    const int picture = pictureHeight(width);
    if (!m_caption)
        return picture;
    return picture + (picture > 0 ? spacing : 0) + m_caption->heightForWidth(width);
}

QRect MarkdownImageView::pictureRect() const {
    return QRect(0, 0, width(), pictureHeight(width()));
}

void MarkdownImageView::resizeEvent(QResizeEvent*) {
    if (!m_caption)
        return;
    const int picture = pictureHeight(width());
    const int top = picture + (picture > 0 ? spacing : 0);
    m_caption->setGeometry(0, top, width(), m_caption->heightForWidth(width()));
}

void MarkdownImageView::paintEvent(QPaintEvent*) {
    const QRect area = pictureRect();
    if (area.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(area), cornerRadius, cornerRadius);
    if (m_picture) {
        painter.setClipPath(rounded);
        m_picture->paint(&painter, QRectF(area));
        return;
    }
    painter.fillPath(rounded, QColor(m_design.colors.codeBackground));
    if (m_presentation.picture != ImagePresentation::Picture::Missing)
        return;
    painter.setFont(m_design.typography.caption);
    painter.setPen(QColor(m_design.colors.mutedText));
    const int padding = 8;
    painter.drawText(area.adjusted(padding, padding, -padding, -padding),
                     Qt::AlignCenter | Qt::TextWordWrap, m_presentation.missingText);
}
