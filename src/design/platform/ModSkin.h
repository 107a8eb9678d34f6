#pragma once

#include <QtGlobal>

class QWidget;

namespace ModSkin {

// Makes every pixel of exactly that colour (0x00BBGGRR) in the window see-through; the rest of
// the window stays opaque. A failure leaves the window as it was.
void SetTransparentColor(QWidget *window, quint32 color);

} // namespace ModSkin
