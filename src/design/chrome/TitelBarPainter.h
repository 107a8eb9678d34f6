#pragma once

#include "chrome/TitelBarLayout.h"
#include "gdi/Dc.h"
#include "runtime/OleColor.h"
#include "runtime/StdFont.h"
#include "runtime/StdPicture.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>

// Everything the title bar's face depends on, colours already translated to RGB, so that it can be
// painted without a widget.
struct TitelBarLook {
    QSize size;
    int style = titelbar::StyleTab;
    std::uint32_t leftBegin = 0, leftEnd = 0;   // BackColorV1Begin, BackColorV1End
    std::uint32_t rightBegin = 0, rightEnd = 0; // BackColorV2Begin, BackColorV2End
    std::uint32_t borderHighLight = 0;
    std::uint32_t borderDarkLight = 0;
    int borderNormal = 0;
    int cover = 0;   // BackColorCover in pixels
    int dotStep = 4; // between the tab's grip dots, pixels
    titelbar::ButtonRow buttons;
    bool dashBack = false;
    QString caption;
    runtime::StdFont font;
    std::uint32_t captionColor = 0;
    int captionPosX = 0;
    int captionPosY = 0;
    runtime::StdPicture icon; // PictureButton
    QPoint iconAt;            // where titelbar::PlaceIcon put it
};

// A caption button's picture: a gradient from `top` through `middle` (at half height) to `bottom`,
// with its glyph in `glyphColor`. Colours are colour values; system colours are translated.
struct TitelBarButtonLook {
    enum class Glyph { Help, Minimize, Maximize, Restore, Close };
    Glyph glyph = Glyph::Close;
    int side = 20;      // the picture is square
    int glyphSide = 12; // the box a character glyph (help, minimise, close) is fitted into
    runtime::OleColor top = 0;
    runtime::OleColor middle = 0;
    runtime::OleColor bottom = 0;
    runtime::OleColor glyphColor = 0xFFFFFF;
};

namespace titelbar {

// The repaint's steps over a device context, in the order paint runs them. Lines are drawn with
// pens of their own; the caption leaves the context's text colour and background mode changed.
void paintBackground(gdi::Dc &dc, const TitelBarLook &look);
void paintIcon(gdi::Dc &dc, const TitelBarLook &look);
void paintCaption(gdi::Dc &dc, const TitelBarLook &look);
void paintBorder(gdi::Dc &dc, const TitelBarLook &look);
void paint(gdi::Dc &dc, const TitelBarLook &look);

// The whole bar onto a new image in the colour key.
QImage render(const TitelBarLook &look, std::uint32_t colorKey);

// A caption button's picture.
QImage renderButton(const TitelBarButtonLook &look);

}
