#include "core/L10n.h"

#include <QCoreApplication>

QString L10n::tr(const char* text, const char* disambiguation) {
    return QCoreApplication::translate(context, text, disambiguation);
}
