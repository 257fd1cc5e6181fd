#include "widgets/FormButton.h"

#include "core/L10n.h"

#include <QEvent>

FormButton::FormButton(const char* sourceText, QWidget* parent) : QPushButton(parent) {
    if (sourceText)
        setSourceText(sourceText);
}

void FormButton::setSourceText(const char* text) {
    m_sourceText = text;
    setText(L10n::tr(text));
}

void FormButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange && m_sourceText)
        setText(L10n::tr(m_sourceText));
    QPushButton::changeEvent(event);
}
