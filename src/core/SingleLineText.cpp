#include "core/SingleLineText.h"

QString SingleLineText::flattened(QString text) {
    for (QChar& c : text) {
        switch (c.unicode()) {
        case 0x0a:
        case 0x0b:
        case 0x0c:
        case 0x0d:
        case 0x85:
        case 0x2028:
        case 0x2029:
            c = QLatin1Char(' ');
            break;
        default:
            break;
        }
    }
    return text;
}
