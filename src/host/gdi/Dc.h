#pragma once

#include "gdi/Color.h"
#include "gdi/Dib.h"
#include "gdi/Geometry.h"
#include "gdi/Icon.h"
#include "gdi/Objects.h"
#include "gdi/Region.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <optional>
#include <span>

namespace gdi {

// Background modes.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Stretch modes.
inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;

// Raster operations: the platform's ternary codes (the high word is the truth table over
// pattern, source and destination), so every code works, not only the named ones.
using Rop = quint32;
inline constexpr Rop SRCCOPY = 0x00CC0020;
inline constexpr Rop SRCPAINT = 0x00EE0086;
inline constexpr Rop SRCAND = 0x008800C6;
inline constexpr Rop SRCINVERT = 0x00660046;
inline constexpr Rop SRCERASE = 0x00440328;
inline constexpr Rop NOTSRCCOPY = 0x00330008;
inline constexpr Rop NOTSRCERASE = 0x001100A6;
inline constexpr Rop MERGECOPY = 0x00C000CA;
inline constexpr Rop MERGEPAINT = 0x00BB0226;
inline constexpr Rop PATCOPY = 0x00F00021;
inline constexpr Rop PATPAINT = 0x00FB0A09;
inline constexpr Rop PATINVERT = 0x005A0049;
inline constexpr Rop DSTINVERT = 0x00550009;
inline constexpr Rop BLACKNESS = 0x00000042;
inline constexpr Rop WHITENESS = 0x00FF0062;

// DrawText formats.
inline constexpr quint32 DT_TOP = 0x0;
inline constexpr quint32 DT_LEFT = 0x0;
inline constexpr quint32 DT_CENTER = 0x1;
inline constexpr quint32 DT_RIGHT = 0x2;
inline constexpr quint32 DT_VCENTER = 0x4;
inline constexpr quint32 DT_BOTTOM = 0x8;
inline constexpr quint32 DT_WORDBREAK = 0x10;
inline constexpr quint32 DT_SINGLELINE = 0x20;
inline constexpr quint32 DT_NOCLIP = 0x100;
inline constexpr quint32 DT_CALCRECT = 0x400;
inline constexpr quint32 DT_NOPREFIX = 0x800;
inline constexpr quint32 DT_END_ELLIPSIS = 0x8000;
inline constexpr quint32 DT_HIDEPREFIX = 0x100000;

// DrawEdge edges and flags.
inline constexpr quint32 BDR_RAISEDOUTER = 0x1;
inline constexpr quint32 BDR_SUNKENOUTER = 0x2;
inline constexpr quint32 BDR_RAISEDINNER = 0x4;
inline constexpr quint32 BDR_SUNKENINNER = 0x8;
inline constexpr quint32 EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr quint32 EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr quint32 EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr quint32 EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
inline constexpr quint32 BF_LEFT = 0x1;
inline constexpr quint32 BF_TOP = 0x2;
inline constexpr quint32 BF_RIGHT = 0x4;
inline constexpr quint32 BF_BOTTOM = 0x8;
inline constexpr quint32 BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
inline constexpr quint32 BF_MIDDLE = 0x800;
inline constexpr quint32 BF_SOFT = 0x1000;
inline constexpr quint32 BF_ADJUST = 0x2000;

// DrawState kinds (low four bits) and states.
inline constexpr quint32 DST_TEXT = 0x1;
inline constexpr quint32 DST_PREFIXTEXT = 0x2;
inline constexpr quint32 DST_ICON = 0x3;
inline constexpr quint32 DST_BITMAP = 0x4;
inline constexpr quint32 DSS_NORMAL = 0x0;
inline constexpr quint32 DSS_DISABLED = 0x20;
inline constexpr quint32 DSS_MONO = 0x80;
inline constexpr quint32 DSS_HIDEPREFIX = 0x200;
inline constexpr quint32 DSS_PREFIXONLY = 0x400;
inline constexpr quint32 DSS_RIGHT = 0x8000;

// DrawIconEx flags.
inline constexpr quint32 DI_MASK = 0x1;
inline constexpr quint32 DI_IMAGE = 0x2;
inline constexpr quint32 DI_NORMAL = 0x3;

// GradientFill modes; colour channels are 16 bits, of which the platform uses the high byte.
inline constexpr quint32 GRADIENT_FILL_RECT_H = 0;
inline constexpr quint32 GRADIENT_FILL_RECT_V = 1;

struct TriVertex {
    qint32 x = 0;
    qint32 y = 0;
    quint16 red = 0;
    quint16 green = 0;
    quint16 blue = 0;
    quint16 alpha = 0;
};
struct GradientRect {
    quint32 upperLeft = 0;
    quint32 lowerRight = 0;
};

// AlphaBlend's blend function.
inline constexpr quint8 AC_SRC_OVER = 0;
inline constexpr quint8 AC_SRC_ALPHA = 1;
struct BlendFunction {
    quint8 blendOp = AC_SRC_OVER;
    quint8 blendFlags = 0;
    quint8 sourceConstantAlpha = 255;
    quint8 alphaFormat = 0; // AC_SRC_ALPHA: the source carries premultiplied per-pixel alpha
};

struct TextMetrics {
    int height = 0;
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
};

// A device context over a 32-bit QImage (Format_RGB32, Format_ARGB32 or
// Format_ARGB32_Premultiplied; other formats behave as no surface). What GDI draws is opaque:
// every pixel written by a line, fill, raster operation or text gets alpha 255, except that a
// plain SRCCOPY onto a surface with alpha copies the source's alpha byte too (as between DIB
// sections) and AlphaBlend mixes alpha. An RGB32 surface always stays opaque. A context made with
// createCompatibleDc is a memory context whose surface is the bitmap selected into it. Every call
// on a context without a surface fails as the platform fails on a bad handle (false, 0,
// CLR_INVALID), never crashes.
class Dc {
public:
    explicit Dc(QImage *target = nullptr);
    Dc(Dc &&) noexcept;
    Dc &operator=(Dc &&) noexcept;
    Dc(const Dc &) = delete;
    Dc &operator=(const Dc &) = delete;
    ~Dc();

    // The surface in memory order (a selected bottom-up DIB section shows upside down here).
    QImage *image() const;
    // Binds the context to another surface; clears a memory context's selected bitmap.
    void setImage(QImage *target);
    int width() const;
    int height() const;
    bool isNull() const { return image() == nullptr; }

    // SelectObject: each returns what was selected before.
    Pen selectPen(const Pen &pen);
    Brush selectBrush(const Brush &brush);
    QFont selectFont(const QFont &font);
    // For a memory context; a null bitmap is refused (the previous one stays and a null bitmap
    // comes back). Selecting into a context bound to a foreign image rebinds it to the bitmap.
    Bitmap selectBitmap(const Bitmap &bitmap);
    const Pen &pen() const { return m_pen; }
    const Brush &brush() const { return m_brush; }
    const QFont &font() const { return m_font; }
    const Bitmap &bitmap() const { return m_bitmap; }

    // Each returns the previous value (CLR_INVALID or 0 on a context without a surface).
    ColorRef setTextColor(ColorRef color);
    ColorRef setBkColor(ColorRef color);
    int setBkMode(int mode);
    int setStretchBltMode(int mode);
    ColorRef textColor() const { return m_textColor; }
    ColorRef bkColor() const { return m_bkColor; }
    int bkMode() const { return m_bkMode; }
    int stretchBltMode() const { return m_stretchMode; }

    // SelectClipRgn: a copy of the region clips every later drawing; nullptr removes the clip.
    // Answers the type of the new clip region (SIMPLEREGION for none), RGN_ERROR without surface.
    int selectClipRgn(const Region *region);
    std::optional<QRegion> clipRegion() const { return m_clip; }

    // MoveToEx; previous (when given) receives the old position.
    bool moveTo(int x, int y, Point *previous = nullptr);
    Point currentPosition() const { return m_position; }
    // LineTo: from the current position to (x, y), which is not drawn; moves there.
    bool lineTo(int x, int y);

    bool setPixelV(int x, int y, ColorRef color);
    // CLR_INVALID outside the surface or the clip region.
    ColorRef getPixel(int x, int y) const;
    // On a 32-bit surface every colour is its own nearest.
    ColorRef getNearestColor(ColorRef color) const;

    bool fillRect(const Rect &rect, const Brush &brush);
    // A one-pixel frame just inside the rectangle, in the brush.
    bool frameRect(const Rect &rect, const Brush &brush);
    // Outline in the selected pen, interior in the selected brush.
    bool rectangle(int left, int top, int right, int bottom);
    bool roundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    // The platform's 3D edges in the system colours; BF_ADJUST shrinks rect by the drawn edge.
    bool drawEdge(Rect &rect, quint32 edge, quint32 flags);

    // DrawText with the format flags above; returns the height of the text (0 on failure);
    // DT_CALCRECT measures into rect and draws nothing.
    int drawText(const QString &text, Rect &rect, quint32 format);
    // TextOut at the top-left of the text cell, in the text colour and background mode.
    bool textOut(int x, int y, const QString &text);
    Size getTextExtent(const QString &text) const;
    TextMetrics getTextMetrics() const;

    // DrawState of an icon, a bitmap or text (kind in the low four bits of flags); cx or cy of 0
    // takes the image's own size; the image is not stretched but cut to cx x cy. DSS_DISABLED
    // embosses (highlight at +1, +1, shadow over it), DSS_MONO paints the shape in the text colour;
    // other state bits are ignored.
    bool drawState(const Icon &icon, int x, int y, int cx, int cy, quint32 flags);
    bool drawState(const Bitmap &bitmap, int x, int y, int cx, int cy, quint32 flags);
    bool drawState(const QString &text, int x, int y, int cx, int cy, quint32 flags);
    // DrawIconEx; cx or cy of 0 takes the icon's own size.
    bool drawIconEx(int x, int y, const Icon &icon, int cx, int cy, quint32 flags = DI_NORMAL);

    // The blits. src may be null for raster operations that do not read a source.
    bool bitBlt(int x, int y, int w, int h, const Dc *src, int sx, int sy, Rop rop);
    // Negative sizes mirror; pixels are picked (or combined when shrinking) by the stretch mode.
    bool stretchBlt(int x, int y, int w, int h, const Dc *src, int sx, int sy, int sw, int sh, Rop rop);
    // Copies the source except pixels of exactly the transparent colour; stretches like COLORONCOLOR.
    bool transparentBlt(int x, int y, int w, int h, const Dc &src, int sx, int sy, int sw, int sh,
                        ColorRef transparent);
    bool alphaBlend(int x, int y, int w, int h, const Dc &src, int sx, int sy, int sw, int sh,
                    BlendFunction blend);
    // GradientFill of rectangles, GRADIENT_FILL_RECT_H or _V; any other mode fails.
    bool gradientFill(std::span<const TriVertex> vertices, std::span<const GradientRect> rects, quint32 mode);

    // GetDIBits: rows [start, start + lines) of the bitmap (counted in the header's row order)
    // into bits as 24- or 32-bit pixels. With bits null it fills in the header's sizeImage (and,
    // for a bitCount of 0, the whole header from the bitmap) and answers the bitmap's height.
    // Otherwise answers the number of rows copied, 0 on failure.
    int getDIBits(const Bitmap &bitmap, int start, int lines, void *bits, BitmapInfoHeader &header,
                  quint32 usage = DIB_RGB_COLORS) const;
    // SetDIBitsToDevice: w x h pixels from source (sx, sy) (sy from the bottom of a bottom-up
    // DIB) to (x, y); bits holds scan lines [startScan, startScan + lines). Answers lines set.
    int setDIBitsToDevice(int x, int y, int w, int h, int sx, int sy, int startScan, int lines,
                          const void *bits, const BitmapInfoHeader &header, quint32 usage = DIB_RGB_COLORS);

private:
    QImage *m_target = nullptr;
    Bitmap m_bitmap;
    Pen m_pen;
    Brush m_brush = Brush::solid(rgb(255, 255, 255));
    QFont m_font;
    ColorRef m_textColor = 0;
    ColorRef m_bkColor = rgb(255, 255, 255);
    int m_bkMode = OPAQUE;
    int m_stretchMode = BLACKONWHITE;
    Point m_position;
    std::optional<QRegion> m_clip;
};

// CreateCompatibleDC: a memory context holding a 1 x 1 bitmap until another is selected. The
// reference context only names the device; null means the screen.
Dc createCompatibleDc(const Dc *reference = nullptr);

} // namespace gdi
