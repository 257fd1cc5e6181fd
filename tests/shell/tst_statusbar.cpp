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
        QCOMPARE(countsLabel(1, 2), QStringLiteral("1 word  ·  2 characters"));
        QCOMPARE(countsLabel(2, 1), QStringLiteral("2 words  ·  1 character"));
        // Characters as a reader sees them: graphemes, CR LF as one.
        QCOMPARE(characterCount(u"e\u0301\r\n"), 2);
        QCOMPARE(characterCount(u"\U0001F468\u200D\U0001F469\u200D\U0001F467 \U0001F1F5\U0001F1F1"),
                 3);
        QCOMPARE(documentNameLabel(QUrl::fromLocalFile(QStringLiteral("/a/archive.tar.gz"))),
                 QStringLiteral("archive.tar"));
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

        // A burst of edits is shown once, at its end.
        QString large(100000, QLatin1Char('x'));
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
