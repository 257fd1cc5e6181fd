#include "shell/StatusBarText.h"

#include "core/L10n.h"
#include "core/TextCounts.h"

#include <QFileInfo>

int StatusBarText::characterCount(QStringView text) {
    return TextCounts::characters(text);
}

QString StatusBarText::wordCountLabel(int words) {
    return QString::number(words) + QLatin1Char(' ') +
           (words == 1 ? L10n::tr("word") : L10n::tr("words"));
}

QString StatusBarText::characterCountLabel(int characters) {
    return QString::number(characters) + QLatin1Char(' ') +
           (characters == 1 ? L10n::tr("character") : L10n::tr("characters"));
}

QString StatusBarText::countsLabel(int words, int characters) {
    return L10n::tr("%1  ·  %2").arg(wordCountLabel(words), characterCountLabel(characters));
}

QString StatusBarText::documentNameLabel(const QUrl& fileUrl) {
    if (!fileUrl.isValid() || fileUrl.isEmpty())
        return L10n::tr("Untitled");
    const QString name = fileUrl.fileName();
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    // A leading dot names a hidden file, not an extension.
    return dot > 0 ? name.left(dot) : name;
}
