#include "core/MarkdownParser.h"
#include "core/MarkdownParserConversion.h"
#include "core/MarkdownParserParts.h"
#include "core/MarkdownParserReparse.h"
#include "core/MarkdownParserSections.h"
#include "core/MarkdownTreeStorage.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace MarkdownParser {

namespace {

std::uint64_t nextSerial() {
    static std::atomic<std::uint64_t> serial{0};
    return ++serial;
}

std::vector<qsizetype> lineStartsOf(QStringView text) {
    std::vector<qsizetype> starts;
    starts.reserve(size_t(text.count(u'\n')) + 1);
    starts.push_back(0);
    for (qsizetype at = text.indexOf(u'\n'); at >= 0; at = text.indexOf(u'\n', at + 1))
        starts.push_back(at + 1);
    return starts;
}

void parseWhole(ParsedMarkdown& parsed, qsizetype sectionChars) {
    auto storage = std::make_shared<MarkdownTreeStorage>();
    if (parsed.lineStarts.empty())
        parsed.lineStarts = lineStartsOf(parsed.text);
    // Lines end with a line feed alone where the text is parsed a section at
    // a time, and a byte-order mark can only start the input of the first. A
    // section may leave stand-ins for brackets where the whole text leaves none.
    if (parsed.text.size() > sectionChars && !parsed.text.startsWith(QChar(0xFEFF)) &&
        !parsed.text.contains(u'\r') && leavesBracketStandIns(parsed.text)) {
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

} // namespace

std::shared_ptr<const ParsedMarkdown> parse(const QString& text, qsizetype sectionChars) {
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

std::shared_ptr<const ParsedMarkdown> reparse(const ParsedMarkdown& before, const QString& text,
                                              const TextDifference* known) {
    auto parsed = std::make_shared<ParsedMarkdown>();
    parsed->serial = nextSerial();
    parsed->text = text;
    if (!reparseEdited(before, *parsed, known)) {
        parsed->lineStarts.clear();
        parseWhole(*parsed, sectionChars);
    }
    return parsed;
}

} // namespace MarkdownParser
