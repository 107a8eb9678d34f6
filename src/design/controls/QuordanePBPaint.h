#pragma once

#include "controls/QuordanePBLayout.h"
#include "gdi/Dc.h"

#include <QFont>
#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

// The paint of the progress bar over a device context, apart from the control: everything that
// DrawBar draws between the PrePaint event and the copy to the window.
namespace QuordanePBPaint {

// The properties that painting reads, with the values of a freshly created instance.
struct Look {
    int appearance = 1;
    std::uint32_t backColor = 0xE0E0E0;
    int backPictureMode = 1;
    std::uint32_t barColor = 0x800000;
    std::uint32_t barForeColor = 0xFFFFFF;
    int barPictureMode = 1;
    bool blendToParent = true;
    int borderStyle = 1;
    QFont font;
    std::uint32_t foreColor = 0;
    std::int32_t max = 100;
    std::int32_t min = 0;
    bool segments = false;
    bool showText = false;
    int textAlignX = 1;
    int textAlignY = 1;
    QString text;
    std::int32_t value = 0;
    bool xpStyle = false;
    bool operator==(const Look &) const = default;
};

// What the hidden picture holders show: their drawing surfaces. A null bitmap has pixel size 0 and
// draws nothing; hasBack and hasBar say whether a picture was assigned to picBack and picBar.
struct Holders {
    gdi::Bitmap back;
    bool hasBack = false;
    gdi::Bitmap bar;
    bool hasBar = false;
    gdi::Bitmap backBlend;
    gdi::Bitmap barBlend;
};

// What painting takes from outside the control's properties.
struct Host {
    std::uint32_t backColor = 0x8000000F;   // the host window's BackColor, for the gaps
    float dpiFactor = 1.0f;
    const QWidget *window = nullptr;        // whose style the visual-style parts are drawn in
    std::function<bool()> yield;            // one pass of the message loop; false: the window was unloaded, stop
};

// What one paint laid out: enough to tell whether another Value would end the bar in the same place.
struct Drawn {
    bool complete = false;           // not cut short by the window going away during the yield
    bool coveredClient = false;      // the background covered the whole client area, so the result
                                     // owes nothing to what the surface held before
    QuordanePBLayout::Ltrb inner;
    bool horizontal = true;
    bool snap = false;
    int step = 0;
    QuordanePBLayout::Ltrb bar;

    // Whether a bar at fraction p ends where this one did.
    bool sameBar(double p) const { return QuordanePBLayout::barRect(inner, p, horizontal, snap, step) == bar; }
};

// Steps 4 to 17 of DrawBar into a W x H client area at (0, 0) of dc.
Drawn paint(gdi::Dc &dc, int w, int h, const Look &look, const Holders &holders, const Host &host);

// The frame: style 0 flat black, 1 thin 3-D lines, 2 the platform's soft edge.
void drawBorder(gdi::Dc &dc, int style, const gdi::Rect &rect, bool raised);

// Fills (x, y, w, h) with the source's tile of tw x th, anchored at the destination's origin.
void tileBlt(gdi::Dc &destination, int x, int y, int w, int h, const gdi::Dc &source, int tw, int th, int ox, int oy);

// OleTranslateColor without a palette; -1 when it fails.
std::uint32_t translateColor(std::uint32_t color);

}
