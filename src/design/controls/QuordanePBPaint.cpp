#include "controls/QuordanePBPaint.h"

#include "controls/QuordanePBLayout.h"
#include "os/VisualStyles.h"
#include "runtime/OleColor.h"

#include <optional>

namespace QuordanePBPaint {

namespace {

using QuordanePBLayout::Ltrb;

// The brush rule: a system colour fills with that system colour's brush, anything else with a
// solid brush of its own. An index the platform does not know gives no brush.
std::optional<gdi::Brush> fillBrush(std::uint32_t color)
{
    if (color & 0x80000000u) {
        const std::uint32_t rgb = translateColor(0x80000000u | (color & 31));
        if (rgb == 0xFFFFFFFFu)
            return std::nullopt;
        return gdi::Brush::solid(rgb);
    }
    return gdi::Brush::solid(color);
}

bool fill(gdi::Dc &dc, const Ltrb &rect, std::uint32_t color)
{
    const auto brush = fillBrush(color);
    if (brush)
        dc.fillRect(rect, *brush);
    return brush.has_value();
}

// A memory context showing a holder's surface; null when the holder is empty.
struct HolderDc {
    explicit HolderDc(const gdi::Bitmap &bitmap) : dc(gdi::createCompatibleDc())
    {
        if (!bitmap.isNull()) {
            dc.selectBitmap(bitmap);
            width = bitmap.width();
            height = bitmap.height();
        }
    }
    bool empty() const { return width <= 0 || height <= 0; }
    gdi::Dc dc;
    int width = 0;
    int height = 0;
};

// A holder over the whole client area: tiled by mode 1, otherwise stretched. False when the holder
// is empty and nothing was drawn.
bool drawHolderOverClient(gdi::Dc &dc, int w, int h, const gdi::Bitmap &holder, int mode)
{
    const HolderDc source(holder);
    if (source.empty())
        return false;
    if (mode == 1)
        tileBlt(dc, 0, 0, w, h, source.dc, source.width, source.height, 0, 0);
    else
        dc.stretchBlt(0, 0, w, h, &source.dc, 0, 0, source.width, source.height, gdi::SRCCOPY);
    return true;
}

// A holder under the bar: tiled over the bar only (the pattern stays anchored at the control's
// corner), or the whole picture stretched over the client area and cut by the clip.
void drawHolderUnderBar(gdi::Dc &dc, int w, int h, const Ltrb &bar, const gdi::Bitmap &holder, int mode)
{
    const HolderDc source(holder);
    if (source.empty())
        return;
    if (mode == 1)
        tileBlt(dc, bar.left, bar.top, bar.width(), bar.height(), source.dc, source.width, source.height, 0, 0);
    else
        dc.stretchBlt(0, 0, w, h, &source.dc, 0, 0, source.width, source.height, gdi::SRCCOPY);
}

// Only the platform's ANSI code page reaches DrawTextA; what it cannot hold becomes "?".
QString toAnsi(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c.unicode() > 0xFF)
            c = QLatin1Char('?');
    }
    return out;
}

void drawCaption(gdi::Dc &dc, const Look &look, const Ltrb &inner, std::uint32_t color, quint32 flags)
{
    const QFont previous = dc.selectFont(look.font);
    dc.setBkMode(gdi::TRANSPARENT);
    dc.setTextColor(translateColor(color));
    Ltrb rect = inner;
    dc.drawText(toAnsi(QLatin1Char(' ') + look.text + QLatin1Char(' ')), rect, flags);
    dc.selectFont(previous);
}

void line(gdi::Dc &dc, std::initializer_list<gdi::Point> points)
{
    auto it = points.begin();
    dc.moveTo(it->x, it->y);
    for (++it; it != points.end(); ++it)
        dc.lineTo(it->x, it->y);
}

// A themed pass: the style's data opened for the window of the control, closed on every way out.
struct Theme {
    os::HTHEME data;
    int chunk = 0;
    int space = 0;
    bool drewBackground = false;
};

}

std::uint32_t translateColor(std::uint32_t color)
{
    gdi::ColorRef rgb = 0;
    return runtime::OleTranslateColor(color, 0, &rgb) == 0 ? rgb : 0xFFFFFFFFu;
}

void tileBlt(gdi::Dc &destination, int x, int y, int w, int h, const gdi::Dc &source, int tw, int th, int ox, int oy)
{
    for (const QuordanePBLayout::Blit &piece : QuordanePBLayout::tiles(x, y, w, h, tw, th, ox, oy)) {
        destination.bitBlt(piece.destination.left, piece.destination.top, piece.destination.width(),
                           piece.destination.height(), &source, piece.sourceX, piece.sourceY, gdi::SRCCOPY);
    }
}

void drawBorder(gdi::Dc &dc, int style, const gdi::Rect &rect, bool raised)
{
    const auto withPen = [&dc](std::uint32_t color, auto draw) {
        const gdi::Pen previous = dc.selectPen(gdi::createPen(gdi::PS_SOLID, 1, color));
        draw();
        dc.selectPen(previous);
    };
    const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
    switch (style) {
    case 0:
        withPen(0, [&] { line(dc, {{l, t}, {r - 1, t}, {r - 1, b - 1}, {l, b - 1}, {l, t}}); });
        break;
    case 1: {
        const std::uint32_t shadow = translateColor(0x80000010u);      // COLOR_BTNSHADOW
        const std::uint32_t highlight = translateColor(0x80000014u);   // COLOR_BTNHIGHLIGHT
        if (raised) {
            withPen(highlight, [&] { line(dc, {{l, b - 2}, {l, t}, {r - 1, t}}); });
            withPen(shadow, [&] { line(dc, {{r - 1, t}, {r - 1, b - 1}, {l - 1, b - 1}}); });
        } else {
            withPen(shadow, [&] { line(dc, {{l, b - 1}, {l, t}, {r, t}}); });
            withPen(highlight, [&] { line(dc, {{r - 1, t + 1}, {r - 1, b - 1}, {l, b - 1}}); });
        }
        break;
    }
    case 2: {
        gdi::Rect edge = rect;
        dc.drawEdge(edge, raised ? gdi::EDGE_RAISED : gdi::EDGE_SUNKEN, gdi::BF_RECT | gdi::BF_SOFT);
        break;
    }
    default:
        break;
    }
}

Drawn paint(gdi::Dc &dc, int w, int h, const Look &look, const Holders &holders, const Host &host)
{
    using namespace QuordanePBLayout;
    const Ltrb client{0, 0, w, h};
    const bool horizontal = isHorizontal(w, h);
    Drawn drawn;
    drawn.horizontal = horizontal;

    // Background. What the visual style draws is the platform's, so it never counts as covering.
    Theme theme;
    if (look.blendToParent) {
        drawn.coveredClient = drawHolderOverClient(dc, w, h, holders.backBlend, look.backPictureMode);
    } else if (holders.hasBack) {
        drawn.coveredClient = drawHolderOverClient(dc, w, h, holders.back, look.backPictureMode);
    } else {
        if (look.xpStyle)
            theme.data = os::openThemeData(host.window, QStringLiteral("Progress"));
        if (theme.data
            && os::getThemeInt(theme.data.get(), 0, 0, os::TMT_PROGRESSCHUNKSIZE, theme.chunk) == os::S_OK
            && os::getThemeInt(theme.data.get(), 0, 0, os::TMT_PROGRESSSPACESIZE, theme.space) == os::S_OK) {
            theme.chunk += theme.space;
            theme.drewBackground = os::drawThemeBackground(theme.data.get(), dc, horizontal ? os::PP_BAR : os::PP_BARVERT,
                                                           0, client, &client) == os::S_OK;
        }
        if (!theme.drewBackground)
            drawn.coveredClient = fill(dc, client, look.backColor);
    }
    const bool themed = theme.drewBackground;

    // Segment sizes.
    Segments segments{theme.chunk, theme.space};
    if (look.segments && !themed) {
        segments = segmentSizes(host.dpiFactor);
        if (host.yield && !host.yield())
            return drawn;
        segments = fitToWidth(segments, w);
    }

    const Ltrb inner = innerRect(client, look.borderStyle, look.appearance, themed);
    const bool captionWanted = !look.text.isEmpty() && look.showText;
    const quint32 textFlags = quint32(look.textAlignX) | gdi::DT_SINGLELINE | (quint32(look.textAlignY) * 4);
    if (captionWanted && !themed)
        drawCaption(dc, look, inner, look.foreColor, textFlags);

    const Ltrb bar = barRect(inner, fraction(look.value, look.min, look.max), horizontal, look.segments || themed,
                             segments.step());
    drawn.inner = inner;
    drawn.snap = look.segments || themed;
    drawn.step = segments.step();
    drawn.bar = bar;

    // A stretched bar picture covers the client area and relies on the clip to show only the bar,
    // so it is clipped to the bar also where the visual style drew the background.
    const bool stretchedBarPicture = !look.blendToParent && holders.hasBar && look.barPictureMode != 1;
    const bool clipToBar = !themed || stretchedBarPicture;
    const gdi::Region barRegion = gdi::createRectRgn(bar.left, bar.top, bar.right, bar.bottom);
    if (clipToBar)
        dc.selectClipRgn(&barRegion);

    // Bar fill.
    if (look.blendToParent) {
        drawHolderUnderBar(dc, w, h, bar, holders.barBlend, look.barPictureMode);
    } else if (holders.hasBar) {
        drawHolderUnderBar(dc, w, h, bar, holders.bar, look.barPictureMode);
    } else if (themed) {
        const Ltrb chunk{bar.left + 2, bar.top + 2, bar.right - 1, bar.bottom - 1};
        os::drawThemeBackground(theme.data.get(), dc, horizontal ? os::PP_CHUNK : os::PP_CHUNKVERT, 0, chunk, &chunk);
    } else {
        fill(dc, bar, look.barColor);
    }
    if (themed && clipToBar)
        dc.selectClipRgn(nullptr);

    // Gaps between the segments, in the host window's colour.
    if (look.segments && !themed) {
        for (const Ltrb &gap : gaps(inner, bar, horizontal, segments))
            fill(dc, gap, host.backColor);
    }

    // The caption again, over the bar in its own colour.
    if (captionWanted) {
        if (themed) {
            const QFont previous = dc.selectFont(look.font);
            Ltrb content = inner;
            os::getThemeBackgroundContentRect(theme.data.get(), dc, 0, 0, inner, content);
            os::drawThemeText(theme.data.get(), dc, 0, 0, look.text, -1, textFlags, 0, content);
            dc.selectFont(previous);
        } else {
            drawCaption(dc, look, inner, look.barForeColor, textFlags);
        }
    }

    if (!themed) {
        dc.selectClipRgn(nullptr);
        if (look.appearance >= 0 && look.appearance <= 2 && (look.borderStyle == 1 || look.borderStyle == 2))
            drawBorder(dc, look.appearance, client, look.borderStyle == 2);
    }
    drawn.complete = true;
    return drawn;
}

}
