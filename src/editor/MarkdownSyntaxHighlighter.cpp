#include "editor/MarkdownSyntaxHighlighter.h"

#include "core/ConstantRegex.h"

#include <QRegularExpression>
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

} // namespace

MarkdownSyntaxHighlighter::MarkdownSyntaxHighlighter(QTextDocument* document,
                                                     const HighlightConfig& config)
    : QSyntaxHighlighter(document), m_config(config) {
    buildFormats();
    // Colour now; this also cancels the base class's deferred run, which
    // would announce an edit.
    recolourAll();
}

void MarkdownSyntaxHighlighter::recolourAll() {
    if (!document())
        return;
    // The layout still hears of every recoloured block; only the document's
    // change signals stay quiet.
    const QSignalBlocker quiet(document());
    rehighlight();
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
    bool inFence = previousBlockState() == InsideFence;
    std::vector<Style> styles(size_t(text.size()));
    if (isFence(text)) {
        inFence = !inFence;
        std::fill(styles.begin(), styles.end(), Style{FontStyle::Base, Colour::MutedText});
    } else if (inFence) {
        std::fill(styles.begin(), styles.end(), Style{FontStyle::Base, Colour::SecondaryText});
    } else if (!text.isEmpty()) {
        styleLine(text, styles);
    }
    setCurrentBlockState(inFence ? InsideFence : OutsideFence);

    qsizetype start = 0;
    for (qsizetype i = 1; i <= text.size(); ++i) {
        if (i < text.size() && styles[size_t(i)] == styles[size_t(start)])
            continue;
        setFormat(int(start), int(i - start), format(styles[size_t(start)]));
        start = i;
    }
}
