#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The settings window's questions and alerts, behind one interface so tests
// answer them without a modal loop.
class SettingsDialogs {
public:
    virtual ~SettingsDialogs() = default;

    // Message boxes.
    static SettingsDialogs& standard();

    // "Clear App Data?": true for "Clear & Quit". The question names the
    // copies of unfinished saves that stay.
    virtual bool confirmClearAppData(QWidget* parent, const QStringList& keptCopies) = 0;
    // "Could Not Set Default App" with the message as it stands and OK.
    virtual void showDefaultAppError(QWidget* parent, const QString& message) = 0;
};
