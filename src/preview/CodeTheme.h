#pragma once

#include <QColor>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>
#include <vector>

// A highlight.js stylesheet turned into character formats: which colour,
// slant, weight and underline the text inside a stack of "hljs-*" spans gets.
// A theme remembers the formats it made, so one is used by one thread.
class CodeTheme {
public:
    // Parses the CSS of a highlight.js theme ("atom-one-light.css" ...).
    static CodeTheme fromCss(const QString& css);
    // The installed theme of that name ("atom-one-light", "atom-one-dark");
    // an empty theme (no colours) when the file cannot be read.
    static CodeTheme load(const QString& name);

    QColor foreground() const { return m_foreground; }
    QColor background() const { return m_background; }
    // The format of text inside the given spans, outermost first; each entry
    // is the class list of one span. The same spans give the same shared
    // format, so the many runs of coloured code hold one copy of each.
    QTextCharFormat format(const std::vector<QStringList>& spans) const;

private:
    struct Declarations {
        QColor color;
        int italic = -1; // -1: not set, 0: normal, 1: italic
        int bold = -1;
        int underline = -1;
        // Takes every property the other one sets.
        void overlay(const Declarations& other);
    };
    struct Rule {
        QStringList selector; // classes, ancestor first
        int order = 0;
        Declarations declarations;
    };
    Declarations declared(const std::vector<QStringList>& spans, size_t depth) const;
    QTextCharFormat resolved(const std::vector<QStringList>& spans) const;

    QColor m_foreground;
    QColor m_background;
    std::vector<Rule> m_rules;                         // by specificity, then source order
    mutable QHash<QString, QTextCharFormat> m_formats; // by the spans' classes
};
