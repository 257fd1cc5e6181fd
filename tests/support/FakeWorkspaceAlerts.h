#pragma once

#include "shell/WorkspaceAlerts.h"

#include <QStringList>

// Answers the window's questions with a preset choice and counts them.
class FakeWorkspaceAlerts : public WorkspaceAlerts {
public:
    OutsideChangeChoice answer = OutsideChangeChoice::KeepMyVersion;
    int outsideChangeAsks = 0;
    QStringList reloadFailures;

    OutsideChangeChoice askAboutOutsideChange(QWidget*) override {
        ++outsideChangeAsks;
        return answer;
    }
    void reloadFailed(QWidget*, const QString& message) override { reloadFailures.append(message); }
};
