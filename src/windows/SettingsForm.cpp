#include "windows/SettingsForm.h"

#include "core/AppearanceService.h"
#include "editor/ScrollViewStyling.h"
#include "widgets/LayoutHeight.h"
#include "widgets/ThemedLabel.h"

#include <QBoxLayout>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr double cardRadius = 8;
constexpr int rowHorizontalPadding = 12;
constexpr int rowVerticalPadding = 8;

// The card of a section: lighter than the window in every theme, rows parted
// by lines that leave out hidden rows.
class SectionCard : public QWidget {
public:
    explicit SectionCard(QWidget* parent) : QWidget(parent) {
        connect(&AppearanceService::shared(), &AppearanceService::changed, this,
                qOverload<>(&QWidget::update));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const DesignSystem& ds = AppearanceService::shared().designSystem();
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath card;
        card.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cardRadius, cardRadius);
        p.fillPath(card,
                   ds.isDark() ? ds.colors.chrome.toQColor() : ds.colors.editorSurface.toQColor());
        p.setPen(QPen(ds.colors.divider.toQColor(), 1));
        p.drawPath(card);
        p.setRenderHint(QPainter::Antialiasing, false);
        bool first = true;
        for (QObject* child : children()) {
            auto* row = qobject_cast<SettingsRow*>(child);
            if (!row || row->isHidden())
                continue;
            if (!first)
                p.drawLine(rowHorizontalPadding, row->y(), width() - rowHorizontalPadding,
                           row->y());
            first = false;
        }
    }
};

} // namespace

SettingsRow::SettingsRow(QWidget* parent) : QWidget(parent) {
    m_column = new QVBoxLayout(this);
    m_column->setContentsMargins(rowHorizontalPadding, rowVerticalPadding, rowHorizontalPadding,
                                 rowVerticalPadding);
    m_column->setSpacing(3);
    m_line = new QHBoxLayout;
    m_line->setSpacing(12);
    m_column->addLayout(m_line);
}

void SettingsRow::setTitle(const char* text) {
    if (!m_title) {
        m_title = new ThemedLabel(ThemeRoles::callout(), &DesignSystem::Colors::text, this);
        m_title->setWordWrap(true);
        m_line->insertWidget(0, m_title, 1);
    }
    m_title->setSourceText(text);
}

ThemedLabel* SettingsRow::addNote(const char* text) {
    auto* note = new ThemedLabel(ThemeRoles::caption(), &DesignSystem::Colors::mutedText, this);
    note->setSourceText(text);
    note->setWordWrap(true);
    m_column->addWidget(note);
    return note;
}

SettingsSection::SettingsSection(const char* title, QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    m_header =
        new ThemedLabel(ThemeRoles::system(13, QFont::DemiBold), &DesignSystem::Colors::text, this);
    m_header->setSourceText(title);
    m_header->setContentsMargins(4, 0, 0, 0);
    column->addWidget(m_header);
    m_card = new SectionCard(this);
    m_rows = new QVBoxLayout(m_card);
    m_rows->setContentsMargins(0, 2, 0, 2);
    m_rows->setSpacing(0);
    column->addWidget(m_card);
}

SettingsRow* SettingsSection::appendRow() {
    m_last = new SettingsRow(m_card);
    m_rows->addWidget(m_last);
    return m_last;
}

SettingsRow* SettingsSection::addRow(const char* title, QWidget* control) {
    SettingsRow* row = appendRow();
    row->setTitle(title);
    row->line()->addWidget(control, 0, Qt::AlignRight | Qt::AlignVCenter);
    return row;
}

SettingsRow* SettingsSection::addRow(QWidget* content) {
    SettingsRow* row = appendRow();
    row->line()->addWidget(content);
    return row;
}

ThemedLabel* SettingsSection::addNote(const char* text) {
    return (m_last ? m_last : appendRow())->addNote(text);
}

ThemedLabel* SettingsSection::addNoteRow(const char* text) {
    return appendRow()->addNote(text);
}

SettingsForm::SettingsForm(int height, QWidget* parent) : QScrollArea(parent), m_height(height) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_content = new QWidget;
    m_sections = new QVBoxLayout(m_content);
    m_sections->setContentsMargins(20, 12, 20, 12);
    m_sections->setSpacing(12);
    m_sections->addStretch(1);
    setWidget(m_content);
    m_content->installEventFilter(this);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            &SettingsForm::restyle);
    restyle();
}

int SettingsForm::formHeight() const {
    return qMax(m_height, LayoutHeight::forWidth(*m_content->layout(), width));
}

bool SettingsForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_content && event->type() == QEvent::LayoutRequest)
        Q_EMIT contentChanged();
    return QScrollArea::eventFilter(watched, event);
}

SettingsSection* SettingsForm::addSection(const char* title) {
    auto* section = new SettingsSection(title, m_content);
    m_sections->insertWidget(m_sections->count() - 1, section);
    return section;
}

void SettingsForm::restyle() {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Window, ds.colors.background);
    viewport()->setPalette(p);
    viewport()->setAutoFillBackground(true);
    m_content->setAutoFillBackground(false);
    // Buttons, menus and sliders take the form's font, as labels do.
    m_content->setFont(ds.typography.callout);
    ScrollViewStyling::apply(this, ds.colors.accent);
}
