// Text through QPainter, laid out by DrawText's rules: prefixes, word breaks, alignment, ellipsis.

#include "gdi/Dc.h"
#include "gdi/Surface.h"
#include "gdi/SysColors.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QStringList>

namespace gdi {

namespace {

// A line as drawn: its characters and which of them the prefix character underlines.
struct Line {
    QString text;
    QList<int> underlined;
    int width = 0; // measured once the line is final
};

// "&x" underlines x, "&&" is one "&"; a lone "&" at the end is dropped.
Line stripPrefixes(const QString &raw, bool prefixes)
{
    Line line;
    if (!prefixes) {
        line.text = raw;
        return line;
    }
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != u'&') {
            line.text += raw[i];
            continue;
        }
        if (++i >= raw.size())
            break;
        if (raw[i] != u'&')
            line.underlined.append(int(line.text.size()));
        line.text += raw[i];
    }
    return line;
}

QFontMetrics metricsFor(const QFont &font, const QImage *image)
{
    return image ? QFontMetrics(font, image) : QFontMetrics(font);
}

// A font's metrics on the device the text goes to. Shaping a text costs tens of thousands of
// instructions, and a control draws the same captions again at every change of its state, so the
// widths are remembered, per font, resolution and text (a bounded store, emptied when full).
class Metrics {
public:
    Metrics(const QFont &font, const QImage *image)
        : m_fm(metricsFor(font, image)), m_font(font.key()),
          m_dpi(image ? image->logicalDpiY() : 0)
    {
    }

    int advance(const QString &text) const
    {
        static QHash<Key, int> widths;
        Key key{m_font, m_dpi, text};
        if (const auto known = widths.constFind(key); known != widths.cend())
            return *known;
        if (widths.size() >= kMaxStoredWidths)
            widths.clear();
        const int width = m_fm.horizontalAdvance(text);
        widths.insert(std::move(key), width);
        return width;
    }
    int height() const { return m_fm.height(); }
    int ascent() const { return m_fm.ascent(); }
    int underlinePos() const { return m_fm.underlinePos(); }
    int lineWidth() const { return m_fm.lineWidth(); }

private:
    static constexpr qsizetype kMaxStoredWidths = 4096;
    struct Key {
        QString font;
        int dpi;
        QString text;
        bool operator==(const Key &) const = default;
        friend size_t qHash(const Key &key, size_t seed = 0) { return qHashMulti(seed, key.font, key.dpi, key.text); }
    };

    QFontMetrics m_fm;
    QString m_font;
    int m_dpi;
};

class TextLayout {
public:
    TextLayout(const Metrics &fm, const QString &text, const Rect &rect, quint32 format)
        : m_fm(fm)
    {
        const bool prefixes = !(format & DT_NOPREFIX);
        QStringList paragraphs;
        if (format & DT_SINGLELINE) {
            QString flat = text;
            flat.remove(u'\r').remove(u'\n');
            paragraphs << flat;
        } else {
            QString unified = text;
            unified.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
            paragraphs = unified.split(u'\n');
        }
        const int maxWidth = rect.width();
        for (const QString &paragraph : paragraphs) {
            if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE))
                wrap(paragraph, maxWidth, prefixes);
            else
                m_lines.append(stripPrefixes(paragraph, prefixes));
        }
        for (Line &line : m_lines) {
            line.width = m_fm.advance(line.text);
            if ((format & DT_END_ELLIPSIS) && line.width > maxWidth)
                elide(line, maxWidth);
        }
    }

    const QList<Line> &lines() const { return m_lines; }
    int width(const Line &line) const { return line.width; }
    int lineHeight() const { return m_fm.height(); }
    int widest() const
    {
        int w = 0;
        for (const Line &line : m_lines)
            w = std::max(w, width(line));
        return w;
    }

private:
    // Greedy breaking at spaces; a word wider than the line keeps a line of its own.
    void wrap(const QString &paragraph, int maxWidth, bool prefixes)
    {
        const QStringList words = paragraph.split(u' ');
        QString current;
        bool hasWord = false;
        for (const QString &word : words) {
            const QString candidate = hasWord ? current + u' ' + word : word;
            if (hasWord && m_fm.advance(stripPrefixes(candidate, prefixes).text) > maxWidth) {
                m_lines.append(stripPrefixes(current, prefixes));
                current = word;
            } else {
                current = candidate;
            }
            hasWord = true;
        }
        m_lines.append(stripPrefixes(current, prefixes));
    }

    void elide(Line &line, int maxWidth) const
    {
        const QString dots = QStringLiteral("...");
        QString kept = line.text;
        while (!kept.isEmpty() && m_fm.advance(kept + dots) > maxWidth)
            kept.chop(1);
        line.underlined.removeIf([&](int i) { return i >= kept.size(); });
        line.text = kept + dots;
        line.width = m_fm.advance(line.text);
    }

    const Metrics &m_fm;
    QList<Line> m_lines;
};

} // namespace

int Dc::drawText(const QString &text, Rect &rect, quint32 format)
{
    Surface s(*this);
    if (!s.isValid())
        return 0;
    const Metrics fm(m_font, s.image());
    if (text.isEmpty()) {
        if (format & DT_CALCRECT)
            rect.right = rect.left, rect.bottom = rect.top;
        return 0;
    }
    const TextLayout layout(fm, text, rect, format);
    const int lineHeight = layout.lineHeight();
    const int total = lineHeight * int(layout.lines().size());
    if (format & DT_CALCRECT) {
        rect.right = clampCoordinate(qint64(rect.left) + layout.widest());
        rect.bottom = clampCoordinate(qint64(rect.top) + total);
        return total;
    }

    int y = clampCoordinate(rect.top);
    const bool single = format & DT_SINGLELINE;
    if (single && (format & DT_VCENTER))
        y = clampCoordinate(qint64(rect.top) + (rect.height() - lineHeight) / 2);
    else if (single && (format & DT_BOTTOM))
        y = clampCoordinate(qint64(rect.bottom) - lineHeight);
    const int firstY = y;

    s.paint([&](QPainter &painter) {
        if (!(format & DT_NOCLIP))
            painter.setClipRect(rect.toQRect(), Qt::IntersectClip);
        painter.setFont(m_font);
        painter.setPen(QColor::fromRgb(toPixel(m_textColor)));
        const bool underline = !(format & DT_HIDEPREFIX);
        for (const Line &line : layout.lines()) {
            const int w = layout.width(line);
            qint64 left = rect.left;
            if (format & DT_CENTER)
                left = qint64(rect.left) + (rect.width() - w) / 2;
            else if (format & DT_RIGHT)
                left = qint64(rect.right) - w;
            const int x = clampCoordinate(left);
            if (m_bkMode == OPAQUE)
                painter.fillRect(QRect(x, y, w, lineHeight), QColor::fromRgb(toPixel(m_bkColor)));
            painter.drawText(QPoint(x, y + fm.ascent()), line.text);
            if (underline) {
                for (int i : line.underlined) {
                    const int ux = x + fm.advance(line.text.left(i));
                    const int uw = fm.advance(line.text.mid(i, 1));
                    painter.fillRect(QRect(ux, y + fm.ascent() + fm.underlinePos(), uw, std::max(1, fm.lineWidth())),
                                     painter.pen().color());
                }
            }
            y += lineHeight;
        }
    });
    if (single && (format & (DT_VCENTER | DT_BOTTOM)))
        return firstY - rect.top + lineHeight;
    return total;
}

bool Dc::textOut(int x, int y, const QString &text)
{
    Surface s(*this);
    if (!s.isValid())
        return false;
    if (text.isEmpty())
        return true;
    const Metrics fm(m_font, s.image());
    x = clampCoordinate(x), y = clampCoordinate(y);
    s.paint([&](QPainter &painter) {
        painter.setFont(m_font);
        if (m_bkMode == OPAQUE)
            painter.fillRect(QRect(x, y, fm.advance(text), fm.height()), QColor::fromRgb(toPixel(m_bkColor)));
        painter.setPen(QColor::fromRgb(toPixel(m_textColor)));
        painter.drawText(QPoint(x, y + fm.ascent()), text);
    });
    return true;
}

Size Dc::getTextExtent(const QString &text) const
{
    if (isNull())
        return {};
    const Metrics fm(m_font, image());
    return {fm.advance(text), fm.height()};
}

TextMetrics Dc::getTextMetrics() const
{
    if (isNull())
        return {};
    const QFontMetrics fm = metricsFor(m_font, image());
    TextMetrics tm;
    tm.height = fm.height();
    tm.ascent = fm.ascent();
    tm.descent = fm.descent();
    tm.internalLeading = std::max(0, fm.height() - QFontInfo(m_font).pixelSize());
    tm.externalLeading = fm.leading();
    tm.aveCharWidth = fm.averageCharWidth();
    tm.maxCharWidth = fm.maxWidth();
    return tm;
}

} // namespace gdi
