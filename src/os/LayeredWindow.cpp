#include "os/LayeredWindow.h"

#include "runtime/Surface.h"

#include <QBitmap>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>

namespace os {

namespace {

constexpr char ExStyleProperty[] = "os.exStyle";

// Follows one layered window: after each repaint or resize its mask is recomputed, once per turn
// of the message loop however many paints there were.
class ColorKeyFilter : public QObject {
public:
    ColorKeyFilter(QWidget *window, gdi::ColorRef key) : QObject(window), m_window(window), m_key(key)
    {
        m_pending.setSingleShot(true);
        m_pending.setInterval(0);
        connect(&m_pending, &QTimer::timeout, this, &ColorKeyFilter::apply);
        window->installEventFilter(this);
    }
    ~ColorKeyFilter() override
    {
        if (m_window)
            m_window->clearMask();
    }

    void setKey(gdi::ColorRef key) { m_key = key; }

    void apply()
    {
        if (!m_window)
            return;
        const QRegion visible = RegionWithoutColor(ComposeWindowImage(m_window), m_key);
        if (visible != m_window->mask())
            m_window->setMask(visible);
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
};

void composeChildren(QPainter &painter, QWidget *parent, const QPoint &origin, const QRect &clip)
{
    for (QObject *object : parent->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow() || !child->isVisibleTo(parent) || child->size().isEmpty())
            continue;
        const QPoint at = origin + child->pos();
        const QRect area = QRect(at, child->size()) & clip;
        if (area.isEmpty())
            continue;
        painter.setClipRect(area);
        if (runtime::Surface *surface = runtime::surfaceOf(child))
            painter.drawImage(at, surface->image());
        else
            painter.fillRect(area, Qt::black); // any widget that is no surface is taken as opaque
        composeChildren(painter, child, at, area);
    }
}

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
        filter->apply();
    } else {
        delete filter;
    }
    window->setWindowOpacity((flags & LWA_ALPHA) ? alpha / 255.0 : 1.0);
    return true;
}

QImage ComposeWindowImage(QWidget *window)
{
    if (!window || window->size().isEmpty())
        return {};
    QImage composed(window->size(), QImage::Format_RGB32);
    composed.fill(Qt::black);
    QPainter painter(&composed);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (runtime::Surface *surface = runtime::surfaceOf(window))
        painter.drawImage(0, 0, surface->image());
    composeChildren(painter, window, QPoint(0, 0), composed.rect());
    return composed;
}

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
        filter->apply();
}

} // namespace os
