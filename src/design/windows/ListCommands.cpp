#include "windows/ListCommands.h"

#include "components/SuiteListView.h"
#include "core/ModHardware.h"
#include "core/ModMain.h"
#include "core/ModServer.h"
#include "runtime/Clipboard.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Keys.h"
#include "runtime/Menu.h"
#include "runtime/MsgBox.h"
#include "windows/FrmLookup.h"
#include "windows/FrmMenu.h"

#include <QPointer>

namespace ListCommands {

QString RowText(const SuiteListItem *item, int lastSubItem)
{
    if (!item)
        return {};
    QString text = item->Text();
    for (int i = 1; i <= lastSubItem; ++i)
        text += QLatin1Char(',') + item->SubItems(i);
    return text;
}

QString WholeListText(SuiteListView *list, int columns, const std::function<bool()> &yield)
{
    const QPointer<SuiteListView> guard(list);
    const auto goOn = [&] { return (!yield || yield()) && guard; };
    QString text;
    for (int column = 1; column <= columns; ++column) {
        const auto header = list->ColumnHeaders().Item(column);
        if (column > 1)
            text += QLatin1Char(',');
        if (header)
            text += header->Text().trimmed();
        if (!goOn())
            return text;
    }
    text += QLatin1String("\r\n");
    if (!goOn())
        return text;
    const int rows = list->ListItems().Count();
    for (int row = 1; row <= rows; ++row) {
        const SuiteListItem *item = list->ListItems().Item(row);
        if (!item)
            continue;
        text += item->Text();
        if (!goOn())
            return text;
        for (int sub = 1; sub < columns; ++sub) {
            item = list->ListItems().Item(row);
            if (!item)
                break;
            text += QLatin1Char(',') + item->SubItems(sub);
            if (!goOn())
                return text;
        }
        text += QLatin1String("\r\n");
        if (!goOn())
            return text;
    }
    return text;
}

QString FirstHardwareId(const QString &ids)
{
    const QString first = ids.section(QLatin1Char('|'), 0, 0);
    return first.isEmpty() ? ids : first;
}

QString DriverSearchQuery(const QString &searchText)
{
    QString query = searchText;
    query.replace(QLatin1Char('&'), QLatin1String("%26"));
    return ModServer::SearchPage() + QStringLiteral("?q=") + query + QStringLiteral(" Driver");
}

void CopyToClipboard(const QString &text)
{
    runtime::Clipboard::Clear();
    runtime::Clipboard::SetText(text);
}

void RemoveSelectedRow(SuiteListView *list)
{
    const QPointer<SuiteListView> guard(list);
    SuiteListItem *selected = list ? list->SelectedItem() : nullptr;
    if (!selected)
        return;
    list->ListItems().Remove(selected->Index());
    if (!runtime::DoEventsStillLoaded(guard))
        return;
    SuiteListItem *next = guard->SelectedItem();
    if (next)
        next->EnsureVisible();
    if (!runtime::DoEventsStillLoaded(guard))
        return;
    if ((next = guard->SelectedItem()))
        next->setSelected(true);
    runtime::DoEvents();
}

void SortByColumnClick(SuiteListView *list, int index)
{
    const QPointer<SuiteListView> guard(list);
    list->setSortActive(false);
    if (!runtime::DoEventsStillLoaded(guard))
        return;
    if (guard->SortColumn() == index - 1)
        guard->setSortDirection(guard->SortDirection() == 0 ? 1 : 0);
    else
        guard->setSortDirection(0);
    guard->setSortColumn(index - 1);
    if (!runtime::DoEventsStillLoaded(guard))
        return;
    guard->setSortActive(true);
    runtime::DoEvents();
}

void PopupListMenu(SuiteListView *list, int button, runtime::Menu *FrmMenu::*menu, runtime::Form *target)
{
    if (button != runtime::vbRightButton)
        return;
    if (list->ListItems().Count() == 0) {
        runtime::MsgBox(QStringLiteral("The List Is Empty."), runtime::vbOKOnly);
        return;
    }
    if (target) {
        ModMain::SetMenuTarget(target);
        if (!runtime::DoEventsStillLoaded(target))
            return;
    }
    runtime::PopupMenu(runtime::Forms::Get<FrmMenu>()->*menu);
}

void OpenLookup(SuiteListView *list)
{
    const SuiteListItem *selected = list ? list->SelectedItem() : nullptr;
    const QString name = selected ? selected->Text() : QString();
    QString ids = selected ? selected->SubItems(ModHardware::HardwareIdsColumn) : QString();
    ids.replace(QLatin1Char('|'), QLatin1String("\r\n"));

    auto *lookup = new FrmLookup();
    const QPointer<FrmLookup> guard(lookup);
    lookup->Show();
    if (!guard || !guard->IsLoaded())
        return;
    if (selected) {
        guard->setCaption(name);
        guard->SetDevice(name, ids);
    }
    if (!runtime::DoEventsStillLoaded(guard))
        return;
    guard->SetFocus();
    guard->StartLookup();
}

} // namespace ListCommands
