#pragma once

#include <QString>

class QWidget;

// The questions a document window asks, behind an interface so tests answer
// them without a modal loop.
class WorkspaceAlerts {
public:
    // Unanswered: the question went away without the user's answer (its
    // window closed, the application ended). Cancel: a save was called off.
    enum class OutsideChangeChoice { KeepMyVersion, Reload, Cancel, Unanswered };

    virtual ~WorkspaceAlerts() = default;
    // "File Changed on Disk": reload the file or keep the edited text. Asked
    // by a save, keeping it is "Save Anyway", over the other program's
    // change, and Escape calls the save off.
    virtual OutsideChangeChoice askAboutOutsideChange(QWidget* window, bool saving) = 0;
    // "Could Not Reload File" with the read error's own words.
    virtual void reloadFailed(QWidget* window, const QString& message) = 0;

    // Message boxes over the window.
    static WorkspaceAlerts& standard();
};
