#pragma once

#include "gdi/Dc.h"
#include "gdi/Objects.h"

#include <QImage>
#include <QMetaType>

// The image control library: image objects, the image control and the shape control.
namespace AlphaImg {

// An image object: a picture with its own alpha, shown unchanged by an image control and drawn
// through three corner points while it turns.
class AlphaImage {
public:
    AlphaImage() = default;
    explicit AlphaImage(const QImage &image);

    bool isNull() const { return m_image.isNull(); }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    const QImage &image() const { return m_image; }

    // Draws the picture into dc so that its upper-left, upper-right and lower-left corners land
    // on (x0, y0), (x1, y1) and (x2, y2): any parallelogram, mirrored when the points say so. A
    // parallelogram without area draws nothing. False without a picture or a surface.
    bool Render(gdi::Dc &dc, float x0, float y0, float x1, float y1, float x2, float y2) const;

    friend bool operator==(const AlphaImage &a, const AlphaImage &b) { return a.m_image == b.m_image; }

private:
    QImage m_image;
};

// The library's global object.
class AICGlobals {
public:
    // An image object from a bitmap, scaled to width x height; -1 for a side keeps the bitmap's
    // own. A null bitmap gives a null image.
    static AlphaImage LoadPictureFromBitmap(const gdi::Bitmap &bitmap, int width = -1, int height = -1);
};

}

Q_DECLARE_METATYPE(AlphaImg::AlphaImage)
