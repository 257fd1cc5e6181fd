#include "editor/MenuAppearance.h"

#include "platform/Symbols.h"

#include <QMenu>

namespace {

QColor menuText(bool dark) {
    return dark ? QColor(0xEE, 0xEE, 0xF0) : QColor(0x1D, 0x1D, 0x1F);
}

} // namespace

QPalette MenuAppearance::palette(const EditorTheme& theme) {
    const bool dark = isDarkTheme(theme);
    const QColor surface = dark ? QColor(0x2C, 0x2C, 0x2F) : QColor(0xF7, 0xF7, 0xF7);
    const QColor text = menuText(dark);
    const QColor disabled = dark ? QColor(0x7A, 0x7A, 0x80) : QColor(0xA0, 0xA0, 0xA4);
    QPalette p;
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        p.setColor(role, surface);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(role, text);
        p.setColor(QPalette::Disabled, role, disabled);
    }
    p.setColor(QPalette::Highlight, theme.accent);
    p.setColor(QPalette::HighlightedText, dark ? QColor(Qt::black) : QColor(Qt::white));
    p.setColor(QPalette::Mid, dark ? QColor(0x48, 0x48, 0x4C) : QColor(0xD8, 0xD8, 0xDA));
    return p;
}

void MenuAppearance::apply(QMenu* menu, const EditorTheme& theme) {
    menu->setPalette(palette(theme));
}

QIcon MenuAppearance::symbol(const QString& name, const EditorTheme& theme) {
    return Symbols::icon(name, menuText(isDarkTheme(theme)));
}
