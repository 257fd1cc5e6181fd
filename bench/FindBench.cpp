#include "Bench.h"

#include "core/MarkdownDocument.h"
#include "editor/EditorView.h"
#include "editor/MarkdownTextView.h"
#include "shell/StandardWorkspacePanes.h"
#include "shell/WorkspaceView.h"
#include "tools/DocumentSearch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>

namespace {

// A document window over the text, its find bar open on the query.
struct FindWindow {
    MarkdownDocument document;
    std::unique_ptr<WorkspaceView> view;
    MarkdownTextView* editor = nullptr;

    FindWindow(const QString& text, const QString& query) {
        document.setText(text);
        WorkspaceServices services;
        services.panes = StandardWorkspacePanes::factory();
        view = std::make_unique<WorkspaceView>(document, std::move(services));
        view->setViewMode(ViewMode::Edit);
        view->resize(1100, 800);
        view->show();
        editor = qobject_cast<EditorView*>(view->panes()->editor())->textView();
        view->openFindBar();
        view->search().setQuery(query);
        QApplication::processEvents();
    }
    // Types at the end of a line in the middle, then takes it back.
    double keystrokeMs() {
        QTextCursor cursor(editor->document()->findBlockByNumber(editor->blockCount() / 2));
        cursor.movePosition(QTextCursor::EndOfBlock);
        editor->setTextCursor(cursor);
        editor->centerCursor();
        QApplication::processEvents();
        int step = 0;
        return Bench::medianMs(200, [&] {
            const bool type = step++ % 2 == 0;
            QKeyEvent press(QEvent::KeyPress, type ? Qt::Key_A : Qt::Key_Backspace, Qt::NoModifier,
                            type ? QStringLiteral("a") : QString());
            QApplication::sendEvent(editor, &press);
            editor->viewport()->repaint();
        });
    }
};

void findFigures() {
    {
        // A query keystroke: search the whole text, repaint the editor.
        FindWindow window(Bench::matchDocument(), QStringLiteral("match"));
        int step = 0;
        const double query = Bench::medianMs(50, [&] {
            window.view->search().setQuery(step++ % 2 ? QStringLiteral("match")
                                                      : QStringLiteral("matc"));
            window.editor->viewport()->repaint();
        });
        Bench::report(QStringLiteral("find.query.keystroke.60k"), query, "ms");
    }

    const QString big = Bench::generatedMarkdown(10 * 1024 * 1024);
    const QString query = QStringLiteral("with");
    {
        // The search's share of an edit with the bar open: the text around
        // the edit searched again, the matches after it moved.
        QString text = big;
        DocumentSearch search([&] { return text; });
        search.openFindBar();
        search.setQuery(query);
        const int at = int(text.indexOf(QStringLiteral("paragraph"), text.size() / 2));
        int step = 0;
        const double edit = Bench::medianMs(200, [&] {
            const bool type = step++ % 2 == 0;
            if (type)
                text.insert(at, QLatin1Char('w'));
            else
                text.remove(at, 1);
            search.textChanged({at, type ? 0 : 1, type ? 1 : 0});
        });
        Bench::report(QStringLiteral("find.edit.search.10mb"), edit, "ms");
        Bench::report(QStringLiteral("find.matches.10mb"), double(search.state().matches.size()),
                      "matches");
        const double next = Bench::medianMs(20, [&] { search.advanceFindMatch(true); });
        Bench::report(QStringLiteral("find.next.10mb"), next, "ms");
    }
    {
        // The whole keystroke in a window with the bar open: insert, colour,
        // search, repaint; and the same with the bar closed.
        FindWindow window(big, query);
        Bench::report(QStringLiteral("find.edit.keystroke.10mb"), window.keystrokeMs(), "ms");
        window.view->closeFindBar();
        Bench::report(QStringLiteral("find.edit.keystroke.closed.10mb"), window.keystrokeMs(),
                      "ms");
    }
}

const Bench::Registration registration("find", findFigures);

} // namespace
