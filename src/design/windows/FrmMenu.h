#pragma once

#include "runtime/Form.h"
#include "runtime/Menu.h"

class SuiteListView;

// The hidden window that owns the three context menus of the lists: MenuMain for the main
// window's device lists, MenuLookup for a lookup window's list and MenuImprove for the improve
// window's list. Each command acts on the selected row of its menu's target list.
class FrmMenu : public runtime::Form {
    Q_OBJECT

public:
    FrmMenu();

    runtime::Menu *MenuMain = nullptr;
    runtime::Menu *MenuLookup = nullptr;
    runtime::Menu *MenuImprove = nullptr;

    // The lists the commands act on: the main window's list of the selected tab page, and the
    // named list of the window in MenuTargetForm.
    static SuiteListView *MainTarget();
    static SuiteListView *TargetList(const QString &listName);

private:
    struct Command;
    runtime::Menu *AddMenu(const QString &name, const QString &caption);
    void AddItems(runtime::Menu *menu, SuiteListView *(*target)(), const QList<Command> &commands);

    void CopyCell(SuiteListView *list, int subItem);
    void CopyRow(SuiteListView *list, int lastSubItem);
    void CopyWhole(SuiteListView *list, int columns);
    void Search(SuiteListView *list, int idSubItem);
};
