#include "core/TaskListMutator.h"

#include "core/ConstantRegex.h"

namespace TaskListMutator {

namespace {

// The box of a task item: after quote markers, indentation and the marker.
const QRegularExpression& itemBox() {
    static const QRegularExpression re =
        constantRegex(R"(^(?:[ \t]*>)*[ \t]*(?:[-*+]|[0-9]+[.)])[ \t]+\[([ xX])\])");
    return re;
}

QString toggleCheckbox(QString line) {
    const QRegularExpressionMatch item = itemBox().match(line);
    if (item.hasMatch()) {
        const qsizetype at = item.capturedStart(1);
        line[at] = line[at] == QLatin1Char(' ') ? QLatin1Char('x') : QLatin1Char(' ');
        return line;
    }
    static const QRegularExpression open = constantRegex(R"(\[[ ]\])");
    static const QRegularExpression ticked = constantRegex(R"(\[[xX]\])");
    if (const auto m = open.match(line); m.hasMatch())
        return line.replace(m.capturedStart(), 3, QStringLiteral("[x]"));
    if (const auto m = ticked.match(line); m.hasMatch())
        return line.replace(m.capturedStart(), 3, QStringLiteral("[ ]"));
    return line;
}

} // namespace

QString toggle(int line, const QString& text) {
    if (line < 1)
        return text;
    qsizetype start = 0;
    for (int n = 1; n < line; ++n) {
        start = text.indexOf(QLatin1Char('\n'), start);
        if (start < 0)
            return text;
        ++start;
    }
    qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    if (end < 0)
        end = text.size();
    const QString old = text.mid(start, end - start);
    const QString toggled = toggleCheckbox(old);
    if (toggled == old)
        return text;
    return text.left(start) + toggled + text.mid(end);
}

} // namespace TaskListMutator
