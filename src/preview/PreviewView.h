#pragma once

#include "core/MarkdownParseCache.h"

#include <QTimer>
#include <QWidget>
#include <functional>

class PreviewScrollHost;
class PreviewContentView;
class QAbstractScrollArea;
class ScrollSyncEngine;

// The preview pane of a document window: the document's Markdown rendered as
// native views in a scroll area, in the active design system and at the
// "previewFontSize" preference, both followed live (a new size or look
// restyles from the same parse).
//
// Parsing: when the pane is shown it parses the current text at once; after
// that every new text is parsed 0.15 s after the last change (the parse
// cache's debounce). Parses run on the parsing thread (a small text shown
// anew or asked for at once excepted), and the rows take a new tree a slice
// at a time; until then the previous rendering stays, and its task boxes
// refuse to edit a text that has moved on. A hidden pane does nothing: shown again
// after its text, look or folder changed, it catches up once.
//
// Use by the workspace:
// - setMarkdown(text) with every new text, or setMarkdownSource(source) once
//   and markdownSourceChanged() after every edit: the preview then takes a
//   snapshot of the text only when it parses, so an edit costs it no more
//   than a timer, and a pause no more than the snapshot;
// - setDocumentDirectory(folder) for relative image paths (empty when
//   untitled);
// - setScrollSync(engine) with the window's synchroniser, so the preview's own
//   relayouts are not mirrored to the editor, and link the area that
//   scrollViewReady reports with ScrollSyncEngine::linkPreview;
// - sourceChanged(newText) when a task box in the preview rewrote the source
//   (the pane already shows the new text; store it as the document's text);
// - findInEditor(selectedText) from the context menu, the selection untrimmed.
class PreviewView : public QWidget {
    Q_OBJECT
public:
    explicit PreviewView(QWidget* parent = nullptr);

    void setMarkdown(const QString& text);
    QString markdown() const { return m_markdown.toString(); }
    void setMarkdownSource(std::function<TextSnapshot()> source);
    void markdownSourceChanged();
    void setDocumentDirectory(const QString& folder);
    QString documentDirectory() const { return m_documentDirectory; }
    void setScrollSync(ScrollSyncEngine* engine);

    QAbstractScrollArea* scrollArea() const;
    PreviewScrollHost* scrollHost() const { return m_host; }
    PreviewContentView* content() const;
    const MarkdownParseCache& parseCache() const { return m_cache; }
    // Parses the current text now, without waiting for the pause in typing.
    void updateNow();
    // A newer text is waiting to be shown, or the rows are still taking it.
    bool isUpdating() const;

Q_SIGNALS:
    void sourceChanged(const QString& newText);
    void findInEditor(const QString& selectedText);
    // Once, on the event-loop turn after the pane was made.
    void scrollViewReady(QAbstractScrollArea* scrollArea);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void restyle();
    void applyStyle();
    void adoptSourceChange(const QString& text);
    bool readSource();
    void catchUp();

    TextSnapshot m_markdown;
    std::function<TextSnapshot()> m_source;
    bool m_sourceChanged = false;
    QTimer m_sourceDebounce;
    QString m_documentDirectory;
    bool m_restylePending = false;
    MarkdownParseCache m_cache;
    PreviewScrollHost* m_host;
};
