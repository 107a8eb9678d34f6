#include "os/WindowRegion.h"

#include <QWidget>

#include <gtest/gtest.h>

using namespace os;

namespace {

TEST(WindowRegion, ShapeFollowsTheRegion)
{
    QWidget window;
    window.resize(10, 6);
    // The button's shape: rounded corners from CreateRoundRectRgn(0, 0, W + 1, H + 1, 5, 5).
    EXPECT_NE(SetWindowRgn(&window, gdi::createRoundRectRgn(0, 0, 11, 7, 5, 5), true), 0);
    const QRegion mask = window.mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(9, 5)));
    EXPECT_TRUE(mask.contains(QPoint(1, 0)));
    EXPECT_TRUE(mask.contains(QPoint(5, 3)));
    ASSERT_TRUE(GetWindowRgn(&window));
    EXPECT_EQ(GetWindowRgn(&window)->region(), mask);
}

TEST(WindowRegion, TheWindowKeepsItsOwnCopy)
{
    QWidget window;
    window.resize(8, 8);
    gdi::Region region = gdi::createRectRgn(0, 0, 4, 4);
    SetWindowRgn(&window, region, false);
    region.offset(2, 2);
    EXPECT_EQ(window.mask(), QRegion(0, 0, 4, 4));
}

TEST(WindowRegion, NoRegionRestoresTheWholeWindowAndAnEmptyOneHidesIt)
{
    QWidget window;
    window.resize(8, 8);
    SetWindowRgn(&window, gdi::createRectRgn(0, 0, 4, 4));
    EXPECT_NE(SetWindowRgn(&window, std::nullopt), 0);
    EXPECT_TRUE(window.mask().isEmpty());
    EXPECT_FALSE(GetWindowRgn(&window));

    SetWindowRgn(&window, gdi::Region());
    EXPECT_FALSE(window.mask().isEmpty());
    EXPECT_FALSE(window.mask().intersects(window.rect()));
    EXPECT_TRUE(GetWindowRgn(&window)->region().isEmpty());
}

TEST(WindowRegion, NullWindowFails)
{
    EXPECT_EQ(SetWindowRgn(nullptr, gdi::createRectRgn(0, 0, 1, 1)), 0);
    EXPECT_FALSE(GetWindowRgn(nullptr));
}

} // namespace
