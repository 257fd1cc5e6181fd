#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

// The rooms of src/ lean on the rooms below them only: a generic widget that a
// lower room needs lives in widgets/, not in the windows that use it most.
class TestRooms : public QObject {
    Q_OBJECT

    // What each room may include besides itself.
    static QStringList below(const QString& room) {
        static const QHash<QString, QStringList> rooms = {
            {QStringLiteral("platform"), {"common"}},
            {QStringLiteral("core"), {"common", "platform"}},
            {QStringLiteral("editor"), {"common", "core", "platform"}},
            {QStringLiteral("preview"), {"common", "core", "platform", "editor"}},
            {QStringLiteral("export"), {"common", "core", "platform", "preview"}},
            {QStringLiteral("widgets"), {"common", "core", "platform"}},
            {QStringLiteral("tools"), {"common", "core", "platform", "editor", "widgets"}},
            {QStringLiteral("shell"),
             {"common", "core", "platform", "editor", "preview", "export", "widgets", "tools"}},
            {QStringLiteral("windows"),
             {"common", "core", "platform", "editor", "preview", "export", "widgets", "tools",
              "shell"}},
        };
        return rooms.value(room);
    }

private Q_SLOTS:
    void roomsIncludeOnlyWhatLiesBelow() {
        // The editor owns the controllers of its popovers, and nothing else of tools.
        const QStringList editorOwns = {
            QStringLiteral("tools/SlashCommandPopoverController.h"),
            QStringLiteral("tools/SelectionFormattingPopoverController.h")};
        static const QRegularExpression include(QStringLiteral("^#include \"([a-z]+)/([^\"]+)\""),
                                                QRegularExpression::MultilineOption);
        QStringList wrong;
        int files = 0;
        QDirIterator it(QStringLiteral(QUON_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString relative = path.mid(int(qstrlen(QUON_SOURCE_DIR "/src/")));
            const QString room = relative.section(QLatin1Char('/'), 0, 0);
            if (room == QLatin1String("app"))
                continue; // the top: it puts the rooms together
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            ++files;
            const QString text = QString::fromUtf8(file.readAll());
            for (auto m = include.globalMatch(text); m.hasNext();) {
                const QRegularExpressionMatch match = m.next();
                const QString target = match.captured(1);
                const QString header = target + QLatin1Char('/') + match.captured(2);
                if (target == room || below(room).contains(target))
                    continue;
                if (room == QLatin1String("editor") && editorOwns.contains(header))
                    continue;
                wrong.append(relative + QStringLiteral(" includes ") + header);
            }
        }
        QVERIFY(files > 100);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestRooms)
#include "tst_rooms.moc"
