#include "core/TextEdit.h"

TextEdit TextEdit::between(QStringView before, QStringView after, Same same) {
    const qsizetype shorter = qMin(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && same(before[head], after[head]))
        ++head;
    while (head > 0 && before[head - 1].isHighSurrogate())
        --head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           same(before[before.size() - 1 - tail], after[after.size() - 1 - tail]))
        ++tail;
    while (tail > 0 && before[before.size() - tail].isLowSurrogate())
        --tail;
    return {head, before.size() - head - tail,
            after.mid(head, after.size() - head - tail).toString()};
}
