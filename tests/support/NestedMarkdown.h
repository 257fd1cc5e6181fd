#pragma once

#include <QString>
#include <QStringList>

namespace TestSupport {

// Lines nested at a range of depths up to `depth` by repeating `marker`
// ("- " or "> "), each its own block ending in a word of its own, so a
// reader can check that no level's text is lost.
struct NestedMarkdown {
    QString text;
    QStringList words;
};
NestedMarkdown nestedMarkdown(const QString& marker, int depth);
// Data rows "lists" (3,000 levels) and "quotes" (5,000) of columns marker and depth.
void addNestedMarkdownRows();

} // namespace TestSupport
