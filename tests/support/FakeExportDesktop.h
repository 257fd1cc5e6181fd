#pragma once

#include "core/AppearanceResolver.h"
#include "export/DocumentExportContext.h"
#include "export/ExportDesktop.h"

#include <QList>
#include <QMimeData>
#include <QPair>
#include <memory>

// Answers save dialogs with a fixed path (empty = cancel), records every
// request, warning and clipboard content, and installs itself while alive.
class FakeExportDesktop final : public ExportDesktop {
public:
    FakeExportDesktop() { ExportDesktop::setShared(this); }
    ~FakeExportDesktop() override { ExportDesktop::setShared(nullptr); }

    QString chooseSavePath(const ExportSaveRequest& request) override {
        requests.append(request);
        return answer;
    }
    void showWarning(const QString& title, const QString& message) override {
        warnings.append({title, message});
    }
    void setClipboard(QMimeData* data) override { clipboard.reset(data); }

    QString answer;
    QList<ExportSaveRequest> requests;
    QList<QPair<QString, QString>> warnings;
    std::unique_ptr<QMimeData> clipboard;
};

// The export context of a document at path (empty: untitled) in the light default look.
inline DocumentExportContext lightExportContext(const QString& markdown, const QString& path) {
    return DocumentExportContext::make(
        markdown, path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path),
        AppearanceResolver::designSystem(AppearanceInputs{}, ColorScheme::Light));
}
