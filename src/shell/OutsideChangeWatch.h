#pragma once

#include "core/ExternalChangeMonitor.h"

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QWidget>

class MarkdownDocument;
class WorkspaceAlerts;
struct DocumentFileError;

// Watches a document window's file and settles what another program did to
// it, asking the user only when the file holds text new to quon: reload the
// file, or keep the text being edited.
//
// - The file's bytes are what quon last read or wrote: nothing happened (the
//   watch also reports quon's own saves).
// - Its text is the document's text, or the text quon last read or wrote, in
//   other bytes (line endings, BOM): the file's bytes, line endings and BOM
//   become the saved state without a question.
// - It is gone, holds what cannot be read as text, or is no longer a file
//   quon reads (a folder, device, FIFO or a file too large, never read): the
//   text is only in quon now, so the document counts as modified.
//
// A save that finds the file changed since quon last read or wrote it (or,
// unable to read it, finds it another file, or of another size or time) runs
// the same check before it writes anything; its question writes only on
// "Save Anyway", and Escape calls the save off.
class OutsideChangeWatch : public QObject {
    Q_OBJECT
public:
    OutsideChangeWatch(MarkdownDocument& document, WorkspaceAlerts& alerts, QWidget* window,
                       QObject* parent = nullptr);
    ~OutsideChangeWatch() override;

    // Watches the file (again); an empty or non-file URL stops the watch.
    void start(const QUrl& url);
    void stop();
    ExternalChangeMonitor& monitor() { return m_monitor; }

    // What the monitor runs 0.3 s after the file's last event.
    void check();
    // Replaces the text with the file's; a failed read is alerted.
    void reload();
    // The question about the file is open.
    bool isAsking() const { return m_asking; }

private:
    enum class Occasion { FileEvent, Save };
    // Returns whether the saved state now agrees with the file, so that a
    // save may replace it; else a save's `error` says why not.
    bool settle(const QString& path, Occasion occasion, DocumentFileError* error = nullptr);

    QPointer<MarkdownDocument> m_document;
    WorkspaceAlerts& m_alerts;
    QPointer<QWidget> m_window;
    ExternalChangeMonitor m_monitor;
    QUrl m_url;
    bool m_asking = false;
};
