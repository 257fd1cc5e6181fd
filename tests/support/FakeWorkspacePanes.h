#pragma once

#include "shell/WorkspacePanes.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>

// Simple panes for window tests: a plain text editor that reports user edits
// and a label that counts how often it was given text.
class FakeWorkspacePanes : public WorkspacePanes {
public:
    explicit FakeWorkspacePanes(QWidget* parent) : WorkspacePanes(parent) {
        m_editor = new QPlainTextEdit(parent);
        m_preview = new QLabel(parent);
        QObject::connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
            if (!m_setting)
                Q_EMIT editorTextEdited(m_editor->document()->toRawText());
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

private:
    QPlainTextEdit* m_editor = nullptr;
    QLabel* m_preview = nullptr;
    bool m_setting = false;
};
