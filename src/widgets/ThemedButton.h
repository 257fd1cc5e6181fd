#pragma once

#include <QAbstractButton>

// What the custom-drawn buttons share: they repaint when the design system
// changes, retranslate a fixed text, and show a focus ring when reached with
// Tab (not when focused by a click or by their window opening).
class ThemedButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit ThemedButton(QWidget* parent = nullptr);

    // A fixed interface text (marked for translation), shown translated.
    void setSourceText(const char* text);
    // A fixed tooltip (marked for translation), shown translated.
    void setSourceToolTip(const char* text);
    bool showsFocusRing() const { return m_ring && hasFocus(); }

protected:
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    const char* m_sourceText = nullptr;
    const char* m_sourceToolTip = nullptr;
    bool m_ring = false;
};
