#include "components/SuiteControlsGlobalSettings.h"
#include "components/SuiteIconLibrary.h"
#include "components/SuiteListView.h"
#include "components/SuiteTabControl.h"
#include "runtime/Screen.h"

#include <QApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <optional>

namespace {

class ListView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        list = new SuiteListView(&window, "ListViewTest");
        list->ColumnHeaders().Add("Name", "Name", 1500);
        list->ColumnHeaders().Add("Maker", "Manufacturer", 1500);
    }
    QStringList texts(int column = 0) const
    {
        QStringList out;
        for (int i = 1; i <= list->ListItems().Count(); ++i)
            out << (column == 0 ? list->ListItems().Item(i)->Text() : list->ListItems().Item(i)->SubItems(column));
        return out;
    }
    // A big and a small icon, under the keys 4973 and 4974.
    void useTwoIcons()
    {
        QImage big(16, 16, QImage::Format_ARGB32);
        big.fill(Qt::red);
        QImage small(6, 6, QImage::Format_ARGB32);
        small.fill(Qt::blue);
        icons.AddIcon(gdi::Icon(big), 4973);
        icons.AddIcon(gdi::Icon(small), 4974);
        list->setIcons(&icons);
    }
    // The column's width after the list's own fit, and after the view's, each from a narrow start.
    int autoFitWidth(int column)
    {
        list->ColumnHeaders().Item(column + 1)->setWidth(15);
        list->AutoFitColumn(column);
        return list->view()->columnWidth(column);
    }
    int viewsOwnFitWidth(int column)
    {
        list->ColumnHeaders().Item(column + 1)->setWidth(15);
        list->view()->resizeColumnToContents(column);
        return std::max(list->view()->columnWidth(column), list->view()->header()->sectionSizeHint(column));
    }
    void add(const QStringList &names)
    {
        for (const QString &name : names)
            list->ListItems().Add({}, name)->setSubItems(1, name.toUpper());
    }
    SuiteImageManagerIcons icons;
    QWidget window;
    SuiteListView *list = nullptr;
};

TEST_F(ListView, RowsAreAddedAtTheEndAndAddressedFromOne)
{
    add({"b", "a", "c"});
    EXPECT_EQ(texts(), QStringList({"b", "a", "c"}));
    EXPECT_EQ(list->ListItems().Item(2)->Index(), 2);
    EXPECT_EQ(list->ListItems().Item(2)->SubItems(1), "A");
    EXPECT_EQ(list->ListItems().Item(2)->ListSubItems(1).Text(), "A");
    EXPECT_EQ(list->ListItems().Item(0), nullptr);
    EXPECT_EQ(list->ListItems().Item(4), nullptr);
    EXPECT_FALSE(list->ListItems().Remove(4));
    EXPECT_EQ(list->ListItems().Item(1)->SubItems(0), QString()) << "sub-items count from 1";
}

TEST_F(ListView, KeysRefuseDuplicatesWithoutRegardToCase)
{
    EXPECT_TRUE(list->ListItems().Add("dev|maker|id", "first"));
    EXPECT_FALSE(list->ListItems().Add("DEV|maker|ID", "second"));
    EXPECT_TRUE(list->ListItems().Add({}, "no key"));
    EXPECT_TRUE(list->ListItems().Add({}, "no key"));
    EXPECT_EQ(list->ListItems().Count(), 3);
    EXPECT_EQ(list->ListItems().Item("Dev|Maker|Id")->Text(), "first");
    list->ListItems().Remove(1);
    EXPECT_TRUE(list->ListItems().Add("dev|maker|id", "again")) << "a removed row frees its key";
    list->ListItems().Clear();
    EXPECT_EQ(list->ListItems().Count(), 0);
    EXPECT_TRUE(list->ListItems().Add("dev|maker|id", "after clear"));
}

TEST_F(ListView, SortsByColumnTextAndDirection)
{
    add({"b10", "B2", "a", "007", "010"});
    list->setSortColumn(0);
    list->setSortDirection(0);
    list->setSortActive(true);
    EXPECT_EQ(texts(), QStringList({"007", "010", "a", "b10", "B2"})) << "text order, letter case ignored";
    list->setSortActive(false);
    list->setSortDirection(1);
    list->setSortActive(true);
    EXPECT_EQ(texts(), QStringList({"B2", "b10", "a", "010", "007"}));
    list->ListItems().Add({}, "a2");
    EXPECT_EQ(texts(), QStringList({"B2", "b10", "a2", "a", "010", "007"})) << "a row added while sorting takes its place";
}

TEST_F(ListView, SortingKeepsTheOrderOfEqualRows)
{
    for (const char *name : {"x", "y", "x", "y"})
        list->ListItems().Add({}, "same")->setSubItems(1, name);
    list->setSortActive(true);
    EXPECT_EQ(texts(1), QStringList({"x", "y", "x", "y"}));
}

TEST_F(ListView, RemovingSelectsTheRowThatTakesItsPlace)
{
    add({"a", "b", "c"});
    list->ListItems().Item(3)->setSelected(true);
    EXPECT_EQ(list->SelectedItem()->Text(), "c");
    list->ListItems().Remove(list->SelectedItem()->Index());
    EXPECT_EQ(list->SelectedItem()->Text(), "b") << "the last row gone, the one before it";
    list->ListItems().Remove(1);
    EXPECT_EQ(list->SelectedItem()->Text(), "b");
    list->ListItems().Remove(1);
    EXPECT_EQ(list->SelectedItem(), nullptr);
}

TEST_F(ListView, RowAndSubItemColours)
{
    add({"a"});
    SuiteListItem *item = list->ListItems().Item(1);
    item->setForeColor(0x0000FF); // red in 0x00BBGGRR
    item->ListSubItems(1).setForeColor(0x00FF00);
    EXPECT_EQ(item->data(0, Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    EXPECT_EQ(item->data(1, Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 255, 0));
    EXPECT_EQ(*item->ListSubItems(1).ForeColor(), 0x00FF00u);
}

TEST_F(ListView, RowsShowTheIconTheirKeyNames)
{
    SuiteImageManagerIcons icons;
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    icons.AddIcon(gdi::Icon(image), 4973);
    list->ListItems().Add({}, "with icon", 4973);
    list->ListItems().Add({}, "unknown key", 1234);
    EXPECT_TRUE(list->ListItems().Item(1)->data(0, Qt::DecorationRole).isNull()) << "no collection yet";
    list->setIcons(&icons);
    EXPECT_FALSE(list->ListItems().Item(1)->data(0, Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_TRUE(list->ListItems().Item(2)->data(0, Qt::DecorationRole).value<QIcon>().isNull());
    icons.RemoveAll();
    EXPECT_TRUE(list->ListItems().Item(1)->data(0, Qt::DecorationRole).value<QIcon>().isNull());
}

TEST_F(ListView, AutoFitTakesTheWiderOfCellsAndHeader)
{
    list->ListItems().Add({}, "x")->setSubItems(1, QString(80, 'W'));
    list->AutoFitColumn(0);
    list->AutoFitColumn(1);
    const int header = list->view()->header()->sectionSizeHint(0);
    EXPECT_GE(list->view()->columnWidth(0), header) << "the header text is wider than its cell";
    EXPECT_GT(list->view()->columnWidth(1), list->view()->fontMetrics().horizontalAdvance(QString(80, 'W')) - 1);
    list->ColumnHeaders().Item(1)->setWidth(1500);
    EXPECT_NEAR(list->ColumnHeaders().Item(1)->Width(), 1500, runtime::Screen::TwipsPerPixelX());
    EXPECT_FALSE(list->ColumnHeaders().Item(3));
    EXPECT_EQ(list->ColumnHeaders().Item(2)->Key(), "Maker");
    EXPECT_EQ(list->ColumnHeaders().Item(2)->Text(), "Manufacturer");
}

// The fit asks cells alike in text and icon once; the width it gives is the view's own fit of
// every cell, whatever the texts, icons, repeats, spaces, line breaks and hidden rows.
TEST_F(ListView, AutoFitGivesTheViewsOwnFitOfEveryCell)
{
    struct Row {
        QString text;
        int icon = 0;
        bool hidden = false;
    };
    const std::vector<std::vector<Row>> tables{
        {},
        {{"x"}},
        {{"x"}, {"x"}, {"x"}},
        {{"WWWW"}, {"iiiiiiiiiiiiiiii"}, {"mmmmm"}},
        {{"AVAVAVAVAVAV To To"}, {"WWWWWWWWWWWWWW"}},
        {{"ab                    "}, {"abcdefgh"}},
        {{"a\nWWWWWWWWWWWWWWWW"}, {"WWWWWWW"}},
        {{"short\tWWWWWWWWWW"}, {"WWWWWWWWW"}},
        {{"WWWWWWWWWWWWWWWWWWWWWWWW", 0, true}, {"narrow"}},
        {{"narrow with icon", 4973}, {"a little wider text", 0}, {"tiny icon row", 4974}},
        {{"same text", 4974}, {"same text", 0}, {"same text", 4973}, {"same text", 4974}},
        // Alike in text, the cell without an icon first: the icon's cell is wider and is asked too.
        {{"same text", 0}, {"same text", 4973}},
    };
    useTwoIcons();
    for (size_t t = 0; t < tables.size(); ++t) {
        list->ListItems().Clear();
        for (const Row &row : tables[t]) {
            SuiteListItem *item = list->ListItems().Add({}, row.text, row.icon);
            item->setSubItems(1, row.text);
            item->setHidden(row.hidden);
        }
        for (int column : {0, 1}) {
            EXPECT_EQ(autoFitWidth(column), viewsOwnFitWidth(column)) << "table " << t << ", column " << column;
        }
    }
}

// Names of one pattern ("Device 10", "Device 20", ...) measure alike and the fit asks one of them;
// a cell among them whose look adds to its width (a font, a check box, a set size, an icon of its
// own, a wider icon) must still count, though its text is a little narrower than theirs.
TEST_F(ListView, AutoFitCountsTheCellOfItsOwnLookAmongAlikeNames)
{
    useTwoIcons();
    QFont bold = list->view()->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 4);
    const std::vector<std::pair<const char *, std::function<void(SuiteListItem *)>>> looks{
        {"own font", [&](SuiteListItem *item) { item->setFont(0, bold), item->setFont(1, bold); }},
        {"check box", [](SuiteListItem *item) { item->setCheckState(0, Qt::Checked), item->setCheckState(1, Qt::Checked); }},
        {"set size", [](SuiteListItem *item) { item->setSizeHint(0, QSize(300, 16)), item->setSizeHint(1, QSize(300, 16)); }},
        {"icon past the first column", [](SuiteListItem *item) { item->setIcon(1, QIcon(QPixmap::fromImage(QImage(16, 16, QImage::Format_ARGB32)))); }},
    };
    for (const auto &[name, giveLook] : looks) {
        list->ListItems().Clear();
        for (int i = 10; i < 40; ++i) {
            const QString text = QStringLiteral("Device of a long name %1").arg(i == 31 ? 3 : i);
            SuiteListItem *item = list->ListItems().Add({}, text, i == 25 ? 4973 : 4974);
            item->setSubItems(1, text);
            if (i == 31)
                giveLook(item);
        }
        for (int column : {0, 1}) {
            EXPECT_EQ(autoFitWidth(column), viewsOwnFitWidth(column)) << name << ", column " << column;
        }
    }
}

// Like the platform's list, the fit measures every row, not only those near the visible ones:
// a wide cell far from them counts, with the list shown or hidden (the scan sizes hidden lists).
TEST_F(ListView, AutoFitOfALongListCountsEveryRow)
{
    const QString wide(60, 'W');
    for (const bool shown : {false, true}) {
        for (const int wideRow : {0, 1200, 2499}) {
            list->ListItems().Clear();
            for (int i = 0; i < 2500; ++i)
                list->ListItems().Add({}, i == wideRow ? wide : QStringLiteral("x"));
            window.setVisible(shown);
            list->ColumnHeaders().Item(1)->setWidth(15);
            list->AutoFitColumn(0);
            EXPECT_GE(list->view()->columnWidth(0), list->view()->fontMetrics().horizontalAdvance(wide))
                << "shown " << shown << ", wide row " << wideRow;
        }
    }
}

// The list lays a cell's text out once where the style's own item painting lays it out several
// times, and keeps it laid out for the next paint; the pixels and sizes are the style's, whatever
// the cell holds and however narrow its column, painted first wide or first narrow.
TEST_F(ListView, CellsPaintAndMeasureAsTheStylesOwnItemPainting)
{
    struct Cell {
        const char *name;
        QString text;
        int icon = 0;
        std::optional<runtime::OleColor> colour = std::nullopt;
        bool selected = false;
        bool boldFirstColumn = false; // the same text beside it in the list's own font
    };
    const std::vector<Cell> cells{
        {"plain", "PCI\\VEN_8086&DEV_1237"},
        {"empty", ""},
        {"one letter", "i"},
        {"spaces around", "  padded text   "},
        {"tab", "short\tWWWWWWWWWW"},
        {"line break", "first\nsecond line"},
        {"non-Latin", QString::fromUtf8("Gerät – Ελληνικά – 日本語")},
        {"right to left", QString::fromUtf8("שלום world")},
        {"with icon", "with icon", 4973},
        {"with a small icon", "with a small icon", 4974},
        {"coloured", "best match", 0, 0x0000C0u},
        {"selected", "selected row", 0, std::nullopt, true},
        {"selected and coloured", "selected best match", 4973, 0x0000C0u, true},
        {"bold beside plain", "the same text", 0, std::nullopt, false, true},
        {"too wide for its column", "AVAVAVAVAVAV To To WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"},
    };
    SuiteImageManagerIcons icons;
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QImage blue(6, 6, QImage::Format_ARGB32);
    blue.fill(Qt::blue);
    icons.AddIcon(gdi::Icon(red), 4973);
    icons.AddIcon(gdi::Icon(blue), 4974);
    list->setIcons(&icons);
    window.resize(420, 120);
    list->resize(420, 120);
    window.show();
    QTreeWidget *view = list->view();
    QAbstractItemDelegate *own = view->itemDelegate();
    QStyledItemDelegate styles;
    const auto withStyles = [&](auto &&what) {
        view->setItemDelegate(&styles);
        const auto result = what();
        view->setItemDelegate(own);
        return result;
    };
    const auto paint = [&] { return view->viewport()->grab().toImage(); };
    for (const std::vector<int> &widths : {std::vector<int>{400, 60, 4}, std::vector<int>{4, 60, 400}}) {
        for (const Cell &cell : cells) {
            for (const int columnPixels : widths) {
                list->ListItems().Clear();
                list->ListItems().Add({}, "row above");
                SuiteListItem *item = list->ListItems().Add({}, cell.text, cell.icon);
                item->setSubItems(1, cell.text);
                if (cell.colour)
                    item->setForeColor(*cell.colour);
                item->setSelected(cell.selected);
                if (cell.boldFirstColumn) {
                    QFont bold = view->font();
                    bold.setBold(true);
                    item->setFont(0, bold);
                }
                view->setColumnWidth(0, columnPixels);
                view->setColumnWidth(1, columnPixels);
                const QImage ours = paint();
                ASSERT_FALSE(ours.isNull());
                EXPECT_EQ(ours, withStyles(paint)) << cell.name << ", column " << columnPixels << " px";
                for (const int column : {0, 1}) {
                    const QModelIndex index = view->model()->index(1, column);
                    EXPECT_EQ(view->sizeHintForIndex(index), withStyles([&] { return view->sizeHintForIndex(index); }))
                        << cell.name << ", column " << column;
                }
            }
        }
    }
}

TEST_F(ListView, RaisesTheEventsTheWindowsHandle)
{
    add({"a", "b"});
    window.resize(400, 300);
    list->setWidth(400 * runtime::Screen::TwipsPerPixelX());
    list->setHeight(300 * runtime::Screen::TwipsPerPixelY());
    window.show();
    QSignalSpy clicks(list, &SuiteListView::ColumnClick);
    QSignalSpy doubles(list, &SuiteListView::DblClick);
    QSignalSpy keys(list, &SuiteListView::KeyDown);
    QSignalSpy ups(list, &SuiteListView::MouseUp);

    QHeaderView *header = list->view()->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionPosition(1) + 5, 5));
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0][0].value<SuiteColumnHeader>().Index(), 2);

    const QRect first = list->view()->visualItemRect(list->ListItems().Item(1));
    QTest::mouseDClick(list->view()->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(doubles.size(), 1);
    QTest::mouseClick(list->view()->viewport(), Qt::RightButton, Qt::ShiftModifier, first.center());
    ASSERT_FALSE(ups.isEmpty());
    EXPECT_EQ(ups.last()[0].toInt(), 2);
    EXPECT_EQ(ups.last()[1].toInt(), 1);
    QTest::keyClick(list->view(), Qt::Key_Delete);
    ASSERT_EQ(keys.size(), 1);
    EXPECT_EQ(keys[0][0].toInt(), 46);
}

TEST(TabControl, PagesCaptionsTagsAndSelection)
{
    QWidget window;
    auto *tabs = new SuiteTabControl(&window, "TabControl1");
    for (const char *tag : {"All Hardware", "No Drivers Installed"}) {
        auto *page = new SuiteTabControlPage(&window, QStringLiteral("Page %1").arg(tag));
        new SuiteListView(page, "List");
        tabs->InsertItem(QString(tag) + " (0)", page, tag);
    }
    ASSERT_EQ(tabs->ItemCount(), 2);
    EXPECT_EQ(tabs->Item(1)->Tag(), "No Drivers Installed");
    tabs->Item(1)->setCaption(tabs->Item(1)->Tag() + " (3)");
    EXPECT_EQ(tabs->Item(1)->Caption(), "No Drivers Installed (3)");
    EXPECT_FALSE(tabs->Item(2));
    tabs->Item(1)->setSelected(true);
    EXPECT_TRUE(tabs->Item(1)->Selected());
    EXPECT_FALSE(tabs->Item(0)->Selected());
    EXPECT_EQ(tabs->SelectedItem()->Index(), 1);
    EXPECT_TRUE(tabs->Item(1)->Page()->findChild<SuiteListView *>());
    tabs->PaintManager().setFontSize(11);
    tabs->PaintManager().SetIconSize(16, 16);
    EXPECT_EQ(tabs->PaintManager().FontSize(), 11);
}

struct LibraryCase
{
    const char *name;
    QByteArray bytes;
    int icons;
};

TEST(IconLibrary, ReadsTheSystemFoldersLibrariesAndSurvivesDamage)
{
    const auto setupapi = SuiteIconLibrary::Load(KESTROVA_FIXTURES "/../../data/program/system32/setupapi.dll");
    ASSERT_TRUE(setupapi);
    EXPECT_FALSE(setupapi->IconByResource(27).isNull());
    EXPECT_TRUE(setupapi->IconByResource(999).isNull());

    QFile file(KESTROVA_FIXTURES "/../../data/program/system32/bthci.dll");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    const LibraryCase rows[] = {
        {"whole", good, 1},
        {"cut in the image", good.left(good.size() - 10), 0},
        {"cut after the count", good.left(12), 0},
        {"huge count", QByteArray("KSICOLIB\xff\xff\xff\xff", 12), 0},
        {"huge image length", QByteArray("KSICOLIB\1\0\0\0\5\0\0\0\1\0\0\0\xff\xff\xff\xff", 24), 0},
    };
    for (const LibraryCase &row : rows) {
        const auto library = SuiteIconLibrary::FromBytes(row.bytes);
        ASSERT_TRUE(library) << row.name;
        EXPECT_EQ(library->Count(), row.icons) << row.name;
    }
    EXPECT_FALSE(SuiteIconLibrary::FromBytes("MZ\x90\0 not ours"));
    EXPECT_FALSE(SuiteIconLibrary::Load("/nonexistent.dll"));
}

} // namespace
