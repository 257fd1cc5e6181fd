#include "export/ExportDesktop.h"
#include "shell/DocumentDialogs.h"
#include "shell/WorkspaceAlerts.h"
#include "windows/SettingsDialogs.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>

namespace {

// Each real question of quon, asked over a window; true when it came back as
// a question nobody answered does.
const std::map<QString, std::function<bool(QWidget*)>>& questions() {
    static WidgetDocumentDialogs dialogs;
    static const std::map<QString, std::function<bool(QWidget*)>> all = {
        {"file changed on disk",
         [](QWidget* w) {
             return WorkspaceAlerts::standard().askAboutOutsideChange(w, false) ==
                    WorkspaceAlerts::OutsideChangeChoice::Unanswered; // not "Keep My Version"
         }},
        {"saving over a change",
         [](QWidget* w) {
             return WorkspaceAlerts::standard().askAboutOutsideChange(w, true) ==
                    WorkspaceAlerts::OutsideChangeChoice::Unanswered; // not "Save Anyway"
         }},
        {"reload failed",
         [](QWidget* w) {
             WorkspaceAlerts::standard().reloadFailed(w, "gone");
             return true;
         }},
        {"save changes",
         [](QWidget* w) { return dialogs.askSaveChanges(w, "a.md") == SaveChangesChoice::Cancel; }},
        {"confirm", [](QWidget* w) { return !dialogs.confirm(w, "?", "", "Convert"); }},
        {"alert",
         [](QWidget* w) {
             dialogs.showAlert(w, "Could Not Save File", "");
             return true;
         }},
        {"save path",
         [](QWidget* w) { return dialogs.askSavePath(w, QDir::tempPath()).isEmpty(); }},
        {"open paths",
         [](QWidget* w) { return dialogs.askOpenPaths(w, QDir::tempPath()).isEmpty(); }},
        {"export destination",
         [](QWidget*) {
             return ExportDesktop::shared()
                 .chooseSavePath(
                     {"Export as HTML", "a.html", "html", "text/html", QDir::tempPath()})
                 .isEmpty();
         }},
        {"clear app data",
         [](QWidget* w) { return !SettingsDialogs::standard().confirmClearAppData(w, {}); }},
    };
    return all;
}

} // namespace

class TestModalDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A quit closes the window a question is over while it is open: the
    // question goes with it, is never destroyed twice nor read afterwards,
    // and counts as unanswered.
    void questionGoesWithItsWindow_data() {
        QTest::addColumn<QString>("question");
        for (const auto& [name, ask] : questions())
            QTest::newRow(qPrintable(name)) << name;
    }
    void questionGoesWithItsWindow() {
        QFETCH(QString, question);
        auto* window = new QMainWindow;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        const QPointer<QMainWindow> alive(window);
        QTimer quit;
        connect(&quit, &QTimer::timeout, window, [window] {
            if (QApplication::activeModalWidget())
                window->close();
        });
        quit.start(20);
        QVERIFY(questions().at(question)(window));
        QTRY_VERIFY(!alive);
    }
};

QTEST_MAIN(TestModalDialog)
#include "tst_modaldialog.moc"
