#include "core/MarkdownParserParts.h"
#include "core/MarkdownTreeStorage.h"

#include <memory>
#include <utility>

namespace MarkdownParser {

QStringView linesOf(const ParsedMarkdown& parsed, int first, int last) {
    const auto count = int(parsed.lineStarts.size());
    const qsizetype begin = parsed.lineStarts[size_t(first - 1)];
    const qsizetype end = last < count ? parsed.lineStarts[size_t(last)] : parsed.text.size();
    return QStringView(parsed.text).mid(begin, end - begin);
}

SourceRange documentRange(const ParsedMarkdown& parsed) {
    const bool finalBreak = parsed.text.endsWith(u'\n');
    const int lastLine = int(parsed.lineStarts.size()) - (finalBreak ? 1 : 0);
    return {1, 1, lastLine,
            int(linesOf(parsed, lastLine, lastLine).toUtf8().size() - (finalBreak ? 1 : 0))};
}

void finishStorage(ParsedMarkdown& parsed, std::shared_ptr<MarkdownTreeStorage> storage) {
    parsed.document.children = {storage->blocks.data(), storage->blocks.size()};
    parsed.storage = std::move(storage);
}

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

} // namespace MarkdownParser
