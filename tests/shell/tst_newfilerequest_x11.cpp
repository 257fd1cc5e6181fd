// A "quon://new-file" request served by the real quon on a real X server,
// answered from outside as a user would: the test only sees quon's windows
// and sends them keys and the window manager's close request.
#include "core/Preferences.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <optional>
#include <xcb/xcb.h>

namespace {

// The X server's top-level windows, by title, as a window manager sees them.
class X11Display {
public:
    X11Display() : m_connection(xcb_connect(nullptr, nullptr)) {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~X11Display() { xcb_disconnect(m_connection); }
    X11Display(const X11Display&) = delete;
    X11Display& operator=(const X11Display&) = delete;

    bool isConnected() const { return xcb_connection_has_error(m_connection) == 0; }

    // The mapped top-level window titled `title`, if there is one.
    std::optional<xcb_window_t> shown(const QString& title) {
        std::optional<xcb_window_t> found;
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr);
        if (!tree)
            return found;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i)
            if (isMapped(children[i]) && this->title(children[i]) == title)
                found = children[i];
        free(tree);
        return found;
    }

    // What the close button of a window manager sends.
    void close(xcb_window_t window) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = atom("WM_PROTOCOLS");
        message.data.data32[0] = atom("WM_DELETE_WINDOW");
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_connection, false, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(m_connection);
    }

    // A key pressed and released over the window, to its focused field.
    void press(xcb_window_t window, xcb_keysym_t keysym) {
        for (const uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
            xcb_key_press_event_t key{};
            key.response_type = type;
            key.detail = keycode(keysym);
            key.root = m_root;
            key.event = window;
            key.same_screen = 1;
            key.time = XCB_CURRENT_TIME;
            xcb_send_event(m_connection, false, window,
                           uint32_t(type == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS
                                                          : XCB_EVENT_MASK_KEY_RELEASE),
                           reinterpret_cast<const char*>(&key));
        }
        xcb_flush(m_connection);
    }

private:
    xcb_atom_t atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return atom;
    }

    bool isMapped(xcb_window_t window) {
        xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
        const bool mapped = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        free(attributes);
        return mapped;
    }

    QString title(xcb_window_t window) {
        xcb_get_property_reply_t* reply =
            xcb_get_property_reply(m_connection,
                                   xcb_get_property(m_connection, 0, window, atom("_NET_WM_NAME"),
                                                    atom("UTF8_STRING"), 0, 1024),
                                   nullptr);
        QString title;
        if (reply)
            title = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply)),
                                      xcb_get_property_value_length(reply));
        free(reply);
        return title;
    }

    xcb_keycode_t keycode(xcb_keysym_t keysym) {
        const xcb_setup_t* setup = xcb_get_setup(m_connection);
        const uint8_t count = setup->max_keycode - setup->min_keycode + 1;
        xcb_get_keyboard_mapping_reply_t* mapping = xcb_get_keyboard_mapping_reply(
            m_connection, xcb_get_keyboard_mapping(m_connection, setup->min_keycode, count),
            nullptr);
        xcb_keycode_t code = 0;
        if (mapping) {
            const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(mapping);
            const int perCode = mapping->keysyms_per_keycode;
            for (int i = 0; i < count * perCode && !code; ++i)
                if (syms[i] == keysym)
                    code = xcb_keycode_t(setup->min_keycode + i / perCode);
        }
        free(mapping);
        return code;
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
};

constexpr xcb_keysym_t returnKey = 0xff0d;
constexpr int startTimeout = 30'000;

QString newFileUrl(const QString& folder) {
    return QStringLiteral("quon://new-file?dir=") +
           QString::fromLatin1(QUrl::toPercentEncoding(folder)) + QStringLiteral("&md=1");
}

} // namespace

class TestNewFileRequest : public QObject {
    Q_OBJECT

    X11Display x11;
    QTemporaryDir scratch;
    QList<QProcess*> started;

    // quon with these arguments, on a session bus of its own when asked; a
    // fake xdg-open records what it was given.
    QProcess* quon(const QStringList& arguments, bool sessionBus = false) {
        auto* process = new QProcess(this);
        started.append(process);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PATH"), scratch.filePath(QStringLiteral("bin")) +
                                                       QLatin1Char(':') +
                                                       environment.value(QStringLiteral("PATH")));
        process->setProcessEnvironment(environment);
        if (sessionBus) {
            process->setProgram(QStringLiteral("dbus-run-session"));
            process->setArguments(
                QStringList{QStringLiteral("--"), QStringLiteral(QUON_EXECUTABLE)} + arguments);
        } else {
            process->setProgram(QStringLiteral(QUON_EXECUTABLE));
            process->setArguments(arguments);
        }
        process->start();
        return process;
    }

    xcb_window_t shownWindow(const QString& title) {
        std::optional<xcb_window_t> window;
        const bool up =
            QTest::qWaitFor([&] { return bool(window = x11.shown(title)); }, startTimeout);
        if (!up)
            qWarning("no window \"%s\"", qPrintable(title));
        return window.value_or(0);
    }

    static bool endsWell(QProcess* process) {
        return process->state() == QProcess::NotRunning &&
               process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    }

    QString folder(const QString& name) {
        const QString path = scratch.filePath(name);
        QDir().mkpath(path);
        return path;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(x11.isConnected());
        QVERIFY(scratch.isValid());
        const QString fake = folder(QStringLiteral("bin")) + QStringLiteral("/xdg-open");
        QFile script(fake);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s' \"$1\" > \"$0.called\"\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void init() {
        TestSupport::resetPreferences();
        Preferences::shared().setBoolean(PreferenceKeys::onboardingCompleted, true);
    }

    void cleanup() {
        for (QProcess* process : std::as_const(started)) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(10'000);
            }
        }
        qDeleteAll(started);
        started.clear();
    }

    // Started for the request alone, quon goes once the request ends: on
    // Cancel, after the alert of a failed creation, and after showing the
    // new file in Files rather than opening it.
    void aQuonStartedForTheRequestQuits_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel") << QStringLiteral("cancel");
        QTest::newRow("creation fails") << QStringLiteral("fails");
        QTest::newRow("open off") << QStringLiteral("open off");
        // Files is asked first and answers late, with an error: quon waits for
        // the answer and opens the folder before it goes.
        QTest::newRow("open off, a bus without Files") << QStringLiteral("open off, bus");
    }
    void aQuonStartedForTheRequestQuits() {
        QFETCH(QString, how);
        QTemporaryDir other;
        const QString dir = how == QLatin1String("fails")
                                ? TestSupport::readOnlyFolder(other)
                                : folder(QString(how).replace(QLatin1Char(' '), QLatin1Char('-')));
        const bool openOff = how.startsWith(QLatin1String("open off"));
        Preferences::shared().setBoolean(PreferenceKeys::openCreatedMarkdownFiles, !openOff);
        QFile::remove(scratch.filePath(QStringLiteral("bin/xdg-open.called")));
        QProcess* request = quon({newFileUrl(dir)}, how.endsWith(QLatin1String("bus")));
        const xcb_window_t question = shownWindow(QStringLiteral("New Markdown File"));
        QVERIFY(question);
        if (how == QLatin1String("cancel")) {
            x11.close(question);
        } else {
            x11.press(question, returnKey);
            if (how == QLatin1String("fails")) {
                const xcb_window_t alert = shownWindow(QStringLiteral("Could Not Create File"));
                QVERIFY(alert);
                x11.close(alert);
            }
        }
        QTRY_VERIFY_WITH_TIMEOUT(endsWell(request), startTimeout);
        if (openOff) {
            QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("untitled.md")});
            // No file manager: its folder is opened instead.
            QCOMPARE(TestSupport::readFile(scratch.filePath(QStringLiteral("bin/xdg-open.called"))),
                     QUrl::fromLocalFile(dir).toString().toUtf8());
        } else if (how == QLatin1String("cancel")) {
            QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList());
        }
    }

    // Handed to a quon that shows its home window: the home window makes way
    // for the question and comes back after it.
    void theHomeWindowComesBack() {
        QProcess* running = quon({});
        const xcb_window_t home = shownWindow(QStringLiteral("quon"));
        QVERIFY(home);
        QProcess* later = quon({newFileUrl(folder(QStringLiteral("Notes")))});
        QTRY_VERIFY_WITH_TIMEOUT(endsWell(later), startTimeout);
        const xcb_window_t question = shownWindow(QStringLiteral("New Markdown File"));
        QVERIFY(question);
        QVERIFY(!x11.shown(QStringLiteral("quon")));
        x11.close(question);
        QCOMPARE(shownWindow(QStringLiteral("quon")), home);
        QCOMPARE(running->state(), QProcess::Running);
        // Closing it is the user being done.
        x11.close(home);
        QTRY_VERIFY_WITH_TIMEOUT(endsWell(running), startTimeout);
    }
};

QTEST_GUILESS_MAIN(TestNewFileRequest)
#include "tst_newfilerequest_x11.moc"
