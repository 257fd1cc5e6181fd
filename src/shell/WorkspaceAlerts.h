#pragma once

#include <QString>

class QWidget;

// The questions a document window asks, behind an interface so tests answer
// them without a modal loop.
class WorkspaceAlerts {
public:
    // Unanswered: the question went away without the user's answer (its
    // window closed, the application ended).
    enum class OutsideChangeChoice { KeepMyVersion, Reload, Unanswered };

    virtual ~WorkspaceAlerts() = default;
    // "File Changed on Disk": reload the file or keep the edited text.
    virtual OutsideChangeChoice askAboutOutsideChange(QWidget* window) = 0;
    // "Could Not Reload File" with the read error's own words.
    virtual void reloadFailed(QWidget* window, const QString& message) = 0;

    // Message boxes over the window.
    static WorkspaceAlerts& standard();
};
