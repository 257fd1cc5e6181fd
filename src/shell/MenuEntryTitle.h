#pragma once

#include <QString>

// A file's name as a menu entry shows it.
namespace MenuEntryTitle {

// Longer titles lose their middle, so the menu stays on the screen.
inline constexpr int maximumLength = 60;

// The title shortened to maximumLength, with "&" kept as a character rather
// than a mnemonic.
QString of(QString title);

} // namespace MenuEntryTitle
