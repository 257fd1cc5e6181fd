#pragma once

#include "core/DesignSystem.h"

#include <QAbstractButton>
#include <QVariantAnimation>
#include <QWidget>

class CodeLinesView;
class HorizontalPassThroughScrollView;
class QLabel;
class SelectableTextView;
struct StyledText;

// The copy button of a code card: the copy symbol, or "Copied" for a second
// after a click; accent while copied, text colour under the pointer, muted
// otherwise. The symbol and the word crossfade.
class CodeCopyButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int copiedMs = 1000;
    static constexpr int changeMs = 150;

    CodeCopyButton(const DesignSystem& design, QWidget* parent = nullptr);

    bool isShowingCopied() const { return m_copied; }
    bool isHovered() const { return m_hovered; }
    QColor currentColour() const;
    // Shows "Copied" and goes back to the symbol a second later.
    void showCopied();
    // How far the word has replaced the symbol: 0 the symbol, 1 "Copied".
    double shownCopied() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void changeEvent(QEvent*) override;

private:
    QFont copiedFont() const;
    QColor symbolColour() const;
    void setCopied(bool copied);

    DesignSystem m_design;
    bool m_copied = false;
    bool m_hovered = false;
    QVariantAnimation m_change;
};

// A fenced or indented code block: a rounded card with, for a tagged block,
// a header of the language and a copy button, and the coloured code below,
// never wrapped, scrolling sideways inside the card. Code is coloured off the
// UI thread: until its colours come, it shows plain, at the same height. Code
// of more than chunkedLines lines or chunkedSize characters is drawn a chunk
// at a time, so that neither showing it nor its colours coming lays out more
// than shows.
class CodeBlockView : public QWidget {
    Q_OBJECT
public:
    // language: the one the block's info string names (empty for none).
    CodeBlockView(const QString& code, const QString& language, const DesignSystem& design,
                  QWidget* parent = nullptr);
    // The code area's least height: one line of the 13-pixel code font per line
    // of code (a final line feed starts one more) plus 16 of padding.
    static int minimumBodyHeight(const QString& code);
    static bool drawsInChunks(const QString& code);
    static constexpr int chunkedLines = 2000;
    static constexpr qsizetype chunkedSize = 16 * 1024;
    static constexpr int cornerRadius = 10;
    static constexpr int textPadding = 8;

    QString code() const { return m_code; }
    QString language() const { return m_language; }
    QLabel* languageLabel() const { return m_languageLabel; }
    CodeCopyButton* copyButton() const { return m_copyButton; }
    // The code's view: one or the other.
    SelectableTextView* codeView() const { return m_codeView; }
    CodeLinesView* linesView() const { return m_linesView; }
    HorizontalPassThroughScrollView* scrollView() const { return m_scroll; }
    // The code shows plain while its colours are on their way.
    bool isWaitingForColours() const { return m_waitingForColours; }

    // Puts the code on the clipboard and shows "Copied".
    void copyCode();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    // Shows the code coloured if its colours are known, else plain and asks
    // for them.
    void showColoured();
    void showCode(const StyledText& styled);

    QString m_code;
    DesignSystem m_design;
    QLabel* m_languageLabel = nullptr;
    CodeCopyButton* m_copyButton = nullptr;
    SelectableTextView* m_codeView = nullptr;
    CodeLinesView* m_linesView = nullptr;
    QString m_language;
    HorizontalPassThroughScrollView* m_scroll = nullptr;
    bool m_waitingForColours = false;
};
