// Temporary: drawing calls land here until their own files replace them.
#include "gdi/DrawDib.h"

namespace gdi {

bool Dc::lineTo(int, int) { return false; }
bool Dc::setPixelV(int, int, ColorRef) { return false; }
ColorRef Dc::getPixel(int, int) const { return CLR_INVALID; }
bool Dc::fillRect(const Rect &, const Brush &) { return false; }
bool Dc::frameRect(const Rect &, const Brush &) { return false; }
bool Dc::rectangle(int, int, int, int) { return false; }
bool Dc::roundRect(int, int, int, int, int, int) { return false; }
bool Dc::drawEdge(Rect &, quint32, quint32) { return false; }
int Dc::drawText(const QString &, Rect &, quint32) { return 0; }
bool Dc::textOut(int, int, const QString &) { return false; }
Size Dc::getTextExtent(const QString &) const { return {}; }
TextMetrics Dc::getTextMetrics() const { return {}; }
bool Dc::drawState(const Icon &, int, int, int, int, quint32) { return false; }
bool Dc::drawState(const Bitmap &, int, int, int, int, quint32) { return false; }
bool Dc::drawState(const QString &, int, int, int, int, quint32) { return false; }
bool Dc::drawIconEx(int, int, const Icon &, int, int, quint32) { return false; }
bool Dc::bitBlt(int, int, int, int, const Dc *, int, int, Rop) { return false; }
bool Dc::stretchBlt(int, int, int, int, const Dc *, int, int, int, int, Rop) { return false; }
bool Dc::transparentBlt(int, int, int, int, const Dc &, int, int, int, int, ColorRef) { return false; }
bool Dc::alphaBlend(int, int, int, int, const Dc &, int, int, int, int, BlendFunction) { return false; }
bool Dc::gradientFill(std::span<const TriVertex>, std::span<const GradientRect>, quint32) { return false; }
bool Dc::gradientFill(std::span<const TriVertex>, std::span<const GradientTriangle>) { return false; }
int Dc::getDIBits(const Bitmap &, int, int, void *, BitmapInfoHeader &, quint32) const { return 0; }
int Dc::setDIBitsToDevice(int, int, int, int, int, int, int, int, const void *, const BitmapInfoHeader &, quint32)
{
    return 0;
}
bool DrawDib::draw(Dc &, int, int, int, int, const BitmapInfoHeader &, const void *, int, int, int, int, quint32)
{
    return false;
}

int Region::type() const { return m_region.isEmpty() ? NULLREGION : (m_region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION); }
Region createRectRgn(int, int, int, int) { return {}; }
Region createRoundRectRgn(int, int, int, int, int, int) { return {}; }
int combineRgn(Region &, const Region &, const Region &, int) { return RGN_ERROR; }

Icon::Icon(const QIcon &icon, QSize size) : m_icon(icon), m_size(size) {}
Icon::Icon(const QPixmap &pixmap) : m_icon(pixmap), m_size(pixmap.size()) {}
Icon::Icon(const QImage &image) : Icon(QPixmap::fromImage(image)) {}
QImage Icon::image(QSize) const { return {}; }

uchar *DibSection::bits() const { return nullptr; }
qint64 DibSection::bytesPerLine() const { return 0; }
qint64 DibSection::sizeImage() const { return 0; }
DibSection createDIBSection(const BitmapInfoHeader &, quint32) { return {}; }

} // namespace gdi
