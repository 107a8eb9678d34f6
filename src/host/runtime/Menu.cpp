#include "runtime/Menu.h"

#include "runtime/DoEvents.h"

#include <QCursor>
#include <QMenu>

namespace runtime {

namespace {

PopupMenuHook &hook()
{
    static PopupMenuHook installed;
    return installed;
}

}

Menu::Menu(QWidget *container, const QString &name, const QString &caption, int index)
    : Control(container, name, index), m_caption(caption)
{
    QWidget::setVisible(false);
    resize(0, 0);
}

QList<Menu *> Menu::Items() const
{
    return findChildren<Menu *>(Qt::FindDirectChildrenOnly);
}

Menu *PopupMenu(Menu *menu)
{
    if (!menu)
        return nullptr;
    QPointer<Menu> chosen;
    if (hook()) {
        chosen = hook()(menu);
    } else {
        QMenu popup;
        for (Menu *item : menu->Items()) {
            if (item->IsSeparator()) {
                popup.addSeparator();
                continue;
            }
            QAction *action = popup.addAction(item->Caption());
            action->setObjectName(item->Name());
            QObject::connect(action, &QAction::triggered, item, [&chosen, item] { chosen = item; });
        }
        YieldScope scope;
        popup.exec(QCursor::pos());
    }
    if (chosen)
        emit chosen->Click();
    return chosen;
}

PopupMenuHook SetPopupMenuHook(PopupMenuHook replacement)
{
    return std::exchange(hook(), std::move(replacement));
}

} // namespace runtime
