#pragma once

#include <QScrollArea>

// A horizontal-only scroller without visible bars, for content that must not
// wrap (code). Mostly-vertical wheel turns go on to the page's own scroll
// view, so scrolling a document over a code block never gets stuck in it;
// horizontal turns, Shift+wheel and exact diagonals scroll the content.
class HorizontalPassThroughScrollView : public QScrollArea {
    Q_OBJECT
public:
    enum class WheelRoute { Parent, Horizontal };
    static WheelRoute route(QPoint delta, Qt::KeyboardModifiers modifiers);

    explicit HorizontalPassThroughScrollView(QWidget* content, int minHeight,
                                             QWidget* parent = nullptr);

    int minHeight() const { return m_minHeight; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void wheelEvent(QWheelEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshDocumentLayout();
    QAbstractScrollArea* parentVerticalScrollView() const;

    int m_minHeight;
};
