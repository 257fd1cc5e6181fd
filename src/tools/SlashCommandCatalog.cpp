#include "tools/SlashCommandCatalog.h"

#include "core/L10n.h"

#include <algorithm>

namespace SlashCommandCatalog {

namespace {

using C = SlashCommandCategory;

struct Row {
    const char* id;
    C category;
    const char* title;
    const char* subtitle;
    const char* systemImage;
    std::initializer_list<const char*> keywords;
};

// The keywords mix English and Polish on purpose and are never translated.
const Row rows[] = {
    {"h1",
     C::Headings,
     L10n::mark("Heading 1"),
     L10n::mark("Large section heading"),
     "textformat.size.larger",
     {"h1", "heading1", "heading", "title", "naglowek", "nagłówek"}},
    {"h2",
     C::Headings,
     L10n::mark("Heading 2"),
     L10n::mark("Medium section heading"),
     "textformat.size",
     {"h2", "heading2", "naglowek2"}},
    {"h3",
     C::Headings,
     L10n::mark("Heading 3"),
     L10n::mark("Small section heading"),
     "textformat",
     {"h3", "heading3", "naglowek3"}},
    {"h4",
     C::Headings,
     L10n::mark("Heading 4"),
     L10n::mark("Compact heading"),
     "textformat",
     {"h4", "heading4", "naglowek4"}},
    {"h5",
     C::Headings,
     L10n::mark("Heading 5"),
     L10n::mark("Minor heading"),
     "textformat",
     {"h5", "heading5", "naglowek5"}},
    {"h6",
     C::Headings,
     L10n::mark("Heading 6"),
     L10n::mark("Smallest heading"),
     "textformat",
     {"h6", "heading6", "naglowek6"}},
    {"text",
     C::Headings,
     L10n::mark("Normal Text"),
     L10n::mark("Plain paragraph without heading"),
     "paragraph",
     {"text", "paragraph", "p", "normal", "body", "tekst", "akapit"}},
    {"bullet",
     C::Lists,
     L10n::mark("Bulleted List"),
     L10n::mark("Unordered list with bullets"),
     "list.bullet",
     {"bullet", "ul", "list", "unordered", "lista", "wypunktowanie", "punktor"}},
    {"numbered",
     C::Lists,
     L10n::mark("Numbered List"),
     L10n::mark("Ordered list with numbers"),
     "list.number",
     {"numbered", "ol", "ordered", "number", "numer", "numerowana"}},
    {"task",
     C::Lists,
     L10n::mark("Task List"),
     L10n::mark("Checklist with interactive boxes"),
     "checklist",
     {"task", "todo", "checkbox", "check", "zadanie", "zadania"}},
    {"quote",
     C::Blocks,
     L10n::mark("Blockquote"),
     L10n::mark("Indented quotation block"),
     "text.quote",
     {"quote", "blockquote", "quotation", "cyta", "cytat"}},
    {"codeblock",
     C::Blocks,
     L10n::mark("Code Block"),
     L10n::mark("Fenced multi-line code"),
     "chevron.left.forwardslash.chevron.right",
     {"codeblock", "fence", "pre", "snippet", "kod", "blok"}},
    {"table",
     C::Blocks,
     L10n::mark("Table"),
     L10n::mark("GitHub-style table"),
     "tablecells",
     {"table", "grid", "columns", "tabela"}},
    {"divider",
     C::Blocks,
     L10n::mark("Divider"),
     L10n::mark("Horizontal thematic break"),
     "minus",
     {"divider", "hr", "line", "rule", "separator", "linia", "oddziel"}},
    {"bold",
     C::Inline,
     L10n::mark("Bold"),
     L10n::mark("Strong emphasis"),
     "bold",
     {"bold", "b", "strong"}},
    {"italic",
     C::Inline,
     L10n::mark("Italic"),
     L10n::mark("Emphasized text"),
     "italic",
     {"italic", "i", "em"}},
    {"strike",
     C::Inline,
     L10n::mark("Strikethrough"),
     L10n::mark("Crossed-out text"),
     "strikethrough",
     {"strike", "strikethrough", "s", "del"}},
    {"code",
     C::Inline,
     L10n::mark("Inline Code"),
     L10n::mark("Monospaced inline snippet"),
     "curlybraces",
     {"code", "inline", "mono"}},
    {"link",
     C::Inline,
     L10n::mark("Link"),
     L10n::mark("Hyperlink to a URL"),
     "link",
     {"link", "url", "href", "anchor"}},
    {"image",
     C::Media,
     L10n::mark("Image"),
     L10n::mark("Embedded image"),
     "photo",
     {"image", "img", "picture", "photo"}},
};

bool containEachOther(const QString& keyword, const QString& q) {
    return keyword.contains(q) || q.contains(keyword);
}

bool keeps(const SlashCommand& command, const QString& q) {
    const QString id = command.id.toLower();
    if (id.startsWith(q) || q.startsWith(id))
        return true;
    if (command.title.toLower().contains(q) || command.subtitle.toLower().contains(q))
        return true;
    return std::any_of(command.keywords.cbegin(), command.keywords.cend(),
                       [&q](const QString& k) { return containEachOther(k.toLower(), q); });
}

} // namespace

const QList<SlashCommand>& all() {
    static const QList<SlashCommand> commands = [] {
        QList<SlashCommand> out;
        for (const Row& row : rows) {
            QStringList keywords;
            for (const char* k : row.keywords)
                keywords << QString::fromUtf8(k);
            out.append({QString::fromLatin1(row.id), row.category, L10n::tr(row.title),
                        L10n::tr(row.subtitle), QString::fromLatin1(row.systemImage), keywords});
        }
        return out;
    }();
    return commands;
}

QList<SlashCommand> filtered(const QString& query) {
    const QString q = query.trimmed().toLower();
    if (q.isEmpty())
        return all();
    QList<SlashCommand> out;
    for (const SlashCommand& command : all())
        if (keeps(command, q))
            out.append(command);
    return out;
}

} // namespace SlashCommandCatalog
