// Every text the sources pass to the lookup must be translated in both
// catalogues; counts in every plural form the language has.
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

// Keys of plain texts, and of counts (plural: the second literal of plural()).
QSet<Key> sourceTexts(QSet<Key>* plurals) {
    static const QRegularExpression call(QStringLiteral(
        R"re(L10n::(?:tr|mark)\(\s*"((?:[^"\\]|\\.)*)"(?:\s*,\s*"((?:[^"\\]|\\.)*)")?)re"));
    static const QRegularExpression plural(
        QStringLiteral(R"re(L10n::plural\(\s*"(?:[^"\\]|\\.)*"\s*,\s*"((?:[^"\\]|\\.)*)")re"));
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
        auto counts = plural.globalMatch(text);
        while (counts.hasNext())
            plurals->insert({unescapeC(counts.next().captured(1)), QString()});
    }
    return keys;
}

struct Catalogue {
    QSet<Key> texts;                 // finished plain translations
    QHash<Key, QStringList> plurals; // finished numerus forms, empty ones included
};

// Finished translations of a catalogue.
Catalogue translated(const QString& path, QStringList* problems) {
    Catalogue catalogue;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        problems->append(QStringLiteral("cannot open ") + path);
    QXmlStreamReader xml(&f);
    QString source, comment;
    bool numerus = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("message")) {
            source.clear();
            comment.clear();
            numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("comment")) {
            comment = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const bool unfinished = !xml.attributes().value(QLatin1String("type")).isEmpty();
            if (numerus) {
                QStringList forms;
                while (xml.readNextStartElement())
                    forms.append(xml.readElementText());
                if (!unfinished)
                    catalogue.plurals.insert({source, comment}, forms);
            } else if (!xml.readElementText().isEmpty() && !unfinished) {
                catalogue.texts.insert({source, comment});
            }
        }
    }
    if (xml.hasError())
        problems->append(path + QStringLiteral(": ") + xml.errorString());
    return catalogue;
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void catalogueIsComplete_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("pluralForms");
        QTest::newRow("pl") << QStringLiteral("pl") << 3; // 1, 2-4 (not 12-14), the rest
        QTest::newRow("es") << QStringLiteral("es") << 2;
    }
    void catalogueIsComplete() {
        QFETCH(QString, language);
        QFETCH(int, pluralForms);
        QSet<Key> plurals;
        const QSet<Key> used = sourceTexts(&plurals);
        QVERIFY(used.size() > 10);
        QVERIFY(!plurals.isEmpty());
        QStringList problems;
        const Catalogue done = translated(
            QStringLiteral(QUON_SOURCE_DIR "/translations/quon_%1.ts").arg(language), &problems);
        for (const Key& key : used) {
            if (!done.texts.contains(key))
                problems.append(QStringLiteral("missing: \"%1\" %2").arg(key.first, key.second));
        }
        for (const Key& key : plurals) {
            const QStringList forms = done.plurals.value(key);
            if (forms.size() != pluralForms || forms.contains(QString()))
                problems.append(QStringLiteral("plural forms missing: \"%1\" has %2 of %3")
                                    .arg(key.first)
                                    .arg(forms.size() - forms.count(QString()))
                                    .arg(pluralForms));
        }
        if (!problems.isEmpty())
            QFAIL(qPrintable(problems.join(QLatin1Char('\n')) +
                             QStringLiteral("\n(run scripts/update-translations)")));
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
