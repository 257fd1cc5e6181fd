#include "Bench.h"

#include "core/DesignSystem.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>

namespace {

DocumentSearchState searchFor(const QString& text, const QString& query, int current) {
    DocumentSearchState state{query, current, {}};
    for (qsizetype at = text.indexOf(query); at >= 0; at = text.indexOf(query, at + query.size()))
        state.matches.append({int(at), int(query.size())});
    return state;
}

void findPaintFigures() {
    const DesignSystem ds =
        DesignSystem::make(DesignSystem::Colors::light(), FontDesign::Serif, false);
    MarkdownTextEditor editor(
        {14, EditorTheme::from(ds), DesignSystem::Typography::font(FontDesign::Monospaced, 14)});
    const QString text = Bench::matchDocument();
    editor.setText(text);
    editor.resize(1000, 800);
    editor.show();
    editor.setFindActive(true);
    QApplication::processEvents();

    // The find bar's query changes back and forth; each state carries its
    // 60,000 matches and selects a current match in the middle.
    const DocumentSearchState states[] = {searchFor(text, QStringLiteral("match"), 30000),
                                          searchFor(text, QStringLiteral("matc"), 30001)};
    int step = 0;
    const double query = Bench::medianMs(100, [&] {
        editor.setSearchState(states[step++ % 2]);
        editor.textView()->viewport()->repaint();
    });
    Bench::report(QStringLiteral("editor.find.query.repaint.60k"), query, "ms");

    // Typing in view of painted matches: insert, recolour, repaint.
    MarkdownTextView* view = editor.textView();
    QTextCursor cursor(view->document()->findBlockByNumber(10000));
    cursor.movePosition(QTextCursor::EndOfBlock);
    view->setTextCursor(cursor);
    view->centerCursor();
    QApplication::processEvents();
    step = 0;
    const double keystroke = Bench::medianMs(400, [&] {
        const bool type = step++ % 2 == 0;
        QKeyEvent press(QEvent::KeyPress, type ? Qt::Key_A : Qt::Key_Backspace, Qt::NoModifier,
                        type ? QStringLiteral("a") : QString());
        QApplication::sendEvent(view, &press);
        view->viewport()->repaint();
    });
    Bench::report(QStringLiteral("editor.find.keystroke.60k"), keystroke, "ms");
}

const Bench::Registration registration("findpaint", findPaintFigures);

} // namespace
