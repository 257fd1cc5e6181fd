#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <vector>

// The typed Markdown tree every reader of a document uses, copied out of
// cmark-gfm (CommonMark + GitHub tables, strikethrough, task lists, smart
// punctuation), so no reader ever holds a parser pointer. A parse stores its
// nodes side by side and its strings in shared buffers rather than one
// allocation per node: a node's children and texts are views into the
// storage of the parse it came from, so keep the parse while reading them.
enum class MarkdownNodeKind : std::uint8_t {
    Document,
    // Blocks
    Heading,
    Paragraph,
    CodeBlock,
    HtmlBlock,
    OrderedList,
    UnorderedList,
    ListItem,
    BlockQuote,
    ThematicBreak,
    Table,
    TableHead, // the header row; its children are cells
    TableRow,  // a body row
    TableCell,
    // Inlines
    Text,
    Emphasis,
    Strong,
    InlineCode,
    Strikethrough,
    Link,
    Image,
    InlineHtml,
    SoftBreak,
    LineBreak,
    // Anything the parser may add that quon does not name (footnotes, custom nodes)
    Other,
};

enum class TaskCheckbox : std::uint8_t { None, Unchecked, Checked };

// 1-based lines and byte columns as the parser reports them; 0 when unknown.
struct SourceRange {
    int startLine = 0;
    int startColumn = 0;
    int endLine = 0;
    int endColumn = 0;
    bool isValid() const { return startLine > 0; }
};

struct MarkdownNode;

class MovedChildren;

// A node's children, stored side by side; read like a const std::vector.
// The children of a block an edit moved down are made when first read.
class MarkdownNodeList {
public:
    MarkdownNodeList() = default;
    MarkdownNodeList(const MarkdownNode* first, size_t count)
        : m_first(reinterpret_cast<std::uintptr_t>(first)), m_count(std::uint32_t(count)) {}
    // List `list` of what `moved` makes.
    MarkdownNodeList(const MovedChildren* moved, size_t count, size_t list = 0)
        : m_first(reinterpret_cast<std::uintptr_t>(moved) | movedTag),
          m_count(std::uint32_t(count)), m_list(std::uint32_t(list)) {}

    const MarkdownNode* begin() const {
        return m_first & movedTag ? made() : reinterpret_cast<const MarkdownNode*>(m_first);
    }
    const MarkdownNode* end() const;
    size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    const MarkdownNode& operator[](size_t index) const;
    const MarkdownNode& front() const { return *begin(); }
    const MarkdownNode& back() const;
    // What makes the children of a moved block; null for any other list.
    const MovedChildren* moved() const {
        return m_first & movedTag ? reinterpret_cast<const MovedChildren*>(m_first & ~movedTag)
                                  : nullptr;
    }
    // Which of the lists moved() makes this one is.
    size_t movedList() const { return m_list; }

private:
    static constexpr std::uintptr_t movedTag = 1;
    const MarkdownNode* made() const;

    std::uintptr_t m_first = 0;
    std::uint32_t m_count = 0;
    std::uint32_t m_list = 0;
};

// A large document has a node per few bytes of text: the fields no kind uses
// together share their room. Read a string only for the kinds it names.
struct MarkdownNode {
    MarkdownNodeKind kind = MarkdownNodeKind::Other;
    TaskCheckbox checkbox = TaskCheckbox::None; // ListItem
    bool tight = false;                         // lists
    std::uint8_t headingLevel = 0;              // Heading
    int listStart = 1;                          // OrderedList: the number the source starts at
    SourceRange range;
    union {
        // Text, InlineCode, CodeBlock (code), HtmlBlock, InlineHtml; for a
        // subtree below the depth cap (Other), its source text
        QStringView literal;
        QStringView destination; // Link destination, Image source
    };
    union {
        QStringView language; // CodeBlock: the whole info string, empty when none
        QStringView title;    // Link and Image title
    };
    MarkdownNodeList children;

    MarkdownNode() : literal(), language() {}

    bool isBlock() const;
    int childCount() const { return int(children.size()); }
    const MarkdownNode& child(int index) const { return children[size_t(index)]; }

    // CodeBlock: the language the info string names, its first word, as the
    // preview colours it and the export tags it ("python title=x" is
    // python); empty when none.
    QString codeLanguage() const;

    // The text a reader sees: literals of text, code, HTML and capped subtrees, a soft break as a
    // space, a hard break as a line feed, containers as their children joined.
    QString plainText() const;

    // Table accessors: the header row (null when absent) and the body rows.
    const MarkdownNode* tableHead() const;
    std::vector<const MarkdownNode*> tableBody() const;
};

inline const MarkdownNode* MarkdownNodeList::end() const {
    return begin() + m_count;
}
inline const MarkdownNode& MarkdownNodeList::operator[](size_t index) const {
    return begin()[index];
}
inline const MarkdownNode& MarkdownNodeList::back() const {
    return begin()[m_count - 1];
}

// Where a parse keeps its nodes and strings; shared with the parses an edit
// makes from it, block by block.
struct MarkdownTreeStorage;

// One parse: the tree and the text it came from, so readers can tell whether a
// tree is stale and can cut a node's source out of the text.
struct ParsedMarkdown {
    QString text;
    MarkdownNode document;
    std::vector<qsizetype> lineStarts; // offset of each line's first character
    std::shared_ptr<const MarkdownTreeStorage> storage;

    // Told apart from every other parse of the process.
    std::uint64_t serial = 0;
    // What a re-parse kept of the parse it was made from (`from`, 0 for
    // none): its first `keptAbove` top-level blocks as they were, and its last
    // `keptBelow` moved by `lineShift` lines. The same nodes, so a reader
    // need not compare them.
    // Where the blocks between are one table whose rows the re-parse kept
    // (`table`, its index, else noTable): its first `rowsAbove` rows, the
    // header counted, as they were, and its last `rowsBelow` (none where the
    // edit reached its end) moved by `lineShift` lines.
    static constexpr size_t noTable = size_t(-1);
    struct Reuse {
        std::uint64_t from = 0;
        size_t keptAbove = 0;
        size_t keptBelow = 0;
        int lineShift = 0;
        size_t table = noTable;
        size_t rowsAbove = 0;
        size_t rowsBelow = 0;
    } reuse;

    // The whole source lines a node spans (joined with LF, no final LF), as a
    // view into `text`.
    QStringView sourceView(const MarkdownNode& node) const;
    // Lines first..last (1-based, clamped to the text) the same way.
    QStringView sourceLines(int first, int last) const;
};
