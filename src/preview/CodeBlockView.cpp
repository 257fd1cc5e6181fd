#include "preview/CodeBlockView.h"

#include "core/L10n.h"
#include "core/Motion.h"
#include "platform/Symbols.h"
#include "preview/CodeHighlightService.h"
#include "preview/CodeLinesView.h"
#include "preview/HorizontalPassThroughScrollView.h"
#include "preview/SelectableTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QVBoxLayout>
#include <climits>
#include <cmath>

namespace {
constexpr int symbolSize = 11;
} // namespace

CodeCopyButton::CodeCopyButton(const DesignSystem& design, QWidget* parent)
    : QAbstractButton(parent), m_design(design) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_change.setDuration(changeMs);
    m_change.setEasingCurve(Motion::easeOut());
    connect(&m_change, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    // Back to the symbol's size once the word has gone.
    connect(&m_change, &QVariantAnimation::finished, this, &QWidget::updateGeometry);
}

QFont CodeCopyButton::copiedFont() const {
    return DesignSystem::Typography::font(FontDesign::Default, 11, QFont::Medium);
}

QColor CodeCopyButton::currentColour() const {
    return m_copied ? QColor(m_design.colors.accent) : symbolColour();
}

QColor CodeCopyButton::symbolColour() const {
    return m_hovered ? QColor(m_design.colors.text) : QColor(m_design.colors.mutedText);
}

void CodeCopyButton::showCopied() {
    setCopied(true);
    // Each click's own second ends the state, as a timer per click does.
    QTimer::singleShot(copiedMs, this, [this] { setCopied(false); });
}

void CodeCopyButton::setCopied(bool copied) {
    const double from = shownCopied();
    m_copied = copied;
    m_change.stop();
    if (isVisible()) {
        m_change.setStartValue(from);
        m_change.setEndValue(copied ? 1.0 : 0.0);
        m_change.start();
    }
    updateGeometry();
    update();
}

double CodeCopyButton::shownCopied() const {
    if (m_change.state() == QAbstractAnimation::Running)
        return m_change.currentValue().toDouble();
    return m_copied ? 1 : 0;
}

QSize CodeCopyButton::sizeHint() const {
    // As wide as the word while it shows at all, so it is never cut.
    if (m_copied || shownCopied() > 0) {
        const QFontMetrics metrics(copiedFont());
        return {metrics.horizontalAdvance(L10n::tr("Copied")), metrics.height()};
    }
    return {symbolSize, qMax(symbolSize, QFontMetrics(copiedFont()).height())};
}

void CodeCopyButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const double copied = shownCopied();
    if (copied > 0) {
        painter.setOpacity(copied);
        painter.setFont(copiedFont());
        painter.setPen(QColor(m_design.colors.accent));
        painter.drawText(rect(), Qt::AlignRight | Qt::AlignVCenter, L10n::tr("Copied"));
    }
    if (copied < 1) {
        painter.setOpacity(1 - copied);
        const QRect box(width() - symbolSize, (height() - symbolSize) / 2, symbolSize, symbolSize);
        painter.drawPixmap(box,
                           Symbols::pixmap(QStringLiteral("doc.on.doc"), symbolColour(),
                                           QSize(symbolSize, symbolSize), devicePixelRatioF()));
    }
}

void CodeCopyButton::enterEvent(QEnterEvent* event) {
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CodeCopyButton::leaveEvent(QEvent* event) {
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CodeCopyButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        updateGeometry();
        update();
    }
    QAbstractButton::changeEvent(event);
}

int CodeBlockView::minimumBodyHeight(const QString& code) {
    const QFontMetricsF metrics(DesignSystem::Typography::font(FontDesign::Monospaced, 13));
    const int lineHeight = int(std::ceil(metrics.ascent() + metrics.descent() + metrics.leading()));
    const auto lines = int(qMin<qsizetype>(code.count(u'\n') + 1, INT_MAX / lineHeight / 2));
    return lineHeight * lines + 2 * textPadding;
}

bool CodeBlockView::drawsInChunks(const QString& code) {
    return code.size() > chunkedSize || code.count(u'\n') >= chunkedLines;
}

CodeBlockView::CodeBlockView(const QString& code, const QString& language,
                             const DesignSystem& design, QWidget* parent)
    : QWidget(parent), m_code(code), m_design(design), m_language(language) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    if (!language.isEmpty()) {
        auto* header = new QHBoxLayout;
        header->setContentsMargins(16, 8, 16, 4);
        m_languageLabel = new QLabel(language.toUpper(), this);
        m_languageLabel->setFont(design.typography.caption);
        QPalette palette = m_languageLabel->palette();
        palette.setColor(QPalette::WindowText, design.colors.mutedText);
        m_languageLabel->setPalette(palette);
        m_copyButton = new CodeCopyButton(design, this);
        connect(m_copyButton, &QAbstractButton::clicked, this, &CodeBlockView::copyCode);
        header->addWidget(m_languageLabel);
        header->addStretch(1);
        header->addWidget(m_copyButton);
        column->addLayout(header);
    }

    // Long code is taller than a layout may make anything: its view pads
    // itself and sits in the scroller directly.
    QWidget* body = nullptr;
    if (drawsInChunks(code)) {
        body = m_linesView = new CodeLinesView;
        m_linesView->setContentsMargins(textPadding, textPadding, textPadding, textPadding);
    } else {
        body = new QWidget;
        auto* paddedLayout = new QHBoxLayout(body);
        paddedLayout->setContentsMargins(textPadding, textPadding, textPadding, textPadding);
        m_codeView = new SelectableTextView(body);
        paddedLayout->addWidget(m_codeView, 0, Qt::AlignLeft | Qt::AlignTop);
        paddedLayout->addStretch(1);
    }
    showColoured();
    m_scroll = new HorizontalPassThroughScrollView(body, minimumBodyHeight(code), this);
    column->addWidget(m_scroll);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CodeBlockView::showColoured() {
    CodeHighlightService& service = CodeHighlightService::shared();
    const bool colours = m_code.size() <= CodeHighlighter::highlightLimit;
    if (const auto known =
            colours ? service.cached(m_code, m_language, m_design.codeTheme) : nullptr) {
        showCode(known->styled);
        return;
    }
    // Colouring takes from a few milliseconds to seconds (detecting a
    // language runs every grammar): the code shows plain until it is done.
    showCode(StyledText{m_code, {}});
    if (!colours)
        return;
    m_waitingForColours = true;
    service.request(m_code, m_language, m_design.codeTheme, this,
                    [this](const std::shared_ptr<const HighlightedCode>& result) {
                        m_waitingForColours = false;
                        showCode(result->styled);
                    });
}

void CodeBlockView::showCode(const StyledText& styled) {
    if (m_linesView)
        m_linesView->setContent(styled, m_design.typography.code, m_design.colors.text);
    else
        m_codeView->setContent(styled, m_design.typography.code, m_design.colors.text, 0, false);
}

void CodeBlockView::copyCode() {
    QApplication::clipboard()->setText(m_code);
    if (m_copyButton)
        m_copyButton->showCopied();
}

void CodeBlockView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(card, cornerRadius, cornerRadius);
    painter.fillPath(path, QColor(m_design.colors.codeBackground));
    painter.setPen(QPen(QColor(m_design.colors.codeBorder), 1));
    painter.drawPath(path);
}
