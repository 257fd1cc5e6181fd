#include "core/AppLanguageManager.h"
#include "core/DesignSystem.h"
#include "tools/FormatIconButton.h"

#include <QEnterEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

class TestSelectionFormattingBar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { AppLanguageManager::apply(AppLanguage::English); }

    // Under a format button's symbol: the accent tint while active, hovered
    // or not; the hover background for an inactive one under the pointer;
    // nothing on a plain one.
    void buttonBackgrounds() {
        const auto colors = SelectionFormattingBar::Colors::from(
            EditorTheme::from(
                DesignSystem::make(DesignSystem::Colors::light(), FontDesign::Serif, false)),
            QPalette());
        const auto painted = [&](bool plain, bool active, bool hovered) {
            FormatIconButton button(QStringLiteral("bold"), 16, QSize(28, 24));
            button.setColors(colors);
            button.setPlain(plain);
            button.setActive(active);
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            if (hovered)
                QCoreApplication::sendEvent(&button, &enter);
            QImage image(button.size(), QImage::Format_ARGB32);
            image.fill(Qt::transparent);
            button.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
            return image.pixelColor(2, 12).rgba(); // left of the symbol
        };
        QColor tint = colors.accent;
        tint.setAlphaF(0.16f);
        const auto near = [](QRgb a, QColor b) {
            return qAbs(qAlpha(a) - b.alpha()) <= 2 &&
                   (b.alpha() == 0 ||
                    (qAbs(qRed(a) - b.red()) <= 3 && qAbs(qBlue(a) - b.blue()) <= 3));
        };
        QVERIFY(near(painted(false, false, false), Qt::transparent));
        QVERIFY(near(painted(false, false, true), colors.hoverBackground));
        QVERIFY(near(painted(false, true, false), tint));
        QVERIFY(near(painted(false, true, true), tint));
        QVERIFY(near(painted(true, false, true), Qt::transparent));
    }

    // Built once per editor, the bar follows a change of language.
    void textsFollowTheLanguage() {
        SelectionFormattingBar bar;
        bar.setState({false, false, false, false, 2});
        AppLanguageManager::apply(AppLanguage::Polish);
        QTRY_COMPARE(bar.markerButton(SelectionFormattingBar::Command::Bold)->toolTip(),
                     QStringLiteral("Pogrubienie"));
        QCOMPARE(bar.addressField()->placeholderText(),
                 QStringLiteral("Wklej lub wpisz adres URL…"));
        QCOMPARE(bar.headingMenu()->actions().size(), 5);
        QVERIFY(bar.headingMenu()->actions().last()->text() != QStringLiteral("Normal Text"));
        QVERIFY(bar.listMenu()->actions().first()->text() != QStringLiteral("Bulleted List"));
    }
};

QTEST_MAIN(TestSelectionFormattingBar)
#include "tst_selectionformattingbar.moc"
