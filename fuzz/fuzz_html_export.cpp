// The HTML export: whatever the Markdown, the page carries no tag and no
// attribute quon does not write itself, and no link or image that runs code.
#include "FuzzSupport.h"

#include "core/DesignSystem.h"
#include "export/MarkdownHTMLExporter.h"

#include <QRegularExpression>
#include <QSet>

namespace {

// Everything the exporter writes itself.
const QSet<QString>& allowedTags() {
    static const QSet<QString> tags = {
        QStringLiteral("!doctype"), QStringLiteral("html"),       QStringLiteral("head"),
        QStringLiteral("meta"),     QStringLiteral("title"),      QStringLiteral("style"),
        QStringLiteral("body"),     QStringLiteral("article"),    QStringLiteral("div"),
        QStringLiteral("p"),        QStringLiteral("h1"),         QStringLiteral("h2"),
        QStringLiteral("h3"),       QStringLiteral("h4"),         QStringLiteral("h5"),
        QStringLiteral("h6"),       QStringLiteral("pre"),        QStringLiteral("code"),
        QStringLiteral("ul"),       QStringLiteral("ol"),         QStringLiteral("li"),
        QStringLiteral("input"),    QStringLiteral("blockquote"), QStringLiteral("hr"),
        QStringLiteral("table"),    QStringLiteral("thead"),      QStringLiteral("tbody"),
        QStringLiteral("tfoot"),    QStringLiteral("tr"),         QStringLiteral("th"),
        QStringLiteral("td"),       QStringLiteral("a"),          QStringLiteral("img"),
        QStringLiteral("em"),       QStringLiteral("strong"),     QStringLiteral("del"),
        QStringLiteral("br")};
    return tags;
}

const QSet<QString>& allowedAttributes() {
    static const QSet<QString> names = {
        QStringLiteral("lang"),     QStringLiteral("charset"), QStringLiteral("name"),
        QStringLiteral("content"),  QStringLiteral("class"),   QStringLiteral("type"),
        QStringLiteral("disabled"), QStringLiteral("checked"), QStringLiteral("start"),
        QStringLiteral("href"),     QStringLiteral("src"),     QStringLiteral("alt"),
        QStringLiteral("title"),    QStringLiteral("align"),   QStringLiteral("style")};
    return names;
}

// An attribute value as a browser reads it: entities decoded.
QString unescape(QString value) {
    static const QRegularExpression numeric(QStringLiteral("&#(x[0-9a-fA-F]+|[0-9]+);?"));
    for (auto m = numeric.match(value); m.hasMatch();
         m = numeric.match(value, m.capturedStart() + 1)) {
        const QString digits = m.captured(1);
        bool ok = false;
        const uint code = digits.startsWith(QLatin1Char('x')) ? digits.mid(1).toUInt(&ok, 16)
                                                              : digits.toUInt(&ok, 10);
        value.replace(m.capturedStart(), m.capturedLength(),
                      ok && code > 0 && code < 0x110000
                          ? QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1)
                          : QStringLiteral("\uFFFD"));
    }
    return value.replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

// Whether a browser would run or show a page from this URL: its scheme read
// the way a URL parser does (tabs and line breaks dropped, control characters
// and spaces trimmed, ASCII case folded).
bool runsCode(const QString& url) {
    QString bare;
    for (const QChar ch : url) {
        if (ch != QLatin1Char('\t') && ch != QLatin1Char('\n') && ch != QLatin1Char('\r'))
            bare += ch;
    }
    qsizetype start = 0;
    while (start < bare.size() && bare.at(start).unicode() <= 0x20)
        ++start;
    bare = bare.mid(start);
    const qsizetype colon = bare.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    const QString scheme = bare.left(colon).toLower();
    if (scheme == QLatin1String("javascript") || scheme == QLatin1String("vbscript"))
        return true;
    if (scheme != QLatin1String("data"))
        return false;
    static const QRegularExpression picture(
        QStringLiteral("^data:\\s*image/(png|gif|jpeg|webp)[;,]"),
        QRegularExpression::CaseInsensitiveOption);
    return !picture.match(bare).hasMatch();
}

void checkPage(const QString& page, const QString& markdown) {
    static const QRegularExpression tag(QStringLiteral("<(/?)([^\\s>/]*)([^>]*)>"));
    static const QRegularExpression attribute(QStringLiteral("([^\\s=\"]+)(?:=\"([^\"]*)\")?"));
    // The stylesheet is quon's own; skip over it.
    const qsizetype styleEnd = page.indexOf(QLatin1String("</style>"));
    Fuzz::check(styleEnd > 0, "the page has its stylesheet");
    for (qsizetype at = page.indexOf(QLatin1Char('<'), styleEnd); at >= 0;
         at = page.indexOf(QLatin1Char('<'), at + 1)) {
        const auto m = tag.match(page, at, QRegularExpression::NormalMatch,
                                 QRegularExpression::AnchorAtOffsetMatchOption);
        const QString context =
            page.mid(at, 200) + QStringLiteral("\nfrom\n") + Fuzz::quoted(markdown);
        Fuzz::check(m.hasMatch(), "no raw \"<\"", context);
        const QString name = m.captured(2).toLower();
        Fuzz::check(allowedTags().contains(name), "no raw tag", context);
        if (name == QLatin1String("!doctype") || !m.captured(1).isEmpty())
            continue;
        const QString attributes = m.captured(3);
        for (auto a = attribute.match(attributes); a.hasMatch();
             a = attribute.match(attributes, a.capturedEnd())) {
            Fuzz::check(allowedAttributes().contains(a.captured(1).toLower()), "no raw attribute",
                        context);
            Fuzz::check(!runsCode(unescape(a.captured(2))), "no script scheme in an attribute",
                        context);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const bool print = data.ConsumeBool();
    const QString markdown = Fuzz::remainingText(data);
    static const DesignSystem design =
        DesignSystem::make(DesignSystem::Colors::light(), FontDesign::Default, false);
    const QString folder = QStringLiteral("/nonexistent-quon-folder");
    const QString page = print ? MarkdownHTMLExporter::printDocument(markdown, design, folder)
                               : MarkdownHTMLExporter::htmlDocument(markdown, design, folder);
    checkPage(page, markdown);
    return 0;
}
