#pragma once

#include "gdi/Dc.h"
#include "runtime/OleColor.h"
#include "runtime/Screen.h"
#include "runtime/StdFont.h"
#include "runtime/StdPicture.h"

#include <QImage>

class QPainter;
class QWidget;

namespace runtime {

// A blank drawing surface: 32-bit RGB at the screen's pixels per inch (so text in points comes out
// at the screen's size), filled with `back`.
QImage NewSurfaceImage(const QSize &size, OleColor back);

// Fill styles of a surface's brush.
enum FillStyleConstants { vbFSSolid = 0, vbFSTransparent = 1 };
// Draw styles of a surface's pen.
enum DrawStyleConstants { vbSolid = 0, vbInvisible = 5, vbInsideSolid = 6 };

// The drawing surface of a form, a picture box or a user control: a persistent 32-bit image the
// size of the widget and a device context bound to it, whose pen, brush, text colour and font
// follow ForeColor/DrawWidth/DrawStyle, FillColor/FillStyle and Font as the design's surfaces do
// (so Rectangle on hdc draws the frame in ForeColor, unfilled by default). The widget's paint
// shows the image. With AutoRedraw off the owner's Paint handler runs first (see paintSurface);
// what was drawn outside it stays in the image either way.
//
// Owners: Form, PictureBox and UserControl derive from it and call resizeSurface from their
// resize event and paintSurface from their paint event.
class Surface {
public:
    explicit Surface(QWidget *owner);
    virtual ~Surface();
    Surface(const Surface &) = delete;
    Surface &operator=(const Surface &) = delete;

    // The device context; valid for the surface's life, bound to image() even across resizes.
    gdi::Dc *hdc();
    // The window handle: the owning widget.
    QWidget *hwnd() const { return m_owner; }
    // The persistent image, the widget's size (also while the widget is hidden).
    QImage &image();

    OleColor BackColor() const { return m_backColor; }
    // Also clears the drawing, as the design's surfaces do.
    void setBackColor(OleColor color);
    OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(OleColor color);
    OleColor FillColor() const { return m_fillColor; }
    void setFillColor(OleColor color);
    int FillStyle() const { return m_fillStyle; }
    void setFillStyle(int style);
    int DrawWidth() const { return m_drawWidth; }
    void setDrawWidth(int width);
    int DrawStyle() const { return m_drawStyle; }
    void setDrawStyle(int style);
    bool FontTransparent() const { return m_fontTransparent; }
    void setFontTransparent(bool transparent);
    StdFont Font() const { return m_font; }
    void setFont(const StdFont &font);
    bool AutoRedraw() const { return m_autoRedraw; }
    void setAutoRedraw(bool autoRedraw) { m_autoRedraw = autoRedraw; }

    // The background picture, drawn at the top-left by Cls (and at once when set).
    StdPicture Picture() const { return m_picture; }
    void setPicture(const StdPicture &picture);
    // The persistent image as a picture (a copy of what is drawn now).
    StdPicture Image() const;

    // ScaleMode of the surface (vbTwips, vbPixels, ...); ScaleWidth/ScaleHeight are the client
    // size in that unit.
    int ScaleMode() const { return m_scaleMode; }
    void setScaleMode(int mode) { m_scaleMode = mode; }
    double ScaleWidth() const;
    double ScaleHeight() const;

    // Clears the drawing to BackColor (and the background picture).
    void Cls();
    // Repaints the widget now from the image.
    void Refresh();

protected:
    // Keeps the image the widget's size: what was drawn stays, new area gets BackColor.
    void resizeSurface(const QSize &size);
    // Shows the image; with AutoRedraw off, surfacePaint runs first so the owner can draw.
    void paintSurface(QPainter &painter, const QRect &exposed);
    // The owner's Paint event (Form_Paint, UserControl_Paint, PictureBox Paint).
    virtual void surfacePaint() {}

private:
    // A hidden widget gets no resize events; the image follows its size when it is used.
    void syncSize();
    void applyPen();
    void applyBrush();
    void applyText();

    QWidget *m_owner;
    QImage m_image;
    gdi::Dc m_dc;
    OleColor m_backColor = 0x8000000Fu;
    OleColor m_foreColor = 0x80000012u;
    OleColor m_fillColor = 0;
    int m_fillStyle = vbFSTransparent;
    int m_drawWidth = 1;
    int m_drawStyle = vbSolid;
    bool m_fontTransparent = true;
    bool m_autoRedraw = false;
    int m_scaleMode = vbTwips;
    StdFont m_font = StdFont::defaultFont();
    StdPicture m_picture;
};

// The surface of a widget (a form, picture box or user control), or nullptr.
Surface *surfaceOf(QWidget *widget);

} // namespace runtime
