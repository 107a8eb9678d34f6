#pragma once

#include <QImage>
#include <QMetaType>
#include <QString>

#include <memory>

namespace runtime {

// A picture object: a bitmap or an icon, or Nothing. Copies share the picture, and two pictures
// are equal only when they are the same picture (as object references are). Width and Height are
// in HIMETRIC (hundredths of a millimetre) as the platform reports them; pixelWidth/pixelHeight
// give the pixels.
class StdPicture {
public:
    enum PictureType { vbPicTypeNone = 0, vbPicTypeBitmap = 1, vbPicTypeMetafile = 2, vbPicTypeIcon = 3 };

    StdPicture() = default; // Nothing
    // A null image gives Nothing. Icons keep their alpha (ARGB32 premultiplied); bitmaps are
    // stored opaque (RGB32).
    static StdPicture fromImage(const QImage &image, PictureType type = vbPicTypeBitmap);

    bool isNothing() const { return !m_data; }
    explicit operator bool() const { return !isNothing(); }

    int Type() const;
    qint32 Width() const;
    qint32 Height() const;
    int pixelWidth() const;
    int pixelHeight() const;
    // The pixels; a null image for Nothing.
    const QImage &image() const;

    friend bool operator==(const StdPicture &a, const StdPicture &b) { return a.m_data == b.m_data; }

private:
    struct Data {
        QImage image;
        PictureType type = vbPicTypeNone;
        qint32 himetricWidth = 0;
        qint32 himetricHeight = 0;
    };
    std::shared_ptr<const Data> m_data;
};

// LoadPicture: a picture from a file (.ico files become icons), Nothing for an empty path or a
// file that cannot be read.
StdPicture LoadPicture(const QString &path);

// Pixels to HIMETRIC and back at the screen's pixels per inch, rounded to the nearest.
qint32 PixelsToHimetric(int pixels, int dpi);
int HimetricToPixels(qint32 himetric, int dpi);

} // namespace runtime

Q_DECLARE_METATYPE(runtime::StdPicture)
