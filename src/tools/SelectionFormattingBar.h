#pragma once

#include "editor/EditorTheme.h"

#include <QColor>
#include <QWidget>
#include <functional>
#include <optional>

class FormatIconButton;
class QLineEdit;
class QMenu;
class QVariantAnimation;

// The bar over a selection: the formatting row (heading and list menus, bold,
// italic, strikethrough, code, link) and, in its place, the link row for
// typing an address. It shows the state it is given and reports choices
// through its signals; the controller applies them to the text.
//
// Nothing in it takes keyboard focus but the address field, which gets it
// while the link row shows. Switching rows resizes the bar in a short
// animation; sizeHint() follows it and wantedSizeChanged() reports each step.
class SelectionFormattingBar : public QWidget {
    Q_OBJECT
public:
    struct Colors {
        QColor text;
        QColor muted;
        QColor accent;
        QColor divider;
        QColor hoverBackground;

        // The editor theme's colours, or the platform palette's without one.
        static Colors from(const std::optional<EditorTheme>& theme, const QPalette& system);
        bool operator==(const Colors&) const = default;
    };

    // The selection as the bar shows it.
    struct State {
        bool isBoldActive = false;
        bool isItalicActive = false;
        bool isStrikethroughActive = false;
        bool isCodeActive = false;
        int activeHeadingLevel = 0; // 0: the first selected line is no heading
        bool operator==(const State&) const = default;
    };

    enum class Command { Bold, Italic, Strikethrough, Code, BulletList, NumberedList, TaskList };

    static constexpr int switchDuration = 160; // ms
    static constexpr int addressFieldWidth = 190;

    explicit SelectionFormattingBar(QWidget* parent = nullptr);
    ~SelectionFormattingBar() override;

    void setColors(const Colors& colors);
    const Colors& colors() const { return m_colors; }
    void setState(const State& state);
    const State& state() const { return m_state; }
    // Where an address comes from when the link row opens on an empty field.
    void setUrlGuess(std::function<QString()> guess) { m_urlGuess = std::move(guess); }

    bool isEnteringLink() const { return m_enteringLink; }
    void showLinkRow();
    void showFormattingRow();
    // The formatting row and an empty address, at once.
    void reset();

    // The address trimmed of white space is not empty.
    bool canConfirmLink() const;

    QSize sizeHint() const override { return m_size; }
    QSize minimumSizeHint() const override { return m_size; }

    FormatIconButton* headingButton() const { return m_heading; }
    FormatIconButton* listButton() const { return m_list; }
    // Bold, italic, strikethrough or code.
    FormatIconButton* markerButton(Command command) const;
    FormatIconButton* linkButton() const { return m_link; }
    FormatIconButton* backButton() const { return m_back; }
    FormatIconButton* confirmButton() const { return m_confirm; }
    QMenu* headingMenu() const { return m_headingMenu; }
    QMenu* listMenu() const { return m_listMenu; }
    QLineEdit* addressField() const { return m_field; }

Q_SIGNALS:
    // 1 to 3, or 0 for Normal Text.
    void headingChosen(int level);
    void commandChosen(SelectionFormattingBar::Command command);
    // The address, trimmed.
    void linkConfirmed(const QString& url);
    // Just before the link row goes, while the address field may still hold
    // the focus.
    void leavingLinkRow();
    void wantedSizeChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* makeFormattingRow();
    QWidget* makeLinkRow();
    void retranslate();
    void rebuildHeadingMenu();
    void restyle();
    void updateConfirm();
    void submit();
    void switchRow(bool link, bool animated);
    void placeRows();
    void setWantedSize(const QSize& size);

    Colors m_colors;
    State m_state;
    std::function<QString()> m_urlGuess;
    bool m_enteringLink = false;
    QSize m_size;
    QSize m_switchFrom;

    QWidget* m_formattingRow = nullptr;
    QWidget* m_linkRow = nullptr;
    FormatIconButton* m_heading = nullptr;
    FormatIconButton* m_list = nullptr;
    FormatIconButton* m_bold = nullptr;
    FormatIconButton* m_italic = nullptr;
    FormatIconButton* m_strikethrough = nullptr;
    FormatIconButton* m_code = nullptr;
    FormatIconButton* m_link = nullptr;
    FormatIconButton* m_back = nullptr;
    FormatIconButton* m_confirm = nullptr;
    QList<QWidget*> m_dividers;
    QMenu* m_headingMenu = nullptr;
    QMenu* m_listMenu = nullptr;
    QLineEdit* m_field = nullptr;
    QVariantAnimation* m_switch = nullptr;
};
