#include "controls/dcButtonPainter.h"
#include "controls/dcButtonState.h"

#include "support/TestOutput.h"

#include <gtest/gtest.h>

#include <QImage>

#include <limits>
#include <optional>

namespace {

using ColorMath::Color;

Color pixel(const QImage &image, int x, int y) { return gdi::fromPixel(image.pixel(x, y)); }

dcButtonLook standardLook(QSize size = {100, 30})
{
    dcButtonLook look;
    look.size = size;
    look.colors = dcButtonColors::derive(0x808080, 0x404040, 0xFFFFFF, 0xC0C0C0);
    look.font = QFont(QStringLiteral("DejaVu Sans"));
    look.font.setPixelSize(11);
    // Whole-pixel glyphs, so that caption pixels have exactly the colours drawn.
    look.font.setStyleStrategy(QFont::NoAntialias);
    return look;
}

dcButtonPicture solidBitmap(QSize size, QRgb left, QRgb right)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, x < size.width() / 2 ? left : right);
    dcButtonPicture p;
    p.bitmap = gdi::Bitmap(image);
    p.ownSize = size;
    return p;
}

// Bounding box of the pixels of exactly one colour, inside the border.
QRect boxOf(const QImage &image, Color color)
{
    QRect box;
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 2; x < image.width() - 2; ++x)
            if (pixel(image, x, y) == color)
                box |= QRect(x, y, 1, 1);
    return box;
}

}

TEST(dcButtonPainter, FaceGradientOfTheHundredByThirtyButton)
{
    const QImage image = dcButtonPainter::render(standardLook(), dcButtonState::Normal);
    testsupport::writeTestPng("dcButton", "painter_state0_plain", image);
    // Rows 0 and 29 carry the border; the gradient shows between them.
    EXPECT_EQ(pixel(image, 50, 14), 0x606060u);
    EXPECT_EQ(pixel(image, 50, 7), 0x505050u);
    EXPECT_EQ(pixel(image, 50, 15), 0x626262u);
    EXPECT_EQ(pixel(image, 1, 14), 0x606060u) << "every row runs from x 0";
    EXPECT_EQ(pixel(image, 98, 14), 0x606060u) << "to x W - 1";
}

TEST(dcButtonPainter, MiddleRowFollowsTheStateColour)
{
    struct Row {
        int state;
        Color middle;
    };
    // Mid of FaceTopColor 0x40 and the state colour: 0x80, HotBackColor 0xB3, DownBackColor 0x66.
    const Row rows[] = {{dcButtonState::Normal, 0x606060}, {dcButtonState::Hot, 0x7A7A7A},
                        {dcButtonState::Down, 0x535353}};
    for (const Row &row : rows) {
        const QImage image = dcButtonPainter::render(standardLook(), row.state);
        EXPECT_EQ(pixel(image, 50, 14), row.middle) << "state " << row.state;
    }
}

TEST(dcButtonPainter, DisabledFillsFlatAndFramesInTheFadedText)
{
    dcButtonLook look = standardLook();
    look.enabled = false;
    look.focusFrameAllowed = true;
    look.hasFocus = true;
    const QImage image = dcButtonPainter::render(look, dcButtonState::Disabled);
    EXPECT_EQ(pixel(image, 50, 14), 0xE6E6E6u);
    EXPECT_EQ(pixel(image, 50, 1), 0xE6E6E6u) << "no focus frame in state 3";
    EXPECT_EQ(pixel(image, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(pixel(image, 99, 29), 0xFFFFFFu);
}

TEST(dcButtonPainter, BorderAndCornerPixelsFollowButtonShape)
{
    struct Row {
        int shape;
        bool leftCorner;
        bool rightCorner;
    };
    const Row rows[] = {{0, true, true}, {1, false, true}, {2, true, false}, {3, false, false}};
    for (const Row &row : rows) {
        dcButtonLook look = standardLook();
        look.buttonShape = row.shape;
        const QImage image = dcButtonPainter::render(look, dcButtonState::Normal);
        EXPECT_EQ(pixel(image, 0, 0), 0xFFFFFFu);
        EXPECT_EQ(pixel(image, 99, 0), 0xFFFFFFu);
        EXPECT_EQ(pixel(image, 0, 29), 0xFFFFFFu);
        EXPECT_EQ(pixel(image, 99, 29), 0xFFFFFFu);
        EXPECT_EQ(pixel(image, 1, 1) == 0xFFFFFFu, row.leftCorner) << "shape " << row.shape;
        EXPECT_EQ(pixel(image, 1, 28) == 0xFFFFFFu, row.leftCorner) << "shape " << row.shape;
        EXPECT_EQ(pixel(image, 98, 1) == 0xFFFFFFu, row.rightCorner) << "shape " << row.shape;
        EXPECT_EQ(pixel(image, 98, 28) == 0xFFFFFFu, row.rightCorner) << "shape " << row.shape;
    }
}

TEST(dcButtonPainter, FocusFrameInsideTheBorder)
{
    dcButtonLook look = standardLook();
    look.buttonShape = 0;
    look.focusFrameAllowed = true;
    look.hasFocus = true;
    const QImage image = dcButtonPainter::render(look, dcButtonState::Normal);
    testsupport::writeTestPng("dcButton", "painter_focus_shape0", image);
    EXPECT_EQ(pixel(image, 50, 1), 0x808080u);
    EXPECT_EQ(pixel(image, 50, 28), 0x808080u);
    EXPECT_EQ(pixel(image, 1, 14), 0x808080u) << "rounded left side";
    EXPECT_EQ(pixel(image, 98, 14), 0x808080u) << "rounded right side";
    EXPECT_EQ(pixel(image, 2, 2), 0x808080u);
    EXPECT_EQ(pixel(image, 97, 27), 0x808080u);
    EXPECT_EQ(pixel(image, 1, 1), 0xFFFFFFu) << "the border's corner pixel is drawn last";

    look.buttonShape = 3;
    const QImage square = dcButtonPainter::render(look, dcButtonState::Normal);
    EXPECT_EQ(pixel(square, 50, 1), 0x808080u);
    EXPECT_NE(pixel(square, 1, 14), 0x808080u) << "square sides have no vertical frame line";

    look.hasFocus = false;
    look.isDefault = true;
    EXPECT_EQ(pixel(dcButtonPainter::render(look, dcButtonState::Normal), 50, 1), 0x808080u)
        << "the default button shows the frame too";
    look.focusFrameAllowed = false;
    EXPECT_NE(pixel(dcButtonPainter::render(look, dcButtonState::Normal), 50, 1), 0x808080u);
}

TEST(dcButtonPainter, CaptionMovesOnePixelPressedAndTwoForAToggleThatIsOn)
{
    dcButtonLook look = standardLook();
    look.caption = QStringLiteral("Scan");
    look.specialEffect = 0;
    const QRect normal = boxOf(dcButtonPainter::render(look, dcButtonState::Normal), 0xFFFFFF);
    ASSERT_FALSE(normal.isEmpty()) << "the caption draws in TextColor";

    const QImage pressed = dcButtonPainter::render(look, dcButtonState::Down);
    testsupport::writeTestPng("dcButton", "painter_state2_caption", pressed);
    EXPECT_EQ(boxOf(pressed, 0xFFFFFF), normal.translated(1, 1));

    look.checkBoxMode = true;
    look.value = true;
    const QImage toggled = dcButtonPainter::render(look, dcButtonState::Normal);
    testsupport::writeTestPng("dcButton", "painter_toggle_on", toggled);
    EXPECT_EQ(boxOf(toggled, 0xFFFFFF), normal.translated(2, 2));
    EXPECT_EQ(pixel(toggled, 10, 14), 0x535353u) << "a toggle that is on paints as down";
}

TEST(dcButtonPainter, ReliefCopiesOfTheCaption)
{
    dcButtonLook look = standardLook();
    // A flat face, so that no gradient row shares the copies' colours.
    look.colors = dcButtonColors::derive(0x808080, 0x808080, 0xFFFFFF, 0xC0C0C0);
    look.caption = QStringLiteral("Scan");
    look.specialEffect = 0;
    const QRect text = boxOf(dcButtonPainter::render(look, dcButtonState::Normal), 0xFFFFFF);
    ASSERT_FALSE(text.isEmpty());
    // Light and Dark: the face colour plus and minus 26.
    constexpr Color light = 0x9A9A9A;
    constexpr Color dark = 0x666666;
    struct Row {
        int effect;
        QPoint darkOffset;
        std::optional<QPoint> lightOffset;
    };
    const Row rows[] = {{1, {1, 1}, QPoint(-1, -1)}, {2, {-1, -1}, QPoint(1, 1)}, {3, {1, 1}, std::nullopt}};
    for (const Row &row : rows) {
        look.specialEffect = row.effect;
        const QImage image = dcButtonPainter::render(look, dcButtonState::Normal);
        testsupport::writeTestPng("dcButton", QStringLiteral("painter_effect%1").arg(row.effect), image);
        EXPECT_EQ(boxOf(image, 0xFFFFFF), text) << "the caption itself stays put, effect " << row.effect;
        const QRect darkBox = boxOf(image, dark);
        ASSERT_FALSE(darkBox.isEmpty()) << row.effect;
        // The caption covers part of each copy, so only the copy's far corner is certain.
        if (row.darkOffset.x() > 0)
            EXPECT_EQ(darkBox.bottomRight(), text.bottomRight() + row.darkOffset) << row.effect;
        else
            EXPECT_EQ(darkBox.topLeft(), text.topLeft() + row.darkOffset) << row.effect;
        const QRect lightBox = boxOf(image, light);
        if (!row.lightOffset) {
            EXPECT_TRUE(lightBox.isEmpty()) << "no light copy for the shadow";
        } else if (row.lightOffset->x() < 0) {
            EXPECT_EQ(lightBox.topLeft(), text.topLeft() + *row.lightOffset) << row.effect;
        } else {
            EXPECT_EQ(lightBox.bottomRight(), text.bottomRight() + *row.lightOffset) << row.effect;
        }
    }
}

TEST(dcButtonPainter, PictureLeftOfCaption)
{
    dcButtonLook look = standardLook();
    look.caption = QStringLiteral("Look up");
    look.specialEffect = 0;
    look.pictureAlignment = 4;
    look.pictureNormal = solidBitmap({16, 16}, qRgb(255, 0, 0), qRgb(255, 0, 0));
    look.pictureDrawSize = {16, 16};
    const dcButtonLayout::Placement placement = dcButtonPainter::layOut(look);
    const int tw = placement.caption.width();
    ASSERT_GT(tw, 0);
    EXPECT_EQ(placement.picture.x(), (100 - (16 + 2 + tw)) / 2);
    EXPECT_EQ(placement.caption.x(), placement.picture.x() + 18);
    EXPECT_EQ(placement.picture.y(), 7);

    const QImage image = dcButtonPainter::render(look, dcButtonState::Normal);
    testsupport::writeTestPng("dcButton", "painter_picture_align4", image);
    EXPECT_EQ(boxOf(image, 0x0000FF), QRect(placement.picture.topLeft(), QSize(16, 16)));
}

TEST(dcButtonPainter, ChoosesTheStatePicture)
{
    dcButtonLook look = standardLook();
    look.pictureAlignment = 0;
    look.specialEffect = 0;
    look.pictureDrawSize = {16, 16};
    look.pictureNormal = solidBitmap({16, 16}, qRgb(255, 0, 0), qRgb(255, 0, 0));
    look.pictureHot = solidBitmap({16, 16}, qRgb(0, 255, 0), qRgb(0, 255, 0));
    look.pictureDown = solidBitmap({16, 16}, qRgb(0, 0, 255), qRgb(0, 0, 255));
    EXPECT_EQ(pixel(dcButtonPainter::render(look, 0), 50, 15), 0x0000FFu);
    EXPECT_EQ(pixel(dcButtonPainter::render(look, 1), 50, 15), 0x00FF00u);
    EXPECT_EQ(pixel(dcButtonPainter::render(look, 2), 50, 15), 0xFF0000u);
}

TEST(dcButtonPainter, DisabledPictureFadesIntoTheFaceAndDropsTheMaskColour)
{
    dcButtonLook look = standardLook();
    look.enabled = false;
    look.pictureAlignment = 0;
    look.pictureDrawSize = {16, 16};
    look.pictureNormal = solidBitmap({16, 16}, qRgb(255, 0, 0), qRgb(0xC0, 0xC0, 0xC0));
    const QImage image = dcButtonPainter::render(look, dcButtonState::Disabled);
    testsupport::writeTestPng("dcButton", "painter_state3_picture", image);
    const QRect picture = dcButtonPainter::layOut(look).picture;
    // 0xE6 + 0.2 * (0xFF - 0xE6) = 235, 0xE6 + 0.2 * (0 - 0xE6) = 184.
    EXPECT_EQ(pixel(image, picture.x() + 2, picture.y() + 2), gdi::rgb(235, 184, 184));
    EXPECT_EQ(pixel(image, picture.x() + 12, picture.y() + 2), 0xE6E6E6u)
        << "pixels of the mask colour show the background";
}

TEST(dcButtonPainter, DisabledPictureClippedAtTheEdge)
{
    dcButtonLook look = standardLook({20, 20});
    look.enabled = false;
    look.pictureAlignment = 1; // bottom: y = H - ph - 4, pushed out below by a tall picture
    look.pictureDrawSize = {10, 30};
    look.pictureNormal = solidBitmap({10, 30}, qRgb(255, 0, 0), qRgb(255, 0, 0));
    const QImage image = dcButtonPainter::render(look, dcButtonState::Disabled);
    EXPECT_EQ(pixel(image, 7, 10), gdi::rgb(235, 184, 184));
}

TEST(dcButtonPainter, WindowRegionRoundsTheChosenCorners)
{
    struct Row {
        int shape;
        bool topLeft;
        bool topRight;
    };
    const Row rows[] = {{0, false, false}, {1, true, false}, {2, false, true}, {3, true, true}};
    for (const Row &row : rows) {
        const gdi::Region region = dcButtonPainter::windowRegion({100, 30}, row.shape);
        EXPECT_EQ(region.contains(0, 0), row.topLeft) << "shape " << row.shape;
        EXPECT_EQ(region.contains(0, 29), row.topLeft) << "shape " << row.shape;
        EXPECT_EQ(region.contains(99, 0), row.topRight) << "shape " << row.shape;
        EXPECT_EQ(region.contains(99, 29), row.topRight) << "shape " << row.shape;
        EXPECT_TRUE(region.contains(50, 15));
        EXPECT_TRUE(region.contains(99, 15)) << "shape " << row.shape;
        EXPECT_TRUE(region.contains(50, 29)) << "shape " << row.shape;
    }
}

TEST(dcButtonPainter, HugeOrNegativePictureSizesCostOnlyTheControl)
{
    for (QSize drawSize : {QSize(1 << 30, 1 << 30), QSize(-40, 16), QSize(16, std::numeric_limits<int>::max())}) {
        dcButtonLook look = standardLook();
        look.caption = QStringLiteral("Go");
        look.pictureSize = 5;
        look.pictureDrawSize = drawSize;
        look.pictureNormal = solidBitmap({16, 16}, qRgb(255, 0, 0), qRgb(255, 0, 0));
        for (int alignment = 0; alignment <= 8; ++alignment) {
            look.pictureAlignment = alignment;
            look.enabled = true;
            EXPECT_FALSE(dcButtonPainter::render(look, dcButtonState::Normal).isNull());
            look.enabled = false;
            EXPECT_FALSE(dcButtonPainter::render(look, dcButtonState::Disabled).isNull());
        }
    }
}

TEST(dcButtonPainter, SurvivesTinyAndEmptySizes)
{
    for (QSize size : {QSize(0, 0), QSize(1, 1), QSize(1, 20), QSize(2, 2), QSize(100, 2)}) {
        dcButtonLook look = standardLook(size);
        look.caption = QStringLiteral("&Go");
        look.pictureNormal = solidBitmap({16, 16}, qRgb(255, 0, 0), qRgb(0, 0, 0));
        look.pictureDrawSize = {16, 16};
        for (int state = 0; state <= 3; ++state) {
            look.enabled = state != 3;
            const QImage image = dcButtonPainter::render(look, state);
            EXPECT_FALSE(image.isNull());
        }
    }
}
