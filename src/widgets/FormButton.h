#pragma once

#include <QPushButton>

// A push button of a settings form whose fixed text follows the interface
// language.
class FormButton : public QPushButton {
    Q_OBJECT
public:
    explicit FormButton(const char* sourceText = nullptr, QWidget* parent = nullptr);

    // A fixed interface text (marked for translation), shown translated.
    void setSourceText(const char* text);

protected:
    void changeEvent(QEvent* event) override;

private:
    const char* m_sourceText = nullptr;
};
