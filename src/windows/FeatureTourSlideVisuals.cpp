#include "windows/FeatureTourSlideVisuals.h"

#include "core/L10n.h"
#include "core/PreferenceEnums.h"
#include "platform/Symbols.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <algorithm>

namespace {

using Colors = DesignSystem::Colors;

// The default design unless another is given, at a logical pixel size.
QFont font(double px, QFont::Weight weight = QFont::Normal,
           FontDesign design = FontDesign::Default) {
    return DesignSystem::Typography::font(design, px, weight);
}

QFont weighted(QFont f, QFont::Weight weight) {
    f.setWeight(weight);
    return f;
}

QColor faded(const ColorValue& color, double opacity) {
    return color.withAlpha(color.alpha * opacity);
}

QPainterPath rounded(const QRectF& rect, double radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void fill(QPainter& p, const QRectF& rect, double radius, const QColor& color) {
    p.fillPath(rounded(rect, radius), color);
}

// A 1 px line along the outline, inside the shape so it stays crisp.
void stroke(QPainter& p, const QRectF& rect, double radius, const QColor& color) {
    p.strokePath(rounded(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius), QPen(color, 1));
}

double textWidth(const QFont& f, const QString& text) {
    return QFontMetricsF(f).horizontalAdvance(text);
}

double lineHeight(const QFont& f) {
    return QFontMetricsF(f).height();
}

// One line of text with its top left at a point.
void text(QPainter& p, const QPointF& topLeft, const QFont& f, const QColor& color,
          const QString& s) {
    p.setFont(f);
    p.setPen(color);
    p.drawText(QRectF(topLeft, QSizeF(textWidth(f, s) + 1, lineHeight(f))),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, s);
}

// A symbol of a pixel size centred in a frame.
void symbol(QPainter& p, const QString& name, const QColor& color, const QRectF& frame, double px) {
    QRectF square(0, 0, px, px);
    square.moveCenter(frame.center());
    Symbols::icon(name, color).paint(&p, square.toAlignedRect(), Qt::AlignCenter);
}

// Where content of a size sits when centred in a frame.
QRectF centred(const QRectF& frame, double width, double height) {
    return {frame.center().x() - width / 2, frame.center().y() - height / 2, width, height};
}

constexpr double defaultSymbol = 13; // a symbol at the size of body text

// --- Welcome: Markdown source on the left, its rendering on the right.

QFont paneHeadingFont(const DesignSystem& ds) {
    return font(17, QFont::DemiBold, ds.typography.design);
}

// Label, two bars and the heading; Linux fonts run taller than the 72-point
// window allows, so the window grows rather than cut the heading off.
double paneContentHeight(const DesignSystem& ds) {
    return lineHeight(font(10, QFont::DemiBold)) + 6 + 4 + 6 + 4 + 6 + 2 +
           qMax(lineHeight(paneHeadingFont(ds)), lineHeight(ds.typography.code));
}

void pane(QPainter& p, const QRectF& rect, const QString& label, bool accent,
          const DesignSystem& ds) {
    const Colors& c = ds.colors;
    const QRectF content = rect.adjusted(10, 10, -10, -10);
    double y = content.top();
    const QFont labelFont = font(10, QFont::DemiBold);
    text(p, {content.left(), y}, labelFont, accent ? c.accent : c.mutedText, label);
    y += lineHeight(labelFont) + 6;
    fill(p, {content.left(), y, content.width(), 4}, 2, c.divider);
    y += 4 + 6;
    fill(p, {content.left(), y, 72, 4}, 2, faded(c.divider, 0.7));
    y += 4 + 6 + 2;
    if (accent)
        text(p, {content.left(), y}, paneHeadingFont(ds), c.text, L10n::tr("Heading"));
    else
        text(p, {content.left(), y}, ds.typography.code, c.secondaryText, L10n::tr("# heading"));
}

void paintWelcome(QPainter& p, const QRectF& frame, const DesignSystem& ds, const QIcon& icon) {
    constexpr double iconSize = 56, spacing = 16;
    const double windowHeight = qMax(72.0, 10 + paneContentHeight(ds) + 4);
    const double windowWidth = qMin(280.0, frame.width());
    const double total = (icon.isNull() ? 0 : iconSize + spacing) + windowHeight;
    double y = frame.center().y() - total / 2;
    if (!icon.isNull()) {
        const QRectF square(frame.center().x() - iconSize / 2, y, iconSize, iconSize);
        p.save();
        p.setClipPath(rounded(square, 10));
        icon.paint(&p, square.toAlignedRect());
        p.restore();
        y += iconSize + spacing;
    }
    const QRectF window(frame.center().x() - windowWidth / 2, y, windowWidth, windowHeight);
    const double half = (windowWidth - 1) / 2;
    p.save();
    p.setClipPath(rounded(window, 10));
    p.fillRect(window, ds.colors.editorSurface);
    pane(p, {window.left(), y, half, windowHeight}, L10n::tr("Edit"), false, ds);
    p.fillRect(QRectF(window.left() + half, y, 1, windowHeight), ds.colors.divider);
    pane(p, {window.left() + half + 1, y, half, windowHeight}, L10n::tr("Preview"), true, ds);
    p.restore();
    stroke(p, window, 10, ds.colors.divider);
}

// --- View modes: the toolbar's switcher on Split, and a tile per mode.

void paintViewModes(QPainter& p, const QRectF& frame, const DesignSystem& ds, QWidget* switcher) {
    const Colors& c = ds.colors;
    constexpr ViewMode selected = ViewMode::Split;
    const QFont nameFont = font(10);
    const QList<ViewMode> modes = allCases<ViewMode>();
    double rowWidth = 8.0 * (modes.size() - 1);
    for (ViewMode mode : modes)
        rowWidth += qMax(52.0, textWidth(nameFont, displayName(mode)));
    const double tileHeight = 36 + 4 + lineHeight(nameFont);
    const QSize switcherSize = switcher ? switcher->sizeHint() : QSize();
    const double top = switcher ? switcherSize.height() + 16 : 0;
    const QRectF area = centred(frame, rowWidth, top + tileHeight);

    if (switcher) {
        switcher->resize(switcherSize);
        switcher->render(
            &p, QPoint(qRound(frame.center().x() - switcherSize.width() / 2.0), qRound(area.top())),
            QRegion(), QWidget::DrawChildren);
    }
    double x = area.left();
    for (ViewMode mode : modes) {
        const bool on = mode == selected;
        const QString name = displayName(mode);
        const double width = qMax(52.0, textWidth(nameFont, name));
        const QRectF tile(x + (width - 52) / 2, area.top() + top, 52, 36);
        fill(p, tile, 6, on ? faded(c.accent, 0.18) : QColor(c.codeBackground));
        const char* glyph = mode == ViewMode::Edit    ? "pencil"
                            : mode == ViewMode::Split ? "rectangle.split.2x1"
                                                      : "eye";
        symbol(p, QString::fromLatin1(glyph), on ? c.accent : c.mutedText, tile, 14);
        const double nameWidth = textWidth(nameFont, name);
        text(p, {x + (width - nameWidth) / 2, tile.bottom() + 4}, nameFont,
             on ? c.text : c.mutedText, name);
        x += width + 8;
    }
}

// --- Slash commands: "/hea" typed, the menu under it with its first row chosen.

void paintSlashCommands(QPainter& p, const QRectF& frame, const DesignSystem& ds) {
    const Colors& c = ds.colors;
    const QStringList items = {L10n::tr("Heading 1"), L10n::tr("Bulleted List"),
                               L10n::tr("Code Block"), L10n::tr("Table")};
    const QString typed = L10n::tr("/hea");
    const double width = qMin(300.0, frame.width());
    const QFont code = ds.typography.code;
    const QSizeF line(textWidth(code, typed) + 20, lineHeight(code) + 12);
    const QFont rowFont = font(12);
    const double rowHeight = qMax(lineHeight(rowFont), 11.0) + 14;
    const QRectF area = centred(frame, width, line.height() + 8 + rowHeight * items.size());

    const QRectF editorLine(area.topLeft(), line);
    fill(p, editorLine, 6, c.editorSurface);
    text(p, editorLine.topLeft() + QPointF(10, 6), code, c.text, typed);
    stroke(p, editorLine, 6, c.divider);

    const QRectF menu(area.left(), editorLine.bottom() + 8, width, rowHeight * items.size());
    p.save();
    p.setClipPath(rounded(menu, 10));
    p.fillRect(menu, c.previewSurface);
    static const char* const glyphs[] = {"textformat.size.larger", "list.bullet",
                                         "chevron.left.forwardslash.chevron.right", "tablecells"};
    for (int i = 0; i < items.size(); ++i) {
        const bool first = i == 0;
        const QRectF row(menu.left(), menu.top() + i * rowHeight, width, rowHeight);
        if (first)
            p.fillRect(row, faded(c.accent, 0.12));
        symbol(p, QString::fromLatin1(glyphs[qMin(i, 3)]), first ? c.accent : c.mutedText,
               {row.left() + 10, row.top(), 16, rowHeight}, 11);
        const QFont f = weighted(rowFont, first ? QFont::DemiBold : QFont::Normal);
        text(p, {row.left() + 10 + 16 + 8, row.center().y() - lineHeight(f) / 2}, f,
             first ? c.text : c.secondaryText, items.at(i));
    }
    p.restore();
    stroke(p, menu, 10, c.segmentBorder);
}

// --- Command palette: a search for "export" with three actions under it.

void paintCommandPalette(QPainter& p, const QRectF& frame, const DesignSystem& ds) {
    const Colors& c = ds.colors;
    struct Row {
        QString title, subtitle;
        const char* glyph;
    };
    const QList<Row> rows = {
        {L10n::tr("Split"), L10n::tr("Switch to Split mode"), "rectangle.split.2x1"},
        {L10n::tr("Export as PDF…"), QString(), "doc.richtext"},
        {L10n::tr("Settings"), QString(), "gearshape"}};
    const double width = qMin(320.0, frame.width());
    const QFont query = ds.typography.callout;
    const QFont keys = font(10, QFont::Medium, FontDesign::Monospaced);
    const double searchHeight = qMax(lineHeight(query), defaultSymbol) + 20;
    const QFont title = font(12);
    const QFont subtitle = font(10);
    QList<double> heights;
    double total = searchHeight + 1;
    for (const Row& row : rows) {
        heights.append(lineHeight(title) + (row.subtitle.isEmpty() ? 0 : 1 + lineHeight(subtitle)) +
                       16);
        total += heights.last();
    }
    const QRectF box = centred(frame, width, total);

    p.save();
    p.setClipPath(rounded(box, 14));
    p.fillRect(box, faded(c.chrome, 0.92));
    const QRectF search(box.left() + 12, box.top(), width - 24, searchHeight);
    symbol(p, QStringLiteral("magnifyingglass"), c.mutedText,
           {search.left(), search.top(), defaultSymbol, searchHeight}, defaultSymbol);
    text(p, {search.left() + defaultSymbol + 8, search.center().y() - lineHeight(query) / 2}, query,
         c.text, L10n::tr("export"));
    const QString shortcut = L10n::tr("Ctrl+Shift+P");
    text(p,
         {search.right() - textWidth(keys, shortcut), search.center().y() - lineHeight(keys) / 2},
         keys, c.mutedText, shortcut);
    p.fillRect(QRectF(box.left(), search.bottom(), width, 1), c.divider);

    double y = search.bottom() + 1;
    for (int i = 0; i < rows.size(); ++i) {
        const bool first = i == 0;
        const QRectF row(box.left(), y, width, heights.at(i));
        if (first)
            p.fillRect(row, faded(c.accent, 0.1));
        const QRectF inner = row.adjusted(12, 8, -12, -8);
        symbol(p, QString::fromLatin1(rows.at(i).glyph), first ? c.accent : c.mutedText,
               {inner.left(), inner.top(), 18, inner.height()}, 12);
        const QFont t = weighted(title, first ? QFont::DemiBold : QFont::Normal);
        const double x = inner.left() + 18 + 10;
        text(p, {x, inner.top()}, t, c.text, rows.at(i).title);
        if (!rows.at(i).subtitle.isEmpty())
            text(p, {x, inner.top() + lineHeight(t) + 1}, subtitle, c.mutedText,
                 rows.at(i).subtitle);
        y += heights.at(i);
    }
    p.restore();
    stroke(p, box, 14, c.segmentBorder);
}

// --- Themes and focus: the six themes in their own colours, and focus mode.

using FeatureTourSlideVisuals::chipWidth;
constexpr double chipCaptionSize = 8, smallestChipCaptionSize = 6;

// Words on at most two lines of chipWidth; empty when one word is wider.
QStringList wrapped(const QString& name, const QFont& f) {
    QStringList lines;
    for (const QString& word : name.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (textWidth(f, word) > chipWidth)
            return {};
        const QString joined = lines.isEmpty() ? QString() : lines.last() + QLatin1Char(' ') + word;
        if (!lines.isEmpty() && textWidth(f, joined) <= chipWidth)
            lines.last() = joined;
        else
            lines.append(word);
    }
    return lines.size() <= 2 ? lines : QStringList();
}

// Room for two lines of the usual caption under every swatch.
double chipHeight() {
    return 28 + 4 + 2 * lineHeight(font(chipCaptionSize));
}

// The swatch in the theme's own colours, the label in the active ones.
void themeChip(QPainter& p, const QPointF& topLeft, const Colors& palette, const QString& label,
               const DesignSystem& ds) {
    const QRectF swatch(topLeft.x() + (chipWidth - 44) / 2, topLeft.y(), 44, 28);
    fill(p, swatch, 6, palette.editorSurface);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(palette.accent));
    p.drawEllipse(QRectF(swatch.right() - 4 - 8, swatch.bottom() - 4 - 8, 8, 8));
    stroke(p, swatch, 6, palette.divider);
    const FeatureTourSlideVisuals::ChipCaption caption =
        FeatureTourSlideVisuals::chipCaption(label);
    p.setFont(caption.font);
    p.setPen(QColor(ds.colors.mutedText));
    double y = swatch.bottom() + 4;
    for (const QString& line : caption.lines) {
        const QRectF lineRect(topLeft.x(), y, chipWidth, lineHeight(caption.font));
        p.drawText(lineRect, Qt::AlignCenter | Qt::TextSingleLine, line);
        y += lineRect.height();
    }
}

void paintThemes(QPainter& p, const QRectF& frame, const DesignSystem& ds) {
    const Colors& c = ds.colors;
    const QList<std::pair<const Colors*, QString>> light = {
        {&Colors::light(), label(LightTheme::WarmEditorial)},
        {&Colors::porcelain(), label(LightTheme::Porcelain)},
        {&Colors::sage(), label(LightTheme::Sage)}};
    const QList<std::pair<const Colors*, QString>> dark = {
        {&Colors::dark(), label(DarkTheme::SleekPro)},
        {&Colors::depth(), label(DarkTheme::Depth)},
        {&Colors::ember(), label(DarkTheme::Ember)}};

    const QFont name = weighted(ds.typography.callout, QFont::Medium);
    const QFont keys = font(10, QFont::Medium, FontDesign::Monospaced);
    const QString focus = L10n::tr("Focus Mode");
    const QString shortcut = L10n::tr("Ctrl+Shift+.");
    const QSizeF badge(textWidth(keys, shortcut) + 12, lineHeight(keys) + 4);
    const double focusHeight = std::max({defaultSymbol, lineHeight(name), badge.height()}) + 16;
    const double focusWidth =
        12 + defaultSymbol + 8 + textWidth(name, focus) + 8 + badge.width() + 12;
    const double rowWidth = 3 * chipWidth + 2 * 8;
    // Two-line captions leave less room between the rows than the usual 16.
    const double gap =
        qBound(8.0, (FeatureTourSlideVisuals::height - 2 * chipHeight() - focusHeight) / 2, 16.0);
    const QRectF area =
        centred(frame, qMax(rowWidth, focusWidth), 2 * chipHeight() + 2 * gap + focusHeight);

    double y = area.top();
    for (const auto* row : {&light, &dark}) {
        double x = frame.center().x() - rowWidth / 2;
        for (const auto& [palette, title] : *row) {
            themeChip(p, {x, y}, *palette, title, ds);
            x += chipWidth + 8;
        }
        y += chipHeight() + gap;
    }

    const QRectF bar(frame.center().x() - focusWidth / 2, y, focusWidth, focusHeight);
    fill(p, bar, 10, c.segmentTrack);
    double x = bar.left() + 12;
    symbol(p, QStringLiteral("arrow.up.left.and.arrow.down.right"), c.accent,
           {x, bar.top(), defaultSymbol, focusHeight}, defaultSymbol);
    x += defaultSymbol + 8;
    text(p, {x, bar.center().y() - lineHeight(name) / 2}, name, c.text, focus);
    x += textWidth(name, focus) + 8;
    const QRectF key(QPointF(x, bar.center().y() - badge.height() / 2), badge);
    fill(p, key, 4, c.codeBackground);
    text(p, key.topLeft() + QPointF(6, 2), keys, c.mutedText, shortcut);
}

// --- Ready: two tips, each behind a check mark.

void paintReady(QPainter& p, const QRectF& frame, const DesignSystem& ds) {
    const Colors& c = ds.colors;
    const QList<std::pair<QString, QString>> tips = {
        {L10n::tr("Set quon as your default .md app in Settings → Files"),
         QStringLiteral("doc.text")},
        {L10n::tr("Create Markdown files from Files with the quon extension"),
         QStringLiteral("folder.badge.plus")}};
    const QFont f = ds.typography.callout;
    const QFontMetricsF metrics(f);
    constexpr double lead = 16 + 8 + 18 + 8; // check mark, symbol and their spacing
    const double maxText = qMin(380.0, frame.width() - 16) - lead;
    double width = 0, height = 16.0 * (tips.size() - 1);
    QList<QRectF> texts;
    for (const auto& tip : tips) {
        const QRectF r = metrics.boundingRect(QRectF(0, 0, maxText, 10000),
                                              Qt::AlignLeft | Qt::TextWordWrap, tip.first);
        texts.append(r);
        width = qMax(width, lead + r.width());
        height += qMax(16.0, r.height());
    }
    const QRectF area = centred(frame, width, height);
    double y = area.top();
    for (int i = 0; i < tips.size(); ++i) {
        const double x = area.left();
        const double lineTop = y + (metrics.height() - 16) / 2;
        symbol(p, QStringLiteral("checkmark.circle.fill"), c.accent, {x, lineTop, 16, 16}, 16);
        symbol(p, tips.at(i).second, c.secondaryText,
               {x + 16 + 8, y + (metrics.height() - 13) / 2, 18, 13}, 13);
        p.setFont(f);
        p.setPen(QColor(c.text));
        p.drawText(QRectF(x + lead, y, maxText, texts.at(i).height()),
                   Qt::AlignLeft | Qt::TextWordWrap, tips.at(i).first);
        y += qMax(16.0, texts.at(i).height()) + 16;
    }
}

} // namespace

FeatureTourSlideVisuals::ChipCaption FeatureTourSlideVisuals::chipCaption(const QString& name) {
    for (double size = chipCaptionSize; size >= smallestChipCaptionSize; size -= 0.5) {
        const QFont f = font(size);
        if (const QStringList lines = wrapped(name, f); !lines.isEmpty())
            return {f, lines};
    }
    const QFont smallest = font(smallestChipCaptionSize);
    return {smallest, {QFontMetricsF(smallest).elidedText(name, Qt::ElideRight, chipWidth)}};
}

void FeatureTourSlideVisuals::paint(QPainter& painter, FeatureTourSlideKind kind,
                                    const QRectF& frame, const DesignSystem& ds,
                                    const FeatureTourVisualInputs& inputs) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    switch (kind) {
    case FeatureTourSlideKind::Welcome:
        paintWelcome(painter, frame, ds, inputs.appIcon);
        break;
    case FeatureTourSlideKind::ViewModes:
        paintViewModes(painter, frame, ds, inputs.modeSwitcher);
        break;
    case FeatureTourSlideKind::SlashCommands:
        paintSlashCommands(painter, frame, ds);
        break;
    case FeatureTourSlideKind::CommandPalette:
        paintCommandPalette(painter, frame, ds);
        break;
    case FeatureTourSlideKind::ThemesAndFocus:
        paintThemes(painter, frame, ds);
        break;
    case FeatureTourSlideKind::Ready:
        paintReady(painter, frame, ds);
        break;
    }
    painter.restore();
}
