#include "controls/PanelFxPaint.h"

#include "controls/GradientVertex.h"
#include "controls/PanelFxLayout.h"
#include "runtime/OleColor.h"

#include <array>

namespace PanelFxPaint {

namespace {

void fillOrFrameRect(gdi::Dc &dc, const gdi::Rect &rect, std::uint32_t color, int mode)
{
    const gdi::Brush brush = gdi::createSolidBrush(translateColor(color));
    if (mode == 1)
        dc.fillRect(rect, brush);
    else
        dc.frameRect(rect, brush);
}

void gradientRect(gdi::Dc &dc, const gdi::Rect &rect, std::uint32_t start, std::uint32_t end, int direction)
{
    const std::array<gdi::TriVertex, 2> vertices{gradientVertex(rect.left, rect.top, translateColor(start)),
                                                 gradientVertex(rect.right, rect.bottom, translateColor(end))};
    const std::array<gdi::GradientRect, 1> mesh{gdi::GradientRect{0, 1}};
    dc.gradientFill(vertices, mesh, quint32(direction));
}

// One of the two areas by the background style; a style 2 without a bitmap fills nothing, as the
// pattern brush cannot be made.
void fillArea(gdi::Dc &dc, const gdi::Rect &rect, int style, std::uint32_t solid, std::uint32_t start,
              std::uint32_t end, int direction, const runtime::StdPicture &bitmap)
{
    switch (style) {
    case 0:
        fillOrFrameRect(dc, rect, solid, 1);
        break;
    case 1:
        gradientRect(dc, rect, start, end, direction);
        break;
    case 2: {
        const gdi::Brush brush = gdi::createPatternBrush(
            bitmap ? gdi::Bitmap(bitmap.image().convertToFormat(QImage::Format_RGB32)) : gdi::Bitmap());
        if (!brush.isNull())
            dc.fillRect(rect, brush);
        break;
    }
    default:
        break;
    }
}

}

gdi::ColorRef translateColor(std::uint32_t color)
{
    gdi::ColorRef rgb = 0;
    return runtime::OleTranslateColor(color, 0, &rgb) == runtime::S_OK ? rgb : gdi::ColorRef(0xFFFF);
}

Result paint(gdi::Dc &dc, int w, int h, const Look &look)
{
    const int t = look.tileHeight;
    const int r = look.roundEdge;
    const PanelFxLayout::Layout layout = PanelFxLayout::layout(w, h, t);
    Result result;

    dc.fillRect({0, 0, dc.width(), dc.height()}, gdi::createSolidBrush(0));
    result.windowRegion = gdi::createRoundRectRgn(layout.region.left, layout.region.top, layout.region.right,
                                                  layout.region.bottom, r, r);

    fillOrFrameRect(dc, layout.bandFrame, look.panelBorderColor, 0);
    fillArea(dc, layout.bandFill, look.backGroundStyle, look.tileBackColor, look.gCTitleStart, look.gCTitleEnd,
             look.gCTitleDir, look.titleBitmap);
    fillOrFrameRect(dc, layout.bodyFrame, look.panelBorderColor, 0);
    fillArea(dc, layout.bodyFill, look.backGroundStyle, look.panelBackColor, look.gCPanelStart, look.gCPanelEnd,
             look.gCPanelDir, look.panelBitmap);

    // The outline is drawn through the pen only: the surface's fill style is transparent.
    const gdi::Pen oldPen = dc.selectPen(gdi::createPen(gdi::PS_SOLID, 1, translateColor(look.panelBorderColor)));
    const gdi::Brush oldBrush = dc.selectBrush(gdi::Brush::hollow());
    dc.roundRect(layout.outline.left, layout.outline.top, layout.outline.right, layout.outline.bottom, r, r);
    dc.selectBrush(oldBrush);
    dc.selectPen(oldPen);

    result.iconDrawn = !look.hideTitleIcon && look.titleIcon;
    if (result.iconDrawn) {
        dc.drawIconEx(look.titleIconXPos, look.titleIconYPos, gdi::Icon(look.titleIcon.image()), look.titleIconWidth,
                      look.titleIconHeight);
    }

    if (!look.titleCaption.isEmpty()) {
        const QFont oldFont = dc.selectFont(look.font);
        const gdi::Size text = dc.getTextExtent(look.titleCaption);
        const PanelFxLayout::CaptionPos pos = PanelFxLayout::captionPos(
            look.titleAlignment, w, t, text.cx, text.cy, result.iconDrawn, look.titleIconWidth);
        dc.setTextColor(translateColor(look.titleForeColor));
        const int oldMode = dc.setBkMode(gdi::TRANSPARENT);
        dc.textOut(pos.x, pos.y, look.titleCaption);
        dc.setBkMode(oldMode);
        dc.selectFont(oldFont);
    }
    return result;
}

}
