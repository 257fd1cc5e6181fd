#pragma once

#include "shell/WorkspaceAlerts.h"

#include <QStringList>
#include <functional>
#include <utility>

// Answers the window's questions with a preset choice and counts them.
class FakeWorkspaceAlerts : public WorkspaceAlerts {
public:
    OutsideChangeChoice answer = OutsideChangeChoice::KeepMyVersion;
    int outsideChangeAsks = 0;
    int savingAsks = 0; // of them, asked by a save
    QStringList reloadFailures;
    std::function<void()> whileAsking; // runs once, inside the next question

    OutsideChangeChoice askAboutOutsideChange(QWidget*, bool saving) override {
        ++outsideChangeAsks;
        savingAsks += saving ? 1 : 0;
        if (whileAsking)
            std::exchange(whileAsking, nullptr)();
        return answer;
    }
    void reloadFailed(QWidget*, const QString& message) override { reloadFailures.append(message); }
};
