#pragma once

#include "controls/dcButtonColors.h"
#include "controls/dcButtonLayout.h"
#include "gdi/Dc.h"

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

// A picture as the painter draws it: an icon or a bitmap, with its own size in pixels.
struct dcButtonPicture {
    gdi::Icon icon;
    gdi::Bitmap bitmap;
    QSize ownSize;

    bool isNull() const { return icon.isNull() && bitmap.isNull(); }
    bool isIcon() const { return !icon.isNull(); }
};

// Everything a dcButton face depends on, so that it can be painted without a widget.
struct dcButtonLook {
    QSize size;
    dcButtonColors colors;
    QString caption;
    QFont font;
    bool checkBoxMode = false;
    bool value = false;
    bool enabled = true;
    int specialEffect = 3;
    int buttonShape = 3;
    int pictureAlignment = dcButtonLayout::PictureLeft;
    int pictureSize = 0;
    QSize pictureDrawSize; // PictureSizeW x PictureSizeH
    bool useMaskColor = true;
    dcButtonPicture pictureNormal;
    dcButtonPicture pictureHot;
    dcButtonPicture pictureDown;
    bool focusFrameAllowed = false;
    bool hasFocus = false;
    bool isDefault = false;
};

namespace dcButtonPainter {

// Caption and picture rectangles; the caption is measured in the look's font, wrapping at the
// full width of the control.
dcButtonLayout::Placement layOut(const dcButtonLook &look);

// The window shape: corners rounded by ButtonShape.
gdi::Region windowRegion(QSize size, int buttonShape);

// Paints one visual state (0 normal, 1 hot, 2 down, 3 disabled) onto dc and answers the state
// actually painted (a toggle that is on paints as down).
int paint(gdi::Dc &dc, const dcButtonLook &look, const dcButtonLayout::Placement &placement,
          int state);

// Lays out and paints into a new image of the look's size.
QImage render(const dcButtonLook &look, int state);

}
