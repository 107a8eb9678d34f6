#include "support_windows.h"

#include "components/SuiteListView.h"
#include "core/ModMain.h"
#include "runtime/Clipboard.h"
#include "runtime/Forms.h"
#include "runtime/Menu.h"
#include "runtime/OpenDocument.h"
#include "windows/FrmMenu.h"
#include "windows/ListCommands.h"

#include <QPointer>

#include <gtest/gtest.h>

namespace {

using windowstest::ProgramFolder;

// A window with one list of the given columns under the given name, as the improve window (or a
// lookup window) holds it.
class ListForm : public runtime::Form {
    Q_OBJECT
public:
    ListForm(const QString &listName, const QStringList &captions) : runtime::Form(QStringLiteral("FrmListTest"))
    {
        list = new SuiteListView(this, listName);
        for (const QString &caption : captions)
            list->ColumnHeaders().Add(caption, caption, 1500);
        runtime::Load(this);
    }
    void addRow(const QStringList &cells)
    {
        SuiteListItem *item = list->ListItems().Add({}, cells.value(0));
        for (int i = 1; i < cells.size(); ++i)
            item->setSubItems(i, cells.at(i));
    }
    void select(int row) { list->ListItems().Item(row)->setSelected(true); }
    SuiteListView *list;
};

const QStringList MainColumns{QStringLiteral("Name"), QStringLiteral("Manufacturer"), QStringLiteral("Error Code"),
                              QStringLiteral("Class"), QStringLiteral("Driver Version"), QStringLiteral("Hardware IDs")};
const QStringList ImproveColumns{QStringLiteral("Name"), QStringLiteral("Manufacturer"), QStringLiteral("Hardware ID")};
const QStringList LookupColumns{QStringLiteral("Name"), QStringLiteral("Manufacturer"), QStringLiteral("Hardware IDs"),
                                QStringLiteral("L")};

runtime::Menu *Item(runtime::Menu *menu, const QString &name)
{
    for (runtime::Menu *item : menu->Items()) {
        if (item->Name() == name)
            return item;
    }
    return nullptr;
}

// Chooses the named item of whatever menu pops up (or of `menu` directly).
void Choose(runtime::Menu *menu, const QString &name)
{
    runtime::Menu *item = Item(menu, name);
    ASSERT_NE(item, nullptr) << name.toStdString();
    const runtime::PopupMenuHook previous = runtime::SetPopupMenuHook([item](runtime::Menu *) { return item; });
    runtime::PopupMenu(menu);
    runtime::SetPopupMenuHook(previous);
}

TEST(ListCopyText, RowJoinsTextAndSubItemsWithCommasOnly)
{
    ProgramFolder folder;
    ListForm form(QStringLiteral("ListViewHardware"), MainColumns);
    form.addRow({"Intel, Inc. Bridge", "Intel", "(0) Fine", "System", "10.0", "PCI\\VEN_8086&DEV_1237|PCI\\VEN_8086|"});
    EXPECT_EQ(ListCommands::RowText(form.list->ListItems().Item(1), 5),
              QStringLiteral("Intel, Inc. Bridge,Intel,(0) Fine,System,10.0,PCI\\VEN_8086&DEV_1237|PCI\\VEN_8086|"));
    EXPECT_EQ(ListCommands::RowText(nullptr, 5), QString());
}

TEST(ListCopyText, WholeListHasAHeaderLineAndOneLinePerRowEachEndingInCrLf)
{
    ProgramFolder folder;
    ListForm form(QStringLiteral("LabelListViewHardware"), {" Name ", "Manufacturer", "Hardware IDs", "L"});
    form.addRow({"Disk", "Acme", "IDE\\DISK", "008"});
    form.addRow({"", "", "X", "001"});
    EXPECT_EQ(ListCommands::WholeListText(form.list, 3),
              QStringLiteral("Name,Manufacturer,Hardware IDs\r\nDisk,Acme,IDE\\DISK\r\n,,X\r\n"));
    ListForm empty(QStringLiteral("ListViewHardware"), ImproveColumns);
    EXPECT_EQ(ListCommands::WholeListText(empty.list, 3), QStringLiteral("Name,Manufacturer,Hardware ID\r\n"));
}

TEST(ListCopyText, RowsRemovedDuringTheCopyAreSkipped)
{
    ProgramFolder folder;
    ListForm form(QStringLiteral("ListViewHardware"), ImproveColumns);
    for (int i = 1; i <= 4; ++i)
        form.addRow({QStringLiteral("n%1").arg(i), "m", "h"});
    int yields = 0;
    const QString text = ListCommands::WholeListText(form.list, 3, [&] {
        if (++yields == 6)
            form.list->ListItems().Clear();
        return true;
    });
    EXPECT_EQ(text, QStringLiteral("Name,Manufacturer,Hardware ID\r\nn1,m\r\n"));
}

TEST(DriverSearchQuery, ReplacesAmpersandsAndAppendsDriver)
{
    ProgramFolder folder;
    EXPECT_EQ(ListCommands::DriverSearchQuery(QStringLiteral("PCI\\VEN_8086&DEV_1237")),
              QStringLiteral("http://search.quordane.example/?q=PCI\\VEN_8086%26DEV_1237 Driver"));
    EXPECT_EQ(ListCommands::DriverSearchQuery({}), QStringLiteral("http://search.quordane.example/?q= Driver"));
    EXPECT_EQ(ListCommands::FirstHardwareId(QStringLiteral("A&B|C|")), QStringLiteral("A&B"));
    EXPECT_EQ(ListCommands::FirstHardwareId(QStringLiteral("|A|B|")), QStringLiteral("|A|B|"));
    EXPECT_EQ(ListCommands::FirstHardwareId(QStringLiteral("A")), QStringLiteral("A"));
}

TEST(DeleteKey, RemovesTheSelectedRowAndSelectsAnother)
{
    ProgramFolder folder;
    ListForm form(QStringLiteral("ListViewHardware"), ImproveColumns);
    for (const char *name : {"a", "b", "c"})
        form.addRow({name, "m", "h"});
    form.select(2);
    ListCommands::RemoveSelectedRow(form.list);
    ASSERT_EQ(form.list->ListItems().Count(), 2);
    EXPECT_EQ(form.list->ListItems().Item(1)->Text(), "a");
    EXPECT_EQ(form.list->ListItems().Item(2)->Text(), "c");

    form.list->view()->clearSelection();
    form.list->view()->setCurrentItem(nullptr);
    ListCommands::RemoveSelectedRow(form.list);
    EXPECT_EQ(form.list->ListItems().Count(), 2);
}

TEST(ColumnClick, SameColumnFlipsAnotherSortsAscendingAndTheChoiceIsKept)
{
    ProgramFolder folder;
    ListForm form(QStringLiteral("ListViewHardware"), ImproveColumns);
    form.addRow({"b", "x", "1"});
    form.addRow({"a", "y", "2"});
    form.addRow({"c", "w", "3"});
    form.list->setSortActive(true);
    const auto firstName = [&] { return form.list->ListItems().Item(1)->Text(); };
    EXPECT_EQ(firstName(), "a");
    ListCommands::SortByColumnClick(form.list, 1);
    EXPECT_EQ(form.list->SortDirection(), 1);
    EXPECT_EQ(firstName(), "c");
    ListCommands::SortByColumnClick(form.list, 1);
    EXPECT_EQ(firstName(), "a");
    ListCommands::SortByColumnClick(form.list, 2);
    EXPECT_EQ(form.list->SortColumn(), 1);
    EXPECT_EQ(form.list->SortDirection(), 0);
    EXPECT_EQ(firstName(), "c");
}

struct CellCase {
    const char *item;
    const char *expected;
};

class ImproveMenu : public testing::TestWithParam<CellCase> {};

TEST_P(ImproveMenu, CopiesFromTheTargetWindowsList)
{
    ProgramFolder folder;
    ListForm form(QStringLiteral("ListViewHardware"), ImproveColumns);
    form.addRow({"Widget, Rev 2", "Acme", "USB\\VID_1234&PID_0001"});
    form.addRow({"Other", "Maker", "PCI\\VEN_1"});
    form.select(1);
    ModMain::SetMenuTarget(&form);
    runtime::Clipboard::SetText(QStringLiteral("before"));
    Choose(runtime::Forms::Get<FrmMenu>()->MenuImprove, QString::fromLatin1(GetParam().item));
    EXPECT_EQ(runtime::Clipboard::GetText(), QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ImproveMenu,
    testing::Values(CellCase{"MenuImproveCopyName", "Widget, Rev 2"}, CellCase{"MenuImproveCopyManufacturer", "Acme"},
                    CellCase{"MenuImproveCopyID", "USB\\VID_1234&PID_0001"},
                    CellCase{"MenuImproveCopyRow", "Widget, Rev 2,Acme,USB\\VID_1234&PID_0001"},
                    CellCase{"MenuImproveCopyWhole",
                             "Name,Manufacturer,Hardware ID\r\nWidget, Rev 2,Acme,USB\\VID_1234&PID_0001\r\nOther,Maker,PCI\\VEN_1\r\n"}),
    [](const testing::TestParamInfo<CellCase> &info) { return std::string(info.param.item); });

TEST(ImproveMenuRemove, RemovesTheRowOfTheTargetListOnly)
{
    ProgramFolder folder;
    ListForm target(QStringLiteral("ListViewHardware"), ImproveColumns);
    ListForm other(QStringLiteral("ListViewHardware"), ImproveColumns);
    for (ListForm *form : {&target, &other}) {
        form->addRow({"a", "m", "h"});
        form->addRow({"b", "m", "h"});
        form->select(1);
    }
    ModMain::SetMenuTarget(&target);
    Choose(runtime::Forms::Get<FrmMenu>()->MenuImprove, QStringLiteral("MenuImproveRemoveDevice"));
    EXPECT_EQ(target.list->ListItems().Count(), 1);
    EXPECT_EQ(other.list->ListItems().Count(), 2);
}

TEST(CopyWithNoSelectedRow, PutsTheEmptyTextOnTheClipboard)
{
    ProgramFolder folder;
    ListForm form(QStringLiteral("ListViewHardware"), ImproveColumns);
    form.addRow({"a", "m", "h"});
    form.list->view()->clearSelection();
    form.list->view()->setCurrentItem(nullptr);
    ModMain::SetMenuTarget(&form);
    runtime::Clipboard::SetText(QStringLiteral("before"));
    Choose(runtime::Forms::Get<FrmMenu>()->MenuImprove, QStringLiteral("MenuImproveCopyName"));
    EXPECT_EQ(runtime::Clipboard::GetText(), QString());
}

TEST(LookupMenu, EachLookupWindowsMenuActsOnItsOwnListAndLeavesOutColumnL)
{
    ProgramFolder folder;
    ListForm first(QStringLiteral("LabelListViewHardware"), LookupColumns);
    ListForm second(QStringLiteral("LabelListViewHardware"), LookupColumns);
    first.addRow({"First", "M1", "PCI\\VEN_1&DEV_2", "015"});
    second.addRow({"Second", "M2", "USB\\VID_1", "009"});
    first.select(1);
    second.select(1);
    FrmMenu *menu = runtime::Forms::Get<FrmMenu>();

    ModMain::SetMenuTarget(&second);
    Choose(menu->MenuLookup, QStringLiteral("MenuLookupCopyRow"));
    EXPECT_EQ(runtime::Clipboard::GetText(), QStringLiteral("Second,M2,USB\\VID_1"));
    ModMain::SetMenuTarget(&first);
    Choose(menu->MenuLookup, QStringLiteral("MenuLookupCopyWhole"));
    EXPECT_EQ(runtime::Clipboard::GetText(), QStringLiteral("Name,Manufacturer,Hardware IDs\r\nFirst,M1,PCI\\VEN_1&DEV_2\r\n"));

    runtime::OpenDocumentRecorder browser;
    Choose(menu->MenuLookup, QStringLiteral("MenuLookupSearchGoogleID"));
    Choose(menu->MenuLookup, QStringLiteral("MenuLookupSearchGoogle"));
    EXPECT_EQ(browser.addresses, QStringList({QStringLiteral("http://search.quordane.example/?q=PCI\\VEN_1%26DEV_2 Driver"),
                                              QStringLiteral("http://search.quordane.example/?q=First Driver")}));
}

TEST(LookupMenu, ATargetWindowUnloadedMeanwhileLeavesTheCommandWithNoList)
{
    ProgramFolder folder;
    QPointer<ListForm> form = new ListForm(QStringLiteral("LabelListViewHardware"), LookupColumns);
    form->addRow({"a", "m", "h", "001"});
    form->select(1);
    ModMain::SetMenuTarget(form);
    runtime::Unload(form);
    runtime::Clipboard::SetText(QStringLiteral("before"));
    Choose(runtime::Forms::Get<FrmMenu>()->MenuLookup, QStringLiteral("MenuLookupCopyName"));
    EXPECT_EQ(runtime::Clipboard::GetText(), QString());
}

} // namespace

#include "test_list_commands.moc"
