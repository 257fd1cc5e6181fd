#include "shell/MenuEntryTitle.h"

QString MenuEntryTitle::of(QString title) {
    if (title.size() > maximumLength) {
        const qsizetype kept = maximumLength - 1;
        qsizetype head = kept / 2;
        qsizetype tail = title.size() - (kept - head);
        // Never half a surrogate pair on either side of the ellipsis.
        if (title[head - 1].isHighSurrogate())
            --head;
        if (title[tail].isLowSurrogate())
            ++tail;
        title = title.left(head) + QChar(0x2026) + title.mid(tail);
    }
    return title.replace(QLatin1Char('&'), QLatin1String("&&"));
}
