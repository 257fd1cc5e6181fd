// Every text the sources pass to the lookup must be translated in both catalogues.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

namespace {

using Key = QPair<QString, QString>; // source text, disambiguation

QString unescapeC(const QString& s) {
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('\\') && i + 1 < s.size()) {
            const QChar n = s[++i];
            out += n == QLatin1Char('n') ? QChar('\n') : n == QLatin1Char('t') ? QChar('\t') : n;
        } else {
            out += s[i];
        }
    }
    return out;
}

QSet<Key> sourceTexts() {
    static const QRegularExpression call(QStringLiteral(
        R"re(L10n::(?:tr|mark)\(\s*"((?:[^"\\]|\\.)*)"(?:\s*,\s*"((?:[^"\\]|\\.)*)")?)re"));
    QSet<Key> keys;
    QDirIterator it(QStringLiteral(QUON_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(f.readAll());
        auto matches = call.globalMatch(text);
        while (matches.hasNext()) {
            const auto m = matches.next();
            keys.insert({unescapeC(m.captured(1)), unescapeC(m.captured(2))});
        }
    }
    return keys;
}

// Finished translations of a catalogue.
QSet<Key> translated(const QString& path, QStringList* problems) {
    QSet<Key> keys;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        problems->append(QStringLiteral("cannot open ") + path);
    QXmlStreamReader xml(&f);
    QString source, comment;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("message")) {
            source.clear();
            comment.clear();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("comment")) {
            comment = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const bool unfinished = !xml.attributes().value(QLatin1String("type")).isEmpty();
            if (!xml.readElementText().isEmpty() && !unfinished)
                keys.insert({source, comment});
        }
    }
    if (xml.hasError())
        problems->append(path + QStringLiteral(": ") + xml.errorString());
    return keys;
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void catalogueIsComplete_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("pl") << QStringLiteral("pl");
        QTest::newRow("es") << QStringLiteral("es");
    }
    void catalogueIsComplete() {
        QFETCH(QString, language);
        const QSet<Key> used = sourceTexts();
        QVERIFY(used.size() > 10);
        QStringList problems;
        const QSet<Key> done = translated(
            QStringLiteral(QUON_SOURCE_DIR "/translations/quon_%1.ts").arg(language), &problems);
        for (const Key& key : used) {
            if (!done.contains(key))
                problems.append(QStringLiteral("missing: \"%1\" %2").arg(key.first, key.second));
        }
        if (!problems.isEmpty())
            QFAIL(qPrintable(problems.join(QLatin1Char('\n')) +
                             QStringLiteral("\n(run scripts/update-translations)")));
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
