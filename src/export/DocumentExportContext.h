#pragma once

#include "core/DesignSystem.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <optional>

class MarkdownDocument;

// Everything an export needs from a document window, taken at the moment the
// export starts.
struct DocumentExportContext {
    QString markdown;
    QString baseName; // default file name without extension; "Untitled" without a file
    QUrl fileURL;     // empty for an unsaved document
    DesignSystem designSystem;
    QString documentDirectory; // folder of fileURL; empty without one
    // The document the text is of, when it is one.
    QPointer<MarkdownDocument> document;

    // The text as a save writes it: the document's own line endings and BOM,
    // asked of it now; LF without a BOM for a text of no document. No value
    // when UTF-8 cannot hold the text.
    std::optional<QByteArray> markdownBytes() const;

    // The context of a text, file and look.
    static DocumentExportContext make(const QString& markdown, const QUrl& fileURL,
                                      const DesignSystem& designSystem);
    // The context of a document's current text, file and look.
    static DocumentExportContext make(MarkdownDocument& document, const QUrl& fileURL,
                                      const DesignSystem& designSystem);
};
