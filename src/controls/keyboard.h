#pragma once

class QAction;
class QEvent;
class QToolButton;
class QWidget;

namespace kav {

// The desktop's keys where a widget has none of its own.

// A button with a drop-down menu opens it as a combo box opens its list: by Alt+Down, Alt+Up, F4
// or the Menu key while the button has the focus. Its own click stays on Space.
void openMenuByKeys(QToolButton& button);

// The copy keys (Ctrl+C, Ctrl+Insert) run a table's copy action while the table or a control in
// it has the focus; the menus that hold the action show the keys.
void copyByKeys(QAction& copy, QWidget& table);

// A button that shows an action's text and works it, by its underlined letter (Alt+C) too,
// which a tool button given the action alone would drop.
QToolButton* textButtonFor(QAction& action, QWidget* parent);

// Shift+F10 asks the focused widget for its context menu, as the Menu key does: true when the
// event was that key, which is then used up. For an application-wide event filter.
bool openContextMenuByKeys(QEvent* event);

} // namespace kav
