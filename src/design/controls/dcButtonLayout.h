#pragma once

#include "controls/ColorMath.h"

#include <QRect>
#include <QSize>

#include <vector>

// Geometry of a dcButton face: where caption and picture go, the window shape and the face
// gradient. Rectangles are used through x, y, width and height only (never QRect::right()).
namespace dcButtonLayout {

constexpr int Margin = 4;
constexpr int MinimumSide = 15;

// PictureAlignment: the picture at an edge or the centre with the caption centred over it, or
// beside, above or below the caption with the two centred together.
enum PictureAlignment {
    PictureCentre = 0,
    PictureBottom = 1,
    PictureBelowCaption = 2,
    PictureLeft = 3,
    PictureLeftOfCaption = 4,
    PictureRight = 5,
    PictureRightOfCaption = 6,
    PictureTop = 7,
    PictureAboveCaption = 8,
};

struct Placement {
    QRect content;   // inside the 4-pixel margins
    QRect caption;   // unpressed position
    QRect picture;   // unpressed position; empty size when there is no picture
};

// client: the control's size; caption: the measured caption size (0 x 0 when the caption is
// empty); picture: PictureSizeW x PictureSizeH, or invalid when there is no PictureNormal.
Placement place(QSize client, QSize caption, bool hasCaption, bool hasPicture, QSize picture,
                int pictureAlignment);

// The window shape: a rounded rectangle (0, 0, W + 1, H + 1) with 5 x 5 corners, united with
// the squaring rectangles that ButtonShape asks for. Rectangles here use exclusive right/bottom
// through QRect(x, y, width, height).
struct Shape {
    QRect roundRect;
    int ellipse = 5;
    std::vector<QRect> squares;
};
Shape shape(QSize client, int buttonShape);

bool leftRounded(int buttonShape);
bool rightRounded(int buttonShape);

// One colour per row from top to bottom: Top to the mid colour at the middle row, the mid colour
// to Bottom below it. midPercent is clamped to 0..100.
std::vector<ColorMath::Color> faceGradientRows(ColorMath::Color top, ColorMath::Color bottom,
                                               int height, float midPercent = 50.0f);

}
