#include "support/TestSupport.h"

#include "core/Preferences.h"
#include "support/AnimationClock.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <unistd.h>

void TestSupport::processPendingEvents(QEventLoop::ProcessEventsFlags flags) {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    // Bounded: a window system may keep sending events of its own.
    for (int round = 0; round < 100; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!dispatcher->processEvents(flags))
            break;
    }
}

bool TestSupport::runPastTimers(int ms) {
    processPendingEvents();
    // Coarse timers may fire up to 5 % late: this one is well clear of that.
    QTimer after;
    after.setSingleShot(true);
    after.setTimerType(Qt::PreciseTimer);
    after.start(ms * 3 / 2 + 50);
    const bool past = QTest::qWaitFor([&] { return !after.isActive(); }, 60'000);
    processPendingEvents();
    return past;
}

bool TestSupport::toolRunsAreOver() {
    // An answer is queued next to its process's deletion; it may start another.
    processPendingEvents();
    return QCoreApplication::instance()->findChildren<QProcess*>().isEmpty();
}

bool TestSupport::showExposed(QWidget* widget, QSize size) {
    if (!size.isEmpty())
        widget->resize(size);
    widget->show();
    return QTest::qWaitForWindowExposed(widget);
}

QString TestSupport::screenshotFolder() {
    return qEnvironmentVariable("QUON_SCREENSHOTS");
}

void TestSupport::forEachAppearance(const std::function<void(const QString&)>& shoot) {
    for (const char* appearance : {"light", "dark"}) {
        Preferences::shared().setString(PreferenceKeys::appearancePreference,
                                        QString::fromLatin1(appearance));
        shoot(QString::fromLatin1(appearance));
    }
}

bool TestSupport::saveShot(QWidget* widget, const QString& dir, const QString& name) {
    return widget->grab().save(QDir(dir).filePath(name));
}

bool TestSupport::saveFrames(QWidget* widget, const QString& dir, const QString& name,
                             const std::function<void()>& change, int frames, int everyMs) {
    QList<QImage> shots;
    std::optional<AnimationClock> own;
    AnimationClock* clock = AnimationClock::active();
    if (!clock)
        clock = &own.emplace();
    change();
    for (int i = 0; i < frames; ++i) {
        clock->step(i > 0 ? everyMs : 0);
        QImage shot = widget->grab().toImage();
        if (shot.width() > 480)
            shot = shot.scaledToWidth(480, Qt::SmoothTransformation);
        shots.append(shot);
    }
    const int columns = qMin(frames, 3), rows = (frames + columns - 1) / columns;
    const QSize cell = shots.first().size() + QSize(8, 8);
    QImage sheet(cell.width() * columns, cell.height() * rows, QImage::Format_RGB32);
    sheet.fill(Qt::gray);
    QPainter painter(&sheet);
    for (int i = 0; i < frames; ++i)
        painter.drawImage((i % columns) * cell.width() + 4, (i / columns) * cell.height() + 4,
                          shots[i]);
    painter.end();
    clock->finish();
    return sheet.save(QDir(dir).filePath(name));
}

void TestSupport::resetPreferences() {
    Preferences::shared().clearAll();
}

QString TestSupport::writeFile(const QTemporaryDir& dir, const QString& name,
                               const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

QString TestSupport::writeFilesAroundALink(const QTemporaryDir& dir) {
    if (!QDir(dir.path()).mkpath(QStringLiteral("real/inner")) ||
        !QFile::link(dir.filePath(QStringLiteral("real/inner")),
                     dir.filePath(QStringLiteral("lnk"))))
        return {};
    writeFile(dir, QStringLiteral("y.md"), "beside the link");
    return writeFile(dir, QStringLiteral("real/y.md"), "beside the target");
}

bool TestSupport::makeSparseFile(const QString& path, qint64 size) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}

QByteArray TestSupport::readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString TestSupport::readOnlyFolder(const QTemporaryDir& dir) {
    if (geteuid() == 0)
        return QStringLiteral("/sys");
    const QString path = dir.filePath(QStringLiteral("read-only"));
    QDir().mkpath(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    return path;
}
