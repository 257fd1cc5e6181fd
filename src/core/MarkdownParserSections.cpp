#include "core/MarkdownParserSections.h"
#include "core/MarkdownParserConversion.h"
#include "core/MarkdownParserLines.h"
#include "core/MarkdownParserParts.h"
#include "core/MarkdownTreeStorage.h"

#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace MarkdownParser {

namespace {

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
    // Lines first..last of `parsed`, each a plain row, as rows whose cells are
    // parsed after `before` and the head when first read.
    void addLines(const ParsedMarkdown& parsed, int first, int last, const QByteArray& before) {
        appendLineRows(rows, parsed, first, last, table.children.front().children.size(),
                       before + head);
        table.range.endLine = last;
        table.range.endColumn = utf8Length(parsed.sourceLines(last, last));
    }
    // The whole table in place of its last piece, the first block of `section`.
    void finish(MarkdownTreeStorage& section) {
        auto [joined, memory] = rows.finish(table);
        section.blocks.front() = joined;
        section.memory.front() = std::move(memory);
    }
};

// What parseTree gives for a section's lines.
struct SectionTree {
    MarkdownNode root;
    MarkdownTreeStorage storage;
    std::vector<ReferenceDefinition> defined;
};

// The threads that parse the sections likely to come next while one is
// parsed; they end after a while without work, and their parser memory
// with them. Null until prepared.
std::atomic<QThreadPool*> sectionThreads{nullptr};

// parseSections as it goes from one section to the next.
class SectionParse {
public:
    using Take = std::function<void(MarkdownTreeStorage& section, size_t kept,
                                    std::vector<ReferenceDefinition> defined)>;

    SectionParse(const ParsedMarkdown& parsed, qsizetype chars, bool defines,
                 const std::vector<ReferenceDefinition>* known, Take take)
        : m_parsed(parsed), m_lines(int(parsed.lineStarts.size())), m_chars(chars),
          m_defines(defines), m_known(known), m_take(std::move(take)) {
        // A blank line at least keeps a section from starting the text: cmark
        // would take a U+FEFF that starts it for a byte-order mark.
        if (known)
            m_before = ReferenceDefinitions::asMarkdown(*known);
        if (m_before.isEmpty())
            m_before = "\n";
    }

    ~SectionParse() { dropAhead(); }

    void run() {
        int first = 1;
        for (bool rest = false; first <= m_lines;) {
            if (m_pending && !rest && takePlainRows(first))
                continue;
            const int last = rest ? m_lines : sectionEnd(first);
            SectionTree tree = m_pending || rest ? parseSection(first, last, m_pending.has_value())
                                                 : takeSection(first, last);
            MarkdownTreeStorage& section = tree.storage;
            std::vector<ReferenceDefinition>& defined = tree.defined;
            if (m_pending && (section.blocks.empty() ||
                              !continuesTable(section.blocks.front(), m_pending->table, first))) {
                first = m_pending->table.range.startLine;
                m_pending.reset();
                rest = true;
                continue;
            }
            if (last == m_lines) {
                joinPending(section);
                m_take(section, section.blocks.size(), std::move(defined));
                return;
            }
            if (definesUnknown(defined)) {
                rest = true;
                continue;
            }
            if (carriesTable(section, last, defined)) {
                first = last + 1;
                continue;
            }
            const auto [kept, next] = cut(section, first);
            // So a text with no place to cut (one long list) costs one section's
            // parse more than a whole parse, not many parses of growing sections.
            if (next == 0) {
                rest = true;
                continue;
            }
            joinPending(section);
            // The definitions of the lines left over are the section's last ones.
            if (m_defines && !m_known) {
                const size_t over = definitionsIn(linesOf(m_parsed, next, last), m_before).size();
                defined.resize(defined.size() - qMin(over, defined.size()));
            }
            m_take(section, kept, std::move(defined));
            first = next;
        }
    }

private:
    struct Ahead {
        int first = 0;
        int last = 0;
        std::future<SectionTree> tree;
    };

    SectionTree parseSection(int first, int last, bool afterTableHead) const {
        SectionTree tree;
        parseTree(linesOf(m_parsed, first, last), first - 1, tree.root, tree.storage,
                  afterTableHead ? m_before + m_pending->head : m_before,
                  m_defines ? &tree.defined : nullptr);
        return tree;
    }

    // The parse of the section from `first` to `last`, with no table going
    // on into it. The sections after it most likely start where a blank line
    // ends last in the one before: those are parsed meanwhile on other
    // threads, and the parse of one that does start there is taken as it is.
    SectionTree takeSection(int first, int last) {
        while (!m_ahead.empty() && m_ahead.front().first < first)
            dropFirstAhead();
        std::optional<std::future<SectionTree>> ready;
        if (!m_ahead.empty() && m_ahead.front().first == first && m_ahead.front().last == last) {
            ready = std::move(m_ahead.front().tree);
            m_ahead.pop_front();
        } else {
            dropAhead();
        }
        int from = m_ahead.empty() ? first : m_ahead.back().first;
        int to = m_ahead.empty() ? last : m_ahead.back().last;
        while (m_ahead.size() < size_t(m_aheadCount)) {
            from = likelyNext(from, to);
            if (from == 0 || to >= m_lines)
                break;
            to = sectionEnd(from);
            auto task = std::make_shared<std::packaged_task<SectionTree()>>(
                [this, from, to] { return parseSection(from, to, false); });
            m_ahead.push_back({from, to, task->get_future()});
            m_threads->start([task] { (*task)(); });
        }
        return ready ? ready->get() : parseSection(first, last, false);
    }

    // The last line of the section from `first` to `last` that follows a
    // blank one, where the next section starts when that is a block's
    // first line; 0 for none.
    int likelyNext(int first, int last) const {
        for (int line = last; line > first; --line)
            if (!blank(line) && blank(line - 1))
                return line;
        return 0;
    }

    // A parse meant for a section that did not come goes unused; its
    // thread is waited for, as it reads the text.
    void dropFirstAhead() {
        if (m_ahead.front().tree.valid())
            m_ahead.front().tree.wait();
        m_ahead.pop_front();
    }
    void dropAhead() {
        while (!m_ahead.empty())
            dropFirstAhead();
    }

    // The last line of the section that starts on line `first`.
    int sectionEnd(int first) const {
        const std::vector<qsizetype>& starts = m_parsed.lineStarts;
        const qsizetype from = starts[size_t(first - 1)];
        // The parser takes several times the memory for a character of a
        // table's rows that it takes for other text: a table goes on in
        // smaller sections.
        const qsizetype size = m_pending ? qMax<qsizetype>(1, m_chars / 4) : m_chars;
        return int(std::lower_bound(starts.begin(), starts.end(), from + size) - starts.begin());
    }

    // The plain rows from line `first` on, in the table the sections before
    // ended in, made from their lines: a long table's cells are parsed when
    // first read, not all at open. The last of them is left to the parser
    // where a line that is no plain row follows, or the text ends, so that
    // it ends the table. Whether it took any (and moved `first` past them).
    bool takePlainRows(int& first) {
        const int last = sectionEnd(first);
        int plain = first;
        while (plain <= last && isPlainRow(m_parsed.sourceLines(plain, plain)))
            ++plain;
        const int taken = plain > last && last < m_lines ? last : plain - 2;
        if (taken < first)
            return false;
        m_pending->addLines(m_parsed, first, taken, m_before);
        first = taken + 1;
        return true;
    }

    bool blank(int line) const {
        const QStringView text = linesOf(m_parsed, line, line);
        return std::all_of(text.begin(), text.end(),
                           [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; });
    }

    // A section defines a label the whole text does not.
    bool definesUnknown(const std::vector<ReferenceDefinition>& defined) const {
        const auto unknown = [&](const ReferenceDefinition& definition) {
            return !std::binary_search(
                m_known->begin(), m_known->end(), definition,
                [](const auto& a, const auto& b) { return a.label < b.label; });
        };
        return m_known && std::any_of(defined.begin(), defined.end(), unknown);
    }

    // The table the sections before ended in, with this section's rows,
    // in place of its piece here.
    void joinPending(MarkdownTreeStorage& section) {
        if (!m_pending)
            return;
        m_pending->add(section.blocks.front(), section.memory.front(), true);
        m_pending->finish(section);
        m_pending.reset();
    }

    // A table that may go on below the section goes on in the next one,
    // which starts on the line after `last`: true where the section ends
    // with one, the blocks above it taken.
    bool carriesTable(MarkdownTreeStorage& section, int last,
                      std::vector<ReferenceDefinition>& defined) {
        const size_t count = section.blocks.size();
        const MarkdownNode lastBlock = count > 0 ? section.blocks.back() : MarkdownNode();
        if (lastBlock.kind != MarkdownNodeKind::Table || lastBlock.range.endLine != last)
            return false;
        if (m_pending && count == 1) {
            m_pending->add(lastBlock, section.memory.back(), true);
            m_take(section, 0, std::move(defined));
            return true;
        }
        QByteArray head = tableHeadInput(m_parsed, lastBlock);
        if (head.isEmpty() || !(count == 1 || section.blocks[count - 2].range.isValid()) ||
            !headParsesAlone(head, m_before, lastBlock))
            return false;
        const BlockMemory memory = section.memory.back();
        joinPending(section);
        m_take(section, count - 1, std::move(defined));
        m_pending.emplace(lastBlock, std::move(head),
                          size_t(m_lines - last) + lastBlock.children.size());
        m_pending->add(lastBlock, memory, false);
        return true;
    }

    // Where the next section starts (0 for nowhere), and how many of this
    // section's blocks are kept: at the last block that starts after a blank
    // line, not after what is left of a paragraph a table took lines from
    // (no lines of its own): that table would make it again.
    std::pair<size_t, int> cut(const MarkdownTreeStorage& section, int first) const {
        size_t kept = section.blocks.size();
        int next = 0;
        while (kept > 0 && next == 0) {
            const SourceRange& range = section.blocks[--kept].range;
            if (range.startLine > first && blank(range.startLine - 1) &&
                (kept == 0 || section.blocks[kept - 1].range.isValid()))
                next = range.startLine;
        }
        return {kept, next};
    }

    const ParsedMarkdown& m_parsed;
    const int m_lines;
    const qsizetype m_chars;
    const bool m_defines;
    const std::vector<ReferenceDefinition>* const m_known;
    const Take m_take;
    QByteArray m_before; // what each section is parsed after
    std::optional<PendingTable> m_pending;
    QThreadPool* const m_threads = sectionThreads.load();
    const int m_aheadCount = m_threads ? m_threads->maxThreadCount() : 0;
    std::deque<Ahead> m_ahead;
};

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
void parseSections(const ParsedMarkdown& parsed, qsizetype chars, bool defines,
                   const std::vector<ReferenceDefinition>* known, SectionParse::Take take) {
    SectionParse(parsed, chars, defines, known, std::move(take)).run();
}

} // namespace

void prepareSectionThreads() {
    // Outlives the application, and every parse that may still use it.
    static QThreadPool threads;
    if (sectionThreads.load())
        return;
    threads.setMaxThreadCount(qBound(1, QThread::idealThreadCount() - 1, 3));
    sectionThreads.store(&threads);
}

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

void parseInSections(ParsedMarkdown& parsed, qsizetype chars, MarkdownTreeStorage& storage) {
    const bool defines = parsed.text.contains(u"]:");
    if (defines) {
        std::vector<ReferenceDefinition> definitions;
        parseSections(parsed, chars, true, nullptr,
                      [&](const MarkdownTreeStorage&, size_t, std::vector<ReferenceDefinition> d) {
                          definitions.insert(definitions.end(), d.begin(), d.end());
                      });
        storage.definitions = ReferenceDefinitions::inEffect(definitions);
        // Each section is parsed after the definitions written out; where
        // they do not read back as themselves (a label case folding made
        // longer than a label may be), the text is parsed whole.
        const QByteArray written = ReferenceDefinitions::asMarkdown(storage.definitions);
        if (definitionsIn(QString::fromUtf8(written)) != storage.definitions) {
            definitions.clear();
            parseTree(parsed.text, 0, parsed.document, storage, {}, &definitions);
            storage.definitions = ReferenceDefinitions::inEffect(definitions);
            return;
        }
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

} // namespace MarkdownParser
