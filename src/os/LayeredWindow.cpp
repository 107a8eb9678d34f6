#include "os/LayeredWindow.h"

#include "runtime/Surface.h"

#include <QBitmap>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>

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

QImage compose(const Layers &layers)
{
    if (layers.empty())
        return {};
    QImage composed(layers.front().clip.size(), QImage::Format_RGB32);
    composed.fill(Qt::black);
    QPainter painter(&composed);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const Layer &layer : layers) {
        painter.setClipRect(layer.clip);
        if (runtime::Surface *surface = runtime::surfaceOf(layer.widget))
            painter.drawImage(layer.at, surface->image());
        else
            painter.fillRect(layer.clip, Qt::black); // any widget that is no surface is taken as opaque
    }
    return composed;
}

// Follows one layered window: after repaints, resizes and showing, once per turn of the message
// loop, its mask is taken again, unless no widget moved, resized, appeared or went and no surface's
// pixels changed since the last time (a label's new caption costs a walk over the widgets, not a
// composition).
class ColorKeyFilter : public QObject {
public:
    ColorKeyFilter(QWidget *window, gdi::ColorRef key) : QObject(window), m_window(window), m_key(key)
    {
        m_pending.setSingleShot(true);
        m_pending.setInterval(0);
        connect(&m_pending, &QTimer::timeout, this, [this] { apply(false); });
        window->installEventFilter(this);
    }
    ~ColorKeyFilter() override
    {
        if (m_window)
            m_window->clearMask();
    }

    void setKey(gdi::ColorRef key) { m_key = key; }

    // forced: also when nothing seems to have changed (a caller that knows better).
    void apply(bool forced)
    {
        if (!m_window)
            return;
        Layers layers = layersOf(m_window);
        if (!forced && m_applied && layers == m_layers && m_key == m_appliedKey)
            return;
        const QRegion visible = RegionWithoutColor(compose(layers), m_key);
        m_layers = std::move(layers);
        m_appliedKey = m_key;
        m_applied = true;
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
    QTimer m_pending;
    // What the mask in force was made from.
    Layers m_layers;
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

QImage ComposeWindowImage(QWidget *window) { return compose(layersOf(window)); }

QRegion RegionWithoutColor(const QImage &image, gdi::ColorRef key)
{
    if (image.isNull())
        return {};
    const QRgb keyPixel = qRgb(gdi::red(key), gdi::green(key), gdi::blue(key));
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    // The region of a bitmap is its color1 pixels; MaskInColor makes the key colour color0.
    return QRegion(QBitmap::fromImage(rgb.createMaskFromColor(keyPixel, Qt::MaskInColor)));
}

void UpdateLayeredMask(QWidget *window)
{
    if (!window)
        return;
    if (ColorKeyFilter *filter = ColorKeyFilter::of(window))
        filter->apply(true);
}

} // namespace os
