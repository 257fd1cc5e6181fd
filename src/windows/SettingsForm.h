#pragma once

#include <QScrollArea>

class QBoxLayout;
class QHBoxLayout;
class QVBoxLayout;
class ThemedLabel;

// One row of a settings section: a line (a title on the left and its control
// on the right, or one widget across the row) and the notes under it.
class SettingsRow : public QWidget {
    Q_OBJECT
public:
    explicit SettingsRow(QWidget* parent = nullptr);

    QHBoxLayout* line() const { return m_line; }
    // Null for a row without a title.
    ThemedLabel* title() const { return m_title; }
    void setTitle(const char* text);
    // A caption in the muted colour under the line.
    ThemedLabel* addNote(const char* text);

private:
    QVBoxLayout* m_column = nullptr;
    QHBoxLayout* m_line = nullptr;
    ThemedLabel* m_title = nullptr;
};

// A titled group of rows on a rounded card, rows parted by thin lines.
class SettingsSection : public QWidget {
    Q_OBJECT
public:
    SettingsSection(const char* title, QWidget* parent = nullptr);

    ThemedLabel* header() const { return m_header; }
    // A title and its control at the right.
    SettingsRow* addRow(const char* title, QWidget* control);
    // One widget across the row.
    SettingsRow* addRow(QWidget* content);
    // A note under the last row.
    ThemedLabel* addNote(const char* text);
    // A note in a row of its own, shown whichever rows above it are hidden.
    ThemedLabel* addNoteRow(const char* text);

private:
    SettingsRow* appendRow();

    ThemedLabel* m_header = nullptr;
    QWidget* m_card = nullptr;
    QVBoxLayout* m_rows = nullptr;
    SettingsRow* m_last = nullptr;
};

// A settings tab's form in the grouped style: sections one under the other
// on the window background, at the tab's own height, or taller when its
// sections need more at the form's width (longer translations).
class SettingsForm : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int width = 560;

    explicit SettingsForm(int height, QWidget* parent = nullptr);

    // The tab's height, or what its sections need if that is more.
    int formHeight() const;
    SettingsSection* addSection(const char* title);

    QSize sizeHint() const override { return {width, formHeight()}; }
    QSize minimumSizeHint() const override { return {0, 0}; }

Q_SIGNALS:
    // The sections may need another height (a text or a row changed).
    void contentChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restyle();

    int m_height;
    QWidget* m_content = nullptr;
    QVBoxLayout* m_sections = nullptr;
};
