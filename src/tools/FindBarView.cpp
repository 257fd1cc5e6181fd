#include "tools/FindBarView.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "tools/SearchMatcher.h"
#include "widgets/PlainButton.h"
#include "widgets/SymbolLabel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

namespace {

PlainButton* symbolButton(const char* symbol, int symbolSize, int frame, QWidget* parent) {
    auto* button = new PlainButton(ThemeRoles::system(symbolSize, QFont::DemiBold),
                                   &DesignSystem::Colors::secondaryText, parent);
    button->setSymbol(QString::fromLatin1(symbol), symbolSize);
    button->setFixedSize(frame, frame);
    return button;
}

} // namespace

FindBarView::FindBarView(QWidget* parent) : QWidget(parent) {
    m_icon = new SymbolLabel(QStringLiteral("magnifyingglass"), 13,
                             &DesignSystem::Colors::mutedText, this);
    m_field = new QLineEdit(this);
    m_field->setFrame(false);
    m_field->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_status = new QLabel(this);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setMinimumWidth(statusMinimumWidth);
    m_status->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_status->hide();
    m_previous = symbolButton("chevron.up", 12, 24, this);
    m_next = symbolButton("chevron.down", 12, 24, this);
    m_close = symbolButton("xmark", 11, 22, this);
    // As written in every language.
    m_previous->setToolTip(QStringLiteral("Previous match"));
    m_next->setToolTip(QStringLiteral("Next match"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16, 8, 16, 8);
    row->setSpacing(8);
    row->addWidget(m_icon);
    row->addWidget(m_field, 1);
    row->addWidget(m_status);
    row->addWidget(m_previous);
    row->addWidget(m_next);
    row->addWidget(m_close);

    connect(m_field, &QLineEdit::textEdited, this, &FindBarView::queryEdited);
    connect(m_field, &QLineEdit::returnPressed, this, &FindBarView::nextRequested);
    m_field->installEventFilter(this);
    connect(m_previous, &PlainButton::clicked, this, &FindBarView::previousRequested);
    connect(m_next, &PlainButton::clicked, this, &FindBarView::nextRequested);
    connect(m_close, &PlainButton::clicked, this, &FindBarView::closeRequested);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this, &FindBarView::restyle);
    retranslate();
    restyle();
    setState({}, 0, 0);
}

std::optional<QString> FindBarView::statusText(const QString& query, int matchCount,
                                               int currentIndex) {
    if (SearchMatcher::searchedQuery(query).isEmpty())
        return std::nullopt;
    if (matchCount <= 0)
        return L10n::tr("No results");
    return L10n::tr("%1 of %2")
        .arg(QString::number(qint64(currentIndex) + 1), QString::number(matchCount));
}

void FindBarView::setState(const QString& query, int matchCount, int currentIndex) {
    if (m_field->text() != query)
        m_field->setText(query);
    m_matchCount = matchCount;
    m_currentIndex = currentIndex;
    m_previous->setEnabled(matchCount > 0);
    m_next->setEnabled(matchCount > 0);
    showStatus();
}

QString FindBarView::statusText() const {
    return m_status->isVisibleTo(this) ? m_status->text() : QString();
}

void FindBarView::showStatus() {
    const std::optional<QString> status = statusText(m_field->text(), m_matchCount, m_currentIndex);
    m_status->setText(status.value_or(QString()));
    m_status->setVisible(status.has_value());
}

void FindBarView::retranslate() {
    m_field->setPlaceholderText(L10n::tr("Find"));
    m_close->setToolTip(L10n::tr("Close find bar"));
    showStatus();
}

void FindBarView::restyle() {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    m_field->setFont(DesignSystem::Typography::font(FontDesign::Default, 13));
    QPalette field = m_field->palette();
    field.setColor(QPalette::Base, Qt::transparent);
    field.setColor(QPalette::Text, ds.colors.text);
    field.setColor(QPalette::PlaceholderText, ds.colors.mutedText);
    m_field->setPalette(field);
    // The caption font: Noto Sans and DejaVu Sans draw every digit at one
    // width, so the count does not wobble as it changes.
    m_status->setFont(ds.typography.caption);
    QPalette status = m_status->palette();
    status.setColor(QPalette::WindowText, ds.colors.mutedText);
    m_status->setPalette(status);
    update();
}

void FindBarView::paintEvent(QPaintEvent*) {
    const DesignSystem::Colors& c = AppearanceService::shared().designSystem().colors;
    QPainter p(this);
    p.fillRect(rect(), c.chrome);
    p.fillRect(QRect(0, height() - 1, width(), 1), c.divider);
}

void FindBarView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

bool FindBarView::eventFilter(QObject* watched, QEvent* event) {
    // The field itself takes Shift+Return for a plain Return.
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier) {
            Q_EMIT previousRequested();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
