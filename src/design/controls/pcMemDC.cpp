#include "controls/pcMemDC.h"

pcMemDC::~pcMemDC() { FreeBuffer(); }

void pcMemDC::CreateFromPicture(const runtime::StdPicture &picture)
{
    // Only a bitmap picture has a bitmap to measure and select.
    const bool isBitmap = picture && picture.Type() == runtime::StdPicture::vbPicTypeBitmap;
    const gdi::Bitmap bitmap = isBitmap ? gdi::Bitmap(picture.image().convertToFormat(QImage::Format_RGB32)) : gdi::Bitmap();
    setWidth(bitmap.width());
    setHeight(bitmap.height());
    if (bitmap.isNull() || !m_dc)
        return;
    gdi::Dc temporary = gdi::createCompatibleDc();
    const gdi::Bitmap previous = temporary.selectBitmap(bitmap);
    m_dc->bitBlt(0, 0, bitmap.width(), bitmap.height(), &temporary, 0, 0, gdi::SRCCOPY);
    temporary.selectBitmap(previous);
}

void pcMemDC::Draw(gdi::Dc &target, int srcX, int srcY, int width, int height, int targetX, int targetY)
{
    if (width <= 0)
        width = m_width;
    if (height <= 0)
        height = m_height;
    target.bitBlt(targetX, targetY, width, height, m_dc ? &*m_dc : nullptr, srcX, srcY, gdi::SRCCOPY);
}

gdi::Dc *pcMemDC::hdc(int requestedWidth, int requestedHeight)
{
    if (m_dc) {
        if (requestedWidth > m_width || requestedHeight > m_height)
            CreateBuffer(requestedWidth, requestedHeight);
    } else if (requestedWidth > 0 && requestedHeight > 0) {
        CreateBuffer(requestedWidth, requestedHeight);
    }
    return m_dc ? &*m_dc : nullptr;
}

void pcMemDC::setWidth(int width)
{
    if (width == m_width)
        return;
    hdc(width, m_height);
    m_width = width;
}

void pcMemDC::setHeight(int height)
{
    if (height == m_height)
        return;
    hdc(m_width, height);
    m_height = height;
}

void pcMemDC::CreateBuffer(int width, int height)
{
    FreeBuffer();
    gdi::Dc memory = gdi::createCompatibleDc();
    gdi::Bitmap bitmap = gdi::createCompatibleBitmap(width, height);
    // A request of 0 or less on one side (possible when only the other side grew) makes the
    // platform's 1 x 1 bitmap; a buffer smaller than asked for is no buffer.
    if (bitmap.isNull() || bitmap.width() != width || bitmap.height() != height)
        return;
    m_previousBitmap = memory.selectBitmap(bitmap);
    m_bitmap = std::move(bitmap);
    m_dc.emplace(std::move(memory));
    m_width = width;
    m_height = height;
}

void pcMemDC::FreeBuffer()
{
    if (m_dc && !m_previousBitmap.isNull())
        m_dc->selectBitmap(m_previousBitmap);
    m_previousBitmap = gdi::Bitmap();
    m_bitmap = gdi::Bitmap();
    m_dc.reset();
    m_width = 0;
    m_height = 0;
}
