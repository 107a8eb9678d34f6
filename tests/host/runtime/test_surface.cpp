#include "runtime/Form.h"
#include "runtime/Label.h"
#include "runtime/PictureBox.h"
#include "runtime/Screen.h"

#include "support/TestOutput.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace runtime;

namespace {

class SurfaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Screen::setLogicalDpi(96);
        form->resize(60, 40);
        form->setAutoRedraw(true);
        form->setBackColor(0x00FFFFFF);
    }
    void TearDown() override
    {
        delete form;
        Screen::setLogicalDpi(std::nullopt);
    }
    Form *form = new Form(QStringLiteral("FrmMain"));
};

// The windows draw their frame with Rectangle on hdc: the window's pen is ForeColor at
// DrawWidth, and its brush is hollow.
TEST_F(SurfaceTest, RectangleOnTheFormUsesForeColorUnfilled)
{
    form->setForeColor(0x000000FF);
    form->setDrawWidth(1);
    ASSERT_TRUE(form->hdc()->rectangle(0, -50, 60, 40));
    const QImage &image = form->image();
    EXPECT_EQ(image.pixel(0, 20), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(59, 20), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(30, 39), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(30, 20), qRgb(255, 255, 255)); // unfilled
    EXPECT_EQ(image.pixel(30, 0), qRgb(255, 255, 255));  // the top edge lies outside
    form->setFillStyle(vbFSSolid);
    form->setFillColor(0x0000FF00);
    form->hdc()->rectangle(0, 0, 60, 40);
    EXPECT_EQ(form->image().pixel(30, 20), qRgb(0, 255, 0));
    testsupport::writeTestPng(QStringLiteral("runtime"), QStringLiteral("form_rectangle"), form->image());
}

TEST_F(SurfaceTest, DrawingSurvivesGrowingAndClsClears)
{
    form->hdc()->setPixelV(5, 5, 0x000000FF);
    form->Move(0, 0, 80 * 15, 50 * 15);
    EXPECT_EQ(form->image().size(), QSize(80, 50));
    EXPECT_EQ(form->image().pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(form->image().pixel(79, 49), qRgb(255, 255, 255)); // new area in BackColor
    form->Cls();
    EXPECT_EQ(form->image().pixel(5, 5), qRgb(255, 255, 255));
}

TEST_F(SurfaceTest, SettingBackColorClearsTheDrawing)
{
    form->hdc()->setPixelV(5, 5, 0x000000FF);
    form->setBackColor(0x80000005);
    EXPECT_EQ(form->image().pixel(5, 5), qRgb(255, 255, 255));
    form->setBackColor(0x00000000);
    EXPECT_EQ(form->image().pixel(5, 5), qRgb(0, 0, 0));
}

TEST_F(SurfaceTest, ShownFormShowsItsImage)
{
    form->hdc()->fillRect(gdi::Rect{10, 10, 20, 20}, gdi::Brush::solid(0x00FF0000));
    const QImage shown = form->grab().toImage();
    EXPECT_EQ(shown.pixel(15, 15), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(25, 25), qRgb(255, 255, 255));
}

TEST_F(SurfaceTest, HiddenPictureBoxFollowsItsSizeAndAutoSizesToItsPicture)
{
    auto *box = new PictureBox(form, QStringLiteral("PicPrepare"));
    box->setVisible(false);
    box->Move(0, 0, 300, 300); // twips on the form: 20 x 20 pixels
    EXPECT_EQ(box->image().size(), QSize(20, 20));
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    box->setAutoSize(true);
    box->setPicture(StdPicture::fromImage(picture));
    EXPECT_EQ(box->size(), QSize(7, 5));
    EXPECT_EQ(box->image().pixel(6, 4), qRgb(1, 2, 3));
    EXPECT_DOUBLE_EQ(box->ScaleWidth(), 7 * 15.0);
}

TEST_F(SurfaceTest, SurfaceTooLargeForABitmapIsNoSurface)
{
    auto *box = new PictureBox(form, QStringLiteral("PicHuge"));
    box->setVisible(false);
    box->resize(40000, 40000); // 6.4 GB of pixels
    EXPECT_TRUE(box->image().isNull());
    EXPECT_TRUE(box->hdc()->isNull());
    EXPECT_FALSE(box->hdc()->fillRect({0, 0, 10, 10}, gdi::Brush::solid(0)));
    box->Cls();
    box->resize(8, 6);
    EXPECT_EQ(box->image().size(), QSize(8, 6)) << "a size that fits has its surface again";
}

TEST_F(SurfaceTest, LabelDrawsMnemonicCaptionOnItsBackColor)
{
    auto *label = new Label(form, QStringLiteral("LabelStatus"));
    label->setBackColor(0x0000FF00);
    label->setForeColor(0x00000000);
    label->setCaption(QStringLiteral("Reading && Counting"));
    label->resize(200, 20);
    QImage image(200, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    label->draw(painter, 200, 20);
    painter.end();
    EXPECT_EQ(image.pixel(199, 19), qRgb(0, 255, 0));
    int dark = 0;
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 20; ++y)
            dark += qGray(image.pixel(x, y)) < 100;
    EXPECT_GT(dark, 20);
    testsupport::writeTestPng(QStringLiteral("runtime"), QStringLiteral("label"), image);
}

}
