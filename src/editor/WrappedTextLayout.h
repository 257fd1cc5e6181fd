#pragma once

#include <QPlainTextDocumentLayout>

// The editor's layout when lines wrap at the view's width. Qt's own keeps the
// widest block for a horizontal scroll bar and, whenever that block narrows,
// measures every block of the document again: in a long document a key typed
// into the widest paragraph held the UI thread for tens of milliseconds.
// Wrapped lines never need that width, so a block is laid out here without it.
class WrappedTextLayout : public QPlainTextDocumentLayout {
    Q_OBJECT

public:
    explicit WrappedTextLayout(QTextDocument* document);

    QRectF blockBoundingRect(const QTextBlock& block) const override;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    qreal wrapWidth() const;
    void layOut(const QTextBlock& block);

    int m_blockCount = -1;
};
