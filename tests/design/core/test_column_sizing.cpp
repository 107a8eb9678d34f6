#include "components/SuiteListView.h"
#include "core/ModMainColumns.h"
#include "runtime/Screen.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class ColumnSizing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModMain::HeaderTextWidth = nullptr;
        list = new SuiteListView(&window, "ListViewTest");
    }
    double width(int column) const { return list->ColumnHeaders().Item(column)->Width(); }
    double textTwips(const QString &text) const
    {
        return QFontMetrics(QApplication::font()).horizontalAdvance(text) * runtime::Screen::TwipsPerPixelX();
    }
    QWidget window;
    SuiteListView *list = nullptr;
};

TEST_F(ColumnSizing, AWideHeaderEndsAtLeast600TwipsWiderThanItsText)
{
    const QString header = QStringLiteral("A rather long header text");
    list->ColumnHeaders().Add({}, "Name", 100);
    list->ColumnHeaders().Add({}, header, 100);
    list->ListItems().Add({}, "x")->setSubItems(1, "y");
    list->setIconSize(0);
    ModMain::AutoSizeListColumns(list);
    EXPECT_GE(width(2), textTwips(header) + 600);
    EXPECT_LT(width(2), textTwips(header) + 600 + 2 * runtime::Screen::TwipsPerPixelX());
}

TEST_F(ColumnSizing, TheFirstColumnGetsRoomForTheIcons)
{
    const QString cell(60, QLatin1Char('W'));
    list->ColumnHeaders().Add({}, "Name", 100);
    list->ListItems().Add({}, cell);
    list->setIconSize(0);
    ModMain::AutoSizeListColumns(list);
    const double without = width(1);
    list->setIconSize(16);
    ModMain::AutoSizeListColumns(list);
    EXPECT_NEAR(width(1) - without, 16 * runtime::Screen::TwipsPerPixelX(), runtime::Screen::TwipsPerPixelX());
    EXPECT_GE(width(1), textTwips(cell));
}

TEST_F(ColumnSizing, TheMainWindowsMeasureSetsTheMinimum)
{
    list->ColumnHeaders().Add({}, "Name", 100);
    ModMain::HeaderTextWidth = [](const QString &) { return 3000.0; };
    ModMain::AutoSizeListColumns(list);
    EXPECT_GE(width(1), 3600);
    ModMain::HeaderTextWidth = nullptr;
}

TEST_F(ColumnSizing, ExceptLastLeavesTheLastColumn)
{
    list->ColumnHeaders().Add({}, "Name", 100);
    list->ColumnHeaders().Add({}, "L", 0);
    list->ListItems().Add({}, QString(40, QLatin1Char('W')))->setSubItems(1, "042");
    ModMain::AutoSizeColumnsExceptLast(list);
    EXPECT_GT(width(1), 1000);
    EXPECT_EQ(width(2), 0) << "the hidden sort column keeps no width";
}

TEST_F(ColumnSizing, NothingToSize)
{
    ModMain::AutoSizeListColumns(list);
    ModMain::AutoSizeColumnsExceptLast(list);
    ModMain::AutoSizeListColumns(nullptr);
    ModMain::AutoSizeColumnsExceptLast(nullptr);
    list->ColumnHeaders().Add({}, "Only", 1500);
    ModMain::AutoSizeColumnsExceptLast(list);
    EXPECT_NEAR(width(1), 1500, runtime::Screen::TwipsPerPixelX()) << "one column: nothing is sized";
}

} // namespace
