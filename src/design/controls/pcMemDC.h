#pragma once

#include "gdi/Dc.h"
#include "runtime/StdPicture.h"

#include <optional>

// An off-screen drawing buffer: a memory device context holding a display-compatible bitmap,
// made on demand, reused for every request of the same or a smaller size and re-made only when a
// larger one is asked for. Owns the context and the bitmap; destruction frees them.
class pcMemDC {
public:
    pcMemDC() = default;
    pcMemDC(const pcMemDC &) = delete;
    pcMemDC &operator=(const pcMemDC &) = delete;
    ~pcMemDC();

    // Sizes the buffer to the picture's bitmap and copies the bitmap into it.
    void CreateFromPicture(const runtime::StdPicture &picture);
    // BitBlt(target, targetX, targetY, width, height, buffer, srcX, srcY, SRCCOPY); a width or
    // height of 0 or less stands for the buffer's Width or Height. Without a buffer nothing happens.
    void Draw(gdi::Dc &target, int srcX = 0, int srcY = 0, int width = 0, int height = 0, int targetX = 0,
              int targetY = 0);
    // Makes sure of a buffer of at least the requested size (an existing smaller one is re-made
    // at exactly that size; none is made while a side is 0 or less) and answers its context, or
    // nullptr when there is no buffer.
    gdi::Dc *hdc(int requestedWidth, int requestedHeight);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // A different value requests the buffer at the new size by hdc's rule, then is stored.
    void setWidth(int width);
    void setHeight(int height);

private:
    void CreateBuffer(int width, int height);
    void FreeBuffer();

    std::optional<gdi::Dc> m_dc;
    gdi::Bitmap m_bitmap;
    gdi::Bitmap m_previousBitmap;
    int m_width = 0;
    int m_height = 0;
};
