#pragma once

#include "core/DocumentSearchState.h"
#include "editor/HighlightConfig.h"

#include <QWidget>

class MarkdownTextEditor;
class MarkdownTextView;
class QAbstractScrollArea;
struct DesignSystem;

// The editor pane of a document window: the source editor filling the pane
// on the editor surface colour. It takes its font from the "editorFontSize"
// and "useSystemFont" preferences and its colours from the active design
// system, and follows changes of either live (caret, scroll position and undo
// history stay).
//
// The window drives it through setters and listens to its signals:
//   setText / textEdited           the document's first text in, each edit
//                                  out (once per edit, with what it changed;
//                                  setText and replaceText never echo);
//   replaceText                    an edit from outside the editor, as one
//                                  undo step;
//   setDocumentDirectory           the open file's folder, for image drops
//                                  (empty for an untitled document);
//   setSearchState, setFindActive  the window's find state and whether its
//                                  find bar is shown;
//   setFindSessionId               raised by the window each time the find bar
//                                  opens; answered by findSessionStarted with
//                                  the selected text as seed (or "");
//   findRequested                  "Find in Document" from the context menu;
//   scrollViewReady                once, for scroll synchronisation.
class EditorView : public QWidget {
    Q_OBJECT
public:
    explicit EditorView(QWidget* parent = nullptr);

    MarkdownTextEditor* editor() const { return m_editor; }
    MarkdownTextView* textView() const;
    QAbstractScrollArea* scrollView() const;

    QString text() const;
    void setText(const QString& text);
    void replaceText(int position, int removed, const QString& added);
    void setDocumentDirectory(const QString& directory);
    void setSearchState(const DocumentSearchState& state);
    void setFindActive(bool active);
    void setFindSessionId(int id);

    // The configuration in use, from the preferences and the design system.
    const HighlightConfig& highlightConfig() const;

    // The editor font at a size: the system's monospaced font, or with
    // useSystemFont off "Menlo" where installed; DejaVu Sans Mono otherwise.
    static QFont editorFont(double size, bool useSystemFont);
    static HighlightConfig configFor(const DesignSystem& designSystem, double size,
                                     bool useSystemFont);

Q_SIGNALS:
    void textEdited(int position, int removed, const QString& added);
    void scrollViewReady(QAbstractScrollArea* scrollView);
    void findRequested();
    void findSessionStarted(const QString& seed);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void reconfigure();

    MarkdownTextEditor* m_editor = nullptr;
    QColor m_surface;
};
