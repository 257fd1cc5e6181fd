#include "platform/Symbols.h"

#include <QFileInfo>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace {

const QString adwaita = QStringLiteral("/usr/share/icons/Adwaita/scalable/");
const QString ours = QStringLiteral(":/symbols/");
const QString fallbackFile = QStringLiteral(":/symbols/fallback.svg");

// Symbol name -> SVG: a path under Adwaita's scalable folder, or ":/..." for
// ours. One table for the whole interface; extend it as symbols are needed.
const QHash<QString, QString>& table() {
    static const QHash<QString, QString> t = [] {
        const auto a = [](const char* file) { return adwaita + QLatin1String(file); };
        const auto o = [](const char* file) { return ours + QLatin1String(file); };
        return QHash<QString, QString>{
            {QStringLiteral("checkmark.square.fill"), o("checkmark.square.fill.svg")},
            {QStringLiteral("square"), o("square.svg")},
            {QStringLiteral("doc.on.doc"), a("actions/edit-copy-symbolic.svg")},
            {QStringLiteral("doc.on.clipboard"), a("actions/edit-paste-symbolic.svg")},
            {QStringLiteral("checkmark"), a("actions/object-select-symbolic.svg")},
            {QStringLiteral("checkmark.circle.fill"), a("emblems/emblem-ok-symbolic.svg")},
            {QStringLiteral("photo"), a("mimetypes/image-x-generic-symbolic.svg")},
            {QStringLiteral("doc.text"), a("mimetypes/text-x-generic-symbolic.svg")},
            {QStringLiteral("doc.plaintext"), a("actions/format-text-plaintext-symbolic.svg")},
            {QStringLiteral("doc.richtext"), a("actions/format-text-rich-symbolic.svg")},
            {QStringLiteral("doc.badge.plus"), a("actions/document-new-symbolic.svg")},
            {QStringLiteral("folder.badge.plus"), a("actions/folder-new-symbolic.svg")},
            {QStringLiteral("list.bullet"), a("actions/view-list-bullet-symbolic.svg")},
            {QStringLiteral("list.number"), a("actions/view-list-ordered-symbolic.svg")},
            {QStringLiteral("magnifyingglass"), a("actions/edit-find-symbolic.svg")},
            {QStringLiteral("chevron.up"), a("actions/go-up-symbolic.svg")},
            {QStringLiteral("chevron.down"), a("actions/go-down-symbolic.svg")},
            {QStringLiteral("chevron.left"), a("actions/go-previous-symbolic.svg")},
            {QStringLiteral("arrow.clockwise"), a("actions/view-refresh-symbolic.svg")},
            {QStringLiteral("square.and.arrow.up"), a("actions/document-send-symbolic.svg")},
            {QStringLiteral("square.and.arrow.down"), a("actions/document-save-symbolic.svg")},
            {QStringLiteral("square.and.pencil"), a("actions/document-edit-symbolic.svg")},
            {QStringLiteral("house"), a("actions/go-home-symbolic.svg")},
            {QStringLiteral("gearshape"), a("emblems/emblem-system-symbolic.svg")},
            {QStringLiteral("command"), o("command.svg")},
            {QStringLiteral("folder"), a("places/folder-symbolic.svg")},
            {QStringLiteral("xmark"), a("ui/window-close-symbolic.svg")},
            {QStringLiteral("arrow.down.doc"), o("arrow.down.doc.svg")},
            {QStringLiteral("arrow.left.circle"), o("arrow.left.circle.svg")},
            {QStringLiteral("arrow.right.circle.fill"), o("arrow.right.circle.fill.svg")},
            {QStringLiteral("scissors"), a("actions/edit-cut-symbolic.svg")},
            {QStringLiteral("bold"), a("actions/format-text-bold-symbolic.svg")},
            {QStringLiteral("italic"), a("actions/format-text-italic-symbolic.svg")},
            {QStringLiteral("strikethrough"), a("actions/format-text-strikethrough-symbolic.svg")},
            {QStringLiteral("link"), o("link.svg")},
            {QStringLiteral("minus"), a("actions/list-remove-symbolic.svg")},
            {QStringLiteral("selection.pin.in.out"), a("actions/edit-select-all-symbolic.svg")},
            {QStringLiteral("chevron.left.forwardslash.chevron.right"),
             o("chevron.left.forwardslash.chevron.right.svg")},
            {QStringLiteral("textformat.size.larger"), o("textformat.size.larger.svg")},
            {QStringLiteral("textformat.size"), o("textformat.size.svg")},
            {QStringLiteral("textformat"), o("textformat.svg")},
            {QStringLiteral("text.quote"), o("text.quote.svg")},
            {QStringLiteral("curlybraces"), o("curlybraces.svg")},
            {QStringLiteral("paragraph"), o("paragraph.svg")},
            {QStringLiteral("checklist"), o("checklist.svg")},
            {QStringLiteral("tablecells"), o("tablecells.svg")},
            {QStringLiteral("pencil"), a("actions/document-edit-symbolic.svg")},
            {QStringLiteral("eye"), a("actions/view-reveal-symbolic.svg")},
            {QStringLiteral("rectangle.split.2x1"), a("actions/view-dual-symbolic.svg")},
            {QStringLiteral("arrow.up.left.and.arrow.down.right"),
             a("actions/view-fullscreen-symbolic.svg")},
            {QStringLiteral("paintbrush"), a("categories/applications-graphics-symbolic.svg")},
            {QStringLiteral("puzzlepiece.extension"),
             a("mimetypes/application-x-addon-symbolic.svg")},
            {QStringLiteral("circle.dashed"), o("circle.dashed.svg")},
            {QStringLiteral("slash.circle"), o("slash.circle.svg")},
            {QStringLiteral("plus.square.on.square"), o("plus.square.on.square.svg")},
            {QStringLiteral("chevron.left.slash.chevron.right"),
             o("chevron.left.forwardslash.chevron.right.svg")},
            {QStringLiteral("hand.wave"), o("hand.wave.svg")},
            {QStringLiteral("clock"), a("actions/document-open-recent-symbolic.svg")},
        };
    }();
    return t;
}

// Glyphs are painted on every repaint of checkboxes and buttons: parse each
// SVG once per colour and size, not per paint.
QPixmap render(const QString& file, const QColor& colour, const QSize& size, qreal dpr) {
    if (size.isEmpty())
        return {};
    const QSize device = (QSizeF(size) * dpr).toSize().expandedTo(QSize(1, 1));
    const QString key = QStringLiteral("quon.symbol:%1:%2:%3x%4:%5")
                            .arg(file)
                            .arg(colour.rgba(), 0, 16)
                            .arg(device.width())
                            .arg(device.height())
                            .arg(dpr);
    QPixmap cached;
    if (QPixmapCache::find(key, &cached))
        return cached;
    QImage image(device, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(file);
    if (!renderer.isValid())
        renderer.load(fallbackFile);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        // Keep the glyph square and centred in a non-square box.
        const qreal side = qMin(device.width(), device.height());
        const QRectF box((device.width() - side) / 2, (device.height() - side) / 2, side, side);
        renderer.render(&p, box);
        // The SVG's own colours only give the shape: its coverage takes the tint.
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(image.rect(), colour);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(dpr);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

class TintedSymbolEngine : public QIconEngine {
public:
    TintedSymbolEngine(QString file, QColor colour) : m_file(std::move(file)), m_colour(colour) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, render(m_file, colourFor(mode), rect.size(), dpr));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        return render(m_file, colourFor(mode), size, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        // Qt 6.4 asks with the size already in device pixels.
        const QSize logical = (QSizeF(size) / qMax(scale, 1.0)).toSize();
        return render(m_file, colourFor(mode), logical, scale);
    }
    QIconEngine* clone() const override { return new TintedSymbolEngine(m_file, m_colour); }
    QString key() const override { return QStringLiteral("quon.symbol"); }

private:
    QColor colourFor(QIcon::Mode mode) const {
        if (mode != QIcon::Disabled)
            return m_colour;
        QColor c = m_colour;
        c.setAlphaF(c.alphaF() * 0.4);
        return c;
    }

    QString m_file;
    QColor m_colour;
};

} // namespace

bool Symbols::isKnown(const QString& name) {
    return table().contains(name);
}

QString Symbols::sourceFile(const QString& name) {
    // Asked on every paint: look at the disk once per name.
    static QHash<QString, QString> resolved;
    if (const auto found = resolved.constFind(name); found != resolved.cend())
        return *found;
    QString file = table().value(name);
    if (file.isEmpty() || !QFileInfo::exists(file))
        file = fallbackFile;
    resolved.insert(name, file);
    return file;
}

QIcon Symbols::icon(const QString& name, const QColor& colour) {
    return QIcon(new TintedSymbolEngine(sourceFile(name), colour));
}

QPixmap Symbols::pixmap(const QString& name, const QColor& colour, const QSize& size, qreal dpr) {
    return render(sourceFile(name), colour, size, dpr);
}
