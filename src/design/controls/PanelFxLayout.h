#pragma once

#include "gdi/Geometry.h"

// The panel's geometry in pixels of its surface, apart from any window: where the band and the
// body are filled and framed, where the caption goes, and which part a point belongs to.
namespace PanelFxLayout {

struct Layout {
    gdi::Rect bandFrame;
    gdi::Rect bandFill;
    gdi::Rect bodyFrame;
    gdi::Rect bodyFill;
    gdi::Rect outline;   // the RoundRect call's corners; the platform draws it up to right - 1, bottom - 1
    gdi::Rect region;    // the window region's corners
};

// W and H are the surface's size, T the band height.
Layout layout(int w, int h, int t);

// 1 when Y lies in the body (Y > 0 and Y >= T), 0 otherwise.
int panelOrTitle(double y, int tileHeight);

// Caption position for the given alignment (0 left, 1 centre, 2 right, others 0), with TW and TH
// the caption's text size in the panel's font. A coordinate that does not fit 16 bits is 0.
struct CaptionPos {
    int x = 0;
    int y = 0;
};
CaptionPos captionPos(int alignment, int w, int tileHeight, int textWidth, int textHeight,
                      bool iconDrawn, int iconWidth);

}
