#include "preview/PreviewSelectionReader.h"

#include "preview/CodeLinesView.h"
#include "preview/MarkdownTableView.h"
#include "preview/SelectableTextView.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

bool isTextView(const QWidget* widget) {
    return qobject_cast<const SelectableTextView*>(widget) ||
           qobject_cast<const MarkdownTableView*>(widget) ||
           qobject_cast<const CodeLinesView*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QLineEdit*>(widget);
}

QString withLineFeeds(QString text) {
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

// The selection of one text view; null for other widgets or an empty selection.
QString selectionOf(const QWidget* widget) {
    QString text;
    if (auto* view = qobject_cast<const SelectableTextView*>(widget))
        text = view->selectedText();
    else if (auto* table = qobject_cast<const MarkdownTableView*>(widget))
        text = table->selectedText();
    else if (auto* lines = qobject_cast<const CodeLinesView*>(widget))
        text = lines->selectedText();
    else if (auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        text = plain->textCursor().selectedText();
    else if (auto* rich = qobject_cast<const QTextEdit*>(widget))
        text = rich->textCursor().selectedText();
    else if (auto* line = qobject_cast<const QLineEdit*>(widget))
        text = line->selectedText();
    return text.isEmpty() ? QString() : withLineFeeds(text);
}

} // namespace

QString PreviewSelectionReader::selectedTextFrom(const QWidget* focus) {
    for (const QWidget* widget = focus; widget; widget = widget->parentWidget())
        if (isTextView(widget))
            return selectionOf(widget);
    return {};
}

QString PreviewSelectionReader::selectedTextIn(const QWidget* root) {
    if (!root || root->isHidden())
        return {};
    if (isTextView(root))
        if (QString text = selectionOf(root); !text.isNull())
            return text;
    for (const QObject* child : root->children())
        if (auto* widget = qobject_cast<const QWidget*>(child); widget && !widget->isWindow())
            if (QString text = selectedTextIn(widget); !text.isNull())
                return text;
    return {};
}
