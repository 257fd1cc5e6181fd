#pragma once

#include <QWidget>

class QAbstractButton;

// The card that tells a new user that "/" in the editor opens the slash
// menu, with a button to dismiss it. It stores nothing: the window decides
// when it shows and what dismissing does. Its colours follow the active
// design system.
//
// The card keeps its height when the widget is given less (while the window
// slides it in or out): it is cut off at the bottom, never squeezed.
class SlashCommandsHintToast : public QWidget {
    Q_OBJECT
public:
    explicit SlashCommandsHintToast(QWidget* parent = nullptr);

    QAbstractButton* dismissButton() const { return m_dismiss; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // The dismiss button was pressed.
    void dismissed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int cardHeight() const;
    void retranslate();

    QAbstractButton* m_dismiss = nullptr;
};
