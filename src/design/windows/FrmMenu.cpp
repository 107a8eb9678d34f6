#include "windows/FrmMenu.h"

#include "components/SuiteListView.h"
#include "core/ModHardware.h"
#include "core/ModMain.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/OpenDocument.h"
#include "windows/FrmMain.h"
#include "windows/ListCommands.h"

#include <QPointer>

namespace {

// What a command does, on the selected row of its target list. For cells: the sub-item (0 the
// row text). For rows and whole lists: how many columns are copied. For searches: the sub-item
// holding the IDs (0 searches by name).
enum class Action { Cell, Row, Whole, Search, Lookup, Remove, Separator };

SuiteListView *LookupTarget() { return FrmMenu::TargetList(QStringLiteral("LabelListViewHardware")); }
SuiteListView *ImproveTarget() { return FrmMenu::TargetList(QStringLiteral("ListViewHardware")); }

}

struct FrmMenu::Command {
    const char *name;
    const char *caption;
    Action action;
    int argument = 0;
};

FrmMenu::FrmMenu() : runtime::Form(QStringLiteral("FrmMenu"))
{
    using enum ModHardware::DeviceColumn;
    MenuMain = AddMenu(QStringLiteral("MenuMain"), QStringLiteral("MainList"));
    AddItems(MenuMain, &FrmMenu::MainTarget,
             {{"MenuMainLookup", "Lookup Selected Device In Database", Action::Lookup},
              {"MenuMainLine1", "-", Action::Separator},
              {"MenuMainSearchGoogle", "Search Google For Drivers (By Name)", Action::Search, NameColumn},
              {"MenuMainSearchGoogleID", "Search Google For Drivers (By Hardware IDs)", Action::Search, HardwareIdsColumn},
              {"MenuMainLine2", "-", Action::Separator},
              {"MenuMainCopyWhole", "Copy Whole List", Action::Whole, DeviceColumnCount},
              {"MenuMainCopyRow", "Copy Selected Row", Action::Row, HardwareIdsColumn},
              {"MenuMainCopyName", "Copy Selected Name", Action::Cell, NameColumn},
              {"MenuMainCopyManufacturer", "Copy Selected Manufacturer", Action::Cell, ManufacturerColumn},
              {"MenuMainCopyError", "Copy Selected Error Code", Action::Cell, ErrorCodeColumn},
              {"MenuMainCopyClass", "Copy Selected Class", Action::Cell, ClassColumn},
              {"MenuMainCopyDriverVersion", "Copy Selected Driver Version", Action::Cell, DriverVersionColumn},
              {"MenuMainCopyID", "Copy Selected Hardware IDs", Action::Cell, HardwareIdsColumn},
              {"MenuMainLine3", "-", Action::Separator},
              {"MenuMainRemoveDevice", "Remove Selected Device From List (Delete Key)", Action::Remove}});

    MenuLookup = AddMenu(QStringLiteral("MenuLookup"), QStringLiteral("MainLookup"));
    AddItems(MenuLookup, &LookupTarget,
             {{"MenuLookupSearchGoogle", "Search Google For Drivers (By Name)", Action::Search, ListCommands::IdNameColumn},
              {"MenuLookupSearchGoogleID", "Search Google For Drivers (By Hardware IDs)", Action::Search, ListCommands::IdHardwareIdColumn},
              {"MenuLookupLine1", "-", Action::Separator},
              {"MenuLookupCopyWhole", "Copy Whole List", Action::Whole, ListCommands::IdListColumnCount},
              {"MenuLookupCopyRow", "Copy Selected Row", Action::Row, ListCommands::IdHardwareIdColumn},
              {"MenuLookupCopyName", "Copy Selected Name", Action::Cell, ListCommands::IdNameColumn},
              {"MenuLookupCopyManufacturer", "Copy Selected Manufacturer", Action::Cell, ListCommands::IdManufacturerColumn},
              {"MenuLookupCopyID", "Copy Selected Hardware IDs", Action::Cell, ListCommands::IdHardwareIdColumn},
              {"MenuLookupLine2", "-", Action::Separator},
              {"MenuLookupRemoveDevice", "Remove Selected Device From List (Delete Key)", Action::Remove}});

    MenuImprove = AddMenu(QStringLiteral("MenuImprove"), QStringLiteral("MainImprove"));
    AddItems(MenuImprove, &ImproveTarget,
             {{"MenuImproveCopyWhole", "Copy Whole List", Action::Whole, ListCommands::IdListColumnCount},
              {"MenuImproveCopyRow", "Copy Selected Row", Action::Row, ListCommands::IdHardwareIdColumn},
              {"MenuImproveCopyName", "Copy Selected Name", Action::Cell, ListCommands::IdNameColumn},
              {"MenuImproveCopyManufacturer", "Copy Selected Manufacturer", Action::Cell, ListCommands::IdManufacturerColumn},
              {"MenuImproveCopyID", "Copy Selected Hardware IDs", Action::Cell, ListCommands::IdHardwareIdColumn},
              {"MenuImproveLine2", "-", Action::Separator},
              {"MenuImproveRemoveDevice", "Remove Selected Device From List (Delete Key)", Action::Remove}});
}

runtime::Menu *FrmMenu::AddMenu(const QString &name, const QString &caption)
{
    return new runtime::Menu(this, name, caption);
}

void FrmMenu::AddItems(runtime::Menu *menu, SuiteListView *(*target)(), const QList<Command> &commands)
{
    for (const Command &command : commands) {
        auto *item = new runtime::Menu(menu, QString::fromLatin1(command.name), QString::fromLatin1(command.caption));
        if (command.action == Action::Separator)
            continue;
        // The target is found once, when the command starts.
        connect(item, &runtime::Menu::Click, this, [this, target, command] {
            SuiteListView *list = target();
            switch (command.action) {
            case Action::Cell: CopyCell(list, command.argument); break;
            case Action::Row: CopyRow(list, command.argument); break;
            case Action::Whole: CopyWhole(list, command.argument); break;
            case Action::Search: Search(list, command.argument); break;
            case Action::Lookup: ListCommands::OpenLookup(list); break;
            case Action::Remove: ListCommands::RemoveSelectedRow(list); break;
            case Action::Separator: break;
            }
        });
    }
}

SuiteListView *FrmMenu::MainTarget()
{
    for (runtime::Form *form : runtime::Forms::All()) {
        if (auto *main = qobject_cast<FrmMain *>(form))
            return main->SelectedList();
    }
    return nullptr;
}

SuiteListView *FrmMenu::TargetList(const QString &listName)
{
    auto *form = qobject_cast<runtime::Form *>(ModMain::MenuTargetForm.data());
    if (!form || !form->IsLoaded())
        return nullptr;
    return qobject_cast<SuiteListView *>(form->findControl(listName));
}

void FrmMenu::CopyCell(SuiteListView *list, int subItem)
{
    const SuiteListItem *item = list ? list->SelectedItem() : nullptr;
    QString text;
    if (item)
        text = subItem == 0 ? item->Text() : item->SubItems(subItem);
    if (!runtime::DoEventsStillLoaded(this))
        return;
    ListCommands::CopyToClipboard(text);
}

void FrmMenu::CopyRow(SuiteListView *list, int lastSubItem)
{
    const QString text = ListCommands::RowText(list ? list->SelectedItem() : nullptr, lastSubItem);
    if (!runtime::DoEventsStillLoaded(this))
        return;
    ListCommands::CopyToClipboard(text);
}

void FrmMenu::CopyWhole(SuiteListView *list, int columns)
{
    QString text;
    if (list) {
        bool stillLoaded = true;
        text = ListCommands::WholeListText(list, columns, [this, &stillLoaded] {
            return stillLoaded = runtime::DoEventsStillLoaded(this);
        });
        if (!stillLoaded)
            return;
    }
    if (!runtime::DoEventsStillLoaded(this))
        return;
    ListCommands::CopyToClipboard(text);
}

void FrmMenu::Search(SuiteListView *list, int idSubItem)
{
    const SuiteListItem *item = list ? list->SelectedItem() : nullptr;
    QString text;
    if (item)
        text = idSubItem == 0 ? item->Text() : ListCommands::FirstHardwareId(item->SubItems(idSubItem));
    const QString address = ListCommands::DriverSearchQuery(text);
    if (!runtime::DoEventsStillLoaded(this))
        return;
    runtime::OpenDocument(address, this);
    runtime::DoEvents();
}
