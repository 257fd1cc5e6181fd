#include "core/L10n.h"

#include <QCoreApplication>

QString L10n::tr(const char* text, const char* disambiguation) {
    return QCoreApplication::translate(context, text, disambiguation);
}

QString L10n::plural(const char* singular, const char* pluralText, int count) {
    const QString number = QString::number(count);
    const QString translated = QCoreApplication::translate(context, pluralText, nullptr, count);
    // Without a catalogue entry the lookup hands back the key itself.
    QString english = QString::fromUtf8(pluralText);
    if (translated != english.replace(QLatin1String("%n"), number))
        return translated;
    return QString::fromUtf8(count == 1 ? singular : pluralText)
        .replace(QLatin1String("%n"), number);
}
