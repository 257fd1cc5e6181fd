#pragma once

#include "shell/CommandPaletteAction.h"

#include <QImage>
#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>
#include <functional>

class CommandPaletteList;
class PopoverFrame;
class QLabel;
class QLineEdit;
class SymbolLabel;

// The command palette over a window's content: a dimmed layer with a panel
// 100 pixels below the top, a query field above the rows that match it. It
// knows nothing of documents: it shows the actions its source gives, keeps a
// highlighted row (the first after every edit of the query), and runs the
// chosen action on a later turn of the event loop, after asking to be closed.
//
// A child of the content it covers, never a window of its own. It fades in
// when made, takes the keyboard focus, and on dismiss() gives the focus back
// to the widget that had it and fades out before it deletes itself. Up and
// Down move the highlight, wrapping round; Return runs it; a click runs a
// row; a click on the dimmed layer asks to close. Escape is the window's:
// its Escape dispatcher closes the palette.
class CommandPaletteView : public QWidget {
    Q_OBJECT
public:
    using ActionSource = std::function<QList<CommandPaletteAction>()>;

    static constexpr int panelWidth = 480;
    static constexpr int panelTop = 100;
    static constexpr int fadeMs = 150;
    static constexpr double backdropOpacity = 0.22;

    CommandPaletteView(ActionSource source, QWidget* content);

    // Asks the source again (the window's state changed); the query and the
    // highlight stay.
    void refresh();
    // Hands the keyboard back, stops taking input and fades out.
    void dismiss();
    bool isDismissed() const { return m_dismissed; }

    QString query() const;
    const QList<CommandPaletteAction>& filteredActions() const { return m_filtered; }
    // May lie outside the filtered list: then nothing is highlighted.
    int selectedIndex() const { return m_selected; }
    void moveSelection(int step);
    // Runs the highlighted action; nothing without one.
    void activateSelected();

    QLineEdit* field() const { return m_field; }
    PopoverFrame* panel() const { return m_panel; }
    CommandPaletteList* list() const { return m_list; }
    // "No matching commands", shown in place of the rows.
    QLabel* emptyLabel() const { return m_empty; }
    // 0 hidden, 1 fully shown.
    double opacity() const;

Q_SIGNALS:
    // The palette wants to close: its host calls dismiss().
    void dismissRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void queryEdited();
    void perform(const CommandPaletteAction& action);
    void showRows();
    void placePanel();
    void restyle();
    void retranslate();
    void fadeTo(double opacity);
    void fadeFinished();

    ActionSource m_source;
    QList<CommandPaletteAction> m_actions;
    QList<CommandPaletteAction> m_filtered;
    int m_selected = 0;
    bool m_dismissed = false;

    PopoverFrame* m_panel = nullptr;
    QWidget* m_body = nullptr;
    SymbolLabel* m_icon = nullptr;
    QLineEdit* m_field = nullptr;
    QWidget* m_divider = nullptr;
    CommandPaletteList* m_list = nullptr;
    QLabel* m_empty = nullptr;
    QImage m_shadow; // of the panel at its size
    QPointer<QWidget> m_restoreFocus;
    QVariantAnimation m_fade;
};
