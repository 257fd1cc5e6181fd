#pragma once

#include <QWidget>

// The chrome of popovers and overlay panels (the editing tools' popovers, the
// command palette): an opaque rounded panel with a thin border and a soft
// shadow around one content widget. It never takes focus
// and keeps every click on it to itself.
class PopoverFrame : public QWidget {
    Q_OBJECT
public:
    static constexpr int radius = 10;

    explicit PopoverFrame(QWidget* parent = nullptr);

    // The widget inside, kept `inset` away from the edges and at most
    // `maximumContentHeight` high, centred; the frame owns it.
    void setContent(QWidget* content, int inset, int maximumContentHeight);
    QWidget* content() const { return m_content; }
    // A translucent background is laid over the palette's window colour:
    // nothing blurs what lies behind a frame here, so it is always painted
    // opaque, text under it never showing through.
    void setColours(const QColor& background, const QColor& border);
    QColor paintedBackground() const;
    void setCornerRadius(int cornerRadius);
    // Off for a frame whose shadow is drawn by what lies behind it.
    void setShadowEnabled(bool enabled);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void placeContent();

    QWidget* m_content = nullptr;
    int m_inset = 0;
    int m_maximumContentHeight = QWIDGETSIZE_MAX;
    int m_radius = radius;
    QColor m_background;
    QColor m_border;
};
