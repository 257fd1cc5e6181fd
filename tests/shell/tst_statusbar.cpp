#include "core/AppLanguageManager.h"
#include "core/MarkdownDocument.h"
#include "core/Preferences.h"
#include "shell/StatusBarText.h"
#include "shell/StatusBarView.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QTest>

using namespace StatusBarText;

class TestStatusBar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }
    void cleanup() { AppLanguageManager::apply(AppLanguage::English); }

    void labels() {
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

    // Each language's own plural forms, from the catalogues.
    void countsInEveryLanguage_data() {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<int>("words");
        QTest::addColumn<int>("characters");
        QTest::addColumn<QString>("label");
        using L = AppLanguage;
        QTest::newRow("pl 1, 2") << L::Polish << 1 << 2 << "1 słowo  ·  2 znaki";
        QTest::newRow("pl 2, 5") << L::Polish << 2 << 5 << "2 słowa  ·  5 znaków";
        QTest::newRow("pl 5, 22") << L::Polish << 5 << 22 << "5 słów  ·  22 znaki";
        QTest::newRow("pl 104, 1") << L::Polish << 104 << 1 << "104 słowa  ·  1 znak";
        QTest::newRow("en 1, 0") << L::English << 1 << 0 << "1 word  ·  0 characters";
        QTest::newRow("es 1, 1") << L::Spanish << 1 << 1 << "1 palabra  ·  1 carácter";
        QTest::newRow("es 0, 21") << L::Spanish << 0 << 21 << "0 palabras  ·  21 caracteres";
    }
    void countsInEveryLanguage() {
        QFETCH(AppLanguage, language);
        QFETCH(int, words);
        QFETCH(int, characters);
        QFETCH(QString, label);
        AppLanguageManager::apply(language);
        QCOMPARE(countsLabel(words, characters), label);
    }

    // A long file name is cut in the middle on one line; it never sets the
    // width the window needs.
    void longNameIsElided() {
        MarkdownDocument document;
        StatusBarView bar(document);
        const int plain = bar.minimumSizeHint().width();
        const QString name = QStringLiteral("Quarterly ") + QString(300, 'n') + " final";
        document.setFileUrl(QUrl::fromLocalFile("/tmp/" + name + ".md"));
        QCOMPARE(bar.nameText(), name);
        QCOMPARE(bar.minimumSizeHint().width(), plain);
        bar.resize(400, bar.sizeHint().height());
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        // Squeezed beside the counts rather than pushing the bar wider.
        auto* label = bar.findChildren<QLabel*>().last();
        QCOMPARE(label->text(), name);
        QVERIFY(label->geometry().right() < bar.width());
        QVERIFY(label->width() < label->sizeHint().width() / 4);
    }

    // The counts follow edits, counted after the keystroke rather than in it.
    void viewFollowsTheDocument() {
        Preferences::shared().setBoolean(PreferenceKeys::newDocumentStartsEmpty, true);
        MarkdownDocument document;
        StatusBarView bar(document);
        QCOMPARE(bar.countsText(), QStringLiteral("0 words  ·  0 characters"));
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
    }
};

QTEST_MAIN(TestStatusBar)
#include "tst_statusbar.moc"
