#include "Bench.h"
#include "ReadmeDocument.h"

#include "core/MarkdownDocument.h"
#include "editor/EditorView.h"
#include "editor/MarkdownSyntaxHighlighter.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewView.h"
#include "shell/WorkspaceView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The longest time the UI thread left a fast heartbeat waiting: what a key
// pressed then would have waited for before anything happened.
class Heartbeat : public QObject {
public:
    static constexpr int intervalMs = 2;
    Heartbeat() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(intervalMs);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            m_longest = std::max(m_longest, double(m_since.nsecsElapsed()) / 1e6 - intervalMs);
            m_since.restart();
        });
        m_since.start();
        m_timer.start();
    }
    double longest() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    double m_longest = 0;
};

// Records when the watched widget is next painted.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* widget) { widget->installEventFilter(this); }
    void arm() { m_painted = false; }
    bool painted() const { return m_painted; }
    qint64 paintedAt() const { return m_at; }
    QElapsedTimer clock;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            m_at = clock.nsecsElapsed();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_painted = false;
    qint64 m_at = 0;
};

void runUntil(const QElapsedTimer& clock, qint64 dueNs) {
    const qint64 left = (dueNs - clock.nsecsElapsed()) / 1'000'000;
    if (left <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(int(left), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Letters typed in the middle of a README-like 10 MB document in a real
// window in Split, one every 150 ms as a person types, so that the pause
// after each key starts a parse while the one before may still run. Each key
// is due at its time and posted then (a busy UI thread makes it wait, as a
// real key would); its echo is the first paint of the editor after it. The
// stall is the longest the UI thread kept a heartbeat waiting over the typing
// and the second after the preview caught up.
void humanPaceFigures() {
    constexpr int keys = 100;
    constexpr qint64 keyIntervalNs = 150'000'000;
    const QString text = ReadmeDocument::markdown(10 * 1024 * 1024);
    auto document = std::make_unique<MarkdownDocument>(*DocumentFile::decode(text.toUtf8()));
    const auto window = Bench::openWindow(*document);
    window->setViewMode(ViewMode::Split);
    auto* pane = qobject_cast<EditorView*>(window->panes()->editor());
    auto* preview = qobject_cast<PreviewView*>(window->panes()->preview());
    const auto inStep = [&] {
        return !preview->isUpdating() &&
               preview->content()->document()->text.size() == document->length();
    };
    while (pane->editor()->highlighter()->isColouringProgressively() || !inStep())
        QApplication::processEvents();

    MarkdownTextView* view = pane->textView();
    view->setFocus();
    const qsizetype at = text.indexOf(QStringLiteral("\n\nThe **widget-"), text.size() / 2) + 2;
    QTextCursor cursor(view->document());
    cursor.setPosition(int(at));
    view->setTextCursor(cursor);
    view->centerCursor();
    QApplication::processEvents();

    PaintWatch watch(view->viewport());
    watch.clock.start();
    Heartbeat heartbeat;
    std::vector<double> echoes;
    for (int key = 0; key < keys; ++key) {
        const qint64 due = (key + 1) * keyIntervalNs;
        runUntil(watch.clock, due);
        watch.arm();
        QApplication::postEvent(
            view, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
        while (!watch.painted())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        echoes.push_back(double(watch.paintedAt() - due) / 1e6);
    }
    while (!inStep())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    runUntil(watch.clock, watch.clock.nsecsElapsed() + 1'000'000'000);
    std::sort(echoes.begin(), echoes.end());
    const auto p99 = size_t(std::ceil(0.99 * double(echoes.size()))) - 1;
    Bench::report(QStringLiteral("window.split.human-pace.10mb.p99"), echoes[p99], "ms");
    Bench::report(QStringLiteral("window.split.human-pace.10mb.stall"), heartbeat.longest(), "ms");
}

const Bench::Registration registration("window.human-pace", humanPaceFigures);

} // namespace
