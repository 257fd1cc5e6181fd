#include "core/SingleLineText.h"

bool SingleLineText::isLineBreak(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
}

QString SingleLineText::flattened(QString text) {
    for (QChar& c : text)
        if (isLineBreak(c))
            c = QLatin1Char(' ');
    return text;
}
