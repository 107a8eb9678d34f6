#pragma once

#include <QPoint>

// Placement arithmetic of the title bar: the buttons laid out from the right, the caption and the
// icon. All values are pixels on the bar's drawing surface.
namespace titelbar {

// The background styles (0 to 14) whose buttons and rows differ from the rest: the tab with
// grip dots that every window uses, and the two stacked halves.
inline constexpr int StyleTab = 13;
inline constexpr int StyleHalves = 14;

// One caption button's place and whether it is shown.
struct ButtonBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool shown = false;
};

struct ButtonRow {
    ButtonBox close, maximize, minimize, help;
};

// Places the shown buttons right to left (close, maximise, minimise, help); a hidden close button
// is placed all the same, other hidden buttons keep their previous position.
void LayoutButtons(ButtonRow &row, int style, double scaleWidth, double scaleHeight);

struct CaptionInput {
    int posX = 0;
    int posY = 0;
    int scaleWidth = 0;
    int scaleHeight = 0;
    int textWidth = 0;
    int textHeight = 0;
    int penWidth = 1;
    int borderNormal = 0;
    bool hasPicture = false;
    int picturePosX = 6;
    int holderWidth = 0;
};

QPoint CaptionPosition(const CaptionInput &in);

// The icon's position by PicturePosMode; the centred modes write back the centred coordinate.
void PlaceIcon(int mode, int scaleWidth, int scaleHeight, int holderWidth, int holderHeight,
               int &picturePosX, int &picturePosY);

}
