// Lines, pixels, rectangles, rounded rectangles and edges: the platform's pixel rules.

#include "gdi/Dc.h"
#include "gdi/Raster.h"
#include "gdi/SysColors.h"
#include "support_canvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace gdi;

namespace {

constexpr ColorRef Ink = rgb(200, 10, 20);

struct LineCase {
    const char *name;
    QPoint from;
    QPoint to;
    PixelSet expected;
};

class ThinLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ThinLine, CoversTheStatedPixelsAndNotTheEndPoint)
{
    const LineCase &c = GetParam();
    Canvas canvas;
    canvas.dc.selectPen(createPen(PS_SOLID, 1, Ink));
    ASSERT_TRUE(canvas.dc.moveTo(c.from.x(), c.from.y()));
    ASSERT_TRUE(canvas.dc.lineTo(c.to.x(), c.to.y()));
    EXPECT_EQ(describe(changedPixels(canvas)), describe(c.expected));
    EXPECT_EQ(canvas.dc.currentPosition(), (Point{c.to.x(), c.to.y()}));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ThinLine,
    ::testing::Values(
        LineCase{"Rightwards", {2, 3}, {7, 3}, {{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}}},
        LineCase{"Leftwards", {7, 3}, {2, 3}, {{3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}}},
        LineCase{"Down", {4, 1}, {4, 4}, {{4, 1}, {4, 2}, {4, 3}}},
        LineCase{"Up", {4, 4}, {4, 1}, {{4, 4}, {4, 3}, {4, 2}}},
        LineCase{"Diagonal", {1, 1}, {4, 4}, {{1, 1}, {2, 2}, {3, 3}}},
        // Halfway steps round down going right, up going left: a line and its reverse differ
        // only in their end points.
        LineCase{"FlatTieRightwards", {0, 0}, {4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        LineCase{"FlatTieLeftwards", {4, 2}, {0, 0}, {{4, 2}, {3, 1}, {2, 1}, {1, 0}}},
        LineCase{"SteepTieDown", {0, 0}, {2, 4}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
        LineCase{"SteepTieUp", {2, 4}, {0, 0}, {{2, 4}, {1, 3}, {1, 2}, {0, 1}}},
        LineCase{"SinglePixelLong", {5, 5}, {6, 5}, {{5, 5}}},
        LineCase{"ZeroLength", {5, 5}, {5, 5}, {}},
        LineCase{"ClippedByTheSurface", {-3, 19}, {3, 19}, {{0, 19}, {1, 19}, {2, 19}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ThinLine, HugeCoordinatesOnlyCostTheVisiblePart)
{
    Canvas canvas;
    canvas.dc.selectPen(createPen(PS_SOLID, 1, Ink));
    canvas.dc.moveTo(-2000000000, 5);
    ASSERT_TRUE(canvas.dc.lineTo(2000000000, 5));
    EXPECT_EQ(changedPixels(canvas).size(), 20u);
}

TEST(ThinLine, NullPenMovesWithoutDrawing)
{
    Canvas canvas;
    canvas.dc.selectPen(createPen(PS_NULL, 1, Ink));
    canvas.dc.moveTo(0, 0);
    EXPECT_TRUE(canvas.dc.lineTo(10, 0));
    EXPECT_TRUE(changedPixels(canvas).empty());
    EXPECT_EQ(canvas.dc.currentPosition(), (Point{10, 0}));
}

struct WideCase {
    const char *name;
    int width;
    PixelSet expected;
};

class WideLine : public ::testing::TestWithParam<WideCase> {};

// A wide pen sweeps a disc along the line, end included; centres on the sweep's edge count only
// where the pen lies to their right or below.
TEST_P(WideLine, SweepsARoundPen)
{
    Canvas canvas;
    canvas.dc.selectPen(createPen(PS_SOLID, GetParam().width, Ink));
    canvas.dc.moveTo(3, 5);
    canvas.dc.lineTo(7, 5);
    EXPECT_EQ(describe(changedPixels(canvas)), describe(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Rules, WideLine,
                         ::testing::Values(WideCase{"Two", 2,
                                                    fromPicture({"...#####",
                                                                 "..######"}, 0, 4)},
                                           WideCase{"Three", 3,
                                                    fromPicture({"..#######",
                                                                 "..#######",
                                                                 "..#######"}, 0, 4)},
                                           WideCase{"Five", 5,
                                                    fromPicture({"..#######",
                                                                 ".#########",
                                                                 ".#########",
                                                                 ".#########",
                                                                 "..#######"}, 0, 3)}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Pixels, SetAndGetWithinTheSurfaceOnly)
{
    Canvas canvas(4, 3);
    EXPECT_TRUE(canvas.dc.setPixelV(3, 2, rgb(9, 8, 7)));
    EXPECT_EQ(canvas.at(3, 2), rgb(9, 8, 7));
    EXPECT_EQ(canvas.image.pixel(3, 2), 0xFF090807u) << "opaque, in QImage's order";
    for (const QPoint p : {QPoint(-1, 0), QPoint(0, -1), QPoint(4, 0), QPoint(0, 3)}) {
        EXPECT_FALSE(canvas.dc.setPixelV(p.x(), p.y(), Ink));
        EXPECT_EQ(canvas.at(p.x(), p.y()), CLR_INVALID);
    }
    EXPECT_TRUE(canvas.dc.setPixelV(0, 0, 0xFF000000u | rgb(1, 1, 1))) << "the high byte is ignored";
    EXPECT_EQ(canvas.at(0, 0), rgb(1, 1, 1));
}

TEST(Pixels, ClipRegionLimitsDrawingAndReading)
{
    Canvas canvas(10, 10);
    const Region clip = createRectRgn(2, 2, 5, 5);
    EXPECT_EQ(canvas.dc.selectClipRgn(&clip), SIMPLEREGION);
    EXPECT_FALSE(canvas.dc.setPixelV(1, 1, Ink));
    EXPECT_TRUE(canvas.dc.setPixelV(4, 4, Ink));
    EXPECT_EQ(canvas.dc.getPixel(5, 5), CLR_INVALID);
    canvas.dc.fillRect({0, 0, 10, 10}, createSolidBrush(Ink));
    canvas.dc.selectClipRgn(nullptr);
    EXPECT_EQ(canvas.dc.getPixel(5, 5), canvas.background);
    EXPECT_EQ(changedPixels(canvas), fromPicture({"###", "###", "###"}, 2, 2));
}

TEST(Rectangles, FillAndFrameStopBeforeRightAndBottom)
{
    Canvas canvas(8, 8);
    canvas.dc.fillRect({1, 1, 4, 3}, createSolidBrush(Ink));
    EXPECT_EQ(changedPixels(canvas), fromPicture({"###", "###"}, 1, 1));

    Canvas framed(8, 8);
    framed.dc.frameRect({1, 1, 5, 5}, createSolidBrush(Ink));
    EXPECT_EQ(changedPixels(framed), fromPicture({"####", "#..#", "#..#", "####"}, 1, 1));

    Canvas empty(8, 8);
    EXPECT_TRUE(empty.dc.fillRect({5, 5, 2, 2}, createSolidBrush(Ink)));
    EXPECT_TRUE(empty.dc.frameRect({5, 5, 5, 9}, createSolidBrush(Ink)));
    EXPECT_TRUE(changedPixels(empty).empty());
}

TEST(Rectangles, PatternBrushRepeatsFromTheSurfaceOrigin)
{
    QImage tile(2, 1, QImage::Format_RGB32);
    tile.setPixel(0, 0, 0xFF0000FFu); // blue
    tile.setPixel(1, 0, 0xFFFF0000u); // red
    Bitmap bitmap(tile);
    const Brush brush = createPatternBrush(bitmap);
    tile.fill(0); // the brush has its own copy
    Canvas canvas(6, 2);
    canvas.dc.fillRect({1, 0, 6, 2}, brush);
    EXPECT_EQ(canvas.at(1, 1), rgb(255, 0, 0));
    EXPECT_EQ(canvas.at(2, 0), rgb(0, 0, 255));
    EXPECT_EQ(canvas.at(5, 1), rgb(255, 0, 0));
    EXPECT_TRUE(createPatternBrush(Bitmap()).isNull());
    EXPECT_FALSE(canvas.dc.fillRect({0, 0, 1, 1}, createPatternBrush(Bitmap())));
}

struct FigureCase {
    const char *name;
    int penStyle;
    bool hollow;
    std::vector<std::string> picture; // '#' pen, 'o' brush, '.' untouched
};

class RectangleFigure : public ::testing::TestWithParam<FigureCase> {};

TEST_P(RectangleFigure, PenOutlinesBrushFills)
{
    const FigureCase &c = GetParam();
    Canvas canvas(8, 6);
    canvas.dc.selectPen(createPen(c.penStyle, 1, Ink));
    canvas.dc.selectBrush(c.hollow ? Brush::hollow() : createSolidBrush(rgb(0, 255, 0)));
    ASSERT_TRUE(canvas.dc.rectangle(1, 1, 6, 5));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const char want = c.picture[size_t(y)][size_t(x)];
            const ColorRef expected = want == '#' ? Ink : want == 'o' ? rgb(0, 255, 0) : canvas.background;
            EXPECT_EQ(canvas.at(x, y), expected) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Rules, RectangleFigure,
                         ::testing::Values(FigureCase{"Filled", PS_SOLID, false,
                                                      {"........", ".#####..", ".#ooo#..", ".#ooo#..", ".#####..", "........"}},
                                           FigureCase{"Hollow", PS_SOLID, true,
                                                      {"........", ".#####..", ".#...#..", ".#...#..", ".#####..", "........"}},
                                           // Without a pen the filled area is one pixel smaller.
                                           FigureCase{"NoPen", PS_NULL, false,
                                                      {"........", ".oooo...", ".oooo...", ".oooo...", "........", "........"}}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Rectangles, ReversedCornersDrawTheSameRectangle)
{
    Canvas a(8, 8), b(8, 8);
    a.dc.rectangle(1, 1, 6, 5);
    b.dc.rectangle(6, 5, 1, 1);
    EXPECT_EQ(changedPixels(a), changedPixels(b));
}

TEST(Rectangles, WidePenCentresOnTheOutline)
{
    // The window frame: a 3-pixel pen, hollow brush; the pen's middle runs along the outer pixels.
    Canvas canvas(20, 20);
    canvas.dc.selectPen(createPen(PS_SOLID, 3, Ink));
    canvas.dc.selectBrush(Brush::hollow());
    canvas.dc.rectangle(5, 5, 15, 13);
    for (const QPoint p : {QPoint(4, 4), QPoint(15, 13), QPoint(6, 6), QPoint(13, 11), QPoint(4, 9), QPoint(15, 9)})
        EXPECT_EQ(canvas.at(p.x(), p.y()), Ink) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(3, 3), QPoint(16, 14), QPoint(7, 7), QPoint(12, 10)})
        EXPECT_EQ(canvas.at(p.x(), p.y()), canvas.background) << p.x() << "," << p.y();
}

TEST(RoundRectangles, OutlineFollowsTheRoundedRegion)
{
    // RoundRect(0, 0, W - 1, H - 1) outlines what CreateRoundRectRgn(0, 0, W, H) covers.
    Canvas canvas(12, 10);
    canvas.dc.selectPen(createPen(PS_SOLID, 1, Ink));
    canvas.dc.selectBrush(Brush::hollow());
    ASSERT_TRUE(canvas.dc.roundRect(0, 0, 11, 9, 5, 5));
    EXPECT_EQ(changedPixels(canvas), fromPicture({".#########..",
                                                  "#.........#.",
                                                  "#.........#.",
                                                  "#.........#.",
                                                  "#.........#.",
                                                  "#.........#.",
                                                  "#.........#.",
                                                  "#.........#.",
                                                  ".#########.."}));
    const Region region = createRoundRectRgn(0, 0, 12, 10, 5, 5);
    for (const auto &[x, y] : changedPixels(canvas))
        EXPECT_TRUE(region.contains(x, y)) << x << "," << y;
    EXPECT_FALSE(region.contains(0, 0));
    EXPECT_FALSE(region.contains(11, 5)) << "the last column is left out";
}

TEST(RoundRectangles, LargerCornersAndFilling)
{
    Canvas canvas(12, 12);
    canvas.dc.selectPen(createPen(PS_SOLID, 1, Ink));
    canvas.dc.selectBrush(createSolidBrush(rgb(0, 255, 0)));
    canvas.dc.roundRect(0, 0, 12, 12, 8, 8);
    EXPECT_EQ(changedPixels(canvas).count({0, 0}) + changedPixels(canvas).count({1, 0}), 0u);
    EXPECT_EQ(canvas.at(2, 0), Ink);
    EXPECT_EQ(canvas.at(0, 2), Ink);
    EXPECT_EQ(canvas.at(1, 1), Ink);
    EXPECT_EQ(canvas.at(6, 6), rgb(0, 255, 0));
    EXPECT_EQ(canvas.at(11, 6), Ink);
}

// Figures and level or upright lines fill runs of rows; under a clip of several rectangles each
// shows exactly the pixels of its unclipped drawing that lie in the clip.
TEST(Clipping, FiguresAndLinesShowTheirUnclippedPixelsInsideTheClip)
{
    const std::vector<std::function<void(Dc &)>> drawings{
        [](Dc &dc) { dc.rectangle(1, 1, 17, 15); },
        [](Dc &dc) { dc.roundRect(0, 2, 19, 18, 9, 7); },
        [](Dc &dc) { dc.moveTo(-3, 6); dc.lineTo(25, 6); dc.moveTo(9, 22); dc.lineTo(9, -4); },
        [](Dc &dc) { dc.moveTo(14, 3); dc.lineTo(2, 3); dc.moveTo(4, 4); dc.lineTo(4, 4); },
    };
    Region clip = createRectRgn(0, 0, 7, 5);
    const Region right = createRectRgn(10, 3, 16, 20);
    combineRgn(clip, clip, right, RGN_OR);
    for (size_t i = 0; i < drawings.size(); ++i) {
        Canvas whole, clipped;
        for (Canvas *canvas : {&whole, &clipped}) {
            canvas->dc.selectPen(createPen(PS_SOLID, 1, Ink));
            canvas->dc.selectBrush(createSolidBrush(rgb(0, 255, 0)));
        }
        clipped.dc.selectClipRgn(&clip);
        drawings[i](whole.dc);
        drawings[i](clipped.dc);
        clipped.dc.selectClipRgn(nullptr);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const bool inside = (x < 7 && y < 5) || (x >= 10 && x < 16 && y >= 3);
                EXPECT_EQ(clipped.at(x, y), inside ? whole.at(x, y) : clipped.background) << "drawing " << i << " at " << x << "," << y;
            }
    }
}

TEST(Edges, RaisedSoftAndSunkenInTheSystemColours)
{
    Canvas raised(8, 8);
    Rect r{0, 0, 6, 6};
    ASSERT_TRUE(raised.dc.drawEdge(r, EDGE_RAISED, BF_RECT | BF_SOFT));
    EXPECT_EQ(r, (Rect{0, 0, 6, 6})) << "no BF_ADJUST, no change";
    EXPECT_EQ(raised.at(0, 0), getSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(raised.at(5, 0), getSysColor(COLOR_3DDKSHADOW)) << "bottom-right colour wins the corners";
    EXPECT_EQ(raised.at(0, 5), getSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(raised.at(1, 1), getSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(raised.at(4, 2), getSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(raised.at(2, 2), raised.background);

    Canvas sunken(8, 8);
    Rect s{1, 1, 7, 7};
    ASSERT_TRUE(sunken.dc.drawEdge(s, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
    EXPECT_EQ(s, (Rect{3, 3, 5, 5}));
    EXPECT_EQ(sunken.at(1, 1), getSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(sunken.at(6, 6), getSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(sunken.at(2, 2), getSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(sunken.at(5, 5), getSysColor(COLOR_3DLIGHT));
}

TEST(Surfaces, ExtremeCoordinatesStayWithinTheSurface)
{
    constexpr int Min = std::numeric_limits<int>::min();
    constexpr int Max = std::numeric_limits<int>::max();
    Canvas canvas(10, 10);
    Dc &dc = canvas.dc;
    dc.selectPen(createPen(PS_SOLID, 7, Ink));
    dc.selectBrush(createSolidBrush(rgb(0, 255, 0)));
    EXPECT_TRUE(dc.rectangle(Min, Min, Max, Max));
    EXPECT_EQ(canvas.at(5, 5), rgb(0, 255, 0)) << "the interior covers the surface";
    EXPECT_TRUE(dc.roundRect(Min, -5, Max, 5, Max, Max));
    EXPECT_TRUE(dc.fillRect({Min, Min, Max, Max}, createSolidBrush(rgb(1, 1, 1))));
    EXPECT_EQ(canvas.at(9, 9), rgb(1, 1, 1));
    Rect edge{Min, Min, Max, Max};
    EXPECT_TRUE(dc.drawEdge(edge, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE));
    EXPECT_TRUE(dc.frameRect({Max - 1, Max - 1, Max, Max}, createSolidBrush(0)));
    dc.moveTo(Min, Max);
    EXPECT_TRUE(dc.lineTo(Max, Min));
    dc.selectPen(createPen(PS_SOLID, 1, Ink));
    dc.moveTo(Max, Max);
    EXPECT_TRUE(dc.lineTo(Min, Min));
    EXPECT_TRUE(dc.bitBlt(Max, Max, Max, Max, &dc, Min, Min, SRCCOPY));
    EXPECT_TRUE(dc.bitBlt(Min, Min, Min, Min, &dc, Max, Max, SRCCOPY));
    EXPECT_TRUE(dc.stretchBlt(0, 0, Min, Max, &dc, Max, Min, Min, Min, SRCCOPY));
    Rect text{Min, Min, Max, Max};
    dc.drawText("x", text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.drawText("x", text, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_TRUE(dc.textOut(Max, Max, "x"));
    EXPECT_TRUE(dc.drawState(QString("x"), Max, Max, Max, Max, DST_TEXT));
    const TriVertex v[2] = {{Min, Min, 0, 0, 0, 0}, {Max, Max, 0xFF00, 0, 0, 0}};
    const GradientRect mesh{0, 1};
    EXPECT_TRUE(dc.gradientFill(v, std::span(&mesh, 1), GRADIENT_FILL_RECT_H));
    const quint32 pixel = 0x00FFFFFFu;
    BitmapInfoHeader one;
    one.width = 1;
    one.height = 1;
    EXPECT_EQ(dc.setDIBitsToDevice(Max, Max, Max, 1, Max, Min, 0, 1, &pixel, one), 1);
    // A rounded region as large as coordinates go; its corners stay small here, because a corner
    // ellipse that size is one band per row (see CornerInset for its arithmetic at the limit).
    const Region huge = createRoundRectRgn(Min, Min, Max, Max, 9, 9);
    EXPECT_TRUE(huge.contains(0, 0));
    EXPECT_FALSE(huge.contains(-MaxCoordinate, -MaxCoordinate)) << "the corner is cut";
    EXPECT_TRUE(huge.contains(0, -MaxCoordinate));
    // Corner ellipses beyond the figure's size (or negative) are the figure's size.
    EXPECT_EQ(createRoundRectRgn(0, 0, 100, 80, Max, Min).region(), createRoundRectRgn(0, 0, 100, 80, 99, 79).region());
}

struct InsetCase {
    const char *name;
    int row;
    int ellipseWidth;
    int ellipseHeight;
    int inset;
};

class CornerInset : public ::testing::TestWithParam<InsetCase> {};

// Pixels whose centre lies inside or on the corner ellipse count, decided exactly: at the
// coordinate limit a floating-point answer alone is off by a column now and then.
TEST_P(CornerInset, ExactUpToTheCoordinateLimit)
{
    const InsetCase &c = GetParam();
    EXPECT_EQ(raster::cornerInset(c.row, c.ellipseWidth, c.ellipseHeight), c.inset);
}

constexpr int Limit = 1 << 28; // the widest figure: twice the coordinate limit

INSTANTIATE_TEST_SUITE_P(
    Rules, CornerInset,
    ::testing::Values(InsetCase{"SmallTopRow", 0, 5, 5, 1}, InsetCase{"SmallMiddleRow", 2, 5, 5, 0},
                      InsetCase{"HugeCircleTopRow", 0, Limit, Limit, 134206143},
                      InsetCase{"HugeCircleSecondRow", 1, Limit, Limit, 134197662},
                      InsetCase{"HugeCircleQuarterDown", Limit / 4, Limit, Limit, 17981766},
                      InsetCase{"HugeCircleLastCornerRow", Limit / 2 - 1, Limit, Limit, 0},
                      InsetCase{"HugeOddCircleTopRow", 0, Limit - 1, Limit - 1, 134206142},
                      InsetCase{"WideFlatEllipse", 0, Limit, 2, 17981766},
                      InsetCase{"TallThinEllipse", 0, 2, Limit, 1},
                      InsetCase{"HugeOvalRow", 12345, Limit, Limit / 3, 131064866}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Surfaces, NoSurfaceFailsEveryCall)
{
    Dc none;
    QImage wrongFormat(4, 4, QImage::Format_Indexed8);
    Dc indexed(&wrongFormat);
    for (Dc *dc : {&none, &indexed}) {
        EXPECT_TRUE(dc->isNull());
        EXPECT_FALSE(dc->lineTo(3, 3));
        EXPECT_FALSE(dc->moveTo(1, 1));
        EXPECT_FALSE(dc->setPixelV(0, 0, 0));
        EXPECT_EQ(dc->getPixel(0, 0), CLR_INVALID);
        EXPECT_FALSE(dc->fillRect({0, 0, 2, 2}, createSolidBrush(0)));
        EXPECT_FALSE(dc->frameRect({0, 0, 2, 2}, createSolidBrush(0)));
        EXPECT_FALSE(dc->rectangle(0, 0, 2, 2));
        EXPECT_FALSE(dc->roundRect(0, 0, 2, 2, 1, 1));
        Rect r{0, 0, 2, 2};
        EXPECT_FALSE(dc->drawEdge(r, EDGE_RAISED, BF_RECT));
        EXPECT_EQ(dc->setTextColor(0), CLR_INVALID);
        EXPECT_EQ(dc->getNearestColor(rgb(1, 2, 3)), CLR_INVALID);
        EXPECT_EQ(dc->width(), 0);
    }
}

} // namespace
