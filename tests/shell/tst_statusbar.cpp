#include "core/MarkdownDocument.h"
#include "core/Preferences.h"
#include "shell/StatusBarText.h"
#include "shell/StatusBarView.h"
#include "support/TestSupport.h"

#include <QTest>

using namespace StatusBarText;

class TestStatusBar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }

    void labels() {
        QCOMPARE(countsLabel(0, 0), QStringLiteral("0 words  ·  0 characters"));
        QCOMPARE(wordCountLabel(1), QStringLiteral("1 word"));
        QCOMPARE(wordCountLabel(2), QStringLiteral("2 words"));
        QCOMPARE(characterCountLabel(1), QStringLiteral("1 character"));
        QCOMPARE(countsLabel(1, 2), QStringLiteral("1 word  ·  2 characters"));
    }

    void charactersAreWhatAReaderSees() {
        QCOMPARE(characterCount(u""), 0);
        QCOMPARE(characterCount(u"ab"), 2);
        QCOMPARE(characterCount(u"e\u0301\r\n"), 2);
        // A family emoji (ZWJ sequence) and a flag are one character each.
        QCOMPARE(characterCount(u"\U0001F468\u200D\U0001F469\u200D\U0001F467 \U0001F1F5\U0001F1F1"),
                 3);
        QCOMPARE(characterCount(u"zażółć"), 6);
    }

    void documentName() {
        QCOMPARE(documentNameLabel(QUrl::fromLocalFile(QStringLiteral("/a/archive.tar.gz"))),
                 QStringLiteral("archive.tar"));
        QCOMPARE(documentNameLabel(QUrl::fromLocalFile(QStringLiteral("/a/notes.md"))),
                 QStringLiteral("notes"));
        QCOMPARE(documentNameLabel(QUrl::fromLocalFile(QStringLiteral("/a/README"))),
                 QStringLiteral("README"));
        QCOMPARE(documentNameLabel(QUrl::fromLocalFile(QStringLiteral("/a/.profile"))),
                 QStringLiteral(".profile"));
        QCOMPARE(documentNameLabel(QUrl()), QStringLiteral("Untitled"));
    }

    // The counts follow edits, counted after the keystroke rather than in it.
    void viewFollowsTheDocument() {
        Preferences::shared().setBoolean(PreferenceKeys::newDocumentStartsEmpty, true);
        MarkdownDocument document;
        StatusBarView bar(document);
        QCOMPARE(bar.countsText(), QStringLiteral("0 words  ·  0 characters"));
        QCOMPARE(bar.nameText(), QStringLiteral("Untitled"));

        document.setText(QStringLiteral("hi"));
        QVERIFY(bar.isRecountPending());
        QCOMPARE(bar.countsText(), QStringLiteral("0 words  ·  0 characters"));
        QTRY_COMPARE(bar.countsText(), QStringLiteral("1 word  ·  2 characters"));

        // A burst of edits to a large document is counted once, at its end.
        QString large(StatusBarView::largeDocumentLength, QLatin1Char('x'));
        for (int i = 0; i < 5; ++i) {
            large[i] = QLatin1Char(' ');
            document.setText(large);
        }
        QVERIFY(bar.isRecountPending());
        QTRY_VERIFY(!bar.isRecountPending());
        QCOMPARE(bar.countsText(), StatusBarText::countsLabel(1, large.size()));

        document.setFileUrl(QUrl::fromLocalFile(QStringLiteral("/tmp/archive.tar.gz")));
        QCOMPARE(bar.nameText(), QStringLiteral("archive.tar"));
    }
};

QTEST_MAIN(TestStatusBar)
#include "tst_statusbar.moc"
