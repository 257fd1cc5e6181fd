#pragma once

#include "core/ExternalChangeMonitor.h"

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <functional>

class MarkdownDocument;
class WorkspaceAlerts;

// Watches a document window's file and asks the user when another program
// changed it: reload the file, or keep the text being edited.
//
// A change is only a change when the file's text differs both from the
// document's text and from the text quon itself last read or wrote: the
// watch also reports quon's own saves, and typing on after a save must not
// raise a prompt whose Reload would drop the newest typing.
class OutsideChangeWatch : public QObject {
    Q_OBJECT
public:
    OutsideChangeWatch(MarkdownDocument& document, WorkspaceAlerts& alerts, QWidget* window,
                       QObject* parent = nullptr);

    // How reloaded text reaches the window (as one undoable edit); by default
    // it is set on the document.
    std::function<void(const QString& text)> applyText;

    // Watches the file (again); an empty or non-file URL stops the watch.
    void start(const QUrl& url);
    void stop();
    ExternalChangeMonitor& monitor() { return m_monitor; }

    // What the monitor runs 0.3 s after the file's last event.
    void check();
    // Replaces the text with the file's; a failed read is alerted.
    void reload();

Q_SIGNALS:
    // The document's modified state may differ now (Keep My Version).
    void savedStateChanged();

private:
    void keepMyVersion();

    QPointer<MarkdownDocument> m_document;
    WorkspaceAlerts& m_alerts;
    QPointer<QWidget> m_window;
    ExternalChangeMonitor m_monitor;
    QUrl m_url;
    bool m_asking = false;
};
