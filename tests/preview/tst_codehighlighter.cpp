#include "preview/CodeHighlighter.h"
#include "preview/CodeTheme.h"

#include <QTest>

namespace {

QColor colourOf(const HighlightedCode& code, const QString& word) {
    return code.styled.formatAt(code.styled.text.indexOf(word)).foreground().color();
}

} // namespace

class TestCodeHighlighter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(CodeHighlighter::shared().isAvailable()); }

    void pythonDefInBothThemes_data() {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("string");
        QTest::addColumn<QString>("plain");
        QTest::newRow("light") << "atom-one-light"
                               << "#a626a4"
                               << "#4078f2"
                               << "#50a14f"
                               << "#383a42";
        QTest::newRow("dark") << "atom-one-dark"
                              << "#c678dd"
                              << "#61aeee"
                              << "#98c379"
                              << "#abb2bf";
    }
    void pythonDefInBothThemes() {
        QFETCH(QString, theme);
        QFETCH(QString, keyword);
        QFETCH(QString, title);
        QFETCH(QString, string);
        QFETCH(QString, plain);
        const QString code = QStringLiteral("def greet(name):\n    # hi\n    return 'a' < \"b\"\n");
        const auto result =
            CodeHighlighter::shared().highlight(code, QStringLiteral("python"), theme);
        QCOMPARE(result->language, QStringLiteral("python"));
        // Entities come back as the characters they stand for.
        QCOMPARE(result->styled.text, code);
        QCOMPARE(colourOf(*result, QStringLiteral("def")).name(), keyword);
        QCOMPARE(colourOf(*result, QStringLiteral("return")).name(), keyword);
        QCOMPARE(colourOf(*result, QStringLiteral("greet")).name(), title);
        QCOMPARE(colourOf(*result, QStringLiteral("'a'")).name(), string);
        QCOMPARE(colourOf(*result, QStringLiteral(" < ")).name(), plain);
        const QTextCharFormat comment =
            result->styled.formatAt(result->styled.text.indexOf(QStringLiteral("# hi")));
        QVERIFY(comment.fontItalic());
    }

    void themeRulesFollowCssPrecedence() {
        const CodeTheme theme = CodeTheme::fromCss(
            QStringLiteral("/* note */ .hljs { color: #111111; background: #eeeeee }\n"
                           ".hljs-class .hljs-title { color: #00aa00 }\n"
                           ".hljs-title, .hljs-name { color: #0000ff; font-weight: bold }\n"
                           ".hljs-link { text-decoration: underline }"));
        QCOMPARE(theme.foreground(), QColor(QStringLiteral("#111111")));
        QCOMPARE(theme.background(), QColor(QStringLiteral("#eeeeee")));
        QCOMPARE(theme.format({}).foreground().color(), QColor(QStringLiteral("#111111")));
        const QTextCharFormat title = theme.format({{QStringLiteral("hljs-title")}});
        QCOMPARE(title.foreground().color(), QColor(QStringLiteral("#0000ff")));
        QCOMPARE(title.fontWeight(), int(QFont::Bold));
        // The descendant rule is more specific although it comes first.
        const QTextCharFormat classTitle =
            theme.format({{QStringLiteral("hljs-class")}, {QStringLiteral("hljs-title")}});
        QCOMPARE(classTitle.foreground().color(), QColor(QStringLiteral("#00aa00")));
        QCOMPARE(classTitle.fontWeight(), int(QFont::Bold));
        // Inner spans inherit what they do not declare.
        const QTextCharFormat linkInName =
            theme.format({{QStringLiteral("hljs-name")}, {QStringLiteral("hljs-link")}});
        QCOMPARE(linkInName.foreground().color(), QColor(QStringLiteral("#0000ff")));
        QVERIFY(linkInName.fontUnderline());
    }

    void unknownLanguagesShowPlainCode() {
        const QString code = QStringLiteral("some <text> & more\n");
        const auto result = CodeHighlighter::shared().highlight(
            code, QStringLiteral("no-such-language"), QStringLiteral("atom-one-dark"));
        QCOMPARE(result->styled.text, code);
        QVERIFY(result->styled.formats.isEmpty());
        QVERIFY(result->language.isEmpty());
    }

    void detectionReadsABoundedPrefixAndIsCached() {
        QString longCode;
        while (longCode.size() < 50 * CodeHighlighter::detectionPrefix)
            longCode += QStringLiteral("import os\ndef f(x):\n    return os.path.join(x, 'a')\n");
        const QString sample = CodeHighlighter::detectionSample(longCode);
        QVERIFY(sample.size() <= CodeHighlighter::detectionPrefix);
        QVERIFY(sample.endsWith(u'\n'));
        QVERIFY(longCode.startsWith(sample));
        QCOMPARE(CodeHighlighter::detectionSample(QStringLiteral("x = 1")),
                 QStringLiteral("x = 1"));

        CodeHighlighter& h = CodeHighlighter::shared();
        const QString language = h.detectLanguage(longCode);
        QCOMPARE(language, QStringLiteral("python"));
        // A block with the same opening reuses the detection: the answer cannot
        // change even though the rest of the block now reads differently.
        const QString sameStart =
            sample + QStringLiteral("{ \"json\": [1, 2, 3] }\n").repeated(500);
        QCOMPARE(h.detectLanguage(sameStart), QStringLiteral("python"));

        const auto coloured = h.highlight(longCode, QString(), QStringLiteral("atom-one-light"));
        QCOMPARE(coloured->language, QStringLiteral("python"));
        QCOMPARE(coloured->styled.text, longCode);
        // The whole block is coloured, not just the prefix.
        const qsizetype lastDef = longCode.lastIndexOf(QStringLiteral("def"));
        QCOMPARE(coloured->styled.formatAt(lastDef).foreground().color().name(),
                 QStringLiteral("#a626a4"));
        // Cached results are the same object.
        QCOMPARE(h.highlight(longCode, QString(), QStringLiteral("atom-one-light")).get(),
                 coloured.get());
        QVERIFY(h.highlight(longCode, QString(), QStringLiteral("atom-one-dark")).get() !=
                coloured.get());
    }
};

QTEST_GUILESS_MAIN(TestCodeHighlighter)
#include "tst_codehighlighter.moc"
