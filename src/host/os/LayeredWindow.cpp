#include "os/LayeredWindow.h"

#include "runtime/Screen.h"
#include "runtime/Surface.h"

#include <QEvent>
#include <QHash>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <cstring>
#include <vector>

namespace os {

namespace {

constexpr char ExStyleProperty[] = "os.exStyle";

// One widget as the composition takes it: where its pixels go, the part of the window it may
// cover (inside its parents), and for a drawing surface the identity of its pixels: a QImage's
// cache key changes with every write to it, so an unchanged key means unchanged pixels.
struct Layer {
    QWidget *widget = nullptr;
    QPoint at;
    QRect clip;
    qint64 pixels = 0; // 0: not a surface, taken as opaque

    bool operator==(const Layer &) const = default;
};
using Layers = std::vector<Layer>;

void collectLayers(Layers &layers, QWidget *parent, const QPoint &origin, const QRect &clip)
{
    for (QObject *object : parent->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow() || !child->isVisibleTo(parent) || child->size().isEmpty())
            continue;
        const QPoint at = origin + child->pos();
        const QRect area = QRect(at, child->size()) & clip;
        if (area.isEmpty())
            continue;
        runtime::Surface *surface = runtime::surfaceOf(child);
        layers.push_back({child, at, area, surface ? surface->image().cacheKey() : 0});
        collectLayers(layers, child, at, area);
    }
}

// The window's own surface first, then its children in painting order.
Layers layersOf(QWidget *window)
{
    Layers layers;
    if (!window || window->size().isEmpty())
        return layers;
    const QRect all(QPoint(0, 0), window->size());
    runtime::Surface *surface = runtime::surfaceOf(window);
    layers.push_back({window, QPoint(0, 0), all, surface ? surface->image().cacheKey() : 0});
    collectLayers(layers, window, QPoint(0, 0), all);
    return layers;
}

// The window's pixels inside `area` (window coordinates), drawn into the top left of `into`, an
// RGB32 image at least the area's size.
void compose(const Layers &layers, const QRect &area, QImage &into)
{
    if (layers.empty() || area.isEmpty())
        return;
    QPainter painter(&into);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    // The window's own surface, drawn first, covers the area in most windows; where it does not,
    // the rest is black.
    const Layer &base = layers.front();
    runtime::Surface *baseSurface = runtime::surfaceOf(base.widget);
    if (!baseSurface || !QRect(base.at, baseSurface->image().size()).contains(area))
        painter.fillRect(QRect(QPoint(0, 0), area.size()), Qt::black);
    painter.translate(-area.topLeft());
    for (const Layer &layer : layers) {
        const QRect part = layer.clip & area;
        if (part.isEmpty())
            continue;
        painter.setClipRect(part);
        if (runtime::Surface *surface = runtime::surfaceOf(layer.widget))
            painter.drawImage(layer.at, surface->image());
        else
            painter.fillRect(part, Qt::black); // any widget that is no surface is taken as opaque
    }
}

// Where the window's pixels may differ from those the layers `before` were taken from: the area
// of a surface whose pixels changed, the old and the new area of a widget that moved, resized,
// appeared or went; the whole window when widgets changed their painting order.
QRegion changedArea(const Layers &before, const Layers &now)
{
    QHash<const QWidget *, const Layer *> earlier;
    for (const Layer &layer : before)
        earlier.insert(layer.widget, &layer);
    QRegion changed;
    std::vector<const QWidget *> kept;
    for (const Layer &layer : now) {
        const Layer *was = earlier.take(layer.widget);
        if (!was) {
            changed += layer.clip;
            continue;
        }
        kept.push_back(layer.widget);
        if (was->at != layer.at || was->clip != layer.clip) {
            changed += was->clip;
            changed += layer.clip;
        } else if (was->pixels != layer.pixels) {
            changed += layer.clip;
        }
    }
    for (const Layer *gone : std::as_const(earlier))
        changed += gone->clip;
    auto next = kept.begin();
    for (const Layer &layer : before) {
        if (next != kept.end() && *next == layer.widget)
            ++next;
    }
    if (next != kept.end()) // the widgets both hold are not in the same order
        return now.empty() ? QRegion() : QRegion(now.front().clip);
    return changed;
}

// Follows one layered window: after repaints, resizes and showing, at most once a frame, its mask
// is taken again, unless no widget moved, resized, appeared or went and no surface's pixels changed
// since the last time (a label's new caption costs a walk over the widgets, not a composition).
class ColorKeyFilter : public QObject {
public:
    ColorKeyFilter(QWidget *window, gdi::ColorRef key) : QObject(window), m_window(window), m_key(key)
    {
        m_pending.setSingleShot(true);
        m_pending.setInterval(runtime::kFrameMs);
        connect(&m_pending, &QTimer::timeout, this, [this] { apply(false); });
        window->installEventFilter(this);
    }
    ~ColorKeyFilter() override
    {
        if (m_window)
            m_window->clearMask();
    }

    void setKey(gdi::ColorRef key) { m_key = key; }

    // forced: also when nothing seems to have changed (a caller that knows better). Only the
    // areas of the surfaces that changed are composed and scanned again, when no widget moved:
    // an animation's frame costs its own rectangle, not the window.
    void apply(bool forced)
    {
        if (!m_window)
            return;
        Layers layers = layersOf(m_window);
        const QRect all = layers.empty() ? QRect() : layers.front().clip;
        const bool whole = forced || !m_applied || m_key != m_appliedKey;
        const QRegion changed = whole ? QRegion(all) : changedArea(m_layers, layers) & all;
        if (changed.isEmpty() && !whole)
            return;
        QRegion visible = whole ? QRegion() : m_visible - changed;
        for (const QRect &area : changed)
            visible += visibleIn(layers, area, all.width());
        m_layers = std::move(layers);
        m_appliedKey = m_key;
        m_applied = true;
        m_visible = visible;
        const QRegion previous = m_window->mask();
        if (visible == previous)
            return;
        m_window->setMask(visible);
        if (!previous.isEmpty())
            repaintNewlyShown(visible - previous);
    }

    // Painting is clipped to the mask: what was left out when it last painted holds stale pixels
    // (the key colour of a surface caught in mid-repaint) and is painted again now. Each widget
    // there is asked for its part: an update of the window alone does not reach its children.
    void repaintNewlyShown(const QRegion &shown)
    {
        for (const Layer &layer : m_layers) {
            const QRegion part = shown & layer.clip;
            if (!part.isEmpty())
                layer.widget->update(part.translated(-layer.at));
        }
    }

    // The area is composed a strip of rows at a time through one small image, kept: a
    // window-sized one would cost as many fresh pages as the window has pixels, for pixels that
    // are looked at once.
    QRegion visibleIn(const Layers &layers, const QRect &area, int windowWidth)
    {
        if (m_strip.width() < windowWidth)
            m_strip = QImage(windowWidth, kStripRows, QImage::Format_RGB32);
        QRegion visible;
        for (int top = area.top(); top <= area.bottom(); top += kStripRows) {
            const QRect strip(area.left(), top, area.width(), std::min(kStripRows, area.bottom() - top + 1));
            compose(layers, strip, m_strip);
            const QImage composed(m_strip.constBits(), strip.width(), strip.height(), m_strip.bytesPerLine(),
                                  m_strip.format());
            visible += RegionWithoutColor(composed, m_key).translated(strip.topLeft());
        }
        return visible;
    }

    static ColorKeyFilter *of(QWidget *window)
    {
        for (QObject *child : window->children()) {
            if (auto *filter = dynamic_cast<ColorKeyFilter *>(child))
                return filter;
        }
        return nullptr;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window) {
            switch (event->type()) {
            case QEvent::UpdateRequest:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::LayoutRequest:
                if (!m_pending.isActive())
                    m_pending.start();
                break;
            default:
                break;
            }
        }
        return false;
    }

private:
    QPointer<QWidget> m_window;
    gdi::ColorRef m_key;
    static constexpr int kStripRows = 64;
    QTimer m_pending;
    QImage m_strip;
    // What the mask in force was made from, and that mask.
    Layers m_layers;
    QRegion m_visible;
    gdi::ColorRef m_appliedKey = 0;
    bool m_applied = false;
};

}

quint32 GetWindowExStyle(const QWidget *window)
{
    return window ? window->property(ExStyleProperty).toUInt() : 0;
}

quint32 SetWindowExStyle(QWidget *window, quint32 styles)
{
    if (!window)
        return 0;
    const quint32 previous = GetWindowExStyle(window);
    window->setProperty(ExStyleProperty, styles);
    if ((previous & WS_EX_LAYERED) && !(styles & WS_EX_LAYERED)) {
        delete ColorKeyFilter::of(window);
        window->setWindowOpacity(1.0);
    }
    return previous;
}

bool SetLayeredWindowAttributes(QWidget *window, gdi::ColorRef key, quint8 alpha, quint32 flags)
{
    if (!window || !(GetWindowExStyle(window) & WS_EX_LAYERED))
        return false;
    ColorKeyFilter *filter = ColorKeyFilter::of(window);
    if (flags & LWA_COLORKEY) {
        if (filter)
            filter->setKey(key & 0x00FFFFFFu);
        else
            filter = new ColorKeyFilter(window, key & 0x00FFFFFFu);
        filter->apply(true);
    } else {
        delete filter;
    }
    window->setWindowOpacity((flags & LWA_ALPHA) ? alpha / 255.0 : 1.0);
    return true;
}

QImage ComposeWindowImage(QWidget *window)
{
    const Layers layers = layersOf(window);
    if (layers.empty())
        return {};
    const QRect all = layers.front().clip;
    QImage composed(all.size(), QImage::Format_RGB32);
    compose(layers, all, composed);
    return composed;
}

// Row by row, the runs of pixels that are not the key; a row whose runs equal the row above's
// lengthens that band instead of starting one, so the rectangles come out banded as QRegion keeps
// them and are handed over whole. A window is mostly rows equal to the row above (plain areas,
// frames, columns), which a comparison of memory settles without looking at their pixels.
QRegion RegionWithoutColor(const QImage &image, gdi::ColorRef key)
{
    if (image.isNull())
        return {};
    const QRgb keyPixel = qRgb(gdi::red(key), gdi::green(key), gdi::blue(key)) & RGB_MASK;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width();
    const std::size_t lineBytes = std::size_t(width) * sizeof(QRgb);
    std::vector<QRect> rects;
    std::size_t band = 0;                   // the first rectangle of the row above's band
    std::vector<std::pair<int, int>> above; // the row above's runs: start, length
    std::vector<std::pair<int, int>> runs;
    const auto lengthenBand = [&](int y) {
        for (std::size_t i = band; i < rects.size(); ++i)
            rects[i].setBottom(y);
    };
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        if (y > 0 && std::memcmp(line, rgb.constScanLine(y - 1), lineBytes) == 0) {
            lengthenBand(y);
            continue;
        }
        runs.clear();
        for (int x = 0; x < width;) {
            while (x < width && (line[x] & RGB_MASK) == keyPixel)
                ++x;
            const int start = x;
            while (x < width && (line[x] & RGB_MASK) != keyPixel)
                ++x;
            if (x > start)
                runs.emplace_back(start, x - start);
        }
        if (runs == above) {
            lengthenBand(y);
            continue;
        }
        band = rects.size();
        for (const auto &[x, length] : runs)
            rects.emplace_back(x, y, length, 1);
        std::swap(above, runs);
    }
    QRegion region;
    region.setRects(rects.data(), int(rects.size()));
    return region;
}

void UpdateLayeredMask(QWidget *window)
{
    if (!window)
        return;
    if (ColorKeyFilter *filter = ColorKeyFilter::of(window))
        filter->apply(true);
}

} // namespace os
