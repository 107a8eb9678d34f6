#pragma once

#include <QString>

#include <functional>

class FrmMenu;
class SuiteListItem;
class SuiteListView;

namespace runtime {
class Form;
class Menu;
}

// What the device, lookup and improve lists do alike: the clipboard texts of the copy commands,
// the web-search address, the Delete key, the column-click sort, the context menu and opening a
// lookup.
namespace ListCommands {

// The columns of the lookup and improve windows' lists (sub-item numbers) and how many of them the
// copy commands take; the lookup keeps its sort key by ID length in a hidden column after them.
enum IdListColumn { IdNameColumn, IdManufacturerColumn, IdHardwareIdColumn, IdListColumnCount, IdLengthKeyColumn = IdListColumnCount };

// A row: its text, then sub-items 1 to `lastSubItem`, joined with "," (no quoting, no line end).
QString RowText(const SuiteListItem *item, int lastSubItem);

// The whole list: the header captions (trimmed) of the first `columns` columns joined with ",",
// then one row line per row by position; every line ends with CR LF. `yield` runs after every
// field and every line and answers false to stop (the text built so far is returned). The row
// count is read once, before the rows: a row gone meanwhile is skipped.
QString WholeListText(SuiteListView *list, int columns, const std::function<bool()> &yield = {});

// The text before the first "|" of a hardware-ID field; the whole field when that is empty.
QString FirstHardwareId(const QString &ids);

// The search page with the query: "&" becomes "%26" and " Driver" is appended; nothing else is
// encoded.
QString DriverSearchQuery(const QString &searchText);

// Puts the text on the system clipboard after emptying it.
void CopyToClipboard(const QString &text);

// The Delete key: removes the selected row, then scrolls to and selects the row the list selects
// in its place. Nothing happens without a selected row. Yields; stops when the list is gone.
void RemoveSelectedRow(SuiteListView *list);

// A column click with the header's 1-based position: the same column flips the direction,
// another sorts ascending. Yields; stops when the list is gone.
void SortByColumnClick(SuiteListView *list, int index);

// A mouse button released over the list: the right button says "The List Is Empty." on an empty
// list, otherwise names `target` as the menu's target window (when given; yields, and stops when
// the target is gone) and pops up the menu of the hidden menu window. Other buttons do nothing.
void PopupListMenu(SuiteListView *list, int button, runtime::Menu *FrmMenu::*menu, runtime::Form *target = nullptr);

// Opens a new lookup window on the list's selected row (or on no device when none is selected).
void OpenLookup(SuiteListView *list);

} // namespace ListCommands
