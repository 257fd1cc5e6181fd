#pragma once

#include <QWidget>
#include <optional>

class PlainButton;
class QLabel;
class QLineEdit;
class SymbolLabel;

// The strip above a document window's panes while a search is open: the
// query field, the count ("3 of 12", "No results"), previous and next, and
// close. It holds no search: the window gives it the query and the counts
// and acts on its signals. Return in the field asks for the next match,
// Shift+Return for the previous one; Escape belongs to the window, which
// closes the bar with it.
class FindBarView : public QWidget {
    Q_OBJECT
public:
    // The count's place keeps at least this width, so the field does not
    // move as the count changes.
    static constexpr int statusMinimumWidth = 72;

    explicit FindBarView(QWidget* parent = nullptr);

    // What the bar shows; the field takes the query only when it differs.
    void setState(const QString& query, int matchCount, int currentIndex);

    QLineEdit* field() const { return m_field; }
    // The count as shown; empty while there is none.
    QString statusText() const;
    PlainButton* previousButton() const { return m_previous; }
    PlainButton* nextButton() const { return m_next; }
    PlainButton* closeButton() const { return m_close; }

    // The count for a query: none while the query is blank, "No results"
    // without matches, else "3 of 12" (current index + 1 of the count).
    static std::optional<QString> statusText(const QString& query, int matchCount,
                                             int currentIndex);

Q_SIGNALS:
    void queryEdited(const QString& query);
    void nextRequested();
    void previousRequested();
    void closeRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showStatus();
    void retranslate();
    void restyle();

    SymbolLabel* m_icon = nullptr;
    QLineEdit* m_field = nullptr;
    QLabel* m_status = nullptr;
    PlainButton* m_previous = nullptr;
    PlainButton* m_next = nullptr;
    PlainButton* m_close = nullptr;
    int m_matchCount = 0;
    int m_currentIndex = 0;
};
