#pragma once

#include <QTimer>
#include <QWidget>

class MarkdownDocument;
class QLabel;

// The line under a document window's panes: word and character counts on the
// left, the file's name on the right. Counting walks the whole text, so it
// runs after the keystroke that changed it: on the next turn for ordinary
// documents, at most every 100 ms for large ones.
class StatusBarView : public QWidget {
    Q_OBJECT
public:
    static constexpr int largeDocumentLength = 64 * 1024;
    static constexpr int largeDocumentDelayMs = 100;

    explicit StatusBarView(MarkdownDocument& document, QWidget* parent = nullptr);

    QString countsText() const;
    QString nameText() const;
    // Whether a recount is waiting for its turn.
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
