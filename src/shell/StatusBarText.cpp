#include "shell/StatusBarText.h"

#include "core/L10n.h"
#include "core/MarkdownFileTypes.h"
#include "core/TextCounts.h"

#include <QFileInfo>

int StatusBarText::characterCount(QStringView text) {
    return TextCounts::characters(text);
}

QString StatusBarText::wordCountLabel(int words) {
    return L10n::plural("%n word", "%n words", words);
}

QString StatusBarText::characterCountLabel(int characters) {
    return L10n::plural("%n character", "%n characters", characters);
}

QString StatusBarText::countsLabel(int words, int characters) {
    return L10n::tr("%1  ·  %2").arg(wordCountLabel(words), characterCountLabel(characters));
}

QString StatusBarText::documentNameLabel(const QUrl& fileUrl) {
    const QString name = documentBaseName(fileUrl);
    return name.isEmpty() ? L10n::tr("Untitled") : name;
}
