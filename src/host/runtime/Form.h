#pragma once

#include "runtime/Control.h"
#include "runtime/Surface.h"

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

namespace runtime {

// WindowState values.
enum FormWindowStateConstants { vbNormal = 0, vbMinimized = 1, vbMaximized = 2 };
// Show's modal argument.
enum FormShowConstants { vbModeless = 0, vbModal = 1 };
// Why a form is being unloaded (QueryUnload's UnloadMode).
enum QueryUnloadConstants {
    vbFormControlMenu = 0, // the window's close command
    vbFormCode = 1,        // Unload in code
    vbAppWindows = 2,
    vbAppTaskManager = 3,
    vbFormMDIForm = 4,
    vbFormOwner = 5,
};

// A window of the program: a frameless top-level widget with the design's properties (position
// and size in twips, the drawing surface, Caption, WindowState), its events and its controls in
// creation order.
//
// Life cycle (see Forms.h): construct (the design's Initialize: create the controls and read their
// stored data), Load or Show (Form_Load, then the Load signal), Unload (QueryUnload, Unload, then
// hidden and deleted once no code that yields is running). A form unloaded and shown again is a
// new object that loads afresh (Forms::Get).
//
// Events: each runs the protected virtual of the design's name first (for the form's own code),
// then emits the signal (for controls that follow their form, such as the anchor).
class Form : public QWidget, public Surface, public ControlHost {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(double Left READ Left WRITE setLeft)
    Q_PROPERTY(double Top READ Top WRITE setTop)
    Q_PROPERTY(double Width READ Width WRITE setWidth)
    Q_PROPERTY(double Height READ Height WRITE setHeight)
    Q_PROPERTY(double ScaleWidth READ ScaleWidth)
    Q_PROPERTY(double ScaleHeight READ ScaleHeight)
    Q_PROPERTY(int ScaleMode READ ScaleMode WRITE setScaleMode)
    Q_PROPERTY(int WindowState READ WindowState WRITE setWindowState)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(quint32 FillColor READ FillColor WRITE setFillColor)
    Q_PROPERTY(int FillStyle READ FillStyle WRITE setFillStyle)
    Q_PROPERTY(int DrawWidth READ DrawWidth WRITE setDrawWidth)
    Q_PROPERTY(int DrawStyle READ DrawStyle WRITE setDrawStyle)
    Q_PROPERTY(bool AutoRedraw READ AutoRedraw WRITE setAutoRedraw)
    Q_PROPERTY(bool FontTransparent READ FontTransparent WRITE setFontTransparent)
    Q_PROPERTY(runtime::StdFont Font READ Font WRITE setFont)
    Q_PROPERTY(runtime::StdPicture Picture READ Picture WRITE setPicture)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE setMousePointer)

public:
    explicit Form(const QString &name);
    ~Form() override;

    // Both Qt's font and the surface's font are reachable; they differ in type.
    using QWidget::setFont;
    using Surface::setFont;

    QString Name() const { return objectName(); }
    QString Caption() const { return windowTitle(); }
    void setCaption(const QString &caption) { setWindowTitle(caption); }

    // Position on the screen and outer size, in twips.
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void setLeft(double left);
    void setTop(double top);
    void setWidth(double width);
    void setHeight(double height);
    void Move(double left, double top);
    void Move(double left, double top, double width, double height);

    int WindowState() const;
    void setWindowState(int state);
    // Qt's own states still reach Qt (an enum would otherwise promote to the int above).
    void setWindowState(Qt::WindowState state) { setWindowState(Qt::WindowStates(state)); }
    void setWindowState(Qt::WindowStates state);

    bool Visible() const { return isVisible(); }
    bool Enabled() const { return isEnabled(); }
    int MousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer);

    // Between Load and Unload.
    bool IsLoaded() const { return m_loaded; }
    // Unloaded and not loaded again: a form built but never loaded is not.
    bool WasUnloaded() const { return m_unloaded; }
    // Loads the form first when it is not loaded. Modal shows return once the form is hidden.
    void Show(int modal = vbModeless);
    void Hide() { hide(); }
    // A window that holds live state (the colour window) is only hidden by its close button.
    bool HidesOnClose() const { return m_hidesOnClose; }
    void setHideOnClose(bool hide) { m_hidesOnClose = hide; }
    // Activates the window; the focus goes to its active control, or to the form when it has none.
    void SetFocus();
    // Holds back the window's screen paints (a layout or colour pass that yields on the way); holds
    // nest, and what changed meanwhile is painted after the last release.
    void HoldPaints();
    void ReleasePaints();
    bool PaintsHeld() const { return m_paintHolds > 0; }
    // While paints are held, a control's redraw of its own picture waits for the last release and
    // runs once then, in place of every redraw the control asked for meanwhile (a pass sets many
    // of its properties, each of which would draw the whole picture again). False when nothing
    // is held: the caller draws now.
    bool RedrawAfterHold(QObject *control, std::function<void()> redraw);
    void ZOrder(int position = 0);

    // The design-time host (ambient UserMode False) or the running program (True, the default).
    bool UserMode() const { return m_userMode; }
    void setUserMode(bool userMode) { m_userMode = userMode; }

signals:
    void Load();
    void Resize();
    void Activate();
    void Deactivate();
    void QueryUnload(int &Cancel, int UnloadMode);
    void Unload(int &Cancel);
    void Paint();

protected:
    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_QueryUnload(int &Cancel, int UnloadMode) { Q_UNUSED(Cancel) Q_UNUSED(UnloadMode) }
    virtual void Form_Unload(int &Cancel) { Q_UNUSED(Cancel) }
    virtual void Form_Paint() {}

    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void surfacePaint() override;
    void timerEvent(QTimerEvent *event) override;

private:
    friend class FormLifecycle;
    void raiseResize();
    void raiseResizeIfChanged();
    void setGeometryPixels(const QRect &rect);
    void noteNormalGeometry();
    // The window system answers a state request on its own time; a report of the state it had
    // before the request is not news (see eventFilter).
    void watchWindowSystemStates();
    void noteRequestedState(Qt::WindowStates state);

    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_shownSinceLoad = false;
    bool m_userMode = true;
    bool m_hidesOnClose = false;
    int m_mousePointer = 0;
    int m_paintHolds = 0;
    bool m_runningHeldRedraws = false;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> m_heldRedraws;
    // Screen paints come at most once a frame: a scan yields many times a frame, and each yield
    // would otherwise paint what changed since the last (the status caption, every device).
    QElapsedTimer m_sinceLastPaint;
    QBasicTimer m_nextFrame;
    int m_resizeCount = 0;
    // Where the window last was in the normal state: where it goes back to when it leaves the
    // maximised state.
    QRect m_normalGeometry;
    QPointer<QWindow> m_watchedHandle;
    Qt::WindowStates m_requestedState;
    Qt::WindowStates m_reportedState;
    bool m_awaitingState = false;
    bool m_settingState = false;
    QSize m_lastResizeSize{-1, -1};
    Qt::WindowStates m_lastResizeState;
};

// Holds a window's paints for a scope; the window may be deleted meanwhile. A window's constructor
// holds them while it builds its controls: each stored property a control reads would draw it again.
class PaintHold {
public:
    explicit PaintHold(Form *form) : m_form(form)
    {
        if (m_form)
            m_form->HoldPaints();
    }
    ~PaintHold()
    {
        if (m_form)
            m_form->ReleasePaints();
    }
    PaintHold(const PaintHold &) = delete;
    PaintHold &operator=(const PaintHold &) = delete;

private:
    QPointer<Form> m_form;
};

} // namespace runtime
