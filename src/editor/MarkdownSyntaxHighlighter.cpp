#include "editor/MarkdownSyntaxHighlighter.h"

#include "core/ConstantRegex.h"
#include "core/DocumentText.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextLayout>
#include <vector>

namespace {

using Style = MarkdownSyntaxHighlighter::Style;
using FontStyle = MarkdownSyntaxHighlighter::FontStyle;
using Colour = MarkdownSyntaxHighlighter::Colour;

// Anchors match at every line; \w, \d and \s are Unicode-aware.
QRegularExpression compiled(const char* pattern) {
    return constantRegex(pattern, QRegularExpression::MultilineOption |
                                      QRegularExpression::UseUnicodePropertiesOption);
}

struct Patterns {
    QRegularExpression heading = compiled(R"(^(#{1,6})[ \t].*$)");
    QRegularExpression blockquote = compiled(R"(^[ \t]*>.*$)");
    QRegularExpression listMarker = compiled(R"(^[ \t]*(?:[-*+]|\d+\.)[ \t])");
    QRegularExpression taskBox = compiled(R"(^[ \t]*[-*+][ \t]+\[[ xX]\])");
    QRegularExpression thematicBreak = compiled(R"(^[ \t]*(-{3,}|\*{3,}|_{3,})[ \t]*$)");
    QRegularExpression bold = compiled(R"((\*\*[^\s*][^*\n]*\*\*|__[^\s_][^_\n]*__))");
    QRegularExpression italic =
        compiled(R"(((?<![\w*])\*[^*\n]+\*(?!\*)|(?<![\w_])_[^_\n]+_(?!_)))");
    QRegularExpression inlineCode = compiled(R"(`[^`\n]+`)");
    QRegularExpression link = compiled(R"((!?\[[^\]\n]*\])(\([^)\n]*\)))");
};

const Patterns& patterns() {
    static const Patterns p;
    return p;
}

int styleIndex(Style s) {
    return (int(s.font) * 4 + int(s.foreground)) * 2 + (s.codeBackground ? 1 : 0);
}

// Spaces, tabs and the other horizontal blanks (Unicode Zs).
bool isHorizontalSpace(QChar c) {
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

bool isFence(QStringView line) {
    qsizetype from = 0, to = line.size();
    while (from < to && isHorizontalSpace(line[from]))
        ++from;
    while (to > from && isHorizontalSpace(line[to - 1]))
        --to;
    const QStringView trimmed = line.mid(from, to - from);
    return trimmed.startsWith(u"```") || trimmed.startsWith(u"~~~");
}

template <typename Apply>
void forEachMatch(const QRegularExpression& re, const QString& text, Apply apply) {
    QRegularExpressionMatchIterator it = re.globalMatch(text);
    while (it.hasNext())
        apply(it.next());
}

template <typename Set>
void setRange(std::vector<Style>& styles, qsizetype start, qsizetype length, Set set) {
    for (qsizetype i = start; i < start + length; ++i)
        set(styles[size_t(i)]);
}

void setFont(std::vector<Style>& styles, qsizetype start, qsizetype length, FontStyle font) {
    setRange(styles, start, length, [font](Style& s) { s.font = font; });
}

void setForeground(std::vector<Style>& styles, qsizetype start, qsizetype length, Colour colour) {
    setRange(styles, start, length, [colour](Style& s) { s.foreground = colour; });
}

// A lone surrogate would make every match on its line fail; U+FFFD keeps the
// positions.
QString withoutLoneSurrogates(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

// The pattern passes over one line outside a fence. Each pass first checks a
// cheap condition every match of its pattern needs.
void styleLine(const QString& line, std::vector<Style>& styles) {
    const QString text = QStringView(line).isValidUtf16() ? line : withoutLoneSurrogates(line);
    const Patterns& p = patterns();
    qsizetype indent = 0;
    while (indent < text.size() &&
           (text[indent] == QLatin1Char(' ') || text[indent] == QLatin1Char('\t')))
        ++indent;
    const QChar first = indent < text.size() ? text[indent] : QChar();
    const bool bullet =
        first == QLatin1Char('-') || first == QLatin1Char('*') || first == QLatin1Char('+');
    const bool mayBeList = bullet || first.isDigit() || first.isHighSurrogate();
    const bool hasStar = text.contains(QLatin1Char('*'));
    const bool hasUnderscore = text.contains(QLatin1Char('_'));

    if (text.contains(u"**") || text.contains(u"__"))
        forEachMatch(p.bold, text, [&](const QRegularExpressionMatch& m) {
            setFont(styles, m.capturedStart(), m.capturedLength(), FontStyle::Bold);
        });
    if (hasStar || hasUnderscore)
        forEachMatch(p.italic, text, [&](const QRegularExpressionMatch& m) {
            setFont(styles, m.capturedStart(), m.capturedLength(), FontStyle::Italic);
        });
    if (text.contains(QLatin1Char('`')))
        forEachMatch(p.inlineCode, text, [&](const QRegularExpressionMatch& m) {
            setRange(styles, m.capturedStart(), m.capturedLength(), [](Style& s) {
                s.foreground = Colour::Accent;
                s.codeBackground = true;
            });
        });
    if (text.contains(u"]("))
        forEachMatch(p.link, text, [&](const QRegularExpressionMatch& m) {
            setForeground(styles, m.capturedStart(1), m.capturedLength(1), Colour::Accent);
            setForeground(styles, m.capturedStart(2), m.capturedLength(2), Colour::MutedText);
        });
    if (mayBeList)
        forEachMatch(p.listMarker, text, [&](const QRegularExpressionMatch& m) {
            setForeground(styles, m.capturedStart(), m.capturedLength(), Colour::MutedText);
        });
    if (bullet)
        forEachMatch(p.taskBox, text, [&](const QRegularExpressionMatch& m) {
            setForeground(styles, m.capturedStart(), m.capturedLength(), Colour::Accent);
        });
    if (text.startsWith(QLatin1Char('#')))
        forEachMatch(p.heading, text, [&](const QRegularExpressionMatch& m) {
            setFont(styles, m.capturedStart(), m.capturedLength(), FontStyle::Bold);
            setForeground(styles, m.capturedStart(1), m.capturedLength(1), Colour::Accent);
        });
    if (first == QLatin1Char('>'))
        forEachMatch(p.blockquote, text, [&](const QRegularExpressionMatch& m) {
            setRange(styles, m.capturedStart(), m.capturedLength(), [](Style& s) {
                s.font = FontStyle::Italic;
                s.foreground = Colour::SecondaryText;
            });
        });
    if (first == QLatin1Char('-') || first == QLatin1Char('*') || first == QLatin1Char('_'))
        forEachMatch(p.thematicBreak, text, [&](const QRegularExpressionMatch& m) {
            setForeground(styles, m.capturedStart(), m.capturedLength(), Colour::MutedText);
        });
}

enum BlockState { OutsideFence = 0, InsideFence = 1 };

// Qt lays a line out whole, and again after every change to it; each run of
// colour adds to that work (a run is resolved to its format and splits the
// line's script items), and the patterns would search the whole line on
// every key. A line longer than this, a few screens of text, is no line
// anyone writes by hand: it is not searched for Markdown and shows in the
// editor's own font and colour (the plain style's), so typing in it costs
// only Qt's layout. Fence lines and lines in a fence keep their one colour
// whatever their length.
constexpr qsizetype longestStyledLine = 10'000;

// The styles of one line given whether a fence is open before it; returns
// whether one is open after it. A line of one style (a fence line, a line in
// a fence) gives that style alone in `styles`; a line too long to search
// gives none.
bool styleBlock(const QString& text, bool inFence, std::vector<Style>& styles) {
    const bool fence = isFence(text);
    if (fence || inFence) {
        styles.assign(1, Style{FontStyle::Base, fence ? Colour::MutedText : Colour::SecondaryText});
        return fence != inFence;
    }
    styles.clear();
    if (text.size() <= longestStyledLine) {
        styles.resize(size_t(text.size()));
        styleLine(text, styles);
    }
    return false;
}

// Calls apply(start, length, style) for each run of one style in a line of
// `length` units; a single style covers the whole line.
template <typename Apply>
void forEachRun(const std::vector<Style>& styles, qsizetype length, Apply apply) {
    if (styles.size() == 1) {
        if (length > 0)
            apply(0, length, styles.front());
        return;
    }
    size_t start = 0;
    for (size_t i = 1; i <= styles.size(); ++i) {
        if (i < styles.size() && styles[i] == styles[start])
            continue;
        apply(qsizetype(start), qsizetype(i - start), styles[start]);
        start = i;
    }
}

// One slice of progressive colouring: short enough for typing to stay smooth.
constexpr qint64 sliceNanoseconds = 4'000'000;

// The base class's reaction to text changes (the colouring of what changed):
// a private slot of Qt's, by name, as in Qt 6.4.2. A Qt that renames it or
// connects it otherwise makes the disconnect below fail first: every edit is
// then coloured by the base class, large texts are coloured at once when they
// load, and tst_markdownsyntaxhighlighter fails.
const char* const contentsChangeSignal = SIGNAL(contentsChange(int, int, int));
const char* const reformatSlot = SLOT(_q_reformatBlocks(int, int, int));
const char* const reformatMethod = "_q_reformatBlocks";

} // namespace

MarkdownSyntaxHighlighter::MarkdownSyntaxHighlighter(QTextDocument* document,
                                                     const HighlightConfig& config)
    : QSyntaxHighlighter(document), m_config(config) {
    buildFormats();
    m_sliceTimer.setSingleShot(true);
    m_sliceTimer.setInterval(0);
    connect(&m_sliceTimer, &QTimer::timeout, this, &MarkdownSyntaxHighlighter::colourNextSlice);
    if (disconnect(document, contentsChangeSignal, this, reformatSlot))
        connect(document, &QTextDocument::contentsChange, this,
                &MarkdownSyntaxHighlighter::reformat);
    // Colour now; this also cancels the base class's deferred run, which
    // would announce an edit.
    recolourAll();
}

// The base class clears the formats as it goes, which must not reach this
// part of the object any more.
MarkdownSyntaxHighlighter::~MarkdownSyntaxHighlighter() {
    if (document())
        disconnect(document(), &QTextDocument::contentsChange, this,
                   &MarkdownSyntaxHighlighter::reformat);
}

void MarkdownSyntaxHighlighter::recolourAll() {
    if (!document())
        return;
    stopProgressiveColouring();
    // The layout still hears of every recoloured block; only the document's
    // change signals stay quiet.
    const QSignalBlocker quiet(document());
    rehighlight();
}

void MarkdownSyntaxHighlighter::loadProgressively(const std::function<void()>& load,
                                                  QStringView loaded) {
    QTextDocument* doc = document();
    // Unheard by the base class, the new text stays uncoloured. Should that
    // ever fail, it is coloured at once as before.
    if (!doc || !disconnect(doc, &QTextDocument::contentsChange, this,
                            &MarkdownSyntaxHighlighter::reformat)) {
        load();
        return;
    }
    load();
    connect(doc, &QTextDocument::contentsChange, this, &MarkdownSyntaxHighlighter::reformat);
    // With every line's state right, colouring any line gives its final
    // colours, and an edit's recolouring stops where the states agree again.
    storeFenceStates(loaded);
    m_unreached = QTextCursor(doc);
    colourNextSlice();
}

void MarkdownSyntaxHighlighter::storeFenceStates(QStringView loaded) {
    // The document splits lines at more than LF (CR, CRLF, U+2029): where the
    // loaded text's lines are not the blocks, they are read from a copy.
    if (!loaded.isNull() && storeFenceStatesOf(loaded))
        return;
    storeFenceStatesOf(document()->toRawText());
}

// Whether `text` held the document's lines, each block's text followed by one
// unit that ended it.
bool MarkdownSyntaxHighlighter::storeFenceStatesOf(QStringView text) {
    qsizetype at = 0;
    bool inFence = false;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const qsizetype length = block.length() - 1;
        const qsizetype end = at + length;
        if (end > text.size() || (end < text.size() && !DocumentText::isParagraphEnd(text[end])))
            return false;
        if (isFence(text.mid(at, length)))
            inFence = !inFence;
        block.setUserState(inFence ? InsideFence : OutsideFence);
        at = end + 1;
    }
    return at >= text.size();
}

void MarkdownSyntaxHighlighter::colourNextSlice() {
    if (m_unreached.isNull())
        return;
    QElapsedTimer clock;
    clock.start();
    const QTextBlock block =
        colourBlocksQuietly(m_unreached.block(), [&](const QTextBlock&, int n) {
            return n % 16 != 0 || clock.nsecsElapsed() < sliceNanoseconds;
        });
    if (!block.isValid()) {
        stopProgressiveColouring();
        return;
    }
    m_unreached.setPosition(block.position());
    m_sliceTimer.start();
}

void MarkdownSyntaxHighlighter::colourNow(int from, int to) {
    if (m_unreached.isNull() || to < m_unreached.position())
        return;
    colourBlocksQuietly(document()->findBlock(qMax(from, m_unreached.position())),
                        [to](const QTextBlock& block, int) { return block.position() <= to; });
}

void MarkdownSyntaxHighlighter::stopProgressiveColouring() {
    m_unreached = QTextCursor();
    m_sliceTimer.stop();
}

void MarkdownSyntaxHighlighter::setConfig(const HighlightConfig& config) {
    if (config == m_config)
        return;
    m_config = config;
    buildFormats();
    recolourAll();
}

const QTextCharFormat& MarkdownSyntaxHighlighter::format(Style style) const {
    return m_formats[size_t(styleIndex(style))];
}

void MarkdownSyntaxHighlighter::buildFormats() {
    QFont fonts[3] = {m_config.baseFont, m_config.baseFont, m_config.baseFont};
    fonts[int(FontStyle::Bold)].setBold(true);
    fonts[int(FontStyle::Italic)].setItalic(true);
    const EditorTheme& t = m_config.theme;
    const QColor colours[4] = {t.text, t.secondaryText, t.mutedText, t.accent};
    for (int f = 0; f < 3; ++f)
        for (int c = 0; c < 4; ++c)
            for (int bg = 0; bg < 2; ++bg) {
                QTextCharFormat fmt;
                fmt.setFont(fonts[f]);
                fmt.setForeground(colours[c]);
                if (bg)
                    fmt.setBackground(t.codeBackground);
                m_formats[size_t(styleIndex({FontStyle(f), Colour(c), bg == 1}))] = fmt;
            }
}

void MarkdownSyntaxHighlighter::highlightBlock(const QString& text) {
    std::vector<Style> styles;
    const bool inFence = styleBlock(text, previousBlockState() == InsideFence, styles);
    setCurrentBlockState(inFence ? InsideFence : OutsideFence);
    forEachFormat(styles, text.size(),
                  [this](qsizetype start, qsizetype length, const QTextCharFormat& f) {
                      setFormat(int(start), int(length), f);
                  });
}

template <typename Apply>
void MarkdownSyntaxHighlighter::forEachFormat(const std::vector<Style>& styles, qsizetype length,
                                              Apply apply) const {
    if (length <= longestStyledLine) {
        forEachRun(styles, length, [&](qsizetype start, qsizetype n, Style style) {
            if (style != Style{})
                apply(start, n, format(style));
        });
        return;
    }
    // Shaping the whole line again is most of the cost of a key in it; Latin
    // text looks the same without it, and scripts that need it keep it.
    QTextCharFormat unshaped = format(styles.empty() ? Style{} : styles.front());
    unshaped.setFontStyleStrategy(QFont::PreferNoShaping);
    apply(0, length, unshaped);
}

bool MarkdownSyntaxHighlighter::colourBlockQuietly(QTextBlock block) {
    QTextLayout* layout = block.layout();
    // The base class keeps text being composed in an input method clear.
    if (!layout->preeditAreaText().isEmpty()) {
        rehighlightBlock(block);
        return false;
    }
    std::vector<Style> styles;
    const QString text = block.text();
    const bool inFence = styleBlock(text, block.previous().userState() == InsideFence, styles);
    block.setUserState(inFence ? InsideFence : OutsideFence);
    // The ranges the base class would make: runs of one format, none for
    // the plain style of a line short enough to search.
    QList<QTextLayout::FormatRange> ranges;
    forEachFormat(styles, text.size(),
                  [&](qsizetype start, qsizetype length, const QTextCharFormat& f) {
                      if (!ranges.isEmpty() && ranges.last().format == f &&
                          ranges.last().start + ranges.last().length == start)
                          ranges.last().length += int(length);
                      else
                          ranges.append({int(start), int(length), f});
                  });
    if (layout->formats() == ranges)
        return false;
    layout->setFormats(ranges);
    return true;
}

// The base class fills and compares a format per character of every line an
// edit touches: in a line of many thousand characters that is a large part of
// each key. Such a line is coloured here; any other edit as before.
void MarkdownSyntaxHighlighter::reformat(int from, int charsRemoved, int charsAdded) {
    QTextDocument* doc = document();
    const QTextBlock block = doc->findBlock(from);
    if (!block.isValid() || block.length() - 1 <= longestStyledLine ||
        doc->findBlock(from + charsAdded + (charsRemoved > 0 ? 1 : 0)) != block ||
        !block.layout()->preeditAreaText().isEmpty()) {
        QMetaObject::invokeMethod(this, reformatMethod, Q_ARG(int, from), Q_ARG(int, charsRemoved),
                                  Q_ARG(int, charsAdded));
        return;
    }
    const int stateBefore = block.userState();
    if (colourBlockQuietly(block))
        doc->markContentsDirty(block.position(), block.length());
    // A fence opened or closed: the following lines as the base class would.
    if (block.userState() != stateBefore && block.next().isValid())
        QMetaObject::invokeMethod(this, reformatMethod, Q_ARG(int, block.next().position()),
                                  Q_ARG(int, 0), Q_ARG(int, 0));
}

QTextBlock MarkdownSyntaxHighlighter::colourBlocksQuietly(
    QTextBlock block, const std::function<bool(const QTextBlock&, int)>& more) {
    const QSignalBlocker quiet(document());
    // The span of the blocks whose formats changed.
    int from = -1, to = -1;
    for (int n = 0; block.isValid() && more(block, n); ++n, block = block.next()) {
        if (!colourBlockQuietly(block))
            continue;
        if (from < 0)
            from = block.position();
        to = block.position() + block.length();
    }
    // One relayout for all of them, as after an edit; a block that kept its
    // formats keeps its layout.
    if (from >= 0)
        document()->markContentsDirty(from, to - from);
    return block;
}
