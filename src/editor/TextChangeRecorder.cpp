#include "editor/TextChangeRecorder.h"

#include "editor/EditorText.h"

#include <QTextDocument>

TextChangeRecorder::TextChangeRecorder(QTextDocument* document)
    : QObject(document), m_document(document) {
    connect(document, &QTextDocument::contentsChange, this, &TextChangeRecorder::record);
}

void TextChangeRecorder::record(int position, int removed, int added) {
    const TextChange change{position, removed, added};
    m_change = m_recorded ? m_change.followedBy(change) : change;
    m_recorded = true;
}

TextChange TextChangeRecorder::take() {
    const TextChange change =
        m_recorded ? m_change.within(EditorText::length(m_document)) : TextChange{};
    m_recorded = false;
    return change;
}
