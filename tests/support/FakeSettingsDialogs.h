#pragma once

#include "windows/SettingsDialogs.h"

#include <QList>
#include <QStringList>

// Settings dialogs that answer from a queue and remember what they showed.
// A question with no answer queued is answered with Cancel.
struct FakeSettingsDialogs : SettingsDialogs {
    QList<bool> clearAnswers;
    int clearQuestions = 0;
    QStringList errors;

    QStringList keptCopiesNamed;

    bool confirmClearAppData(QWidget*, const QStringList& keptCopies) override {
        ++clearQuestions;
        keptCopiesNamed = keptCopies;
        return clearAnswers.isEmpty() ? false : clearAnswers.takeFirst();
    }
    void showDefaultAppError(QWidget*, const QString& message) override { errors.append(message); }
};
