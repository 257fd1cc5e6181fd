#include "core/DocumentText.h"
#include "core/TextCounts.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

QString u(const char16_t* text) {
    return QString::fromUtf16(text);
}

QStringList pieces(std::initializer_list<const char16_t*> texts) {
    QStringList out;
    for (const char16_t* text : texts)
        out << u(text);
    return out;
}

// Random edits of a DocumentText and of a plain string side by side: mostly
// near the previous edit, as typing goes, now and then anywhere.
void editBoth(DocumentText& text, QString& plain, const QStringList& pieces, int edits,
              quint32 seed) {
    QRandomGenerator rng(seed);
    qsizetype at = 0;
    for (int i = 0; i < edits; ++i) {
        at = rng.bounded(4) == 0 ? rng.bounded(plain.size() + 1)
                                 : qBound(qsizetype(0), at + rng.bounded(-4, 5), plain.size());
        const qsizetype removed =
            qMin(plain.size() - at, qsizetype(rng.bounded(8) == 0 ? 40 : rng.bounded(3)));
        QString added;
        for (int n = rng.bounded(4); n > 0; --n)
            added += pieces[rng.bounded(int(pieces.size()))];
        text.replace(at, removed, added);
        plain.replace(at, removed, added);
        at += added.size();
    }
}

} // namespace

class TestDocumentText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Counted once and then kept up by each edit, the counts always equal a
    // count of the whole text, whatever the script; the text is the string's.
    void editsKeepTextAndCounts_data() {
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("prose") << pieces({u"word", u" ", u"\n", u"\t", u", ", u"."});
        QTest::newRow("combining marks")
            << pieces({u"e", u"\u0301", u" ", u"\u0301\u0302", u"\n", u"\u00A0"});
        QTest::newRow("emoji and flags")
            << pieces({u"\U0001F600", u"\U0001F469\u200D\U0001F467", u"\U0001F1F5", u"\U0001F1F1",
                       u"\u200D", u"\uFE0F", u" ", u"a"});
        QTest::newRow("cjk and hangul")
            << pieces({u"漢字", u"かな", u"한", u"\u1100", u"\u1161", u"。", u" ", u"\n"});
        QTest::newRow("line breaks")
            << pieces({u"\r", u"\n", u"\u2029", u"\u2028", u"a", u"\r\n", u" ", u"\u0300"});
    }
    void editsKeepTextAndCounts() {
        QFETCH(QStringList, pieces);
        for (quint32 seed = 1; seed <= 20; ++seed) {
            QString plain = pieces.join(QString());
            DocumentFileContents contents;
            contents.text = plain;
            DocumentText text(contents);
            QCOMPARE(text.wordCount(), TextCounts::words(plain));
            editBoth(text, plain, pieces, 200, seed);
            QCOMPARE(text.toString(), plain);
            QCOMPARE(text.wordCount(), TextCounts::words(plain));
            QCOMPARE(text.characterCount(), TextCounts::characters(plain));
        }
    }

    // Lines an edit leaves alone keep their endings; the breaks it adds take
    // the ending of the line they split, or the file's style in a last line
    // and in a line ended by U+2029.
    void newBreaksTakeTheEndingOfTheLineTheySplit_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray file("ab\r\ncd\nef");
        QTest::newRow("several breaks")
            << file << 4 << 0 << u(u"1\n2\n") << QByteArray("ab\r\nc1\n2\nd\nef");
        QTest::newRow("last line") << file << 7 << 0 << u(u"\n") << QByteArray("ab\r\ncd\ne\r\nf");
        QTest::newRow("across a break") << file << 1 << 3 << u(u"B\n") << QByteArray("aB\nd\nef");
        QTest::newRow("paragraph separator")
            << QByteArray("x\r\na\xE2\x80\xA9y\nz") << 3 << 0 << u(u"\n")
            << QByteArray("x\r\na\r\n\xE2\x80\xA9y\nz");
        // A CR break written before an LF one would read back as one CRLF.
        QTest::newRow("CR line emptied before an LF break")
            << QByteArray("a\rb\nc") << 2 << 1 << QString() << QByteArray("a\r\n\nc");
        QTest::newRow("LF break typed after a CR one")
            << QByteArray("a\rb\nc") << 2 << 0 << u(u"\n") << QByteArray("a\r\n\nb\nc");
    }
    void newBreaksTakeTheEndingOfTheLineTheySplit() {
        QFETCH(QByteArray, file);
        QFETCH(int, position);
        QFETCH(int, removed);
        QFETCH(QString, added);
        QFETCH(QByteArray, expected);
        DocumentText text(*DocumentFile::decode(file));
        QCOMPARE(text.encode(false).value(), file);
        text.replace(position, removed, added);
        QCOMPARE(text.encode(false).value(), expected);
        QCOMPARE(DocumentFile::decode(expected)->text, text.toString());
    }
};

QTEST_GUILESS_MAIN(TestDocumentText)
#include "tst_documenttext.moc"
