#include "core/MarkdownTree.h"
#include "core/MarkdownTreeStorage.h"
#include "core/ParserMemory.h"

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <QStringDecoder>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <optional>
#include <string_view>
#include <type_traits>

// The node types of the table and strikethrough extensions are numbers the
// extension library assigns when it registers them.
extern "C" {
extern cmark_node_type CMARK_NODE_TABLE;
extern cmark_node_type CMARK_NODE_TABLE_ROW;
extern cmark_node_type CMARK_NODE_TABLE_CELL;
extern cmark_node_type CMARK_NODE_STRIKETHROUGH;
}

namespace {

// QString::fromUtf8 would drop a U+FEFF that starts the string, taking it for
// a byte-order mark: a link to "\uFEFFx.png" would lose it.
QString fromUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QString fromCmark(const char* s) {
    return s ? fromUtf8(s) : QString();
}

// cmark takes time with the product of a paragraph's links and the emphasis
// delimiters before each of them: a one-line file of 10 MB holding both would
// take days. Past this many bytes of a line, which no hand-written line
// reaches, brackets go to cmark as control characters the text lacks (read
// as plain text) and come back as brackets in every string of the tree: such
// a line keeps its structure and emphasis and shows its links as written.
constexpr qsizetype longestLinkedLine = 20'000;

// The stand-ins for "[" and "]"; none while the text needs none.
struct BracketStandIns {
    char open = 0;
    char close = 0;

    QString restored(QString text) const {
        if (open)
            text.replace(QLatin1Char(open), QLatin1Char('['))
                .replace(QLatin1Char(close), QLatin1Char(']'));
        return text;
    }
};

// Calls f(index) for each bracket past the longest linked line.
template <typename F> void forEachLateBracket(const QByteArray& utf8, F f) {
    const char* data = utf8.constData();
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = data[i];
        if (c == '\n')
            lineStart = i + 1;
        else if ((c == '[' || c == ']') && i - lineStart >= longestLinkedLine && !f(i))
            return;
    }
}

// Two control characters a text does not hold, if it leaves two; `units`
// are its bytes or its UTF-16 units.
template <typename Units> BracketStandIns unusedControls(const Units& units) {
    bool used[32] = {};
    for (const auto c : units)
        if (const auto u = std::make_unsigned_t<std::decay_t<decltype(c)>>(c); u < 32)
            used[u] = true;
    BracketStandIns standIns;
    for (char c = 1; c < 32 && !standIns.close; ++c) {
        // Whitespace to cmark is never a stand-in.
        if (used[int(c)] || (c >= '\t' && c <= '\r'))
            continue;
        (standIns.open ? standIns.close : standIns.open) = c;
    }
    return standIns.close ? standIns : BracketStandIns();
}

BracketStandIns hideLateBrackets(QByteArray& utf8) {
    bool late = false;
    forEachLateBracket(utf8, [&](qsizetype) { return !(late = true); });
    if (!late)
        return {};
    // A text holding nearly every control character is parsed as it is.
    const BracketStandIns standIns = unusedControls(std::as_const(utf8));
    if (!standIns.close)
        return {};
    char* data = utf8.data();
    forEachLateBracket(utf8, [&](qsizetype i) {
        data[i] = data[i] == '[' ? standIns.open : standIns.close;
        return true;
    });
    return standIns;
}

MarkdownNodeKind kindOf(cmark_node* node, cmark_node_type type) {
    switch (type) {
    case CMARK_NODE_DOCUMENT:
        return MarkdownNodeKind::Document;
    case CMARK_NODE_BLOCK_QUOTE:
        return MarkdownNodeKind::BlockQuote;
    case CMARK_NODE_LIST:
        return cmark_node_get_list_type(node) == CMARK_ORDERED_LIST
                   ? MarkdownNodeKind::OrderedList
                   : MarkdownNodeKind::UnorderedList;
    case CMARK_NODE_ITEM:
        return MarkdownNodeKind::ListItem;
    case CMARK_NODE_CODE_BLOCK:
        return MarkdownNodeKind::CodeBlock;
    case CMARK_NODE_HTML_BLOCK:
        return MarkdownNodeKind::HtmlBlock;
    case CMARK_NODE_PARAGRAPH:
        return MarkdownNodeKind::Paragraph;
    case CMARK_NODE_HEADING:
        return MarkdownNodeKind::Heading;
    case CMARK_NODE_THEMATIC_BREAK:
        return MarkdownNodeKind::ThematicBreak;
    case CMARK_NODE_TEXT:
        return MarkdownNodeKind::Text;
    case CMARK_NODE_SOFTBREAK:
        return MarkdownNodeKind::SoftBreak;
    case CMARK_NODE_LINEBREAK:
        return MarkdownNodeKind::LineBreak;
    case CMARK_NODE_CODE:
        return MarkdownNodeKind::InlineCode;
    case CMARK_NODE_HTML_INLINE:
        return MarkdownNodeKind::InlineHtml;
    case CMARK_NODE_EMPH:
        return MarkdownNodeKind::Emphasis;
    case CMARK_NODE_STRONG:
        return MarkdownNodeKind::Strong;
    case CMARK_NODE_LINK:
        return MarkdownNodeKind::Link;
    case CMARK_NODE_IMAGE:
        return MarkdownNodeKind::Image;
    default:
        break;
    }
    if (type == CMARK_NODE_TABLE)
        return MarkdownNodeKind::Table;
    if (type == CMARK_NODE_TABLE_ROW)
        return cmark_gfm_extensions_get_table_row_is_header(node) ? MarkdownNodeKind::TableHead
                                                                  : MarkdownNodeKind::TableRow;
    if (type == CMARK_NODE_TABLE_CELL)
        return MarkdownNodeKind::TableCell;
    if (type == CMARK_NODE_STRIKETHROUGH)
        return MarkdownNodeKind::Strikethrough;
    return MarkdownNodeKind::Other;
}

// Readers walk the tree recursively; below this depth a subtree is kept as its
// source text so that a hostile file (thousands of nested quotes) cannot
// exhaust the stack.
constexpr int maxDepth = 200;

std::uint64_t nextSerial() {
    static std::atomic<std::uint64_t> serial{0};
    return ++serial;
}

// One parse's cmark tree turned into MarkdownNodes, written where they stay:
// each node's children side by side in the parse's arena, its strings there too.
class Converter {
public:
    // `lineOffset`: lines above the text that was parsed.
    Converter(const QByteArray& utf8, int lineOffset, BracketStandIns standIns)
        : m_utf8(utf8), m_lineOffset(lineOffset), m_standIns(standIns),
          // About one node per eight bytes of Markdown, and literals of a
          // unit per few bytes (table cells hold little text). More chunks
          // come when that falls short.
          m_arena(std::make_shared<NodeArena>(size_t(utf8.size()) / 8, size_t(utf8.size()) / 4)) {
        m_tasklist = cmark_find_syntax_extension("tasklist");
    }

    void convertDocument(cmark_node* root, MarkdownNode& document, MarkdownTreeStorage& storage) {
        document.kind = MarkdownNodeKind::Document;
        document.range = rangeOf(root);
        const size_t count = gatherChildren(root);
        storage.blocks.resize(count);
        storage.memory.assign(count, {m_arena, {}});
        for (size_t i = 0; i < count; ++i) {
            const auto [child, type] = m_siblings[i];
            // What is left of a paragraph a table took its last line from has
            // no lines, and cmark counts its inlines' lines from the
            // paragraph: it stays as cmark gives it, wherever the text began.
            m_shift = cmark_node_get_start_line(child) > 0 ? m_lineOffset : 0;
            fill(storage.blocks[i], child, type, 1);
            if (storage.blocks[i].kind == MarkdownNodeKind::Table && m_tableRows)
                storage.memory[i].arena = m_tableRows;
        }
        m_siblings.clear();
    }

private:
    static bool isEmptyText(cmark_node* node, cmark_node_type type) {
        // cmark leaves an empty text node where it strips a hard break's blanks.
        if (type != CMARK_NODE_TEXT)
            return false;
        const char* literal = cmark_node_get_literal(node);
        return !literal || !*literal;
    }

    static void prefetchNode(cmark_node* node) {
        const auto* bytes = reinterpret_cast<const char*>(node);
        __builtin_prefetch(bytes);
        __builtin_prefetch(bytes + 64);
        __builtin_prefetch(bytes + 128);
    }

    static SourceRange rangeOf(cmark_node* node) {
        return {cmark_node_get_start_line(node), cmark_node_get_start_column(node),
                cmark_node_get_end_line(node), cmark_node_get_end_column(node)};
    }

    QStringView text(const char* utf8) {
        const size_t length = utf8 ? std::strlen(utf8) : 0;
        if (length == 0)
            return {};
        // UTF-16 never takes more units than UTF-8 takes bytes.
        char16_t* at = m_arena->text(length);
        auto* end = reinterpret_cast<char16_t*>(m_decoder.appendToBuffer(
            reinterpret_cast<QChar*>(at), QByteArrayView(utf8, qsizetype(length))));
        m_arena->keep(end);
        if (m_standIns.open)
            for (char16_t* u = at; u != end; ++u)
                *u = *u == char16_t(m_standIns.open)    ? u'['
                     : *u == char16_t(m_standIns.close) ? u']'
                                                        : *u;
        return {at, end - at};
    }

    // The rows of top-level tables are kept apart from their cells: a table
    // joined from pieces (TableJoin) copies its rows and leaves these behind.
    NodeArena& tableRows() {
        if (!m_tableRows) {
            m_tableRows = std::make_shared<NodeArena>(0, 0);
            m_tableRows->keepAlive(m_arena);
        }
        return *m_tableRows;
    }

    // Pushes the children worth keeping on m_siblings; returns how many.
    size_t gatherChildren(cmark_node* source) {
        const size_t base = m_siblings.size();
        for (cmark_node* child = cmark_node_first_child(source); child;
             child = cmark_node_next(child)) {
            // Reading cmark's tree waits on memory more than anything else:
            // ask early for the rest of each child and for its first child
            // (a node spans about three cache lines).
            prefetchNode(child);
            if (cmark_node* grandchild = cmark_node_first_child(child))
                prefetchNode(grandchild);
            const cmark_node_type type = cmark_node_get_type(child);
            if (!isEmptyText(child, type))
                m_siblings.emplace_back(child, type);
        }
        return m_siblings.size() - base;
    }

    void fill(MarkdownNode& node, cmark_node* source, cmark_node_type type, int depth) {
        node.kind = kindOf(source, type);
        node.range = rangeOf(source);
        if (depth >= maxDepth) {
            node.kind = MarkdownNodeKind::Other;
            node.literal = m_arena->copy(sourceText(source, node.range));
            MarkdownTreeStorage::shiftRange(node, m_shift);
            return;
        }
        MarkdownTreeStorage::shiftRange(node, m_shift);
        switch (node.kind) {
        case MarkdownNodeKind::Heading:
            node.headingLevel = std::uint8_t(cmark_node_get_heading_level(source));
            break;
        case MarkdownNodeKind::CodeBlock:
            node.literal = text(cmark_node_get_literal(source));
            node.language = text(cmark_node_get_fence_info(source));
            break;
        case MarkdownNodeKind::Text:
        case MarkdownNodeKind::InlineCode:
        case MarkdownNodeKind::HtmlBlock:
        case MarkdownNodeKind::InlineHtml:
            node.literal = text(cmark_node_get_literal(source));
            break;
        case MarkdownNodeKind::Link:
        case MarkdownNodeKind::Image:
            node.destination = text(cmark_node_get_url(source));
            node.title = text(cmark_node_get_title(source));
            break;
        case MarkdownNodeKind::OrderedList:
        case MarkdownNodeKind::UnorderedList:
            node.listStart = cmark_node_get_list_start(source);
            node.tight = cmark_node_get_list_tight(source) != 0;
            break;
        case MarkdownNodeKind::ListItem:
            if (m_tasklist && cmark_node_get_syntax_extension(source) == m_tasklist)
                node.checkbox = cmark_gfm_extensions_get_tasklist_item_checked(source)
                                    ? TaskCheckbox::Checked
                                    : TaskCheckbox::Unchecked;
            break;
        default:
            break;
        }
        // The children, gathered on a stack that deeper calls grow and shrink again.
        const size_t base = m_siblings.size();
        const size_t count = gatherChildren(source);
        if (count == 0)
            return;
        MarkdownNode* children = depth == 1 && node.kind == MarkdownNodeKind::Table
                                     ? tableRows().nodes(count)
                                     : m_arena->nodes(count);
        node.children = {children, count};
        for (size_t i = 0; i < count; ++i) {
            const auto [child, childType] = m_siblings[base + i];
            fill(children[i], child, childType, depth + 1);
        }
        m_siblings.resize(base);
    }

    // A subtree below the depth cap: its source from where it starts to where
    // it ends, cut from the text rather than rendered again, so its cost stays
    // linear however deep it goes. A node without a position gives the text
    // of its leaves, walked without recursion.
    QString sourceText(cmark_node* source, const SourceRange& range) {
        if (m_lineStarts.empty()) {
            m_lineStarts.push_back(0);
            for (qsizetype at = m_utf8.indexOf('\n'); at >= 0; at = m_utf8.indexOf('\n', at + 1))
                m_lineStarts.push_back(at + 1);
        }
        const auto lines = int(m_lineStarts.size());
        if (range.startLine >= 1 && range.startLine <= lines && range.endLine >= range.startLine) {
            const int last = qMin(range.endLine, lines);
            const qsizetype lineEnd =
                last < lines ? m_lineStarts[size_t(last)] - 1 : qsizetype(m_utf8.size());
            const qsizetype begin =
                qMin(m_lineStarts[size_t(range.startLine - 1)] + qMax(0, range.startColumn - 1),
                     lineEnd);
            qsizetype end = lineEnd;
            if (range.endColumn > 0 && last == range.endLine)
                end = qMin(lineEnd, m_lineStarts[size_t(last - 1)] + range.endColumn);
            if (end > begin)
                return m_standIns.restored(
                    fromUtf8(QByteArrayView(m_utf8).sliced(begin, end - begin)));
        }
        QString text;
        cmark_iter* iter = cmark_iter_new(source);
        for (cmark_event_type event = cmark_iter_next(iter); event != CMARK_EVENT_DONE;
             event = cmark_iter_next(iter)) {
            if (event != CMARK_EVENT_ENTER)
                continue;
            cmark_node* node = cmark_iter_get_node(iter);
            switch (cmark_node_get_type(node)) {
            case CMARK_NODE_SOFTBREAK:
            case CMARK_NODE_LINEBREAK:
                text += u'\n';
                break;
            default:
                if (const char* literal = cmark_node_get_literal(node))
                    text += string(literal);
                break;
            }
        }
        cmark_iter_free(iter);
        return text;
    }

    QString string(const char* s) const { return m_standIns.restored(fromCmark(s)); }

    const QByteArray& m_utf8;
    const int m_lineOffset;
    int m_shift = 0; // lines the nodes of the block being made move down
    BracketStandIns m_standIns;
    std::shared_ptr<NodeArena> m_arena;
    std::shared_ptr<NodeArena> m_tableRows; // holds nothing but rows
    cmark_syntax_extension* m_tasklist = nullptr;
    QStringDecoder m_decoder{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                       QStringDecoder::Flag::ConvertInitialBom};
    std::vector<std::pair<cmark_node*, cmark_node_type>> m_siblings;
    std::vector<qsizetype> m_lineStarts; // in m_utf8, made when first needed
};

std::vector<qsizetype> lineStartsOf(QStringView text) {
    std::vector<qsizetype> starts;
    starts.reserve(size_t(text.count(u'\n')) + 1);
    starts.push_back(0);
    for (qsizetype at = text.indexOf(u'\n'); at >= 0; at = text.indexOf(u'\n', at + 1))
        starts.push_back(at + 1);
    return starts;
}

void registerExtensions() {
    static const bool registered = [] {
        cmark_gfm_core_extensions_ensure_registered();
        ReferenceDefinitions::collector();
        return true;
    }();
    Q_UNUSED(registered);
}

// Runs cmark over `utf8` and hands its tree to `use`; the link reference
// definitions, in document order, go to `definitions` when given. Every
// node, literal and buffer of the parse comes from the parser's memory and
// is let go at once after `use`.
template <typename Use>
void withCmarkTree(QByteArray& utf8, std::vector<ReferenceDefinition>* definitions, Use use) {
    registerExtensions();
    cmark_parser* parser =
        cmark_parser_new_with_mem(CMARK_OPT_SMART | CMARK_OPT_SOURCEPOS, ParserMemory::allocator());
    for (const char* name : {"table", "strikethrough", "tasklist"}) {
        if (cmark_syntax_extension* ext = cmark_find_syntax_extension(name))
            cmark_parser_attach_syntax_extension(parser, ext);
    }
    if (definitions)
        cmark_parser_attach_syntax_extension(parser, ReferenceDefinitions::collector());
    const BracketStandIns standIns = hideLateBrackets(utf8);
    cmark_parser_feed(parser, utf8.constData(), size_t(utf8.size()));
    const size_t known = definitions ? definitions->size() : 0;
    cmark_node* root = nullptr;
    {
        // Finishing a parse resolves its inlines, for which cmark-gfm marks
        // the characters its extensions read in tables of the whole process,
        // and unmarks them after: two threads must not finish at once.
        static std::mutex finishing;
        const std::lock_guard lock(finishing);
        const ReferenceDefinitions::Collecting collecting(definitions);
        root = cmark_parser_finish(parser);
    }
    if (definitions && standIns.open)
        for (auto d = definitions->begin() + qsizetype(known); d != definitions->end(); ++d)
            for (QByteArray* part : {&d->label, &d->url, &d->title})
                part->replace(standIns.open, '[').replace(standIns.close, ']');
    use(root, standIns);
    ParserMemory::reset();
}

// Parses `text`, whose first line is line `lineOffset + 1` of the document,
// after `before`: whole lines that must leave no node (definitions).
void parseTree(QStringView text, int lineOffset, MarkdownNode& document,
               MarkdownTreeStorage& storage, const QByteArray& before = {},
               std::vector<ReferenceDefinition>* definitions = nullptr) {
    QByteArray utf8 = before + text.toUtf8();
    const int beforeLines = int(before.count('\n'));
    withCmarkTree(utf8, definitions, [&](cmark_node* root, BracketStandIns standIns) {
        Converter(utf8, lineOffset - beforeLines, standIns)
            .convertDocument(root, document, storage);
    });
}

// The link reference definitions of a text, in document order; `before` as
// in parseTree.
std::vector<ReferenceDefinition> definitionsIn(QStringView text, const QByteArray& before = {}) {
    std::vector<ReferenceDefinition> definitions;
    // Without "]:" there is no definition to look for.
    if (!text.contains(u"]:"))
        return definitions;
    QByteArray utf8 = before + text.toUtf8();
    withCmarkTree(utf8, &definitions, [](cmark_node*, BracketStandIns) {});
    return definitions;
}

bool hasLoneCarriageReturn(QStringView text) {
    for (qsizetype at = text.indexOf(u'\r'); at >= 0; at = text.indexOf(u'\r', at + 1))
        if (at + 1 == text.size() || text[at + 1] != u'\n')
            return true;
    return false;
}

// Same tree, `b` moved down by `bShift` lines.
bool sameTree(const MarkdownNode& a, const MarkdownNode& b, int bShift) {
    MarkdownNode moved = b;
    MarkdownTreeStorage::shiftRange(moved, bShift);
    const SourceRange& r = moved.range;
    if (a.kind != b.kind || a.range.startLine != r.startLine ||
        a.range.startColumn != r.startColumn || a.range.endLine != r.endLine ||
        a.range.endColumn != r.endColumn || a.headingLevel != b.headingLevel ||
        a.checkbox != b.checkbox || a.listStart != b.listStart || a.tight != b.tight ||
        // A destination and a title share the literal's and the language's room.
        a.literal != b.literal || a.language != b.language ||
        a.children.size() != b.children.size())
        return false;
    for (size_t i = 0; i < a.children.size(); ++i)
        if (!sameTree(a.children[i], b.children[i], bShift))
            return false;
    return true;
}

// The text of lines first..last (1-based, inclusive), each with its line feed.
QStringView linesOf(const ParsedMarkdown& parsed, int first, int last) {
    const auto count = int(parsed.lineStarts.size());
    const qsizetype begin = parsed.lineStarts[size_t(first - 1)];
    const qsizetype end = last < count ? parsed.lineStarts[size_t(last)] : parsed.text.size();
    return QStringView(parsed.text).mid(begin, end - begin);
}

// A long top-level table is parsed a run of body rows at a time: where it
// does not fit a section, and where an edit touched a few of its rows. Each
// run is parsed after the table's header and delimiter lines, which put the
// parser in the state it is in on any line of the table's body (a table of
// those columns open): a row depends on its line alone, and a line that is
// no row ends the table there as it would in the whole text.

// The header and delimiter lines of a top-level table, to parse a run of
// its rows after; empty where its first line may not be its header (a table
// that took a paragraph's last line starts where the paragraph did).
QByteArray tableHeadInput(const ParsedMarkdown& parsed, const MarkdownNode& table) {
    const int start = table.range.startLine;
    if (table.kind != MarkdownNodeKind::Table || !table.range.isValid() || table.children.empty() ||
        table.children.front().kind != MarkdownNodeKind::TableHead ||
        table.children.front().range.startLine != start ||
        start + 1 > int(parsed.lineStarts.size()))
        return {};
    QByteArray head = linesOf(parsed, start, start + 1).toUtf8();
    if (!head.endsWith('\n'))
        head += '\n';
    return head;
}

// Whether `block`, parsed after the header and delimiter lines of `table`
// with body lines from `firstRow` on, is that table going on: the same
// header, and a row on each line from `firstRow`.
bool continuesTable(const MarkdownNode& block, const MarkdownNode& table, int firstRow) {
    if (block.kind != MarkdownNodeKind::Table || block.children.empty() ||
        !sameTree(block.children.front(), table.children.front(),
                  firstRow - 2 - table.range.startLine))
        return false;
    for (size_t i = 1; i < block.children.size(); ++i)
        if (block.children[i].kind != MarkdownNodeKind::TableRow ||
            block.children[i].range.startLine != firstRow + int(i) - 1)
            return false;
    return true;
}

// Whether the header and delimiter lines of `table`, parsed alone after
// `before`, give its header back.
bool headParsesAlone(const QByteArray& head, const QByteArray& before, const MarkdownNode& table) {
    MarkdownNode root;
    MarkdownTreeStorage storage;
    parseTree({}, table.range.startLine + 1, root, storage, before + head);
    return storage.blocks.size() == 1 &&
           continuesTable(storage.blocks.front(), table, table.range.startLine + 2);
}

// A table split across sections, joined as the sections come.
struct PendingTable {
    MarkdownNode table; // its kind and range so far
    QByteArray head;    // tableHeadInput()
    TableJoin rows;

    PendingTable(const MarkdownNode& first, QByteArray headInput, size_t mostRows)
        : table(first), head(std::move(headInput)), rows(mostRows) {}
    // Moves the rows of `piece` (after its header when `continued`) in.
    void add(const MarkdownNode& piece, const BlockMemory& memory, bool continued) {
        const size_t skip = continued ? 1 : 0;
        rows.add(piece.children.begin() + skip, piece.children.size() - skip, memory);
        // The header as joined: the piece's own rows may go with its section.
        table.children = {rows.first(), 1};
        // A piece with no rows is only the lines parsed before the rest.
        if (piece.children.size() > skip) {
            table.range.endLine = piece.range.endLine;
            table.range.endColumn = piece.range.endColumn;
        }
    }
    // The whole table in place of its last piece, the first block of `section`.
    void finish(MarkdownTreeStorage& section) {
        auto [joined, memory] = rows.finish(table);
        section.blocks.front() = joined;
        section.memory.front() = std::move(memory);
    }
};

// How many characters two texts share at the start, compared a page at a time first.
qsizetype commonPrefix(QStringView a, QStringView b) {
    const qsizetype shorter = qMin(a.size(), b.size());
    constexpr qsizetype page = 2048;
    qsizetype at = 0;
    while (at + page <= shorter &&
           std::memcmp(a.utf16() + at, b.utf16() + at, page * sizeof(char16_t)) == 0)
        at += page;
    while (at < shorter && a[at] == b[at])
        ++at;
    return at;
}

// How many characters they share at the end, at most `limit`.
qsizetype commonSuffix(QStringView a, QStringView b, qsizetype limit) {
    constexpr qsizetype page = 2048;
    qsizetype at = 0;
    while (at + page <= limit &&
           std::memcmp(a.utf16() + a.size() - at - page, b.utf16() + b.size() - at - page,
                       page * sizeof(char16_t)) == 0)
        at += page;
    while (at < limit && a[a.size() - 1 - at] == b[b.size() - 1 - at])
        ++at;
    return at;
}

void finishStorage(ParsedMarkdown& parsed, std::shared_ptr<MarkdownTreeStorage> storage) {
    parsed.document.children = {storage->blocks.data(), storage->blocks.size()};
    parsed.storage = std::move(storage);
}

// Where cmark ends a document: the end of its last line that has text.
SourceRange documentRange(const ParsedMarkdown& parsed) {
    const bool finalBreak = parsed.text.endsWith(u'\n');
    const int lastLine = int(parsed.lineStarts.size()) - (finalBreak ? 1 : 0);
    return {1, 1, lastLine,
            int(linesOf(parsed, lastLine, lastLine).toUtf8().size() - (finalBreak ? 1 : 0))};
}

// Parses the text a section at a time and hands each section's parse to
// `take` with how many of its blocks to keep, and the definitions made by
// those. A section is about `chars` characters of whole lines. Its last
// block may go on below it, so it is left to the next section, which starts
// on that block's first line: where a top-level block starts, the parser is
// in the same state as at the start of a document (see reparseEdited). Only
// where a blank line comes before it, though: a paragraph's start does not
// count the definitions it begins with, which may yet belong to a table's
// header. A table that reaches the section's end goes on in the next
// section, parsed after its header and delimiter lines (see
// tableHeadInput), and is joined from its pieces. Where a section holds no
// such place, the rest of the text is parsed as one.
//
// With `known`, the definitions in effect in the whole text, each section
// is parsed after them, so that its links resolve as in the whole text. The
// blocks left over must not define a label the text does not (a paragraph
// of definitions cut off above the table header it ends with): where they
// do, the rest is parsed as one too. `defines`: the text may hold definitions.
template <typename Take>
void parseSections(const ParsedMarkdown& parsed, qsizetype chars, bool defines,
                   const std::vector<ReferenceDefinition>* known, Take take) {
    const std::vector<qsizetype>& starts = parsed.lineStarts;
    const auto lines = int(starts.size());
    // A blank line at least keeps a section from starting the text: cmark
    // would take a U+FEFF that starts it for a byte-order mark.
    QByteArray before = known ? ReferenceDefinitions::asMarkdown(*known) : QByteArray();
    if (before.isEmpty())
        before = "\n";
    const auto blank = [&](int line) {
        const QStringView text = linesOf(parsed, line, line);
        return std::all_of(text.begin(), text.end(),
                           [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; });
    };
    const auto unknown = [&](const ReferenceDefinition& definition) {
        return !std::binary_search(known->begin(), known->end(), definition,
                                   [](const auto& a, const auto& b) { return a.label < b.label; });
    };
    int first = 1;
    std::optional<PendingTable> pending;
    for (bool rest = false; first <= lines;) {
        const qsizetype from = starts[size_t(first - 1)];
        // The parser takes several times the memory for a character of a
        // table's rows that it takes for other text: a table goes on in
        // smaller sections.
        const qsizetype size = pending ? qMax<qsizetype>(1, chars / 4) : chars;
        const int last =
            rest
                ? lines
                : int(std::lower_bound(starts.begin(), starts.end(), from + size) - starts.begin());
        MarkdownNode root;
        MarkdownTreeStorage section;
        std::vector<ReferenceDefinition> defined;
        parseTree(linesOf(parsed, first, last), first - 1, root, section,
                  pending ? before + pending->head : before, defines ? &defined : nullptr);
        if (pending && (section.blocks.empty() ||
                        !continuesTable(section.blocks.front(), pending->table, first))) {
            first = pending->table.range.startLine;
            pending.reset();
            rest = true;
            continue;
        }
        // The table the sections before ended in, with this section's rows,
        // in place of its piece here.
        const auto joinPending = [&] {
            if (!pending)
                return;
            pending->add(section.blocks.front(), section.memory.front(), true);
            pending->finish(section);
            pending.reset();
        };
        if (last == lines) {
            joinPending();
            take(section, section.blocks.size(), std::move(defined));
            return;
        }
        if (known && std::any_of(defined.begin(), defined.end(), unknown)) {
            rest = true;
            continue;
        }
        // A table that may go on below the section goes on in the next one,
        // which starts on the line after.
        const size_t count = section.blocks.size();
        const MarkdownNode lastBlock = count > 0 ? section.blocks.back() : MarkdownNode();
        if (lastBlock.kind == MarkdownNodeKind::Table && lastBlock.range.endLine == last) {
            if (pending && count == 1) {
                pending->add(lastBlock, section.memory.back(), true);
                take(section, 0, std::move(defined));
                first = last + 1;
                continue;
            }
            QByteArray head = tableHeadInput(parsed, lastBlock);
            if (!head.isEmpty() && (count == 1 || section.blocks[count - 2].range.isValid()) &&
                headParsesAlone(head, before, lastBlock)) {
                const BlockMemory memory = section.memory.back();
                joinPending();
                take(section, count - 1, std::move(defined));
                pending.emplace(lastBlock, std::move(head),
                                size_t(lines - last) + lastBlock.children.size());
                pending->add(lastBlock, memory, false);
                first = last + 1;
                continue;
            }
        }
        // Not after what is left of a paragraph a table took lines from
        // (no lines of its own): that table would make it again.
        size_t kept = count;
        int next = 0;
        while (kept > 0 && next == 0) {
            const SourceRange& range = section.blocks[--kept].range;
            if (range.startLine > first && blank(range.startLine - 1) &&
                (kept == 0 || section.blocks[kept - 1].range.isValid()))
                next = range.startLine;
        }
        // So a text with no place to cut (one long list) costs one section's
        // parse more than a whole parse, not many parses of growing sections.
        if (next == 0) {
            rest = true;
            continue;
        }
        joinPending();
        // The definitions of the lines left over are the section's last ones.
        if (defines && !known) {
            const size_t over = definitionsIn(linesOf(parsed, next, last), before).size();
            defined.resize(defined.size() - qMin(over, defined.size()));
        }
        take(section, kept, std::move(defined));
        first = next;
    }
}

// A large text a section at a time, so that the parser never holds more
// than a section's nodes. Links resolve with definitions anywhere in the
// text: when it may hold some, a first pass gathers them, and each section
// is then parsed after them.
void parseInSections(ParsedMarkdown& parsed, qsizetype chars, MarkdownTreeStorage& storage) {
    const bool defines = parsed.text.contains(u"]:");
    if (defines) {
        std::vector<ReferenceDefinition> definitions;
        parseSections(parsed, chars, true, nullptr,
                      [&](const MarkdownTreeStorage&, size_t, std::vector<ReferenceDefinition> d) {
                          definitions.insert(definitions.end(), d.begin(), d.end());
                      });
        storage.definitions = ReferenceDefinitions::inEffect(definitions);
    }
    parseSections(parsed, chars, defines, &storage.definitions,
                  [&](MarkdownTreeStorage& section, size_t kept, std::vector<ReferenceDefinition>) {
                      storage.blocks.insert(storage.blocks.end(), section.blocks.begin(),
                                            section.blocks.begin() + qsizetype(kept));
                      storage.memory.insert(storage.memory.end(), section.memory.begin(),
                                            section.memory.begin() + qsizetype(kept));
                  });
    parsed.document = {};
    parsed.document.kind = MarkdownNodeKind::Document;
    parsed.document.range = documentRange(parsed);
}

void parseWhole(ParsedMarkdown& parsed, qsizetype sectionChars) {
    auto storage = std::make_shared<MarkdownTreeStorage>();
    if (parsed.lineStarts.empty())
        parsed.lineStarts = lineStartsOf(parsed.text);
    // Lines end with a line feed alone where the text is parsed a section at
    // a time, and a byte-order mark can only start the input of the first. A
    // section may leave stand-ins for brackets where the whole text leaves none.
    if (parsed.text.size() > sectionChars && !parsed.text.startsWith(QChar(0xFEFF)) &&
        !parsed.text.contains(u'\r') &&
        unusedControls(std::u16string_view(reinterpret_cast<const char16_t*>(parsed.text.utf16()),
                                           size_t(parsed.text.size())))
            .close) {
        parseInSections(parsed, sectionChars, *storage);
    } else {
        std::vector<ReferenceDefinition> definitions;
        parseTree(parsed.text, 0, parsed.document, *storage, {}, &definitions);
        storage->definitions = ReferenceDefinitions::inEffect(definitions);
    }
    storage->blocksHaveLines =
        std::all_of(storage->blocks.begin(), storage->blocks.end(),
                    [](const MarkdownNode& block) { return block.range.isValid(); });
    finishStorage(parsed, std::move(storage));
}

// Puts the rows an edit re-parsed (the first block of `region`, parsed
// after the header and delimiter lines) into the table they belong to: the
// rows above them as they were, and where the edit ended `within` the
// table, the `replaced` rows from `startLine` on gone and those below as
// they were.
bool spliceTableRows(const MarkdownNode& table, const BlockMemory& memory, int startLine,
                     int replaced, bool within, MarkdownTreeStorage& region) {
    // Joined again and again, a table would keep the arena of every edit.
    constexpr size_t mostOwners = 256;
    const MarkdownNode& piece = region.blocks.front();
    const MarkdownNodeList& rows = table.children;
    // The header and the rows above the edit, one a line.
    const auto above = size_t(startLine - table.range.startLine - 1);
    const size_t below = within ? rows.size() - qMin(rows.size(), above + size_t(replaced)) : 0;
    if (above == 0 || above > rows.size() || rows[above - 1].range.startLine != startLine - 1 ||
        (within &&
         (below == 0 || rows[rows.size() - below].range.startLine != startLine + replaced)))
        return false;
    TableJoin join(above + piece.children.size() - 1 + below);
    join.add(rows.begin(), above, memory);
    join.add(piece.children.begin() + 1, piece.children.size() - 1, region.memory.front());
    join.add(rows.end() - below, below, memory);
    if (join.owners() > mostOwners)
        return false;
    MarkdownNode joined = table;
    if (!within) {
        // The table ends with its last row, which the edit may have left.
        const SourceRange& end =
            piece.children.size() > 1 || above == 1 ? piece.range : rows[above - 1].range;
        joined.range.endLine = end.endLine;
        joined.range.endColumn = end.endColumn;
    }
    auto [node, joinedMemory] = join.finish(joined);
    region.blocks.front() = node;
    region.memory.front() = std::move(joinedMemory);
    return true;
}

// Re-parses only the top-level blocks an edit touched. Block structure is
// decided line by line: where a top-level block starts on a line that the edit
// left alone, with every line before it alone too, the parser is in the same
// state as at the start of a document. So the edited part is parsed from the
// start of the block before the edit through the first block after it, and
// kept only when that block comes out exactly as before (then everything after
// it is as before too). Reference definitions resolve across the whole
// document: the edited part is parsed after the document's definitions, and
// kept only when it defines what it defined before, so that the definitions
// stand as they were; an edit that changes them has the text parsed whole.
// The blocks before and after the edit are shared with the earlier parse,
// not copied; those after it are copied only when the edit added or removed
// lines. In a table, the edited part starts at the first edited row
// instead (see tableHeadInput), and the rows it did not touch are shared.
bool reparseEdited(const ParsedMarkdown& before, ParsedMarkdown& after) {
    const QString& oldText = before.text;
    const QString& newText = after.text;
    const MarkdownTreeStorage* old = before.storage.get();
    // The parser ends a line at a carriage return alone too: its line
    // numbers are then not those of the line feeds.
    if (!old || !old->blocksHaveLines || hasLoneCarriageReturn(oldText) ||
        hasLoneCarriageReturn(newText))
        return false;
    const MarkdownNodeList blocks = before.document.children;

    // The characters both texts share at the start and at the end.
    const qsizetype prefix = commonPrefix(oldText, newText);
    if (prefix == oldText.size() && prefix == newText.size()) {
        after.document = before.document;
        after.storage = before.storage;
        after.lineStarts = before.lineStarts;
        after.reuse = {before.serial, blocks.size(), 0, 0};
        return true;
    }
    const qsizetype suffix =
        commonSuffix(oldText, newText, qMin(oldText.size(), newText.size()) - prefix);
    if (blocks.empty())
        return false;

    // Line starts: those within the common start, the edited part's, and
    // those within the common end, moved.
    const auto& oldStarts = before.lineStarts;
    const qsizetype growth = newText.size() - oldText.size();
    {
        std::vector<qsizetype>& starts = after.lineStarts;
        const auto above = std::upper_bound(oldStarts.begin(), oldStarts.end(), prefix);
        const auto below =
            std::lower_bound(oldStarts.begin(), oldStarts.end(), oldText.size() - suffix + 1);
        starts.reserve(oldStarts.size() + size_t(qMax<qsizetype>(0, growth)));
        starts.assign(oldStarts.begin(), above);
        const QStringView edited = QStringView(newText).first(newText.size() - suffix);
        for (qsizetype at = edited.indexOf(u'\n', prefix); at >= 0;
             at = edited.indexOf(u'\n', at + 1))
            starts.push_back(at + 1);
        for (auto start = below; start != oldStarts.end(); ++start)
            starts.push_back(*start + growth);
    }

    // Lines above the edit: those ending, line feed included, within the common start.
    const int unchangedAbove =
        int(std::upper_bound(oldStarts.begin(), oldStarts.end(), prefix) - oldStarts.begin()) - 1;
    // Lines below it: from the first old line that lies in the common end and
    // starts a line in the new text too.
    int unchangedBelow = int(oldStarts.size()) + 1;
    for (auto start = std::lower_bound(oldStarts.begin(), oldStarts.end(), oldText.size() - suffix);
         start != oldStarts.end(); ++start) {
        const qsizetype there = *start + growth;
        if (there == 0 || newText[there - 1] == u'\n') {
            unchangedBelow = int(start - oldStarts.begin()) + 1;
            break;
        }
    }
    const int lineShift = int(after.lineStarts.size()) - int(oldStarts.size());

    // From the last block that starts on a line above the edit (or the top),
    // through the first block that starts below it.
    const auto startsBy = [&](int line) {
        return size_t(std::partition_point(blocks.begin(), blocks.end(),
                                           [line](const MarkdownNode& block) {
                                               return block.range.startLine <= line;
                                           }) -
                      blocks.begin());
    };
    const size_t above = startsBy(unchangedAbove);
    const size_t first = above > 0 ? above - 1 : 0;
    const size_t next = qMax(first, startsBy(qMax(unchangedBelow - 1, unchangedAbove)));
    // An edit below the header and delimiter rows of a table re-parses from
    // its first edited row on, after those two lines. One that ends above
    // the table's last row and adds no line ends there: the rows below it
    // stay as they were.
    const MarkdownNode* table = nullptr;
    QByteArray tableHead;
    if (above > 0 && blocks[first].kind == MarkdownNodeKind::Table &&
        unchangedAbove + 1 >= blocks[first].range.startLine + 2 &&
        unchangedAbove + 1 <= blocks[first].range.endLine + 1) {
        tableHead = tableHeadInput(before, blocks[first]);
        if (!tableHead.isEmpty())
            table = &blocks[first];
    }
    const bool withinTable = table && lineShift == 0 && unchangedBelow <= table->range.endLine;
    const int startLine = table       ? unchangedAbove + 1
                          : above > 0 ? blocks[first].range.startLine
                                      : 1;

    const int newLineCount = int(after.lineStarts.size());
    const int regionEnd = withinTable            ? unchangedBelow - 1
                          : next < blocks.size() ? blocks[next].range.endLine + lineShift
                                                 : newLineCount;
    if (startLine < 1 || regionEnd < startLine || regionEnd > newLineCount)
        return false;
    // The parser drops a byte-order mark only where its input starts, not
    // after the definitions.
    if (startLine == 1 && !old->definitions.empty() && newText.startsWith(QChar(0xFEFF)))
        return false;
    const QStringView edited = linesOf(after, startLine, regionEnd);
    // A part that large is parsed a section at a time instead, in bounded memory.
    if (edited.size() > 2 * MarkdownParser::sectionChars)
        return false;
    // A region below the first line never starts the input: a U+FEFF that
    // starts its first line is text, as in the whole document.
    QByteArray ahead = ReferenceDefinitions::asMarkdown(old->definitions);
    if (ahead.isEmpty() && startLine > 1)
        ahead = "\n";
    MarkdownNode regionRoot;
    MarkdownTreeStorage region;
    std::vector<ReferenceDefinition> defined;
    parseTree(edited, startLine - 1, regionRoot, region, ahead + tableHead, &defined);
    if (table &&
        (region.blocks.empty() || !continuesTable(region.blocks.front(), *table, startLine)))
        return false;
    if (!std::all_of(region.blocks.begin() + (table ? 1 : 0), region.blocks.end(),
                     [&](const MarkdownNode& block) {
                         return block.range.isValid() && block.range.startLine >= startLine;
                     }))
        return false;
    // The document's definitions went in as they were, and the edited part
    // defines what it did before.
    const auto given = qsizetype(old->definitions.size());
    if (qsizetype(defined.size()) < given ||
        !std::equal(old->definitions.begin(), old->definitions.end(), defined.begin()))
        return false;
    defined.erase(defined.begin(), defined.begin() + given);
    const int oldRegionEnd = withinTable            ? unchangedBelow - 1
                             : next < blocks.size() ? blocks[next].range.endLine
                                                    : int(oldStarts.size());
    if (defined != definitionsIn(linesOf(before, startLine, oldRegionEnd),
                                 (startLine > 1 ? QByteArray("\n") : QByteArray()) + tableHead))
        return false;
    if (withinTable) {
        // Every edited line is a row of the table still.
        if (region.blocks.size() != 1 ||
            region.blocks.front().children.size() != size_t(regionEnd - startLine + 2))
            return false;
    } else if (next < blocks.size()) {
        // The region ends with the block after the edit, exactly as it was.
        if (region.blocks.size() < (table ? 2u : 1u) ||
            !sameTree(region.blocks.back(), blocks[next], lineShift))
            return false;
        region.blocks.pop_back();
        region.memory.pop_back();
    }
    if (table && !spliceTableRows(*table, old->memory[first], startLine, unchangedBelow - startLine,
                                  withinTable, region))
        return false;

    auto storage = std::make_shared<MarkdownTreeStorage>();
    storage->definitions = old->definitions;
    const size_t count = first + region.blocks.size() + (blocks.size() - next);
    storage->blocks.reserve(count);
    storage->memory.reserve(count);
    storage->blocks.insert(storage->blocks.end(), blocks.begin(), blocks.begin() + first);
    storage->memory.insert(storage->memory.end(), old->memory.begin(),
                           old->memory.begin() + qsizetype(first));
    storage->blocks.insert(storage->blocks.end(), region.blocks.begin(), region.blocks.end());
    storage->memory.insert(storage->memory.end(), region.memory.begin(), region.memory.end());
    for (size_t i = next; i < blocks.size(); ++i) {
        auto [block, memory] = MarkdownTreeStorage::moved(blocks[i], old->memory[i], lineShift);
        storage->blocks.push_back(block);
        storage->memory.push_back(std::move(memory));
    }

    after.document.kind = MarkdownNodeKind::Document;
    after.document.range = documentRange(after);
    finishStorage(after, std::move(storage));
    after.reuse = {before.serial, first, blocks.size() - next, lineShift};
    return true;
}

} // namespace

std::shared_ptr<const ParsedMarkdown> MarkdownParser::parse(const QString& text,
                                                            qsizetype sectionChars) {
    const auto parsedWhole = [sectionChars](const QString& text) {
        auto parsed = std::make_shared<ParsedMarkdown>();
        parsed->serial = nextSerial();
        parsed->text = text;
        parseWhole(*parsed, sectionChars);
        return parsed;
    };
    // Every view starts with the empty text: one parse of it serves them all.
    if (text.isEmpty()) {
        static const std::shared_ptr<const ParsedMarkdown> empty = parsedWhole(QString());
        return empty;
    }
    return parsedWhole(text);
}

std::shared_ptr<const ParsedMarkdown> MarkdownParser::reparse(const ParsedMarkdown& before,
                                                              const QString& text) {
    auto parsed = std::make_shared<ParsedMarkdown>();
    parsed->serial = nextSerial();
    parsed->text = text;
    if (!reparseEdited(before, *parsed)) {
        parsed->lineStarts.clear();
        parseWhole(*parsed, sectionChars);
    }
    return parsed;
}

QStringView ParsedMarkdown::sourceView(const MarkdownNode& node) const {
    if (!node.range.isValid())
        return {};
    return sourceLines(node.range.startLine, node.range.endLine);
}

QStringView ParsedMarkdown::sourceLines(int firstLine, int lastLine) const {
    if (firstLine < 1 || lineStarts.empty())
        return {};
    const auto lineCount = qsizetype(lineStarts.size());
    const qsizetype first = qBound(qsizetype(1), qsizetype(firstLine), lineCount) - 1;
    const qsizetype last = qBound(first + 1, qsizetype(lastLine), lineCount) - 1;
    const qsizetype begin = lineStarts[size_t(first)];
    qsizetype end = last + 1 < lineCount ? lineStarts[size_t(last + 1)] - 1 : text.size();
    return QStringView(text).mid(begin, end - begin);
}

bool MarkdownNode::isBlock() const {
    switch (kind) {
    case MarkdownNodeKind::Document:
    case MarkdownNodeKind::Heading:
    case MarkdownNodeKind::Paragraph:
    case MarkdownNodeKind::CodeBlock:
    case MarkdownNodeKind::HtmlBlock:
    case MarkdownNodeKind::OrderedList:
    case MarkdownNodeKind::UnorderedList:
    case MarkdownNodeKind::ListItem:
    case MarkdownNodeKind::BlockQuote:
    case MarkdownNodeKind::ThematicBreak:
    case MarkdownNodeKind::Table:
    case MarkdownNodeKind::TableHead:
    case MarkdownNodeKind::TableRow:
    case MarkdownNodeKind::TableCell:
        return true;
    default:
        return false;
    }
}

QString MarkdownNode::codeLanguage() const {
    // Words of an info string are parted by the ASCII white space of Markdown.
    const auto space = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
    };
    qsizetype start = 0;
    while (start < language.size() && space(language[start]))
        ++start;
    qsizetype end = start;
    while (end < language.size() && !space(language[end]))
        ++end;
    return language.mid(start, end - start).toString();
}

QString MarkdownNode::plainText() const {
    switch (kind) {
    case MarkdownNodeKind::Text:
    case MarkdownNodeKind::InlineCode:
    case MarkdownNodeKind::CodeBlock:
    case MarkdownNodeKind::HtmlBlock:
    case MarkdownNodeKind::InlineHtml:
        return literal.toString();
    case MarkdownNodeKind::SoftBreak:
        return QStringLiteral(" ");
    case MarkdownNodeKind::LineBreak:
        return QStringLiteral("\n");
    case MarkdownNodeKind::Other:
        // A subtree below the depth cap carries its source text.
        if (!literal.isEmpty())
            return literal.toString();
        break;
    default:
        break;
    }
    QString out;
    for (const MarkdownNode& child : children)
        out += child.plainText();
    return out;
}

const MarkdownNode* MarkdownNode::tableHead() const {
    for (const MarkdownNode& child : children)
        if (child.kind == MarkdownNodeKind::TableHead)
            return &child;
    return nullptr;
}

std::vector<const MarkdownNode*> MarkdownNode::tableBody() const {
    std::vector<const MarkdownNode*> rows;
    for (const MarkdownNode& child : children)
        if (child.kind == MarkdownNodeKind::TableRow)
            rows.push_back(&child);
    return rows;
}
