#pragma once

#include <QByteArray>
#include <QEventLoop>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <functional>

class QWidget;

namespace TestSupport {

// Clears every stored preference (each test runs with a private config dir).
void resetPreferences();
// Writes bytes to dir/name and returns the path.
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
QByteArray readFile(const QString& path);
// dir/lnk, a link to dir/real/inner, and two files: dir/y.md "beside the link"
// and dir/real/y.md "beside the target", the one "lnk/../y.md" names. Returns
// the latter's path, empty when the files could not be made.
QString writeFilesAroundALink(const QTemporaryDir& dir);
// A file of `size` zero bytes that takes no room on disk.
bool makeSparseFile(const QString& path, qint64 size);
// A folder the test process cannot create files in: a read-only subfolder of
// dir, or a system folder when running as root (root ignores permissions).
QString readOnlyFolder(const QTemporaryDir& dir);

// Handles everything that is due now: posted events, queued calls, timers of
// no delay, file and socket events already in, and what those queue in turn.
// With QEventLoop::X11ExcludeTimers no timer fires, so a debounce that an
// event starts here is still pending afterwards, however slow the machine.
void processPendingEvents(QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);
// Lets the code do whatever it would do on a timer of at most `ms` started
// before this call: handles what is due now, then runs the event loop until a
// longer timer started after those has fired. Timers fire in the order of
// their deadlines however slow the machine, so afterwards a test can check
// that something did not happen. False if the event loop never got there.
bool runPastTimers(int ms);

// True once no tool run (ToolRunner's processes) is left and what their
// answers queued has been handled, runs those answers started included.
bool toolRunsAreOver();

// Resizes the widget (unless size is empty), shows it and waits until it is on screen.
bool showExposed(QWidget* widget, QSize size = {});

// Screenshots for a person to look at: the folder QUON_SCREENSHOTS names
// (empty when unset), and each appearance, light then dark, set in turn.
QString screenshotFolder();
void forEachAppearance(const std::function<void(const QString& appearance)>& shoot);
// Saves a picture of the widget as it draws now to dir/name.
bool saveShot(QWidget* widget, const QString& dir, const QString& name);
// An animation in frames: `change` starts it, then the widget is grabbed
// `frames` times, `everyMs` of animation time apart, into one sheet at dir/name
// (left to right, top to bottom; each frame at most 480 pixels wide). The
// animations run to their end before this returns.
bool saveFrames(QWidget* widget, const QString& dir, const QString& name,
                const std::function<void()>& change, int frames = 6, int everyMs = 30);

} // namespace TestSupport
