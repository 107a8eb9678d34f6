#include "components/AlphaImgShape.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace AlphaImg {

namespace {

// Shapes take their character and font from properties; the few a window uses stay.
constexpr qsizetype kMaxOutlines = 64;

// The outline of one character in one font, drawn large so that it does not depend on hinting.
// A shape paints the same character at every repaint, and building an outline loads and shapes
// the font (a fallback face where the named one is missing).
const QPainterPath &outlineOf(const QString &character, const runtime::StdFont &font)
{
    static QHash<std::pair<QString, QString>, QPainterPath> outlines;
    QFont large = font.toQFont();
    large.setPixelSize(64);
    const std::pair<QString, QString> key{character, large.key()};
    auto known = outlines.constFind(key);
    if (known == outlines.cend()) {
        if (outlines.size() >= kMaxOutlines)
            outlines.clear();
        QPainterPath path;
        path.addText(0, 0, large, character);
        known = outlines.insert(key, path);
    }
    return *known;
}

}

AlphaShapeCtl::AlphaShapeCtl(QWidget *container, const QString &name, int index)
    : runtime::Control(container, name, index)
{
    hide();
}

QPainterPath CharacterOutline(const QString &character, const runtime::StdFont &font)
{
    return outlineOf(character, font);
}

bool PaintOutline(gdi::Dc &dc, const QRect &box, const QPainterPath &outline, runtime::OleColor color)
{
    QImage *target = dc.image();
    if (!target)
        return false;
    if (box.width() <= 0 || box.height() <= 0)
        return true;
    const QRectF bounds = outline.boundingRect();
    if (bounds.isEmpty())
        return true;
    const double scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
    const QPointF offset(box.x() + (box.width() - bounds.width() * scale) / 2,
                         box.y() + (box.height() - bounds.height() * scale) / 2);

    QPainter painter(target);
    if (const std::optional<QRegion> clip = dc.clipRegion())
        painter.setClipRegion(*clip);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(offset);
    painter.scale(scale, scale);
    painter.translate(-bounds.topLeft());
    painter.fillPath(outline, runtime::toQColor(runtime::TranslateOrBlack(color)));
    return true;
}

bool PaintGlyph(gdi::Dc &dc, const QRect &box, const QString &character, const runtime::StdFont &font,
                runtime::OleColor color)
{
    if (!dc.image())
        return false;
    if (character.isEmpty() || box.width() <= 0 || box.height() <= 0)
        return true;
    return PaintOutline(dc, box, outlineOf(character, font), color);
}

bool AlphaShapeCtl::PaintShape(gdi::Dc &hdc, int x, int y) const
{
    return PaintGlyph(hdc, QRect(x, y, width(), height()), m_character, m_font, m_color);
}

}
