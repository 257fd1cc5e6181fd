#include "core/MarkdownParserConversion.h"
#include "core/MarkdownTreeStorage.h"
#include "core/ParserMemory.h"

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <QStringDecoder>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

// The node types of the table and strikethrough extensions are numbers the
// extension library assigns when it registers them.
extern "C" {
extern cmark_node_type CMARK_NODE_TABLE;
extern cmark_node_type CMARK_NODE_TABLE_ROW;
extern cmark_node_type CMARK_NODE_TABLE_CELL;
extern cmark_node_type CMARK_NODE_STRIKETHROUGH;
}

namespace MarkdownParser {

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

} // namespace

void parseTree(QStringView text, int lineOffset, MarkdownNode& document,
               MarkdownTreeStorage& storage, const QByteArray& before,
               std::vector<ReferenceDefinition>* definitions) {
    QByteArray utf8 = before + text.toUtf8();
    const int beforeLines = int(before.count('\n'));
    withCmarkTree(utf8, definitions, [&](cmark_node* root, BracketStandIns standIns) {
        Converter(utf8, lineOffset - beforeLines, standIns)
            .convertDocument(root, document, storage);
    });
}

std::vector<ReferenceDefinition> definitionsIn(QStringView text, const QByteArray& before) {
    std::vector<ReferenceDefinition> definitions;
    // Without "]:" there is no definition to look for.
    if (!text.contains(u"]:"))
        return definitions;
    QByteArray utf8 = before + text.toUtf8();
    withCmarkTree(utf8, &definitions, [](cmark_node*, BracketStandIns) {});
    return definitions;
}

bool leavesBracketStandIns(QStringView text) {
    return unusedControls(std::u16string_view(text.utf16(), size_t(text.size()))).close;
}

} // namespace MarkdownParser
