#include "support/EditorWindow.h"

#include "editor/EditorView.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"
#include "shell/StandardWorkspacePanes.h"
#include "tools/SelectionFormattingPopoverController.h"
#include "tools/SlashCommandPopoverController.h"

#include <QApplication>

EditorWindow::EditorWindow(ViewMode mode, QSize size)
    : WorkspaceWindow(std::make_unique<MarkdownDocument>(), StandardWorkspacePanes::factory()) {
    view->setViewMode(mode);
    if (size.isValid())
        view->resize(size);
    editor = static_cast<EditorView*>(view->panes()->editor());
    text = editor->textView();
    QVERIFY(slashMenu() && formattingBar());
    view->activateWindow();
    text->setFocus();
    QTRY_VERIFY(text->hasFocus());
}

QRect EditorWindow::caretInWindow(int position) const {
    QTextCursor cursor = text->textCursor();
    if (position >= 0)
        cursor.setPosition(position);
    const QRect caret = text->cursorRect(cursor);
    return {text->viewport()->mapTo(view.get(), caret.topLeft()), caret.size()};
}

SlashCommandPopoverController* EditorWindow::slashMenu() const {
    return dynamic_cast<SlashCommandPopoverController*>(text->slashPopover());
}

SelectionFormattingPopoverController* EditorWindow::formattingBar() const {
    return dynamic_cast<SelectionFormattingPopoverController*>(
        editor->editor()->formattingPopover());
}

void Keyboard::press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key, modifiers);
}

void Keyboard::type(const char* text) {
    for (QChar c : QString::fromUtf8(text)) {
        if (c == QLatin1Char('\n'))
            press(Qt::Key_Return);
        else if (c == QLatin1Char('\b'))
            press(Qt::Key_Backspace);
        else
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
    }
}
