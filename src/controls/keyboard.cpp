#include "controls/keyboard.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QToolButton>

namespace kav {

namespace {

class MenuKeys : public QObject {
public:
    explicit MenuKeys(QToolButton& button)
        : QObject(&button)
        , m_button(button)
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &m_button || event->type() != QEvent::KeyPress || !m_button.menu())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        const bool opens = ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) && modifiers == Qt::AltModifier)
            || ((key->key() == Qt::Key_F4 || key->key() == Qt::Key_Menu) && modifiers == Qt::NoModifier);
        if (!opens)
            return false;
        m_button.showMenu();
        return true;
    }

private:
    QToolButton& m_button;
};

} // namespace

void openMenuByKeys(QToolButton& button)
{
    button.installEventFilter(new MenuKeys(button));
}

void copyByKeys(QAction& copy, QWidget& table)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Copy);
    const QKeySequence controlInsert(Qt::CTRL | Qt::Key_Insert);
    if (!keys.contains(controlInsert))
        keys << controlInsert;
    copy.setShortcuts(keys);
    copy.setShortcutContext(Qt::WidgetWithChildrenShortcut);
    table.addAction(&copy);
}

QToolButton* textButtonFor(QAction& action, QWidget* parent)
{
    // A tool button shows the action's icon text, which is its text without the letter's mark
    // unless set.
    action.setIconText(action.text());
    auto* button = new QToolButton(parent);
    button->setDefaultAction(&action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

bool openContextMenuByKeys(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F10 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::ShiftModifier)
        return false;
    QWidget* focused = QApplication::focusWidget();
    if (!focused || !focused->isEnabled())
        return false;
    // Where the Menu key puts it: at the text cursor of a field, otherwise at the widget's corner.
    const QRect cursor = focused->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QPoint pos = cursor.isValid() ? cursor.center() : QPoint(0, 0);
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, pos, focused->mapToGlobal(pos), key->modifiers());
    QApplication::sendEvent(focused, &menu);
    return true;
}

} // namespace kav
