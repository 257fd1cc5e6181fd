#include "support/NestedMarkdown.h"

#include <QTest>

TestSupport::NestedMarkdown TestSupport::nestedMarkdown(const QString& marker, int depth) {
    NestedMarkdown out;
    for (const int level : {1, 7, 8, 9, 99, 100, 101, 199, 200, 201, 202, depth / 2, depth}) {
        const QString word = QStringLiteral("word%1x").arg(level);
        out.words << word;
        out.text += marker.repeated(level) + word + QStringLiteral("\n\n");
    }
    return out;
}

void TestSupport::addNestedMarkdownRows() {
    QTest::addColumn<QString>("marker");
    QTest::addColumn<int>("depth");
    QTest::newRow("lists") << QStringLiteral("- ") << 3000;
    QTest::newRow("quotes") << QStringLiteral("> ") << 5000;
}
