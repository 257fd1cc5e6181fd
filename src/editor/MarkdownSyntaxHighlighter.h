#pragma once

#include "editor/HighlightConfig.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTimer>
#include <array>
#include <functional>
#include <vector>

// Colours Markdown source in a QTextDocument. Only the highlighter's own
// layout formats change: never the text, the undo stack or the modified flag.
//
// Each line is coloured on its own (no pattern spans a line break); the one
// fact carried from line to line, whether the line lies inside a fenced code
// block, is the block state (1 inside, 0 outside). So an edit recolours only
// the lines it touched, plus the following ones while their fence state
// changes, and the result always equals colouring the whole text at once:
//
//   1. every character in the base font and the text colour;
//   2. bold, italic, inline code, link, list marker, task box, heading,
//      blockquote and thematic-break patterns, in that order, a later pass
//      replacing only the attribute (font, colour, background) it sets;
//   3. fence lines (trimmed text starting with ``` or ~~~) in the base font
//      and muted colour, flipping the fence flag; lines inside a fence in
//      the base font and secondary colour, discarding the earlier passes.
//
// Characters of the plain style (the base font and the text colour, the
// editor's own) carry no format, so a line without markup keeps none. A line
// of more than 10,000 units outside a fence is not searched: it shows plain,
// through one format that only spares it shaping.
class MarkdownSyntaxHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    // What colouring gives one character.
    enum class FontStyle : quint8 { Base, Bold, Italic };
    enum class Colour : quint8 { Text, SecondaryText, MutedText, Accent };
    struct Style {
        FontStyle font = FontStyle::Base;
        Colour foreground = Colour::Text;
        bool codeBackground = false;
        bool operator==(const Style&) const = default;
    };

    // Colours document now and after every change of its text.
    MarkdownSyntaxHighlighter(QTextDocument* document, const HighlightConfig& config);
    ~MarkdownSyntaxHighlighter() override;

    const HighlightConfig& config() const { return m_config; }
    // Recolours the whole document when the configuration differs.
    void setConfig(const HighlightConfig& config);

    // Recolours the whole document. Use this rather than rehighlight(), which
    // wraps the work in an edit block and so announces a change of contents
    // (textChanged of the editor) although the text stays the same.
    void recolourAll();

    // Gives the document its first text through `load` (a setPlainText)
    // without colouring it on the spot, which takes long for a large text:
    // every line's fence state is found in one quick pass, the first lines
    // are coloured at once and the rest a slice of a few milliseconds at a
    // time from the event loop. Edits meanwhile are coloured as always, and
    // the end result is the same as colouring the whole text at once.
    // `loaded`, the text `load` gives, spares a copy of the document's.
    void loadProgressively(const std::function<void()>& load, QStringView loaded = {});
    // Whether lines are still waiting for the slices.
    bool isColouringProgressively() const { return !m_unreached.isNull(); }
    // Colours the lines touching positions from..to now when the slices have
    // not reached them yet (lines scrolled into view).
    void colourNow(int from, int to);

    // The format a style is drawn with under the current configuration.
    const QTextCharFormat& format(Style style) const;

protected:
    void highlightBlock(const QString& text) override;

private:
    void buildFormats();
    void storeFenceStates(QStringView loaded);
    bool storeFenceStatesOf(QStringView text);
    void colourNextSlice();
    // Colouring without the base class: the formats set straight on the
    // block's layout, the layout told once for a run of blocks. Whether the
    // block's formats changed.
    bool colourBlockQuietly(QTextBlock block);
    // The formats of a line's runs of style, as apply(start, length, format).
    template <typename Apply>
    void forEachFormat(const std::vector<Style>& styles, qsizetype length, Apply apply) const;
    // The colouring after an edit.
    void reformat(int from, int charsRemoved, int charsAdded);
    QTextBlock colourBlocksQuietly(QTextBlock block,
                                   const std::function<bool(const QTextBlock&, int)>& more);
    void stopProgressiveColouring();

    HighlightConfig m_config;
    std::array<QTextCharFormat, 3 * 4 * 2> m_formats;
    // The start of the first line the slices have not coloured; null when
    // every line is coloured. A cursor, so edits move it along.
    QTextCursor m_unreached;
    QTimer m_sliceTimer;
};
