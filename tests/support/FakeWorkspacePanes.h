#pragma once

#include "editor/TextChangeRecorder.h"
#include "shell/WorkspacePanes.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>

// Simple panes for window tests: a plain text editor that reports user edits
// and every change, a label that counts how often it was given text, and the
// find state as the window last gave it.
class FakeWorkspacePanes : public WorkspacePanes {
public:
    explicit FakeWorkspacePanes(QWidget* parent) : WorkspacePanes(parent) {
        m_editor = new QPlainTextEdit(parent);
        m_preview = new QLabel(parent);
        auto* changes = new TextChangeRecorder(m_editor->document());
        QObject::connect(m_editor, &QPlainTextEdit::textChanged, this, [this, changes] {
            if (!m_setting)
                Q_EMIT editorTextEdited(m_editor->document()->toRawText());
            const TextChange change = changes->take();
            Q_EMIT editorTextChangedAt(change.position, change.removed, change.added);
        });
    }

    QWidget* editor() const override { return m_editor; }
    QWidget* preview() const override { return m_preview; }
    QPlainTextEdit* textEdit() const { return m_editor; }

    void setEditorText(const QString& text) override {
        ++editorTextSets;
        m_setting = true;
        if (m_editor->document()->isEmpty()) {
            m_editor->setPlainText(text);
        } else {
            QTextCursor cursor(m_editor->document());
            cursor.select(QTextCursor::Document);
            cursor.insertText(text);
        }
        m_setting = false;
    }
    void setPreviewMarkdown(const QString& markdown) override {
        ++previewRenders;
        m_preview->setText(markdown);
    }
    void setDocumentDirectory(const QString& folder) override { documentDirectory = folder; }
    void setScrollSyncEnabled(bool enabled) override { scrollSyncEnabled = enabled; }
    void setSearchState(const DocumentSearchState& state) override { searchState = state; }
    void setFindActive(bool active) override { findActive = active; }
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
    int previewRenders = 0;
    QString documentDirectory;
    bool scrollSyncEnabled = false;
    DocumentSearchState searchState;
    bool findActive = false;
    int findSessionId = 0;

private:
    QPlainTextEdit* m_editor = nullptr;
    QLabel* m_preview = nullptr;
    bool m_setting = false;
};
