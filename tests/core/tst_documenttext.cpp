#include "core/ChunkedText.h"
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

struct Edit {
    qsizetype at;
    qsizetype removed;
    QString added;
};
using Edits = QList<Edit>;

// A text of `size` units, each piece of it told apart from the others, with
// a surrogate pair at every unit an edit might cut.
QString piecesText(qsizetype size) {
    QString text;
    for (int i = 0; text.size() < size; ++i)
        text += QStringLiteral("line %1 \U0001F600 text\n").arg(i);
    text.truncate(size);
    return text;
}

} // namespace

Q_DECLARE_METATYPE(Edit)

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

    // After each edit the text is the string's; every snapshot taken on the
    // way still holds the text of its moment; and where two snapshots differ
    // is found near the edit, from the pieces they share.
    void snapshotsKeepTheirTextAndFindTheEdit_data() {
        constexpr qsizetype piece = ChunkedText::pieceUnits;
        QTest::addColumn<qsizetype>("size");
        QTest::addColumn<Edits>("edits");
        QTest::newRow("empty, typed into")
            << qsizetype(0) << Edits{{0, 0, u(u"a")}, {1, 0, u(u"b")}};
        QTest::newRow("all deleted, then typed")
            << 3 * piece << Edits{{0, 3 * piece, QString()}, {0, 0, u(u"x\n")}};
        QTest::newRow("typing in a middle piece") << 4 * piece + 7
                                                  << Edits{{2 * piece + 5, 0, u(u"a")},
                                                           {2 * piece + 6, 0, u(u"b")},
                                                           {2 * piece + 6, 1, {}}};
        QTest::newRow("across a piece boundary")
            << 4 * piece << Edits{{piece - 3, 6, u(u"joined")}, {2 * piece - 1, 2, QString()}};
        QTest::newRow("at a piece's start and end")
            << 3 * piece << Edits{{piece, 0, u(u"start")}, {2 * piece + 5, 0, u(u"end")}};
        QTest::newRow("surrogate pair split and joined at a boundary")
            << 3 * piece
            << Edits{{piece, 0, u(u"\xD83D")}, {piece + 1, 0, u(u"\xDE00")}, {piece, 1, {}}};
        QTest::newRow("a piece grown past twice its size")
            << 3 * piece << Edits{{piece + 10, 0, piecesText(3 * piece)}};
        QTest::newRow("a piece shrunk to nothing")
            << 5 * piece << Edits{{piece, piece - 1, {}}, {piece, 2, {}}, {piece, piece, {}}};
        QTest::newRow("first and last units")
            << 2 * piece + 1 << Edits{{0, 1, u(u"#")}, {2 * piece, 1, u(u"!\n")}};
    }
    void snapshotsKeepTheirTextAndFindTheEdit() {
        QFETCH(qsizetype, size);
        QFETCH(Edits, edits);
        QString plain = piecesText(size);
        DocumentFileContents contents;
        contents.text = plain;
        DocumentText text(contents);
        std::vector<std::pair<TextSnapshot, QString>> taken{{text.snapshot(), plain}};
        for (const Edit& edit : edits) {
            text.replace(edit.at, edit.removed, edit.added);
            plain.replace(edit.at, edit.removed, edit.added);
            QCOMPARE(text.toString(), plain);
            taken.emplace_back(text.snapshot(), plain);

            const auto& [before, was] = taken[taken.size() - 2];
            const TextDifference d = TextSnapshot::difference(before, taken.back().first);
            const qsizetype shorter = qMin(was.size(), plain.size());
            QVERIFY(d.prefix + d.suffix <= shorter);
            QCOMPARE(QStringView(was).first(d.prefix), QStringView(plain).first(d.prefix));
            QCOMPARE(QStringView(was).last(d.suffix), QStringView(plain).last(d.suffix));
            // Found within a few pieces of the edit, whatever the text's length.
            const qsizetype editEnd = edit.at + edit.removed;
            QVERIFY(d.prefix >= qMin(edit.at, shorter) - 2 * ChunkedText::pieceUnits);
            QVERIFY(d.suffix >=
                    qMin(was.size() - editEnd, shorter - d.prefix) - 2 * ChunkedText::pieceUnits);
        }
        for (const auto& [snapshot, was] : taken) {
            QCOMPARE(snapshot.toString(), was);
            QVERIFY(snapshot.equals(was));
        }
        QVERIFY(text.snapshot().sameAs(taken.back().first));
        // A string shares no pieces with the text: it is read to the end.
        QCOMPARE(TextSnapshot::difference(TextSnapshot(plain), text.snapshot()).prefix,
                 plain.size());
        QVERIFY(edits.size() < 2 || !taken.front().first.sameAs(taken.back().first));
    }
};

QTEST_GUILESS_MAIN(TestDocumentText)
#include "tst_documenttext.moc"
