#include "shell/StatusBarText.h"

#include "core/L10n.h"
#include "core/MarkdownFileTypes.h"

#include <QFileInfo>
#include <QTextBoundaryFinder>

int StatusBarText::characterCount(QStringView text) {
    if (text.isEmpty())
        return 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), int(text.size()));
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
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
