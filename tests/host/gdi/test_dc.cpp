// Context state, GDI objects as values, memory contexts and regions.

#include "gdi/Dc.h"
#include "support_canvas.h"

#include <gtest/gtest.h>

#include <climits>

using namespace gdi;

namespace {

TEST(Colours, ChannelOrderIsBlueGreenRed)
{
    constexpr ColorRef c = rgb(0x12, 0x34, 0x56);
    static_assert(c == 0x00563412u);
    static_assert(red(c) == 0x12 && green(c) == 0x34 && blue(c) == 0x56);
    static_assert(toPixel(c) == 0xFF123456u);
    static_assert(fromPixel(0x80123456u) == c);
}

TEST(Selection, EachSelectAnswersThePreviousObject)
{
    Canvas canvas;
    Dc &dc = canvas.dc;
    const Pen first = createPen(PS_SOLID, 3, rgb(1, 0, 0));
    const Pen before = dc.selectPen(first);
    EXPECT_EQ(before, (Pen{PS_SOLID, 1, 0})) << "a new context draws with a black one-pixel pen";
    EXPECT_EQ(dc.selectPen(before), first);

    EXPECT_EQ(dc.selectBrush(Brush::hollow()).color(), rgb(255, 255, 255)) << "white brush by default";
    EXPECT_EQ(dc.brush().style(), BS_NULL);

    QFont bold;
    bold.setBold(true);
    dc.selectFont(bold);
    EXPECT_TRUE(dc.selectFont(QFont()).bold());

    EXPECT_EQ(dc.setTextColor(rgb(1, 2, 3)), 0u);
    EXPECT_EQ(dc.setTextColor(0), rgb(1, 2, 3));
    EXPECT_EQ(dc.setBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(dc.setBkMode(7), 0) << "an unknown mode is refused";
    EXPECT_EQ(dc.bkMode(), TRANSPARENT);
    EXPECT_EQ(dc.setBkColor(rgb(9, 9, 9)), rgb(255, 255, 255));
    EXPECT_EQ(dc.setStretchBltMode(COLORONCOLOR), BLACKONWHITE);

    Point previous{-1, -1};
    dc.moveTo(4, 5);
    dc.moveTo(6, 7, &previous);
    EXPECT_EQ(previous, (Point{4, 5}));
}

TEST(MemoryContexts, HoldAOnePixelBitmapUntilAnotherIsSelected)
{
    Dc memory = createCompatibleDc();
    EXPECT_EQ(memory.width(), 1);
    EXPECT_EQ(memory.height(), 1);

    const Bitmap bitmap = createCompatibleBitmap(30, 20);
    const Bitmap stock = memory.selectBitmap(bitmap);
    EXPECT_FALSE(stock.isNull());
    EXPECT_EQ(memory.width(), 30);
    memory.setPixelV(29, 19, rgb(5, 6, 7));
    EXPECT_EQ(fromPixel(bitmap.image()->pixel(29, 19)), rgb(5, 6, 7)) << "the handle shares the pixels";

    EXPECT_TRUE(memory.selectBitmap(Bitmap()).isNull()) << "a null bitmap is refused";
    EXPECT_EQ(memory.bitmap(), bitmap);
    EXPECT_EQ(memory.selectBitmap(stock), bitmap);
    EXPECT_EQ(memory.width(), 1);
    EXPECT_EQ(fromPixel(bitmap.image()->pixel(29, 19)), rgb(5, 6, 7)) << "the bitmap outlives its selection";
}

TEST(MemoryContexts, MovedContextKeepsItsSurface)
{
    Dc memory = createCompatibleDc();
    memory.selectBitmap(createCompatibleBitmap(4, 4));
    Dc moved = std::move(memory);
    EXPECT_TRUE(moved.setPixelV(3, 3, rgb(1, 1, 1)));
    EXPECT_EQ(moved.getPixel(3, 3), rgb(1, 1, 1));
}

TEST(Bitmaps, CreationFollowsThePlatformForOddSizes)
{
    struct Row {
        const char *name;
        int w, h;
        bool null;
        int expectedW, expectedH;
    };
    for (const Row &r : {Row{"Normal", 3, 2, false, 3, 2}, Row{"ZeroWidth", 0, 5, false, 1, 1},
                         Row{"ZeroBoth", 0, 0, false, 1, 1}, Row{"Negative", -1, 4, true, 0, 0},
                         Row{"NegativeHeight", 4, -4, true, 0, 0},
                         // Refused before many gigabytes are allocated and filled.
                         Row{"TwoGigabytes", 1 << 15, 1 << 14, true, 0, 0},
                         Row{"Huge", 100000, 100000, true, 0, 0}, Row{"HugeOverflowing", INT_MAX, INT_MAX, true, 0, 0}}) {
        const Bitmap b = createCompatibleBitmap(r.w, r.h);
        EXPECT_EQ(b.isNull(), r.null) << r.name;
        EXPECT_EQ(b.width(), r.expectedW) << r.name;
        EXPECT_EQ(b.height(), r.expectedH) << r.name;
    }
    EXPECT_TRUE(Bitmap(QImage(2, 2, QImage::Format_RGB888)).isNull()) << "only 32-bit pictures";
    EXPECT_TRUE(Bitmap(QImage()).isNull());
}

TEST(Contexts, BoundToAForeignImageDrawOnIt)
{
    QImage surface(5, 5, QImage::Format_ARGB32);
    surface.fill(0);
    Dc dc(&surface);
    EXPECT_EQ(dc.image(), &surface);
    dc.setPixelV(1, 1, rgb(10, 20, 30));
    EXPECT_EQ(surface.pixel(1, 1), 0xFF0A141Eu) << "drawn pixels are opaque";
    QImage other(2, 2, QImage::Format_RGB32);
    dc.setImage(&other);
    EXPECT_EQ(dc.width(), 2);
    dc.setImage(nullptr);
    EXPECT_TRUE(dc.isNull());
}

TEST(Contexts, NearestColourOnATrueColourSurfaceIsTheColour)
{
    Canvas canvas;
    EXPECT_EQ(canvas.dc.getNearestColor(rgb(7, 8, 9)), rgb(7, 8, 9));
    EXPECT_EQ(canvas.dc.getNearestColor(0x02000000u | rgb(7, 8, 9)), rgb(7, 8, 9));
}

TEST(Regions, RoundedCornersOfTheButtonShape)
{
    // The button's window shape: CreateRoundRectRgn(0, 0, W + 1, H + 1, 5, 5) for a 10 x 6 button.
    const Region region = createRoundRectRgn(0, 0, 11, 7, 5, 5);
    EXPECT_EQ(region.region().boundingRect(), QRect(0, 0, 10, 6));
    for (const QPoint corner : {QPoint(0, 0), QPoint(9, 0), QPoint(0, 5), QPoint(9, 5)})
        EXPECT_FALSE(region.contains(corner.x(), corner.y())) << corner.x() << "," << corner.y();
    for (const QPoint in : {QPoint(1, 0), QPoint(0, 1), QPoint(8, 0), QPoint(9, 1), QPoint(1, 5), QPoint(9, 4)})
        EXPECT_TRUE(region.contains(in.x(), in.y())) << in.x() << "," << in.y();
    EXPECT_EQ(region.type(), COMPLEXREGION);
}

TEST(Regions, SmallEllipsesGiveSquareCornersAndEllipsesAreClamped)
{
    EXPECT_EQ(createRoundRectRgn(0, 0, 6, 6, 1, 1).region(), QRegion(0, 0, 5, 5));
    const Region huge = createRoundRectRgn(0, 0, 9, 9, 100, 100); // becomes a circle of 8
    EXPECT_FALSE(huge.contains(0, 0));
    EXPECT_TRUE(huge.contains(4, 0));
    EXPECT_TRUE(huge.contains(0, 4));
    EXPECT_EQ(createRoundRectRgn(5, 5, 1, 1, 2, 2).region().boundingRect(), QRect(1, 1, 3, 3))
        << "corners in either order";
}

TEST(Regions, CombineModesAndTheirResultTypes)
{
    const Region a = createRectRgn(0, 0, 4, 4);
    const Region b = createRectRgn(2, 0, 6, 4);
    struct Row {
        const char *name;
        int mode;
        int type;
        int area;
    };
    for (const Row &r : {Row{"And", RGN_AND, SIMPLEREGION, 8}, Row{"Or", RGN_OR, SIMPLEREGION, 24},
                         Row{"Xor", RGN_XOR, COMPLEXREGION, 16}, Row{"Diff", RGN_DIFF, SIMPLEREGION, 8},
                         Row{"Copy", RGN_COPY, SIMPLEREGION, 16}}) {
        Region dest;
        EXPECT_EQ(combineRgn(dest, a, b, r.mode), r.type) << r.name;
        int area = 0;
        for (const QRect &rect : dest.region())
            area += rect.width() * rect.height();
        EXPECT_EQ(area, r.area) << r.name;
    }
    Region dest = a;
    EXPECT_EQ(combineRgn(dest, a, createRectRgn(10, 10, 12, 12), RGN_AND), NULLREGION);
    Region kept = a;
    EXPECT_EQ(combineRgn(kept, b, b, 99), RGN_ERROR);
    EXPECT_EQ(kept.region(), a.region()) << "a failed combine leaves the destination";
    EXPECT_EQ(createRectRgn(3, 3, 3, 9).type(), NULLREGION);
    EXPECT_EQ(createRectRgn(4, 4, 0, 0).region(), QRegion(0, 0, 4, 4));
}

TEST(Regions, ButtonShapeSquaresOneHalf)
{
    // ButtonShape 1: the left half squared by adding (0, 0, W / 2, H + 1).
    Region shape = createRoundRectRgn(0, 0, 11, 7, 5, 5);
    ASSERT_EQ(combineRgn(shape, shape, createRectRgn(0, 0, 5, 7), RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(shape.contains(0, 0));
    EXPECT_TRUE(shape.contains(0, 5));
    EXPECT_FALSE(shape.contains(9, 0));
}

} // namespace
