#include "core/Preferences.h"
#include "shell/AppDelegate.h"
#include "shell/AppNotifications.h"
#include "shell/DocumentController.h"
#include "shell/FinderNewFileService.h"
#include "shell/NewFileDialog.h"
#include "shell/SceneManager.h"
#include "support/ModalAnswerer.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>

using Answer = FinderNewFileService::Answer;

class TestFinderNewFileService : public QObject {
    Q_OBJECT

    struct Asked {
        QString folderName;
        bool markdown;
        bool open;
    };

    DocumentController& controller = DocumentController::shared();
    SceneManager* scenes = nullptr;
    ScriptedDialogs* dialogs = nullptr;
    QList<Asked> asked;
    QList<Answer> answers;
    QList<QUrl> desktopOpened; // what went to a default application
    std::unique_ptr<QTemporaryDir> scratch;
    QTemporaryDir tools; // a stand-in xdg-open that logs its argument
    QByteArray originalPath;

    QByteArray foldersOpened() const {
        return TestSupport::readFile(tools.filePath(QStringLiteral("xdg-open.log")));
    }

    static QString url(const QString& folder, const QString& rest = QStringLiteral("&md=1")) {
        return QStringLiteral("quon://new-file?dir=") +
               QString::fromLatin1(QUrl::toPercentEncoding(folder)) + rest;
    }

    // One request, answered by the next queued answer.
    void request(const QString& rawUrl, std::function<void()> ended = {}) {
        const qsizetype before = asked.size();
        FinderNewFileService::handle(rawUrl, std::move(ended));
        // Never asked from inside the call: it may come from a socket callback.
        QCOMPARE(asked.size(), before);
        QCoreApplication::processEvents();
    }

    QString folder(const QString& name = QStringLiteral("Notes")) {
        const QString path = scratch->filePath(name);
        QDir().mkpath(path);
        return path;
    }

    static QStringList entries(const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
                                      QDir::Name);
    }

    // Fills the real dialog once it is up, then clicks Create, also when a
    // check fails, so the test never hangs in the dialog.
    void answerDialogWhenUp(std::function<void(NewFileDialog*)> fill) {
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [poll, fill] {
            NewFileDialog* box = nullptr;
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* candidate = qobject_cast<NewFileDialog*>(window);
                    candidate && candidate->isVisible())
                    box = candidate;
            if (!box)
                return;
            poll->stop();
            poll->deleteLater();
            auto answer = qScopeGuard([box] { box->createButton()->click(); });
            QVERIFY(box->isModal());
            fill(box);
        });
        poll->start(10);
    }

public Q_SLOTS:
    void openedByDesktop(const QUrl& url) { desktopOpened.append(url); }

private Q_SLOTS:
    void initTestCase() {
        scenes = new SceneManager(controller, this);
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openedByDesktop");
        const QString tool = TestSupport::writeFile(tools, QStringLiteral("xdg-open"),
                                                    "#!/bin/sh\necho \"$1\" >> \"$0.log\"\n");
        QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        originalPath = qgetenv("PATH");
        qputenv("PATH", tools.path().toUtf8() + ':' + originalPath);
    }

    void cleanupTestCase() {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        qputenv("PATH", originalPath);
    }

    void init() {
        TestSupport::resetPreferences();
        dialogs = &ScriptedDialogs::install();
        scratch = std::make_unique<QTemporaryDir>();
        asked.clear();
        answers.clear();
        desktopOpened.clear();
        QFile::remove(tools.filePath(QStringLiteral("xdg-open.log")));
        FinderNewFileService::setPrompt([this](const QString& name, bool markdown, bool open) {
            asked.append({name, markdown, open});
            return answers.isEmpty() ? Answer{} : answers.takeFirst();
        });
    }

    void cleanup() {
        FinderNewFileService::setPrompt({});
        dialogs->discardAll(controller);
    }

    void requests_data() {
        QTest::addColumn<QString>("folderName");
        QTest::addColumn<QString>("query"); // {dir}: the folder, percent-encoded
        QTest::addColumn<bool>("isAsked");
        QTest::addColumn<bool>("markdown");
        const auto row = [](const char* name, const char* query, bool asked, bool markdown,
                            const QString& folder = QStringLiteral("Notes")) {
            QTest::newRow(name) << folder << QString::fromLatin1(query) << asked << markdown;
        };
        row("encoded space and umlaut", "dir={dir}&md=1", true, true, "Some Notes ü");
        row("plain file", "dir={dir}&md=0", true, false);
        row("no md", "dir={dir}", true, false);
        row("md not exactly 1", "dir={dir}&md=true", true, false);
        row("first dir and md count", "dir={dir}&dir=%2Fnowhere&md=1&md=0", true, true);
        row("trailing slash", "dir={dir}%2F&md=1", true, true);
        row("relative dir", "dir=Notes&md=1", false, false);
        row("missing folder", "dir={dir}%2Fgone&md=1", false, false);
        row("empty dir", "dir=&md=1", false, false);
        row("key case", "DIR={dir}&md=1", false, false);
        row("a file, not a folder", "dir={dir}%2Ffile.md", false, false);
    }
    void requests() {
        QFETCH(QString, folderName);
        QFETCH(QString, query);
        QFETCH(bool, isAsked);
        QFETCH(bool, markdown);
        const QString dir = folder(folderName);
        TestSupport::writeFile(*scratch, folderName + QStringLiteral("/file.md"), "x");
        QSignalSpy dismissed(&AppNotifications::shared(), &AppNotifications::dismissWelcomeWindow);
        request(QStringLiteral("quon://new-file?") +
                query.replace(QStringLiteral("{dir}"),
                              QString::fromLatin1(QUrl::toPercentEncoding(dir))));
        QCOMPARE(asked.size(), isAsked ? 1 : 0);
        QCOMPARE(dismissed.isEmpty(), !isAsked);
        if (isAsked) {
            QCOMPARE(asked[0].folderName, folderName);
            QCOMPARE(asked[0].markdown, markdown);
        }
        QCOMPARE(entries(dir), QStringList{QStringLiteral("file.md")});
    }

    void names_data() {
        QTest::addColumn<bool>("markdown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("created"); // empty: refused
        const auto row = [](const char* name, bool markdown, const QString& typed,
                            const char* created) {
            QTest::newRow(name) << markdown << typed << QString::fromLatin1(created);
        };
        row("extension added", true, "Ideas", "Ideas.md");
        row("upper-case extension kept", true, "Ideas.MARKDOWN", "Ideas.MARKDOWN");
        row("other extension kept, md added", true, "Ideas.txt", "Ideas.txt.md");
        row("blanks trimmed", true, " \tIdeas \n", "Ideas.md");
        row("plain name as typed", false, "Makefile", "Makefile");
        row("colon first", false, ":notes", ":notes");
        row("leading dot", true, ".x", "");
        row("slash", false, "a/b", "");
        row("only blanks", true, "  ", "");
        row("nul", true, QStringLiteral("a\0b"), "");
    }
    void names() {
        QFETCH(bool, markdown);
        QFETCH(QString, typed);
        QFETCH(QString, created);
        const QString dir = folder();
        answers.append({true, typed, false});
        request(url(dir, markdown ? QStringLiteral("&md=1") : QStringLiteral("&md=0")));
        QCOMPARE(asked.size(), 1);
        if (created.isEmpty()) {
            QCOMPARE(entries(dir), QStringList());
            QCOMPARE(dialogs->alerts.size(), 1);
            return;
        }
        QCOMPARE(entries(dir), QStringList{created});
        QVERIFY(dialogs->alerts.isEmpty());
        QCOMPARE(QFileInfo(QDir(dir).filePath(created)).size(), 0);
        // Not opened: shown in the file manager (here: its folder opened).
        QCOMPARE(controller.documentCount(), 0);
        QTRY_VERIFY(TestSupport::toolRunsAreOver());
        QCOMPARE(foldersOpened(), QUrl::fromLocalFile(dir).toEncoded() + '\n');
    }

    // The next free name, also past a racing file or a dangling link, which
    // is never written through.
    void freeNames() {
        const QString dir = folder();
        for (int i = 0; i < 2; ++i) {
            answers.append({true, QStringLiteral("untitled.md"), false});
            request(url(dir));
        }
        answers.append({true, QStringLiteral("Makefile"), false});
        answers.append({true, QStringLiteral("Makefile"), false});
        request(url(dir, QStringLiteral("&md=0")));
        request(url(dir, QStringLiteral("&md=0")));
        QCOMPARE(entries(dir),
                 (QStringList{"Makefile", "Makefile 2", "untitled 2.md", "untitled.md"}));

        const QString other = folder(QStringLiteral("Other"));
        const QString target = scratch->filePath(QStringLiteral("outside.md"));
        QVERIFY(QFile::link(target, QDir(other).filePath(QStringLiteral("notes.md"))));
        answers.append({true, QStringLiteral("notes"), false});
        request(url(other));
        QVERIFY(!QFileInfo::exists(target));
        QVERIFY(QFileInfo::exists(QDir(other).filePath(QStringLiteral("notes 2.md"))));
        // Each new file is shown in its folder: five openers to wait for.
        QTRY_VERIFY(TestSupport::toolRunsAreOver());
        QCOMPARE(foldersOpened().count('\n'), 5);
    }

    void unwritableFolder() {
        QTemporaryDir dir;
        const QString readOnly = TestSupport::readOnlyFolder(dir);
        answers.append({true, QStringLiteral("Ideas"), false});
        request(url(readOnly));
        QCOMPARE(dialogs->alerts.size(), 1);
        QCOMPARE(dialogs->alerts[0].second,
                 QStringLiteral("The file could not be created in \"%1\".")
                     .arg(QFileInfo(readOnly).fileName()));
        QVERIFY(desktopOpened.isEmpty());
        QTRY_VERIFY(TestSupport::toolRunsAreOver());
        QCOMPARE(foldersOpened(), QByteArray());
    }

    // The real alert's window is titled with what failed.
    void alertTitleSaysWhatFailed() {
        DocumentDialogs::setShared(nullptr);
        QTemporaryDir dir;
        ModalAnswerer answerer;
        answerer.answer(QStringLiteral("OK"));
        answers.append({true, QStringLiteral("Ideas"), false});
        request(url(TestSupport::readOnlyFolder(dir)));
        QCOMPARE(answerer.titles, QStringList{QStringLiteral("Could Not Create File")});
        dialogs = &ScriptedDialogs::install();
    }

    // "link/.." is the folder the kernel takes it for, the link target's
    // parent: the question names it and the file is made there.
    void folderResolvedOnce() {
        folder(QStringLiteral("Real/Inner"));
        const QString link = scratch->filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(scratch->filePath(QStringLiteral("Real/Inner")), link));
        answers.append({true, QStringLiteral("Plan"), false});
        request(url(link + QStringLiteral("/..")));
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].folderName, QStringLiteral("Real"));
        QCOMPARE(entries(scratch->filePath(QStringLiteral("Real"))),
                 (QStringList{"Inner", "Plan.md"}));
        QCOMPARE(entries(scratch->path()), (QStringList{"Real", "link"}));
        QTRY_VERIFY(TestSupport::toolRunsAreOver());
        QCOMPARE(foldersOpened(),
                 QUrl::fromLocalFile(scratch->filePath(QStringLiteral("Real"))).toEncoded() + '\n');
    }

    // `ended` comes once a question ends without a document window, after
    // its alert, and only then.
    void endedWithoutADocument() {
        const QString dir = folder();
        QTemporaryDir other;
        int ended = 0;
        const auto count = [&ended] { ++ended; };
        const auto ask = [&](const Answer& answer, const QString& folder, int expected) {
            answers.append(answer);
            request(url(folder), count);
            // Shown in Files: once the folder opener has answered.
            QTRY_VERIFY(TestSupport::toolRunsAreOver());
            QCOMPARE(ended, expected);
        };
        ask({false, QStringLiteral("Plan"), true}, dir, 1);   // Cancel
        ask({true, QStringLiteral(".hidden"), true}, dir, 2); // invalid name
        ask({true, QStringLiteral("Plan"), true}, TestSupport::readOnlyFolder(other), 3);
        QCOMPARE(dialogs->alerts.size(), 2);
        ask({true, QStringLiteral("Shown"), false}, dir, 4); // "open" off
        ask({true, QStringLiteral("Opened"), true}, dir, 4); // a window
        QCOMPARE(ScriptedDialogs::openFileNames(controller), QStringList{"Opened.md"});
        request(url(dir + QStringLiteral("/gone")), count); // ignored
        QCOMPARE(ended, 4);
    }

    // The checkbox's state is kept after Create and after Cancel and is the
    // next prompt's first state; a created Markdown file opens in quon,
    // another file in its default application.
    void openingAndTheCheckbox() {
        const QString dir = folder();
        QSignalSpy dismissed(&AppNotifications::shared(), &AppNotifications::dismissWelcomeWindow);
        answers.append({false, QStringLiteral("ignored"), false});
        request(url(dir));
        QCOMPARE(asked[0].open, true);
        QCOMPARE(Preferences::shared().storedBoolean(PreferenceKeys::openCreatedMarkdownFiles),
                 std::optional<bool>(false));
        QCOMPARE(entries(dir), QStringList());
        QCOMPARE(dismissed.size(), 2); // as the question comes and after it

        answers.append({true, QStringLiteral("Plan"), true});
        request(url(dir));
        QCOMPARE(asked[1].open, false);
        QVERIFY(Preferences::shared().openCreatedMarkdownFiles());
        QCOMPARE(ScriptedDialogs::openFileNames(controller), QStringList{"Plan.md"});
        QVERIFY(desktopOpened.isEmpty());

        answers.append({true, QStringLiteral("photo.png"), true});
        request(url(dir, QStringLiteral("&md=0")));
        QCOMPARE(desktopOpened,
                 QList<QUrl>{QUrl::fromLocalFile(QDir(dir).filePath(QStringLiteral("photo.png")))});
        QCOMPARE(controller.documentCount(), 1);
    }

    // The real dialog, for a request handed to a quon that shows only its
    // welcome window: the welcome window makes way for the dialog without
    // quon quitting in between.
    void dialogForwardedToHome() {
        FinderNewFileService::setPrompt({});
        scenes->setWelcomeWindowFactory([] { return new QWidget; });
        AppDelegate delegate(controller, *scenes);
        int quits = 0;
        delegate.hooks().quitApplication = [&] { ++quits; };
        delegate.hooks().handleNewFileUrl = &FinderNewFileService::handle;
        delegate.applicationDidFinishLaunching({});
        QTRY_VERIFY(scenes->welcomeWindow() && scenes->welcomeWindow()->isVisible());

        Preferences::shared().setBoolean(PreferenceKeys::openCreatedMarkdownFiles, false);
        const QString dir = folder(QStringLiteral("Some Notes"));
        answerDialogWhenUp([](NewFileDialog* box) {
            QCOMPARE(box->informativeText(),
                     QStringLiteral("The file will be created in \"Some Notes\"."));
            QCOMPARE(box->nameField()->selectedText(), QStringLiteral("untitled.md"));
            QVERIFY(box->createButton()->isDefault());
            QVERIFY(!box->openCheckBox()->isChecked());
            box->nameField()->setText(QStringLiteral("Plan"));
            box->openCheckBox()->setChecked(true);
        });
        delegate.handleForwardedArguments({url(dir)});
        QTRY_COMPARE(ScriptedDialogs::openFileNames(controller), QStringList{"Plan.md"});
        TestSupport::processPendingEvents();
        QCOMPARE(quits, 0);
        QVERIFY(!scenes->welcomeWindow()->isVisible());
        QVERIFY(Preferences::shared().openCreatedMarkdownFiles());

        QCOMPARE(NewFileDialog(QStringLiteral("x"), false, false).nameField()->text(),
                 QStringLiteral("untitled.txt"));
    }
};

QTEST_MAIN(TestFinderNewFileService)
#include "tst_findernewfileservice.moc"
