#include "preview/CodeTheme.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>

namespace {

const QString stylesDir = QStringLiteral("/usr/share/javascript/highlight.js/styles/");

QColor cssColor(const QString& value) {
    QColor c(value.trimmed());
    return c.isValid() ? c : QColor();
}

} // namespace

CodeTheme CodeTheme::fromCss(const QString& source) {
    CodeTheme theme;
    QString css = source;
    css.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"),
                                  QRegularExpression::DotMatchesEverythingOption));
    int order = 0;
    for (const QString& block : css.split(u'}')) {
        const qsizetype brace = block.indexOf(u'{');
        if (brace < 0)
            continue;
        Declarations d;
        for (const QString& declaration : block.mid(brace + 1).split(u';')) {
            const qsizetype colon = declaration.indexOf(u':');
            if (colon < 0)
                continue;
            const QString property = declaration.left(colon).trimmed().toLower();
            const QString value = declaration.mid(colon + 1).trimmed().toLower();
            if (property == QLatin1String("color"))
                d.color = cssColor(value);
            else if (property == QLatin1String("font-style"))
                d.italic = value == QLatin1String("italic") ? 1 : 0;
            else if (property == QLatin1String("font-weight"))
                d.bold = (value == QLatin1String("bold") || value.toInt() >= 600) ? 1 : 0;
            else if (property == QLatin1String("text-decoration"))
                d.underline = value.contains(QLatin1String("underline")) ? 1 : 0;
            else if (property == QLatin1String("background") ||
                     property == QLatin1String("background-color"))
                theme.m_background = cssColor(value);
        }
        for (const QString& selectorText : block.left(brace).split(u',')) {
            QStringList classes;
            for (const QString& part : selectorText.split(
                     QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
                if (part.startsWith(u'.'))
                    classes.append(part.mid(1));
            }
            if (classes.isEmpty())
                continue;
            if (classes == QStringList{QStringLiteral("hljs")}) {
                if (d.color.isValid())
                    theme.m_foreground = d.color;
                continue;
            }
            theme.m_rules.push_back({classes, order++, d});
        }
    }
    // Later rules win over earlier ones of the same specificity, as in CSS.
    std::stable_sort(theme.m_rules.begin(), theme.m_rules.end(), [](const Rule& a, const Rule& b) {
        if (a.selector.size() != b.selector.size())
            return a.selector.size() < b.selector.size();
        return a.order < b.order;
    });
    return theme;
}

CodeTheme CodeTheme::load(const QString& name) {
    QFile file(stylesDir + name + QStringLiteral(".css"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromCss(QString::fromLatin1(file.readAll()));
}

void CodeTheme::Declarations::overlay(const Declarations& d) {
    if (d.color.isValid())
        color = d.color;
    if (d.italic >= 0)
        italic = d.italic;
    if (d.bold >= 0)
        bold = d.bold;
    if (d.underline >= 0)
        underline = d.underline;
}

CodeTheme::Declarations CodeTheme::declared(const std::vector<QStringList>& spans,
                                            size_t depth) const {
    Declarations result;
    const QStringList& own = spans[depth];
    for (const Rule& rule : m_rules) {
        if (!own.contains(rule.selector.last()))
            continue;
        // Every earlier selector class must sit on some ancestor, in order.
        qsizetype wanted = rule.selector.size() - 2;
        for (size_t level = depth; level-- > 0 && wanted >= 0;) {
            if (spans[level].contains(rule.selector[wanted]))
                --wanted;
        }
        if (wanted >= 0)
            continue;
        result.overlay(rule.declarations);
    }
    return result;
}

QTextCharFormat CodeTheme::format(const std::vector<QStringList>& spans) const {
    QString key;
    for (const QStringList& classes : spans)
        key += classes.join(u' ') + u'/';
    const auto known = m_formats.constFind(key);
    if (known != m_formats.constEnd())
        return *known;
    return *m_formats.insert(key, resolved(spans));
}

QTextCharFormat CodeTheme::resolved(const std::vector<QStringList>& spans) const {
    // Inner spans override what they declare and inherit the rest.
    Declarations effective;
    for (size_t depth = 0; depth < spans.size(); ++depth)
        effective.overlay(declared(spans, depth));
    QTextCharFormat format;
    const QColor colour = effective.color.isValid() ? effective.color : m_foreground;
    if (colour.isValid())
        format.setForeground(colour);
    if (effective.italic == 1)
        format.setFontItalic(true);
    if (effective.bold == 1)
        format.setFontWeight(QFont::Bold);
    if (effective.underline == 1)
        format.setFontUnderline(true);
    return format;
}
