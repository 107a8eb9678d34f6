#pragma once

#include "gdi/Dc.h"
#include "gdi/DrawDib.h"
#include "runtime/StdPicture.h"

#include <QSize>
#include <QString>

#include <memory>
#include <optional>
#include <stdexcept>

// The error SavePicture raises when its file cannot be opened: number 17, the source
// "<executable>.cDIBSection" and the system's message for the failure.
struct pcDibSectionError : std::runtime_error {
    pcDibSectionError(int number, QString source, QString description);
    int Number;
    QString Source;
    QString Description;
};

// A 32-bit DIB section selected into its own memory device context: pixel memory addressable
// directly (blue, green, red, alpha; rows bottom-up, Width x 4 bytes each) and drawable with the
// blit calls. Owns the section, the context and the DrawDib engine; ClearUp (and destruction)
// releases them. Width and Height default to -1 in the drawing calls: the image's own.
class pcDibSection {
public:
    pcDibSection() = default;
    pcDibSection(const pcDibSection &) = delete;
    pcDibSection &operator=(const pcDibSection &) = delete;
    ~pcDibSection();

    // AlphaBlend onto the target with per-pixel (premultiplied) alpha and the constant alpha.
    void AlphaPaintPicture(gdi::Dc &target, int x = 0, int y = 0, int width = -1, int height = -1, int srcX = 0,
                           int srcY = 0, quint8 constantAlpha = 255);
    void Clear();
    void ClearUp();
    // destination := destination + (source - destination) x alpha / 255 on the colour bytes, rows
    // in memory order; width and height -1 take the area both images share (see the .cpp).
    static void CodeAlphaBlend(pcDibSection &destination, const pcDibSection &source, int dx, int dy,
                               int width, int height, int alpha);
    bool Create(int width, int height);
    // Fills the information header for width x height at 32 bits and makes the section.
    bool CreateDIB(const gdi::Dc *dc, int width, int height, gdi::DibSection &dib);
    void CreateFromHBitmap(const gdi::Bitmap &bitmap);
    void CreateFromPicture(const runtime::StdPicture &picture);
    void Lighten(int percent);
    void LoadPictureBlt(const gdi::Dc &source, int srcX = 0, int srcY = 0, int width = -1, int height = -1,
                        gdi::Rop rop = gdi::SRCCOPY);
    void ModifyHLS(double hueFactor, double lightnessFactor, double saturationFactor);
    void PaintPicture(gdi::Dc &target, int x = 0, int y = 0, int width = -1, int height = -1, int srcX = 0,
                      int srcY = 0, gdi::Rop rop = gdi::SRCCOPY);
    void RandomiseBits(bool grey);
    // A resized copy, or nullptr when it cannot be made.
    std::unique_ptr<pcDibSection> Resample(int newHeight, int newWidth) const;
    // Writes a 32-bit .bmp; false on a failed write; throws pcDibSectionError when the file
    // cannot be opened.
    bool SavePicture(const QString &fileName) const;

    int BytesPerScanLine() const;
    uchar *DIBSectionBitsPtr() const { return m_bits; }
    gdi::Dc *hdc() { return m_dc ? &*m_dc : nullptr; }
    const gdi::Dc *hdc() const { return m_dc ? &*m_dc : nullptr; }
    const gdi::DibSection &hDib() const { return m_dib; }
    int Height() const { return m_header.height; }
    int Width() const { return m_header.width; }
    bool UseDrawDib() const { return bool(m_drawDib); }
    void setUseDrawDib(bool use);

    // The colour model, hue in sixths from -1 to 5, lightness and saturation 0 to 1.
    struct HLS {
        float h = 0;
        float l = 0;
        float s = 0;
    };
    static HLS RGBToHLS(int r, int g, int b);
    static void HLSToRGB(const HLS &hls, int &r, int &g, int &b);

private:
    static float MaxOf3(float a, float b, float c);
    static float MinOf3(float a, float b, float c);
    static QString WinApiErrorText(int code);
    static bool CheckWriteResult(bool succeeded, qint64 expected, qint64 written);
    void ResampleInto(pcDibSection &target) const;
    bool SaveToBitmap(const uchar *pixels, const QString &fileName) const;
    // Width and height as the drawing calls take them: a negative one is the image's own.
    QSize sizeOrOwn(int width, int height) const;
    // Calls visit with each pixel's four bytes (blue, green, red, alpha), row by row.
    template <typename Visit>
    void forEachPixel(Visit visit);
    template <typename Change>
    void changeEachPixel(Change change);

    gdi::DibSection m_dib;
    gdi::Bitmap m_previousBitmap;
    std::optional<gdi::Dc> m_dc;
    std::unique_ptr<gdi::DrawDib> m_drawDib;
    uchar *m_bits = nullptr;
    gdi::BitmapInfoHeader m_header;
};
