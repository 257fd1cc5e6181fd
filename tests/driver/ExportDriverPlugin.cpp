// Loaded into the real quon executable by a test (QT_PLUGIN_PATH and
// QT_QPA_GENERIC_PLUGINS="quonexportdriver:PDF-PATH"), it does what a user
// does: types into the open document, exports it as PDF through the real
// save dialog and answers any alert. It reports each step on standard output
// for the test to read.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGenericPlugin>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>

#include <cstdio>

namespace {

void report(const QString& line) {
    std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void type(QWidget* target, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &press);
        QCoreApplication::sendEvent(target, &release);
    }
}

void press(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
}

class ExportDriver : public QObject {
public:
    explicit ExportDriver(const QString& pdfPath) : m_pdfPath(pdfPath) {
        connect(&m_tick, &QTimer::timeout, this, &ExportDriver::step);
        m_tick.start(50);
    }

private:
    enum class Stage { Editing, WaitingForDialog, WaitingForResult, Done };

    QMainWindow* documentWindow() const {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<QMainWindow*>(widget);
            if (window && window->isVisible() && window->findChild<QPlainTextEdit*>())
                return window;
        }
        return nullptr;
    }

    void step() {
        switch (m_stage) {
        case Stage::Editing: {
            QMainWindow* window = documentWindow();
            if (!window)
                return;
            m_window = window;
            type(window->findChild<QPlainTextEdit*>(), QStringLiteral("Unsaved words. "));
            QAction* exportAction = nullptr;
            for (QAction* action : window->findChildren<QAction*>())
                if (action->text() == QStringLiteral("Export as PDF…") && action->isEnabled())
                    exportAction = action;
            if (!exportAction) {
                report(QStringLiteral("no export command"));
                m_stage = Stage::Done;
                return;
            }
            report(QStringLiteral("edited"));
            m_stage = Stage::WaitingForDialog;
            // The dialog runs its own loop inside the command; this timer
            // keeps ticking there.
            QTimer::singleShot(0, exportAction, &QAction::trigger);
            return;
        }
        case Stage::WaitingForDialog: {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                // Gone: accepted, and the export is running.
                if (m_answered)
                    m_stage = Stage::WaitingForResult;
                return;
            }
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name || !dialog->isVisible())
                return;
            // The dialog may still be filling in its folder and its proposed
            // name: answered again on every tick until it closes.
            name->setText(m_pdfPath);
            press(name, Qt::Key_Return);
            if (!m_answered)
                report(QStringLiteral("saving"));
            m_answered = true;
            return;
        }
        case Stage::WaitingForResult: {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                report(QStringLiteral("alert: ") + box->text() + QStringLiteral(" | ") +
                       box->informativeText());
                press(box, Qt::Key_Return);
                finish();
                return;
            }
            if (QFileInfo(m_pdfPath).size() > 0) {
                report(QStringLiteral("exported"));
                finish();
            }
            return;
        }
        case Stage::Done:
            return;
        }
    }

    void finish() {
        m_stage = Stage::Done;
        m_tick.stop();
        report(m_window && m_window->isWindowModified() ? QStringLiteral("modified")
                                                        : QStringLiteral("not modified"));
        report(QStringLiteral("done"));
    }

    QString m_pdfPath;
    QTimer m_tick;
    Stage m_stage = Stage::Editing;
    bool m_answered = false;
    QPointer<QMainWindow> m_window;
};

} // namespace

class ExportDriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "ExportDriverPlugin.json")
public:
    QObject* create(const QString& key, const QString& specification) override {
        if (key.compare(QStringLiteral("quonexportdriver"), Qt::CaseInsensitive) != 0)
            return nullptr;
        return new ExportDriver(specification);
    }
};

#include "ExportDriverPlugin.moc"
