#include "chrome/TitelBarLayout.h"

#include "chrome/TitelBarColors.h"

#include <limits>

namespace titelbar {

namespace {

// A 16-bit assignment that overflows is skipped: the target keeps what it held.
void assignInt16(int &target, double value)
{
    const int v = nearest(value);
    if (v >= std::numeric_limits<short>::min() && v <= std::numeric_limits<short>::max())
        target = v;
}

int buttonTop(double scaleHeight, const ButtonBox &b, int t)
{
    return nearest(scaleHeight - b.height) / 2 + t;
}

}

void LayoutButtons(ButtonRow &row, int style, double scaleWidth, double scaleHeight)
{
    int gap = 0;
    int offset = 1;
    if (style == StyleTab) {
        gap = row.close.width;
        offset = 3;
    } else if (style == StyleHalves) {
        gap = 6;
        offset = 2;
    }

    int x = 0;
    assignInt16(x, scaleWidth);
    row.close.left = x - row.close.width - 3 - gap;
    row.close.top = buttonTop(scaleHeight, row.close, offset);
    if (row.close.shown)
        x = row.close.left;
    else
        assignInt16(x, scaleWidth - 3 - gap);

    for (ButtonBox *b : {&row.maximize, &row.minimize, &row.help}) {
        if (!b->shown)
            continue;
        b->left = x - b->width - 1;
        b->top = buttonTop(scaleHeight, *b, offset);
        x = b->left;
    }
}

QPoint CaptionPosition(const CaptionInput &in)
{
    const int afterIcon = in.hasPicture ? 6 + in.picturePosX + in.holderWidth : 6;
    int x = afterIcon;
    switch (in.posX) {
    case 1:
        x = in.borderNormal + in.penWidth;
        break;
    case 2:
        x = (in.scaleWidth - in.textWidth - in.penWidth) / 2;
        break;
    case 3:
        x = in.scaleWidth - in.textWidth - in.borderNormal - in.penWidth;
        break;
    default:
        break;
    }
    int y = 0;
    switch (in.posY) {
    case 0:
        y = (in.scaleHeight - in.textHeight - in.penWidth) / 2;
        break;
    case 2:
        y = (in.scaleHeight - in.textHeight - in.borderNormal - in.penWidth) / 2;
        break;
    case 3:
        y = in.scaleHeight - in.textHeight - in.borderNormal - in.penWidth;
        break;
    default:
        break;
    }
    return {x, y};
}

void PlaceIcon(int mode, int scaleWidth, int scaleHeight, int holderWidth, int holderHeight,
               int &picturePosX, int &picturePosY)
{
    if (mode == 1 || mode == 3)
        picturePosX = nearest((scaleWidth - holderWidth) / 2.0);
    if (mode == 2 || mode == 3)
        picturePosY = nearest((scaleHeight - holderHeight) / 2.0);
}

}
