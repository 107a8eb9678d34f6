#pragma once

#include "gdi/Dc.h"
#include "runtime/Control.h"
#include "runtime/OleColor.h"
#include "runtime/StdFont.h"

#include <QPainterPath>
#include <QRect>
#include <QString>

namespace AlphaImg {

// The outline of one character in one font, as PaintGlyph fills it.
QPainterPath CharacterOutline(const QString &character, const runtime::StdFont &font);

// An outline filled in one colour, scaled to fill `box` (keeping its proportions) and centred in
// it. False without a surface under dc.
bool PaintOutline(gdi::Dc &dc, const QRect &box, const QPainterPath &outline, runtime::OleColor color);

// One character of a font filled in one colour, scaled to fill `box` (keeping its proportions)
// and centred in it. False without a surface under dc.
bool PaintGlyph(gdi::Dc &dc, const QRect &box, const QString &character, const runtime::StdFont &font,
                runtime::OleColor color);

// The shape control: one character of a font, filled in one colour, scaled to fill the control's
// box (keeping its proportions) and centred in it. It draws only when asked (PaintShape); on its
// own it shows nothing.
class AlphaShapeCtl : public runtime::Control {
    Q_OBJECT
    Q_PROPERTY(quint32 Color READ Color WRITE setColor)
    Q_PROPERTY(QString Character READ Character WRITE setCharacter)
    Q_PROPERTY(runtime::StdFont Font READ ShapeFont WRITE setShapeFont)

public:
    AlphaShapeCtl(QWidget *container, const QString &name, int index = -1);

    runtime::OleColor Color() const { return m_color; }
    void setColor(runtime::OleColor color) { m_color = color; }
    QString Character() const { return m_character; }
    void setCharacter(const QString &character) { m_character = character; }
    runtime::StdFont ShapeFont() const { return m_font; }
    void setShapeFont(const runtime::StdFont &font) { m_font = font; }

    // Paints the glyph with its box's top-left corner at (x, y). False without a surface.
    bool PaintShape(gdi::Dc &hdc, int x, int y) const;

private:
    runtime::OleColor m_color = 0xFFFFFF;
    QString m_character;
    runtime::StdFont m_font;
};

}
