#include "platform/Symbols.h"

#include <QGuiApplication>
#include <QTest>

namespace {

// Pixels with any coverage, and whether every covered pixel has the tint's hue.
struct Coverage {
    int covered = 0;
    bool tinted = true;
};

Coverage coverage(const QPixmap& pixmap, const QColor& tint) {
    Coverage c;
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() < 128)
                continue;
            ++c.covered;
            if (qAbs(pixel.red() - tint.red()) > 2 || qAbs(pixel.green() - tint.green()) > 2 ||
                qAbs(pixel.blue() - tint.blue()) > 2)
                c.tinted = false;
        }
    }
    return c;
}

} // namespace

class TestSymbols : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyTableEntryDrawsATintedGlyph_data() {
        QTest::addColumn<QString>("name");
        for (const char* name :
             {"checkmark.square.fill", "square", "doc.on.doc", "checkmark", "photo", "doc.text",
              "list.bullet", "chevron.down", "house", "command", "gearshape", "paintbrush",
              "puzzlepiece.extension", "circle.dashed", "arrow.right.circle.fill"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void everyTableEntryDrawsATintedGlyph() {
        QFETCH(QString, name);
        QVERIFY(Symbols::isKnown(name));
        // The table's file exists on this system (not the generic glyph).
        QVERIFY2(Symbols::sourceFile(name) != QStringLiteral(":/symbols/fallback.svg"),
                 qPrintable(Symbols::sourceFile(name)));
        // Drawn again in another tint, never the first drawing again.
        for (const QColor tint : {QColor(200, 40, 90), QColor(20, 160, 60)}) {
            const Coverage c = coverage(Symbols::pixmap(name, tint, QSize(16, 16)), tint);
            QVERIFY2(c.covered > 10, qPrintable(name));
            QVERIFY(c.tinted);
        }
    }

    void unknownNamesDrawTheGenericGlyph() {
        const QString name = QStringLiteral("no.such.symbol");
        QVERIFY(!Symbols::isKnown(name));
        QCOMPARE(Symbols::sourceFile(name), QStringLiteral(":/symbols/fallback.svg"));
        QVERIFY(coverage(Symbols::pixmap(name, Qt::black, QSize(16, 16)), Qt::black).covered > 10);
    }

    void glyphsAreRenderedAtTheDevicePixelRatio() {
        const QPixmap crisp =
            Symbols::pixmap(QStringLiteral("doc.on.doc"), Qt::blue, QSize(11, 11), 2.0);
        QCOMPARE(crisp.size(), QSize(22, 22));
        QCOMPARE(crisp.devicePixelRatio(), 2.0);

        const QPixmap fromIcon =
            Symbols::icon(QStringLiteral("square"), Qt::red).pixmap(QSize(20, 20), 3.0);
        QCOMPARE(fromIcon.size(), QSize(60, 60));
        QVERIFY(coverage(fromIcon, Qt::red).covered > 100);
        // The checked and unchecked boxes are different glyphs.
        QVERIFY(Symbols::pixmap(QStringLiteral("square"), Qt::red, QSize(16, 16)).toImage() !=
                Symbols::pixmap(QStringLiteral("checkmark.square.fill"), Qt::red, QSize(16, 16))
                    .toImage());
    }
};

QTEST_MAIN(TestSymbols)
#include "tst_symbols.moc"
