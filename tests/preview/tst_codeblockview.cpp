#include "preview/CodeBlockView.h"
#include "preview/HorizontalPassThroughScrollView.h"
#include "preview/SelectableTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QVBoxLayout>
#include <cmath>

namespace {

DesignSystem light() {
    return DesignSystem::make(DesignSystem::Colors::light(), FontDesign::Serif, false);
}

int codeLineHeight() {
    const QFontMetricsF m(DesignSystem::Typography::font(FontDesign::Monospaced, 13));
    return int(std::ceil(m.ascent() + m.descent() + m.leading()));
}

void wheel(QWidget* target, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), angle, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

} // namespace

class TestCodeBlockView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void headerOnlyForATaggedBlock() {
        CodeBlockView tagged(QStringLiteral("{\"a\": 1}\n"), QStringLiteral("json"), light());
        QVERIFY(tagged.languageLabel());
        QCOMPARE(tagged.languageLabel()->text(), QStringLiteral("JSON"));
        QVERIFY(tagged.copyButton());
        // Extra words of the info string are not part of the language.
        QCOMPARE(CodeBlockView::languageName(QStringLiteral(" python title=x ")),
                 QStringLiteral("python"));

        for (const QString& info : {QString(), QStringLiteral("   ")}) {
            CodeBlockView untagged(QStringLiteral("x = 1\n"), info, light());
            QVERIFY(!untagged.languageLabel());
            QVERIFY(!untagged.copyButton());
        }
    }

    void minimumHeightCountsLinesFromTheCode() {
        const int line = codeLineHeight();
        QCOMPARE(CodeBlockView::minimumBodyHeight(QStringLiteral("one line")), line + 16);
        QCOMPARE(CodeBlockView::minimumBodyHeight(QStringLiteral("a\nb\n")), 3 * line + 16);
        QCOMPARE(CodeBlockView::minimumBodyHeight(QString()), line + 16);

        CodeBlockView card(QStringLiteral("a\nb\n"), QStringLiteral("c"), light());
        card.resize(500, card.sizeHint().height());
        card.layout()->activate();
        QVERIFY(card.scrollView()->height() >= 3 * line + 16);
        QVERIFY(card.scrollView()->minHeight() == 3 * line + 16);
    }

    void longLinesScrollInsteadOfWrapping() {
        const QString longLine = QStringLiteral("x").repeated(400);
        CodeBlockView card(longLine, QStringLiteral("text"), light());
        card.resize(300, card.sizeHint().height());
        card.show();
        QVERIFY(QTest::qWaitForWindowExposed(&card));
        HorizontalPassThroughScrollView* scroll = card.scrollView();
        QCOMPARE(card.codeView()->lineCount(), 1);
        QVERIFY(card.codeView()->width() > scroll->viewport()->width());
        QCOMPARE(scroll->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(scroll->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(scroll->horizontalScrollBar()->maximum() > 0);

        // Horizontal and Shift+wheel turns scroll the card.
        wheel(scroll->viewport(), QPoint(-120, 0));
        const int afterHorizontal = scroll->horizontalScrollBar()->value();
        QVERIFY(afterHorizontal > 0);
        wheel(scroll->viewport(), QPoint(0, -120), Qt::ShiftModifier);
        QVERIFY(scroll->horizontalScrollBar()->value() > afterHorizontal);
    }

    void mostlyVerticalWheelTurnsGoToThePage() {
        using Route = HorizontalPassThroughScrollView::WheelRoute;
        QCOMPARE(HorizontalPassThroughScrollView::route({0, -120}, {}), Route::Parent);
        QCOMPARE(HorizontalPassThroughScrollView::route({10, -40}, {}), Route::Parent);
        QCOMPARE(HorizontalPassThroughScrollView::route({40, -10}, {}), Route::Horizontal);
        QCOMPARE(HorizontalPassThroughScrollView::route({30, 30}, {}), Route::Horizontal);
        QCOMPARE(HorizontalPassThroughScrollView::route({0, 0}, {}), Route::Horizontal);
        QCOMPARE(HorizontalPassThroughScrollView::route({0, -120}, Qt::ShiftModifier),
                 Route::Horizontal);

        // A card inside a page: a vertical turn over the code moves the page.
        QScrollArea page;
        auto* content = new QWidget;
        auto* column = new QVBoxLayout(content);
        auto* card =
            new CodeBlockView(QStringLiteral("y").repeated(300), QStringLiteral("text"), light());
        column->addWidget(card);
        column->addSpacing(3000);
        page.setWidget(content);
        page.setWidgetResizable(true);
        page.resize(300, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        wheel(card->scrollView()->viewport(), QPoint(0, -120));
        QVERIFY(page.verticalScrollBar()->value() > 0);
        QCOMPARE(card->scrollView()->horizontalScrollBar()->value(), 0);
    }

    void copyPutsTheCodeOnTheClipboardAndShowsCopiedForASecond() {
        const QString code = QStringLiteral("print('hi')\n");
        CodeBlockView card(code, QStringLiteral("python"), light());
        CodeCopyButton* button = card.copyButton();
        const DesignSystem ds = light();
        QCOMPARE(button->currentColour(), QColor(ds.colors.mutedText));
        const int symbolWidth = button->sizeHint().width();
        QCOMPARE(symbolWidth, 11);

        QApplication::clipboard()->clear();
        button->click();
        QCOMPARE(QApplication::clipboard()->text(), code);
        QVERIFY(button->isShowingCopied());
        QCOMPARE(button->currentColour(), QColor(ds.colors.accent));
        QVERIFY(button->sizeHint().width() > symbolWidth);
        QTRY_VERIFY_WITH_TIMEOUT(!button->isShowingCopied(), 5000);
        QCOMPARE(button->currentColour(), QColor(ds.colors.mutedText));
    }

    void codeIsColouredInTheCodeFont() {
        CodeBlockView card(QStringLiteral("def f():\n    pass\n"), QStringLiteral("python"),
                           light());
        const StyledText& shown = card.codeView()->content();
        QCOMPARE(shown.formatAt(0).foreground().color().name(), QStringLiteral("#a626a4"));
        QCOMPARE(card.codeView()->document()->defaultFont().families(),
                 DesignSystem::Typography::families(FontDesign::Monospaced));
    }
};

QTEST_MAIN(TestCodeBlockView)
#include "tst_codeblockview.moc"
