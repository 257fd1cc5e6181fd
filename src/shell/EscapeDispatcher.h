#pragma once

#include <QObject>
#include <array>
#include <functional>

class QShortcut;
class QWidget;

// The one owner of Escape in a window. Each stage says whether it took the
// key; the first that does ends the dispatch, in this order.
class EscapeDispatcher : public QObject {
    Q_OBJECT
public:
    enum class Stage { SlashMenu, LinkField, Tour, CommandPalette, FindBar, FocusMode, Count };

    explicit EscapeDispatcher(QWidget* window);

    // Replaces the stage's handler; an empty function removes it.
    void setHandler(Stage stage, std::function<bool()> handler);
    // True when some stage took the key.
    bool dispatch();

private:
    std::array<std::function<bool()>, size_t(Stage::Count)> m_handlers;
    QShortcut* m_shortcut = nullptr;
};
