#pragma once

#include "shell/WorkspacePanes.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>

// Simple panes for window tests: a plain text editor that reports user edits
// and a label that counts how often it read the preview's text, and the find
// state as the window last gave it.
class FakeWorkspacePanes : public WorkspacePanes {
public:
    explicit FakeWorkspacePanes(QWidget* parent) : WorkspacePanes(parent) {
        m_editor = new QPlainTextEdit(parent);
        m_preview = new QLabel(parent);
        QObject::connect(m_editor->document(), &QTextDocument::contentsChange, this,
                         [this](int position, int removed, int added) {
                             if (m_setting)
                                 return;
                             QTextCursor cursor(m_editor->document());
                             cursor.setPosition(position);
                             cursor.setPosition(position + added, QTextCursor::KeepAnchor);
                             Q_EMIT editorTextEdited(
                                 position, removed,
                                 cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n'));
                         });
    }

    QWidget* editor() const override { return m_editor; }
    QWidget* preview() const override { return m_preview; }
    QPlainTextEdit* textEdit() const { return m_editor; }

    void setEditorText(const QString& text) override {
        ++editorTextSets;
        m_setting = true;
        m_editor->setPlainText(text);
        m_setting = false;
    }
    void editEditorText(int position, int removed, const QString& added) override {
        ++editorEdits;
        m_setting = true;
        QTextCursor cursor(m_editor->document());
        cursor.setPosition(position);
        cursor.setPosition(position + removed, QTextCursor::KeepAnchor);
        cursor.insertText(added);
        m_setting = false;
    }
    void setPreviewSource(std::function<TextSnapshot()> source) override {
        m_source = std::move(source);
    }
    void previewTextChanged() override {
        ++previewRenders;
        m_preview->setText(m_source().toString());
    }
    void setDocumentDirectory(const QString& folder) override { documentDirectory = folder; }
    void setScrollSyncEnabled(bool enabled) override { scrollSyncEnabled = enabled; }
    void setSearchState(const DocumentSearchState& state) override { searchState = state; }
    void setFindActive(bool active) override { findActive = active; }
    void closeEditorPopovers() override { ++popoverClosings; }
    // Answered like the editor: the selected text as the seed.
    void setFindSessionId(int id) override {
        findSessionId = id;
        const QString selected = m_editor->textCursor().selectedText();
        Q_EMIT findSessionStarted(selected.size() < 200 ? selected : QString());
    }

    // What the user types: a change the editor reports.
    void type(const QString& text) {
        QTextCursor cursor(m_editor->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text);
    }
    // What a task checkbox in the preview does.
    void toggleInPreview(const QString& newText) { Q_EMIT previewSourceChanged(newText); }

    int editorTextSets = 0;
    int editorEdits = 0;
    int previewRenders = 0;
    QString documentDirectory;
    bool scrollSyncEnabled = false;
    DocumentSearchState searchState;
    bool findActive = false;
    int findSessionId = 0;
    int popoverClosings = 0;

private:
    QPlainTextEdit* m_editor = nullptr;
    QLabel* m_preview = nullptr;
    std::function<TextSnapshot()> m_source;
    bool m_setting = false;
};
