#pragma once

#include "runtime/Control.h"

#include <functional>

namespace runtime {

// A menu of a form's menu design: a top-level menu holds its items (Menu controls whose container
// is that menu); an item with the caption "-" is a separator line. Menus never show on the form
// itself: a top-level menu is shown only by PopupMenu. An item's Click runs its command.
class Menu : public Control {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)

public:
    Menu(QWidget *container, const QString &name, const QString &caption, int index = -1);

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption) { m_caption = caption; }
    bool IsSeparator() const { return m_caption == QLatin1String("-"); }
    // The items in creation order.
    QList<Menu *> Items() const;

signals:
    void Click();

private:
    QString m_caption;
};

// Pops the items of `menu` up at the mouse position and waits until the user has chosen one or
// dismissed it (the message loop runs meanwhile); the chosen item's Click runs after the menu has
// closed. Answers the chosen item, or nullptr.
Menu *PopupMenu(Menu *menu);

// Replaces the pop-up by a function that answers the item to choose (tests); an empty function
// restores the real menu. Answers the hook installed before.
using PopupMenuHook = std::function<Menu *(Menu *menu)>;
PopupMenuHook SetPopupMenuHook(PopupMenuHook hook);

} // namespace runtime
