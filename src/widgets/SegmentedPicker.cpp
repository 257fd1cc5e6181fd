#include "widgets/SegmentedPicker.h"

#include "core/AppearanceService.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr double trackRadius = 7;
constexpr double pillRadius = 5;

QFont segmentFont(bool selected) {
    return DesignSystem::Typography::font(FontDesign::Default, 12,
                                          selected ? QFont::DemiBold : QFont::Normal);
}

// One segment: its label only; the picker draws the track and the pill.
class SegmentButton : public QAbstractButton {
public:
    explicit SegmentButton(QWidget* parent) : QAbstractButton(parent) {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::TabFocus);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    bool selected = false;

    QSize sizeHint() const override {
        // Measured bold, so choosing a segment never shifts the row.
        const QFontMetrics fm(segmentFont(true));
        return {fm.horizontalAdvance(text()) + 24, fm.height() + 8};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const DesignSystem::Colors& c = AppearanceService::shared().designSystem().colors;
        QPainter p(this);
        if (!isEnabled())
            p.setOpacity(0.45);
        if (selected) {
            QPainterPath pill;
            pill.addRoundedRect(QRectF(rect()), pillRadius, pillRadius);
            p.setRenderHint(QPainter::Antialiasing);
            p.fillPath(pill, c.accent.toQColor());
        }
        p.setFont(segmentFont(selected));
        p.setPen(selected ? c.onAccent.toQColor() : c.secondaryText.toQColor());
        p.drawText(rect(), Qt::AlignCenter, text());
        if (hasFocus() && !selected) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(c.accent.withAlpha(0.6).toQColor(), 1));
            p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), pillRadius,
                              pillRadius);
        }
    }
};

} // namespace

SegmentedPicker::SegmentedPicker(QList<Segment> segments, QWidget* parent)
    : QWidget(parent), m_segments(std::move(segments)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    for (const Segment& segment : std::as_const(m_segments)) {
        auto* button = new SegmentButton(this);
        row->addWidget(button);
        m_buttons.append(button);
        const QString tag = segment.tag;
        connect(button, &QAbstractButton::clicked, this, [this, tag] {
            if (tag != m_current)
                Q_EMIT chosen(tag);
        });
    }
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this, [this] {
        update();
        for (QAbstractButton* b : std::as_const(m_buttons))
            b->update();
    });
    retranslate();
}

QAbstractButton* SegmentedPicker::segment(const QString& tag) const {
    for (int i = 0; i < m_segments.size(); ++i)
        if (m_segments.at(i).tag == tag)
            return m_buttons.at(i);
    return nullptr;
}

void SegmentedPicker::setCurrentTag(const QString& tag) {
    m_current = tag;
    for (int i = 0; i < m_segments.size(); ++i) {
        auto* button = static_cast<SegmentButton*>(m_buttons.at(i));
        button->selected = m_segments.at(i).tag == tag;
        button->update();
    }
}

void SegmentedPicker::retranslate() {
    for (int i = 0; i < m_segments.size(); ++i) {
        m_buttons.at(i)->setText(m_segments.at(i).label());
        m_buttons.at(i)->setAccessibleName(m_buttons.at(i)->text());
        m_buttons.at(i)->updateGeometry();
    }
}

void SegmentedPicker::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void SegmentedPicker::paintEvent(QPaintEvent*) {
    const DesignSystem::Colors& c = AppearanceService::shared().designSystem().colors;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath track;
    track.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), trackRadius, trackRadius);
    p.fillPath(track, c.segmentTrack.toQColor());
    p.setPen(QPen(c.segmentBorder.toQColor(), 1));
    p.drawPath(track);
}
