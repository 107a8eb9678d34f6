#pragma once

#include "gdi/Dc.h"
#include "runtime/StdPicture.h"

#include <QFont>
#include <QString>

#include <cstdint>

// The whole-panel paint of PanelFx over a device context, apart from the control.
namespace PanelFxPaint {

// The properties that painting reads, with the values of a freshly placed panel.
struct Look {
    int backGroundStyle = 0;                   // 0 solid, 1 gradient, 2 bitmap
    std::uint32_t gCPanelStart = 0xDE9A39;
    std::uint32_t gCPanelEnd = 0xFFFFFF;
    int gCPanelDir = 1;
    std::uint32_t gCTitleStart = 0xDE9A39;
    std::uint32_t gCTitleEnd = 0xFFFFFF;
    int gCTitleDir = 1;
    bool hideTitleIcon = false;
    std::uint32_t panelBackColor = 0x80000005;
    runtime::StdPicture panelBitmap;
    std::uint32_t panelBorderColor = 0x400000;
    int roundEdge = 0;
    std::uint32_t tileBackColor = 0x8000000D;
    int tileHeight = 20;
    int titleAlignment = 0;
    runtime::StdPicture titleBitmap;
    QString titleCaption;
    std::uint32_t titleForeColor = 0xFFFFFF;
    runtime::StdPicture titleIcon;
    int titleIconHeight = 32;
    int titleIconWidth = 32;
    int titleIconXPos = 8;
    int titleIconYPos = 6;
    QFont font;
};

struct Result {
    gdi::Region windowRegion;   // what the panel's window is cut to
    bool iconDrawn = false;     // moves a left-aligned caption right of the icon
};

// Paints a W x H panel into dc, which must be the size of the panel's surface.
Result paint(gdi::Dc &dc, int w, int h, const Look &look);

// OleTranslateColor with no palette; &HFFFF (yellow) when the colour cannot be translated.
gdi::ColorRef translateColor(std::uint32_t color);

}
