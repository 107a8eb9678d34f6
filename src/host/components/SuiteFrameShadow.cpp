#include "components/SuiteFrameShadow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <cmath>
#include <dlfcn.h>

namespace {

QColor colorFromBgr(long color)
{
    const auto c = static_cast<quint32>(color);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

#if QT_CONFIG(xcb)
// Whether a compositing manager runs on the X display: it owns the selection _NET_WM_CM_S<screen>.
// libX11 is already loaded by the platform plugin; it is looked up, not linked, so the program
// needs nothing further to run elsewhere.
bool x11Composited()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display())
        return false;
    void *lib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!lib)
        return false;
    using InternAtom = unsigned long (*)(Display *, const char *, int);
    using GetSelectionOwner = unsigned long (*)(Display *, unsigned long);
    using DefaultScreen = int (*)(Display *);
    auto internAtom = reinterpret_cast<InternAtom>(dlsym(lib, "XInternAtom"));
    auto selectionOwner = reinterpret_cast<GetSelectionOwner>(dlsym(lib, "XGetSelectionOwner"));
    auto defaultScreen = reinterpret_cast<DefaultScreen>(dlsym(lib, "XDefaultScreen"));
    bool composited = false;
    if (internAtom && selectionOwner && defaultScreen) {
        const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(defaultScreen(x11->display()));
        const unsigned long atom = internAtom(x11->display(), name.constData(), 0);
        composited = atom != 0 && selectionOwner(x11->display(), atom) != 0;
    }
    dlclose(lib);
    return composited;
}
#endif

bool windowSystemShowsTranslucency()
{
    if (!qGuiApp)
        return false;
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")) || platform == QLatin1String("windows")
        || platform == QLatin1String("cocoa"))
        return true;
#if QT_CONFIG(xcb)
    if (platform == QLatin1String("xcb"))
        return x11Composited();
#endif
    return false; // offscreen, minimal, framebuffers: nothing behind a window shows through
}

}

// The translucent window that draws one shadow and follows its window about.
class SuiteFrameShadow::ShadowWindow : public QWidget {
public:
    ShadowWindow(QWidget *target, const Look &look)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowTransparentForInput
                               | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint)
        , m_target(target)
        , m_look(look)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_NoSystemBackground);
        target->installEventFilter(this);
        follow();
    }

    ~ShadowWindow() override
    {
        if (m_target)
            m_target->removeEventFilter(this);
    }

    const Look &look() const { return m_look; }
    void setLook(const Look &look, bool repaint)
    {
        m_look = look;
        m_image = QImage();
        if (repaint)
            follow();
    }

    void follow()
    {
        if (!m_target)
            return;
        const int e = std::max(0, m_look.extent);
        setGeometry(m_target->frameGeometry().adjusted(-e, -e, e, e));
        const bool show = m_target->isVisible() && !m_target->isMinimized();
        if (show && !isVisible()) {
            QWidget::show();
            restack();
        } else if (!show && isVisible()) {
            hide();
        }
        update();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_target)
            return false;
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::WindowStateChange:
            follow();
            break;
        case QEvent::WindowActivate:
            restack();
            break;
        default:
            break;
        }
        return false;
    }

    void paintEvent(QPaintEvent *) override
    {
        if (!m_target)
            return;
        const QSize windowSize = m_target->frameGeometry().size();
        if (m_image.isNull() || m_imageFor != windowSize) {
            m_image = RenderShadow(windowSize, m_look);
            m_imageFor = windowSize;
        }
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, m_image);
    }

private:
    // Just behind its window: raised, then the window raised over it.
    void restack()
    {
        if (!m_target || !isVisible())
            return;
        raise();
        m_target->raise();
    }

    QPointer<QWidget> m_target;
    Look m_look;
    QImage m_image;
    QSize m_imageFor;
};

SuiteFrameShadow::SuiteFrameShadow(Translucency translucency, QObject *parent)
    : QObject(parent)
    , m_translucency(translucency)
{
}

SuiteFrameShadow::~SuiteFrameShadow() = default;

void SuiteFrameShadow::setTranslucency(Translucency translucency)
{
    m_translucency = translucency;
}

bool SuiteFrameShadow::IsAvailable() const
{
    switch (m_translucency) {
    case Translucency::On:
        return qGuiApp != nullptr;
    case Translucency::Off:
        return false;
    case Translucency::Auto:
        break;
    }
    return windowSystemShowsTranslucency();
}

void SuiteFrameShadow::SetOptions(long options)
{
    m_look.options = options;
}

void SuiteFrameShadow::SetShadingCurve(const std::array<float, 3> &, const std::array<float, 3> &)
{
}

void SuiteFrameShadow::SetSize(long size)
{
    m_look.blur = int(std::clamp(size, 0L, 200L));
}

void SuiteFrameShadow::SetOffsetX(int offset)
{
    m_look.offsetX = offset;
}

void SuiteFrameShadow::SetOffsetY(int offset)
{
    m_look.offsetY = offset;
}

void SuiteFrameShadow::SetSecondSize(long size)
{
    m_look.extent = int(std::clamp(size, 0L, 200L));
}

void SuiteFrameShadow::SetOpacity(int opacity)
{
    m_look.opacity = std::clamp(opacity, 0, 255);
}

void SuiteFrameShadow::SetColor(long color)
{
    m_look.color = colorFromBgr(color);
}

void SuiteFrameShadow::applyToAll(void (*change)(Look &, const Look &))
{
    for (auto &[window, shadow] : m_shadows) {
        Look look = shadow->look();
        change(look, m_look);
        shadow->setLook(look, !m_batching);
    }
}

void SuiteFrameShadow::SetGlobalSize(long size)
{
    SetSize(size);
    applyToAll([](Look &l, const Look &own) { l.blur = own.blur; });
}

void SuiteFrameShadow::SetGlobalOffsetX(int offset)
{
    SetOffsetX(offset);
    applyToAll([](Look &l, const Look &own) { l.offsetX = own.offsetX; });
}

void SuiteFrameShadow::SetGlobalOffsetY(int offset)
{
    SetOffsetY(offset);
    applyToAll([](Look &l, const Look &own) { l.offsetY = own.offsetY; });
}

void SuiteFrameShadow::SetGlobalSecondSize(long size)
{
    SetSecondSize(size);
    applyToAll([](Look &l, const Look &own) { l.extent = own.extent; });
}

void SuiteFrameShadow::SetGlobalOpacity(int opacity)
{
    SetOpacity(opacity);
    applyToAll([](Look &l, const Look &own) { l.opacity = own.opacity; });
}

void SuiteFrameShadow::SetGlobalColor(long color)
{
    SetColor(color);
    applyToAll([](Look &l, const Look &own) { l.color = own.color; });
}

void SuiteFrameShadow::SetBatchUpdate(bool batching)
{
    const bool ending = m_batching && !batching;
    m_batching = batching;
    if (ending)
        refreshAll();
}

void SuiteFrameShadow::refreshAll()
{
    for (auto &[window, shadow] : m_shadows)
        shadow->follow();
}

bool SuiteFrameShadow::HasShadow(const QWidget *window) const
{
    return m_shadows.count(window) != 0;
}

void SuiteFrameShadow::Attach(QWidget *window, long color, long size, long secondSize, long offsetX, long offsetY,
                              int opacity)
{
    if (!window || !window->isWindow() || HasShadow(window) || !IsAvailable())
        return;
    Look look = m_look;
    if (color != -1)
        look.color = colorFromBgr(color);
    if (size > 0)
        look.blur = int(std::min(size, 200L));
    if (secondSize > 0)
        look.extent = int(std::min(secondSize, 200L));
    look.offsetX += int(std::clamp(offsetX, -200L, 200L));
    look.offsetY += int(std::clamp(offsetY, -200L, 200L));
    if (opacity > 0)
        look.opacity = std::min(opacity, 255);
    m_shadows.emplace(window, std::make_unique<ShadowWindow>(window, look));
    connect(window, &QObject::destroyed, this, [this, window] { m_shadows.erase(window); });
}

void SuiteFrameShadow::Detach(QWidget *window)
{
    if (m_shadows.erase(window) != 0)
        disconnect(window, &QObject::destroyed, this, nullptr);
}

SuiteFrameShadow::Look SuiteFrameShadow::LookOf(const QWidget *window) const
{
    const auto it = m_shadows.find(window);
    return it == m_shadows.end() ? m_look : it->second->look();
}

QWidget *SuiteFrameShadow::ShadowWindowOf(const QWidget *window) const
{
    const auto it = m_shadows.find(window);
    return it == m_shadows.end() ? nullptr : it->second.get();
}

QImage SuiteFrameShadow::RenderShadow(QSize windowSize, const Look &look)
{
    const int e = std::max(0, look.extent);
    const int w = std::max(0, windowSize.width());
    const int h = std::max(0, windowSize.height());
    QImage image(w + 2 * e, h + 2 * e, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (image.isNull() || e == 0)
        return image;

    // The rectangle that casts the shadow, and the window's own area, which stays clear.
    const QRect caster(e + look.offsetX, e + look.offsetY, w, h);
    const QRect window(e, e, w, h);
    const double peak = look.opacity / 255.0 * 0.5; // a shadow, not a frame
    const double fade = std::max(1, 2 * look.blur);
    const bool soft = look.options & OptionSoft;
    const bool allSides = look.options & OptionAllSides;
    const QRgb base = look.color.rgb();

    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (window.contains(x, y))
                continue;
            if (!allSides && x < window.left() && y < window.bottom())
                continue;
            if (!allSides && y < window.top() && x < window.right())
                continue;
            const double dx = std::max({caster.left() - x, 0, x - caster.right()});
            const double dy = std::max({caster.top() - y, 0, y - caster.bottom()});
            const double d = std::hypot(dx, dy);
            double t = look.blur > 0 ? std::clamp((e - d) / fade, 0.0, 1.0) : (d < e ? 1.0 : 0.0);
            if (soft)
                t = t * t * (3 - 2 * t);
            const int alpha = int(std::lround(255 * peak * t));
            if (alpha > 0)
                row[x] = qPremultiply(qRgba(qRed(base), qGreen(base), qBlue(base), alpha));
        }
    }
    return image;
}
