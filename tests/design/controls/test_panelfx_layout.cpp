#include "controls/PanelFxLayout.h"

#include <gtest/gtest.h>

using namespace PanelFxLayout;

TEST(PanelFxLayout, BandAndBodyRectangles)
{
    const Layout l = layout(200, 100, 20);
    EXPECT_EQ(l.bandFrame, (gdi::Rect{1, 1, 200, 20}));
    EXPECT_EQ(l.bandFill, (gdi::Rect{0, 1, 199, 19}));
    EXPECT_EQ(l.bodyFrame, (gdi::Rect{0, 19, 200, 100}));
    EXPECT_EQ(l.bodyFill, (gdi::Rect{1, 20, 199, 99}));
    EXPECT_EQ(l.outline, (gdi::Rect{0, 0, 199, 99}));
    EXPECT_EQ(l.region, (gdi::Rect{0, 0, 200, 100}));
}

TEST(PanelFxLayout, PanelOrTitle)
{
    struct Row {
        double y;
        int tile;
        int expected;
    } rows[] = {
        {0, 0, 0},     // 0 is band even without a band
        {0.5, 0, 1},   // with T = 0 every Y above 0 is body
        {-3, 20, 0},
        {19, 20, 0},   // where the band and body borders meet
        {19.5, 20, 0},
        {20, 20, 1},
        {80, 20, 1},
    };
    for (const Row &row : rows)
        EXPECT_EQ(panelOrTitle(row.y, row.tile), row.expected) << "y " << row.y << " T " << row.tile;
}

TEST(PanelFxLayout, CaptionPosition)
{
    struct Row {
        const char *name;
        int alignment, w, tile, tw, th;
        bool icon;
        int x, y;
    } rows[] = {
        {"left beside the default icon", 0, 200, 20, 50, 13, true, 36, 3},
        {"left without icon", 0, 200, 20, 50, 13, false, 4, 3},
        {"centre", 1, 200, 20, 51, 13, false, 74, 3},    // (200 - 51) \ 2
        {"centre wider than panel", 1, 40, 20, 81, 13, false, -20, 3},
        {"right", 2, 200, 20, 50, 13, false, 146, 3},
        {"other alignment", 7, 200, 20, 50, 13, false, 0, 3},
        {"tall band", 0, 200, 40, 50, 15, false, 4, 10},
        {"y halves to even", 0, 200, 25, 50, 15, false, 4, 4},  // 10 - 6 = 4
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const CaptionPos pos = captionPos(row.alignment, row.w, row.tile, row.tw, row.th, row.icon, 32);
        EXPECT_EQ(pos.x, row.x);
        EXPECT_EQ(pos.y, row.y);
    }
}

TEST(PanelFxLayout, CaptionPositionOutside16BitsIsZero)
{
    const CaptionPos pos = captionPos(2, 100000, 20, 10, 13, false, 32);
    EXPECT_EQ(pos.x, 0);
    EXPECT_EQ(captionPos(1, -100000, 20, 10, 13, false, 32).x, 0);
    EXPECT_EQ(captionPos(0, 200, 20, 10, 13, true, 32767).x, 0) << "the widest icon pushes the caption out of range";
    EXPECT_EQ(captionPos(0, 200, 20, 10, 13, true, 32763).x, 32767);
    EXPECT_EQ(captionPos(0, 200, 100000, 10, 13, false, 32).y, 0);
}
