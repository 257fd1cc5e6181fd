#pragma once

#include <QTimer>
#include <QWidget>

class MarkdownDocument;
class QLabel;

// The line under a document window's panes: word and character counts on the
// left, the file's name on the right. The document keeps its counts up to
// date; the label takes them once per turn of the event loop, so a burst of
// edits redraws it once.
class StatusBarView : public QWidget {
    Q_OBJECT
public:
    explicit StatusBarView(MarkdownDocument& document, QWidget* parent = nullptr);

    QString countsText() const;
    QString nameText() const;
    // Whether new counts are waiting for their turn.
    bool isRecountPending() const { return m_recount.isActive(); }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void scheduleRecount();
    void recount();
    void updateName();
    void restyle();

    MarkdownDocument& m_document;
    QLabel* m_counts = nullptr;
    QLabel* m_name = nullptr;
    QTimer m_recount;
    int m_words = 0;
    int m_characters = 0;
};
