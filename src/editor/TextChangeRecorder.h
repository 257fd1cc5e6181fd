#pragma once

#include "tools/TextChange.h"

#include <QObject>

class QTextDocument;

// Gathers a document's changes of contents until they are taken, as one
// change. Colouring reports its format changes the same way (as a span that
// kept its length); taking them with the edit they came with only widens
// the span, and discard() drops those that came alone.
class TextChangeRecorder : public QObject {
    Q_OBJECT
public:
    explicit TextChangeRecorder(QTextDocument* document);

    // What changed since the last take or discard, fitted into the text now.
    TextChange take();
    void discard() { m_recorded = false; }

private:
    void record(int position, int removed, int added);

    QTextDocument* m_document;
    TextChange m_change;
    bool m_recorded = false;
};
