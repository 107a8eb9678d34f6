#include "components/AlphaImgCtl.h"
#include "components/AlphaImgImage.h"
#include "components/AlphaImgShape.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace AlphaImg;

namespace {

// A 20 x 20 picture: left half red, right half blue, a green top row.
QImage twoHalves()
{
    QImage image(20, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            image.setPixel(x, y, y == 0 ? qRgb(0, 255, 0) : x < 10 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    return image;
}

QImage blank(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

}

TEST(AlphaImage, RendersThroughThreePoints)
{
    const AlphaImage picture(twoHalves());
    QImage target = blank(20, 20);
    gdi::Dc dc(&target);
    ASSERT_TRUE(picture.Render(dc, 0, 0, 20, 0, 0, 20));
    EXPECT_EQ(target.convertToFormat(QImage::Format_RGB32), twoHalves()); // unchanged

    target = blank(20, 20);
    dc.setImage(&target);
    picture.Render(dc, 20, 0, 0, 0, 20, 20); // mirrored about the vertical centre line
    EXPECT_EQ(target.pixel(2, 10), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(17, 10), qRgb(255, 0, 0));

    target = blank(20, 20);
    dc.setImage(&target);
    picture.Render(dc, 8, 0, 12, 0, 8, 20); // narrowed to four columns
    EXPECT_EQ(qAlpha(target.pixel(7, 10)), 0);
    EXPECT_EQ(target.pixel(8, 10), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(11, 10), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(target.pixel(12, 10)), 0);

    target = blank(20, 20);
    dc.setImage(&target);
    EXPECT_TRUE(picture.Render(dc, 10, 0, 10, 0, 10, 20)); // edge-on: nothing to draw
    EXPECT_EQ(target, blank(20, 20));

    EXPECT_FALSE(AlphaImage().Render(dc, 0, 0, 20, 0, 0, 20));
    gdi::Dc none;
    EXPECT_FALSE(picture.Render(none, 0, 0, 20, 0, 0, 20));
}

TEST(AlphaImage, FromABitmapHandle)
{
    const gdi::Bitmap bitmap(twoHalves());
    const AlphaImage same = AICGlobals::LoadPictureFromBitmap(bitmap, -1, -1);
    EXPECT_EQ(same.Width(), 20);
    EXPECT_EQ(same.Height(), 20);
    EXPECT_EQ(same.image().pixel(15, 5), qRgb(0, 0, 255));
    EXPECT_EQ(AICGlobals::LoadPictureFromBitmap(bitmap, 10, 40).image().size(), QSize(10, 40));
    EXPECT_TRUE(AICGlobals::LoadPictureFromBitmap(gdi::Bitmap(), -1, -1).isNull());
    EXPECT_TRUE(AICGlobals::LoadPictureFromBitmap(bitmap, 0, 5).isNull());
}

TEST(AlphaImgCtl, ShowsItsPictureUnchangedAndHonoursThePaintHook)
{
    QWidget host;
    AlphaImgCtl ctl(&host, QStringLiteral("aic"));
    ctl.resize(20, 20);
    ctl.setPicture(AlphaImage(twoHalves()));
    EXPECT_EQ(ctl.Render().convertToFormat(QImage::Format_RGB32), twoHalves());

    bool cancel = true;
    QObject::connect(&ctl, &AlphaImgCtl::PaintHook,
                     [&](gdi::Dc &dc, int, int, int w, int h, int, bool &c) {
                         dc.fillRect({0, 0, w, h}, gdi::createSolidBrush(gdi::rgb(0, 0, 0)));
                         c = cancel;
                     });
    EXPECT_EQ(ctl.Render().pixel(15, 15), qRgb(0, 0, 0)); // drawn by the hook, picture cancelled
    cancel = false;
    EXPECT_EQ(ctl.Render().pixel(15, 15), qRgb(0, 0, 255)); // the control paints over it
}

TEST(AlphaImgCtl, RepaintRequestPaintsOnlyWhenTheLoopRuns)
{
    QWidget host;
    host.resize(40, 40);
    AlphaImgCtl ctl(&host, QStringLiteral("aic"));
    ctl.resize(20, 20);
    ctl.setPicture(AlphaImage(twoHalves()));
    host.show();
    QApplication::processEvents();
    int paints = 0;
    QObject::connect(&ctl, &AlphaImgCtl::PaintHook, [&](gdi::Dc &, int, int, int, int, int, bool &) { ++paints; });
    ctl.RequestRepaint();
    EXPECT_EQ(paints, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints > 0; }, 2000));
}

TEST(AlphaImgCtl, HighlightLightensAndTheEnabledOptionStopsInput)
{
    QWidget host;
    host.resize(40, 40);
    AlphaImgCtl ctl(&host, QStringLiteral("aic"));
    ctl.resize(20, 20);
    ctl.setPicture(AlphaImage(twoHalves()));
    host.show();
    QApplication::processEvents();
    const QRgb normal = ctl.Render().pixel(5, 5);
    ctl.setHighlightState(1);
    ctl.ApplyState(1, 1);
    EXPECT_EQ(ctl.HighlightState(), 1);
    EXPECT_GT(qGreen(ctl.Render().pixel(5, 5)), qGreen(normal));
    ctl.ApplyState(0, 0);
    EXPECT_EQ(ctl.Render().pixel(5, 5), normal);

    QSignalSpy down(&ctl, &AlphaImgCtl::MouseDown);
    QSignalSpy up(&ctl, &AlphaImgCtl::MouseUp);
    QTest::mouseClick(&ctl, Qt::RightButton, Qt::ShiftModifier, QPoint(4, 6));
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0).at(0).toInt(), 2); // right button
    EXPECT_EQ(down.at(0).at(1).toInt(), 1); // shift
    EXPECT_FLOAT_EQ(down.at(0).at(2).toFloat(), 4.0f);
    EXPECT_EQ(up.count(), 1);
    ctl.setEnabled(false);
    QTest::mouseClick(&ctl, Qt::LeftButton, {}, QPoint(4, 6));
    EXPECT_EQ(down.count(), 1);
    EXPECT_NE(ctl.Render().pixel(5, 5), normal); // dimmed
}

// The pointer passing over the control, through the application's own enter and leave dispatch.
TEST(AlphaImgCtl, HoverIsReportedOnlyWhileEnabled)
{
    QWidget host;
    host.resize(60, 40);
    AlphaImgCtl ctl(&host, QStringLiteral("aic"));
    ctl.setGeometry(20, 10, 20, 20);
    ctl.setPicture(AlphaImage(twoHalves()));
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    QSignalSpy enter(&ctl, &AlphaImgCtl::MouseEnter);
    QSignalSpy leave(&ctl, &AlphaImgCtl::MouseLeave);
    const auto passOver = [&] {
        QTest::mouseMove(&host, QPoint(5, 5));
        QTest::mouseMove(&host, QPoint(30, 20));
        QTest::mouseMove(&host, QPoint(5, 5));
    };
    passOver();
    EXPECT_EQ(enter.count(), 1);
    EXPECT_EQ(leave.count(), 1);

    ctl.setEnabled(false); // a disabled title-bar button neither lights up nor spins
    passOver();
    EXPECT_EQ(enter.count(), 1);
    EXPECT_EQ(leave.count(), 2);
}

TEST(AlphaShapeCtl, PaintsItsGlyphInsideItsBoxInItsColour)
{
    QWidget host;
    AlphaShapeCtl shape(&host, QStringLiteral("shape"));
    shape.resize(12, 12);
    shape.setCharacter(QStringLiteral("x"));
    shape.setShapeFont(runtime::StdFont(QStringLiteral("Verdana"), 9.75, true));
    shape.setColor(0x0000FF); // red
    EXPECT_FALSE(shape.isVisible());

    QImage target(20, 20, QImage::Format_RGB32);
    target.fill(Qt::black);
    gdi::Dc dc(&target);
    ASSERT_TRUE(shape.PaintShape(dc, 4, 4));
    int inside = 0, outside = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool painted = qRed(target.pixel(x, y)) > 0;
            const bool inBox = x >= 4 && x < 16 && y >= 4 && y < 16;
            (inBox ? inside : outside) += painted;
        }
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(target.pixel(10, 10), qRgb(255, 0, 0)); // the cross's middle
    EXPECT_EQ(qGreen(target.pixel(10, 10)), 0);

    shape.setCharacter(QString());
    QImage untouched = target;
    EXPECT_TRUE(shape.PaintShape(dc, 0, 0));
    EXPECT_EQ(target, untouched);
    gdi::Dc none;
    EXPECT_FALSE(shape.PaintShape(none, 0, 0));
}
