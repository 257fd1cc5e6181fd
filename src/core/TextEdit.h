#pragma once

#include <QString>
#include <QStringView>

// One change of a text: `removed` UTF-16 units at `position` replaced by
// `added`.
struct TextEdit {
    qsizetype position = 0;
    qsizetype removed = 0;
    QString added;

    bool isEmpty() const { return removed == 0 && added.isEmpty(); }

    // Whether two units count as the same when looking for what changed.
    using Same = bool (*)(QChar before, QChar after);
    static bool identical(QChar before, QChar after) { return before == after; }

    // The smallest edit that turns `before` into `after`: what lies between
    // their common start and their common end, never cutting a surrogate pair.
    static TextEdit between(QStringView before, QStringView after, Same same = identical);
};
