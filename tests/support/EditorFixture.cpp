#include "support/EditorFixture.h"

#include "core/DesignSystem.h"
#include "editor/EditorText.h"

#include <QTextCursor>
#include <QTextDocument>

namespace EditorFixture {

namespace {
const QChar open(0x00AB), close(0x00BB), caret(0x2038);
}

void setMarked(QPlainTextEdit& editor, const QString& marked) {
    QString text = marked;
    qsizetype anchor = text.indexOf(open), position = -1;
    if (anchor >= 0) {
        text.remove(anchor, 1);
        position = text.indexOf(close);
        text.remove(position, 1);
    } else {
        anchor = position = text.indexOf(caret);
        if (anchor >= 0)
            text.remove(anchor, 1);
        else
            anchor = position = text.size();
    }
    editor.setPlainText(text);
    QTextCursor cursor(editor.document());
    cursor.setPosition(int(anchor));
    cursor.setPosition(int(position), QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
}

QString marked(const QPlainTextEdit& editor) {
    QString text = EditorText::text(editor.document());
    const QTextCursor cursor = editor.textCursor();
    if (!cursor.hasSelection())
        return text.insert(cursor.position(), caret);
    text.insert(cursor.selectionEnd(), cursor.anchor() < cursor.position() ? close : open);
    text.insert(cursor.selectionStart(), cursor.anchor() < cursor.position() ? open : close);
    return text;
}

Outcome run(QPlainTextEdit& editor, const QString& markedText, const Rule& rule) {
    setMarked(editor, markedText);
    const QString before = EditorText::text(editor.document());
    Outcome out;
    const QMetaObject::Connection counting = QObject::connect(
        editor.document(), &QTextDocument::undoCommandAdded, [&out] { ++out.undoSteps; });
    out.result = rule(&editor);
    QObject::disconnect(counting);
    out.state = marked(editor);
    out.textChanged = EditorText::text(editor.document()) != before;
    editor.undo();
    out.undoRestores =
        !editor.document()->isUndoAvailable() && EditorText::text(editor.document()) == before;
    return out;
}

Outcome run(const QString& markedText, const Rule& rule) {
    QPlainTextEdit editor;
    return run(editor, markedText, rule);
}

HighlightConfig config(bool dark, double size) {
    const DesignSystem ds =
        DesignSystem::make(dark ? DesignSystem::Colors::dark() : DesignSystem::Colors::light(),
                           FontDesign::Serif, dark);
    return {size, EditorTheme::from(ds),
            DesignSystem::Typography::font(FontDesign::Monospaced, size)};
}

QByteArray pngBytes() {
    return QByteArray::fromHex(
        "89504e470d0a1a0a0000000d49484452000000010000000108060000001f15c489");
}

} // namespace EditorFixture
