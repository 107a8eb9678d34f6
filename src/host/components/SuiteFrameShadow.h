#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSize>

#include <array>
#include <map>
#include <memory>

class QWidget;

// The control suite's frame-shadow service: a soft shadow around each attached top-level window,
// drawn by a click-through translucent window kept just behind it. Where the window system
// cannot show translucency the service reports itself unavailable and attaches nothing, so the
// windows work on without a shadow.
class SuiteFrameShadow : public QObject {
    Q_OBJECT

public:
    enum class Translucency {
        Auto, // ask the window system (a compositing manager on X11; Wayland always composites)
        On,
        Off,
    };

    // Option bits.
    static constexpr long OptionAllSides = 0x08; // shadow on all four sides, else right and bottom
    static constexpr long OptionSoft = 0x10;     // eased fall-off, else linear

    // What one shadow looks like; sizes and offsets in pixels.
    struct Look {
        QColor color = Qt::black;
        int blur = 10;    // width of the fall-off
        int extent = 15;  // how far the shadow reaches beyond the window
        int offsetX = 0;
        int offsetY = 0;
        int opacity = 255;
        long options = OptionAllSides | OptionSoft;
    };

    explicit SuiteFrameShadow(Translucency translucency = Translucency::Auto, QObject *parent = nullptr);
    ~SuiteFrameShadow() override;


    void setTranslucency(Translucency translucency);
    bool IsAvailable() const;

    // Settings for the shadows attached from now on.
    void SetOptions(long options);
    // Accepted for the callers' sake; the fall-off is this service's own (OptionSoft).
    void SetShadingCurve(const std::array<float, 3> &positions, const std::array<float, 3> &factors);
    void SetSize(long size);
    void SetOffsetX(int offset);
    void SetOffsetY(int offset);
    void SetSecondSize(long size);
    void SetOpacity(int opacity);
    void SetColor(long color); // 0x00BBGGRR

    // The same, and applied to every attached shadow.
    void SetGlobalSize(long size);
    void SetGlobalOffsetX(int offset);
    void SetGlobalOffsetY(int offset);
    void SetGlobalSecondSize(long size);
    void SetGlobalOpacity(int opacity);
    void SetGlobalColor(long color);

    // Between True and False, changes are collected and the shadows repainted once at the end.
    void SetBatchUpdate(bool batching);

    bool HasShadow(const QWidget *window) const;
    // Attaches a shadow to a top-level window. Each argument of -1 or 0 takes the service's own
    // setting: colour (0x00BBGGRR), size, second size, offset x, offset y, opacity.
    void Attach(QWidget *window, long color, long size, long secondSize, long offsetX, long offsetY, int opacity);
    void Detach(QWidget *window);

    Look CurrentLook() const { return m_look; }
    // The look of an attached window's shadow; the service's own look for any other window.
    Look LookOf(const QWidget *window) const;
    // The shadow window that follows `window`, or nullptr.
    QWidget *ShadowWindowOf(const QWidget *window) const;

    // The shadow of a window of this size, the window's own area transparent; the image is the
    // window grown by `extent` on every side and is drawn that far up and left of the window,
    // moved by the offsets.
    static QImage RenderShadow(QSize windowSize, const Look &look);

private:
    class ShadowWindow;
    void refreshAll();
    // Copies one setting of the service's own look into every attached shadow's look.
    void applyToAll(void (*change)(Look &, const Look &own));

    Translucency m_translucency;
    Look m_look;
    bool m_batching = false;
    std::map<const QWidget *, std::unique_ptr<ShadowWindow>> m_shadows;
};
