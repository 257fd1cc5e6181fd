#include "widgets/ThemedButton.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"

#include <QEvent>
#include <QFocusEvent>

ThemedButton::ThemedButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this, [this] {
        updateGeometry();
        update();
    });
}

void ThemedButton::setSourceText(const char* text) {
    m_sourceText = text;
    setText(L10n::tr(text));
    updateGeometry();
}

void ThemedButton::setSourceToolTip(const char* text) {
    m_sourceToolTip = text;
    setToolTip(L10n::tr(text));
}

void ThemedButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange && m_sourceText) {
        setText(L10n::tr(m_sourceText));
        updateGeometry();
    }
    if (event->type() == QEvent::LanguageChange && m_sourceToolTip)
        setToolTip(L10n::tr(m_sourceToolTip));
    QAbstractButton::changeEvent(event);
}

void ThemedButton::focusInEvent(QFocusEvent* event) {
    m_ring = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void ThemedButton::focusOutEvent(QFocusEvent* event) {
    m_ring = false;
    QAbstractButton::focusOutEvent(event);
}
