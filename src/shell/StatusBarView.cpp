#include "shell/StatusBarView.h"

#include "core/AppearanceService.h"
#include "core/MarkdownDocument.h"
#include "shell/StatusBarText.h"
#include "widgets/ThemedLabel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

StatusBarView::StatusBarView(MarkdownDocument& document, QWidget* parent)
    : QWidget(parent), m_document(document) {
    m_counts = new QLabel(this);
    // One line, cut in the middle: a long name never widens the window.
    auto* name = new ThemedLabel(ThemeRoles::caption(), &DesignSystem::Colors::mutedText, this);
    name->setElided(true, Qt::ElideMiddle);
    name->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_name = name;
    m_counts->setTextFormat(Qt::PlainText);
    auto* row = new QHBoxLayout(this);
    // 1 px of the top margin is the divider line.
    row->setContentsMargins(16, 5, 16, 4);
    row->addWidget(m_counts);
    row->addStretch(1);
    row->addWidget(m_name);

    m_recount.setSingleShot(true);
    connect(&m_recount, &QTimer::timeout, this, &StatusBarView::recount);
    connect(&document, &MarkdownDocument::textChanged, this, &StatusBarView::scheduleRecount);
    connect(&document, &MarkdownDocument::fileUrlChanged, this, &StatusBarView::updateName);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            &StatusBarView::restyle);
    recount();
    updateName();
    restyle();
}

QString StatusBarView::countsText() const {
    return m_counts->text();
}

QString StatusBarView::nameText() const {
    return m_name->text();
}

void StatusBarView::scheduleRecount() {
    if (!m_recount.isActive())
        m_recount.start(0);
}

void StatusBarView::recount() {
    m_words = m_document.wordCount();
    m_characters = m_document.characterCount();
    m_counts->setText(StatusBarText::countsLabel(m_words, m_characters));
}

void StatusBarView::updateName() {
    m_name->setText(StatusBarText::documentNameLabel(m_document.fileUrl()));
}

void StatusBarView::restyle() {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    for (QLabel* label : {m_counts, m_name}) {
        label->setFont(ds.typography.caption);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, ds.colors.mutedText);
        label->setPalette(p);
    }
    update();
}

void StatusBarView::paintEvent(QPaintEvent*) {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    QPainter p(this);
    p.fillRect(rect(), ds.colors.chrome);
    p.fillRect(QRect(0, 0, width(), 1), ds.colors.divider);
}

void StatusBarView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        m_counts->setText(StatusBarText::countsLabel(m_words, m_characters));
        updateName();
    }
    QWidget::changeEvent(event);
}
