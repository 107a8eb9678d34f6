#include "runtime/Label.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <climits>

namespace runtime {

namespace {

bool isMarlett(const StdFont &font) { return font.Name().compare(QStringLiteral("Marlett"), Qt::CaseInsensitive) == 0; }

// The resize grip of the glyph font ("o"): three diagonal strokes in the bottom-right corner of
// a square cell as tall as the font.
void drawGrip(QPainter &painter, const QRect &cell, const QColor &color)
{
    const double unit = cell.height() / 12.0;
    painter.setPen(QPen(color, qMax(1.0, unit)));
    for (int stroke = 1; stroke <= 3; ++stroke) {
        const double d = stroke * 4 * unit;
        painter.drawLine(QPointF(cell.right() - d + unit, cell.bottom()), QPointF(cell.right(), cell.bottom() - d + unit));
    }
}

}

Label::Label(QWidget *container, const QString &name, int index) : Control(container, name, index)
{
    m_caption = name;
}

void Label::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    fitCaption();
    update();
}

void Label::setBackColor(OleColor color)
{
    m_backColor = color;
    update();
}

void Label::setForeColor(OleColor color)
{
    m_foreColor = color;
    update();
}

void Label::setBackStyle(int style)
{
    m_backStyle = style;
    update();
}

void Label::setAlignment(int alignment)
{
    m_alignment = alignment;
    update();
}

void Label::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    fitCaption();
}

void Label::setWordWrap(bool wordWrap)
{
    m_wordWrap = wordWrap;
    fitCaption();
    update();
}

void Label::setUseMnemonic(bool useMnemonic)
{
    m_useMnemonic = useMnemonic;
    fitCaption();
    update();
}

void Label::setFont(const StdFont &font)
{
    m_font = font;
    fitCaption();
    update();
}

int Label::textFlags() const
{
    int flags = Qt::AlignTop;
    switch (m_alignment) {
    case vbRightJustify:
        flags |= Qt::AlignRight;
        break;
    case vbCenter:
        flags |= Qt::AlignHCenter;
        break;
    default:
        flags |= Qt::AlignLeft;
        break;
    }
    if (m_wordWrap || !m_autoSize)
        flags |= Qt::TextWordWrap;
    if (m_useMnemonic)
        flags |= Qt::TextShowMnemonic;
    return flags;
}

void Label::fitCaption()
{
    if (!m_autoSize || isMarlett(m_font))
        return;
    const QFontMetrics metrics(m_font.toQFont());
    const int maxWidth = m_wordWrap ? width() : 100000;
    const QRect bounds = metrics.boundingRect(QRect(0, 0, maxWidth, 100000), textFlags(), m_caption);
    resize(m_wordWrap ? width() : bounds.width(), bounds.height());
    notifyResize();
}

void Label::draw(QPainter &painter, int width, int height) const
{
    const QRect area(0, 0, width, height);
    if (m_backStyle == vbOpaque)
        painter.fillRect(area, toQColor(TranslateOrBlack(m_backColor)));
    const QColor fore = toQColor(TranslateOrBlack(m_foreColor));
    if (isMarlett(m_font)) {
        const int cell = qMax(1, QFontMetrics(StdFont(QStringLiteral("DejaVu Sans"), m_font.Size()).toQFont()).height());
        for (int i = 0; i < m_caption.size(); ++i) {
            if (m_caption.at(i) == QLatin1Char('o'))
                drawGrip(painter, QRect(i * cell, 0, cell, cell), fore);
        }
        return;
    }
    painter.setFont(m_font.toQFont());
    painter.setPen(fore);
    painter.drawText(area, textFlags(), shownCaption(width, height));
}

QString Label::ShownCaption() const { return shownCaption(width(), height()); }

// A caption that wraps past the bottom would show its last line cut through; it ends instead
// with the last whole line, elided. A label lower than one line shows what it can, as ever.
QString Label::shownCaption(int width, int height) const
{
    const QFontMetrics metrics(m_font.toQFont());
    const auto fits = [&](const QString &text) {
        return metrics.boundingRect(QRect(0, 0, width, INT_MAX / 2), textFlags(), text).height() <= height;
    };
    if (fits(m_caption))
        return m_caption;
    const QString ellipsis(QChar(0x2026));
    const auto cut = [&](qsizetype length) {
        // An access-key marker is not left to underline the ellipsis.
        while (length > 0 && m_caption.at(length - 1) == u'&')
            --length;
        return m_caption.left(length).trimmed() + ellipsis;
    };
    qsizetype low = 0;
    qsizetype high = m_caption.size();
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (fits(cut(middle)))
            low = middle;
        else
            high = middle - 1;
    }
    return fits(cut(low)) ? cut(low) : m_caption;
}

void Label::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    draw(painter, width(), height());
}

void Label::mousePressEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit MouseDown(MouseButtonOf(event->button()), ShiftOf(event->modifiers()), float(p.x() * unitsPerPixelX()),
                   float(p.y() * unitsPerPixelY()));
}

void Label::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit MouseMove(MouseButtonsOf(event->buttons()), ShiftOf(event->modifiers()), float(p.x() * unitsPerPixelX()),
                   float(p.y() * unitsPerPixelY()));
}

void Label::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit MouseUp(MouseButtonOf(event->button()), ShiftOf(event->modifiers()), float(p.x() * unitsPerPixelX()),
                 float(p.y() * unitsPerPixelY()));
    if (event->button() == Qt::LeftButton && rect().contains(p.toPoint()))
        emit Click();
}

void Label::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit DblClick();
}

} // namespace runtime
