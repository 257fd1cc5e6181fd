#pragma once

#include "core/DesignSystem.h"

#include <QString>
#include <QUrl>

// Everything an export needs from a document window, taken at the moment the
// export starts.
struct DocumentExportContext {
    QString markdown;
    QString baseName; // default file name without extension; "Untitled" without a file
    QUrl fileURL;     // empty for an unsaved document
    DesignSystem designSystem;
    QString documentDirectory; // folder of fileURL; empty without one

    // The context of a document's current text, file and look.
    static DocumentExportContext make(const QString& markdown, const QUrl& fileURL,
                                      const DesignSystem& designSystem);
};
