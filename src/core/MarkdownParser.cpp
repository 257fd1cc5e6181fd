#include "core/MarkdownTree.h"

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <cstdlib>
#include <cstring>

namespace {

struct ParserDeleter {
    void operator()(cmark_parser* p) const { cmark_parser_free(p); }
};
struct NodeDeleter {
    void operator()(cmark_node* n) const { cmark_node_free(n); }
};
using ParserPtr = std::unique_ptr<cmark_parser, ParserDeleter>;
using NodePtr = std::unique_ptr<cmark_node, NodeDeleter>;

QString fromCmark(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

MarkdownNodeKind kindOf(cmark_node* node) {
    switch (cmark_node_get_type(node)) {
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
    // Extension nodes have run-time type numbers; their names are stable.
    const char* name = cmark_node_get_type_string(node);
    if (!name)
        return MarkdownNodeKind::Other;
    if (!std::strcmp(name, "table"))
        return MarkdownNodeKind::Table;
    if (!std::strcmp(name, "table_header"))
        return MarkdownNodeKind::TableHead;
    if (!std::strcmp(name, "table_row"))
        return cmark_gfm_extensions_get_table_row_is_header(node) ? MarkdownNodeKind::TableHead
                                                                  : MarkdownNodeKind::TableRow;
    if (!std::strcmp(name, "table_cell"))
        return MarkdownNodeKind::TableCell;
    if (!std::strcmp(name, "strikethrough"))
        return MarkdownNodeKind::Strikethrough;
    return MarkdownNodeKind::Other;
}

// Readers walk the tree recursively; below this depth a subtree is kept as its
// Markdown source so that a hostile file (thousands of nested quotes) cannot
// exhaust the stack.
constexpr int maxDepth = 200;

// cmark leaves an empty text node where it strips a hard break's blanks.
bool isEmptyText(cmark_node* node) {
    if (cmark_node_get_type(node) != CMARK_NODE_TEXT)
        return false;
    const char* literal = cmark_node_get_literal(node);
    return !literal || !*literal;
}

// Fills `node` in place; a large document has hundreds of thousands of nodes,
// so children are counted first and built where they will stay.
void convert(cmark_node* source, int depth, MarkdownNode& node) {
    node.kind = kindOf(source);
    node.range = {cmark_node_get_start_line(source), cmark_node_get_start_column(source),
                  cmark_node_get_end_line(source), cmark_node_get_end_column(source)};
    if (depth >= maxDepth) {
        char* markdown = cmark_render_commonmark(source, CMARK_OPT_DEFAULT, 0);
        node.kind = MarkdownNodeKind::Other;
        node.literal = fromCmark(markdown);
        free(markdown);
        return;
    }
    switch (node.kind) {
    case MarkdownNodeKind::Heading:
        node.headingLevel = cmark_node_get_heading_level(source);
        break;
    case MarkdownNodeKind::CodeBlock:
        node.literal = fromCmark(cmark_node_get_literal(source));
        node.language = fromCmark(cmark_node_get_fence_info(source));
        break;
    case MarkdownNodeKind::Text:
    case MarkdownNodeKind::InlineCode:
    case MarkdownNodeKind::HtmlBlock:
    case MarkdownNodeKind::InlineHtml:
        node.literal = fromCmark(cmark_node_get_literal(source));
        break;
    case MarkdownNodeKind::Link:
    case MarkdownNodeKind::Image:
        node.destination = fromCmark(cmark_node_get_url(source));
        node.title = fromCmark(cmark_node_get_title(source));
        break;
    case MarkdownNodeKind::OrderedList:
    case MarkdownNodeKind::UnorderedList:
        node.listStart = cmark_node_get_list_start(source);
        node.tight = cmark_node_get_list_tight(source) != 0;
        break;
    case MarkdownNodeKind::ListItem: {
        const char* name = cmark_node_get_type_string(source);
        if (name && !std::strcmp(name, "tasklist"))
            node.checkbox = cmark_gfm_extensions_get_tasklist_item_checked(source)
                                ? TaskCheckbox::Checked
                                : TaskCheckbox::Unchecked;
        break;
    }
    default:
        break;
    }
    size_t count = 0;
    for (cmark_node* child = cmark_node_first_child(source); child; child = cmark_node_next(child))
        count += isEmptyText(child) ? 0 : 1;
    node.children.resize(count);
    size_t index = 0;
    for (cmark_node* child = cmark_node_first_child(source); child; child = cmark_node_next(child))
        if (!isEmptyText(child))
            convert(child, depth + 1, node.children[index++]);
}

std::vector<qsizetype> lineStartsOf(const QString& text) {
    std::vector<qsizetype> starts{0};
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == QLatin1Char('\n'))
            starts.push_back(i + 1);
    return starts;
}

} // namespace

std::shared_ptr<const ParsedMarkdown> MarkdownParser::parse(const QString& text) {
    static const bool registered = [] {
        cmark_gfm_core_extensions_ensure_registered();
        return true;
    }();
    Q_UNUSED(registered);

    ParserPtr parser(cmark_parser_new(CMARK_OPT_SMART | CMARK_OPT_SOURCEPOS));
    for (const char* name : {"table", "strikethrough", "tasklist"}) {
        if (cmark_syntax_extension* ext = cmark_find_syntax_extension(name))
            cmark_parser_attach_syntax_extension(parser.get(), ext);
    }
    const QByteArray utf8 = text.toUtf8();
    cmark_parser_feed(parser.get(), utf8.constData(), size_t(utf8.size()));
    NodePtr root(cmark_parser_finish(parser.get()));

    auto parsed = std::make_shared<ParsedMarkdown>();
    parsed->text = text;
    convert(root.get(), 0, parsed->document);
    parsed->lineStarts = lineStartsOf(text);
    return parsed;
}

QStringView ParsedMarkdown::sourceView(const MarkdownNode& node) const {
    if (!node.range.isValid() || lineStarts.empty())
        return {};
    const auto lineCount = qsizetype(lineStarts.size());
    const qsizetype first = qBound(qsizetype(1), qsizetype(node.range.startLine), lineCount) - 1;
    const qsizetype last = qBound(first + 1, qsizetype(node.range.endLine), lineCount) - 1;
    const qsizetype begin = lineStarts[size_t(first)];
    qsizetype end = last + 1 < lineCount ? lineStarts[size_t(last + 1)] - 1 : text.size();
    return QStringView(text).mid(begin, end - begin);
}

QString ParsedMarkdown::sourceLines(const MarkdownNode& node) const {
    return sourceView(node).toString();
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

QString MarkdownNode::plainText() const {
    switch (kind) {
    case MarkdownNodeKind::Text:
    case MarkdownNodeKind::InlineCode:
    case MarkdownNodeKind::CodeBlock:
    case MarkdownNodeKind::HtmlBlock:
    case MarkdownNodeKind::InlineHtml:
        return literal;
    case MarkdownNodeKind::SoftBreak:
        return QStringLiteral(" ");
    case MarkdownNodeKind::LineBreak:
        return QStringLiteral("\n");
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
