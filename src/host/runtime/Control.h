#pragma once

#include "runtime/StdPicture.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

class QKeyEvent;
class QMouseEvent;

namespace runtime {

class Control;
class Form;

// MousePointer values.
enum MousePointerConstants {
    vbDefault = 0,
    vbArrow = 1,
    vbCrosshair = 2,
    vbIbeam = 3,
    vbSizePointer = 5,
    vbSizeNESW = 6,
    vbSizeNS = 7,
    vbSizeNWSE = 8,
    vbSizeWE = 9,
    vbUpArrow = 10,
    vbHourglass = 11,
    vbNoDrop = 12,
    vbArrowHourglass = 13,
    vbArrowQuestion = 14,
    vbSizeAll = 15,
    vbCustom = 99,
};

// What holds controls in creation order: a form for every control placed on it (inside its
// container controls too), or a user control for its own constituents.
class ControlHost {
public:
    virtual ~ControlHost() = default;
    // The live controls in the order they were created (unloaded ones drop out).
    QList<Control *> Controls() const;
    // The first control of that name (and index, for a control array), or nullptr.
    Control *findControl(const QString &name, int index = -1) const;

private:
    friend class Control;
    QList<QPointer<Control>> m_controls;
};

// A control on a form: its name, its index in a control array (-1 when it is in none), Tag, its
// container and its geometry in the container's scale (twips on a form, or the container
// surface's ScaleMode). Properties are Q_PROPERTYs under the design's names, so code that works
// by name (the colour engine, the anchor) reaches them with setPropertyByName / property().
// A control registers itself with the nearest form or user control above its container that
// is not a container user control: controls placed in a panel are the window's.
class Control : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name)
    Q_PROPERTY(int Index READ Index)
    Q_PROPERTY(QString Tag READ Tag WRITE setTag)
    Q_PROPERTY(double Left READ Left WRITE setLeft)
    Q_PROPERTY(double Top READ Top WRITE setTop)
    Q_PROPERTY(double Width READ Width WRITE setWidth)
    Q_PROPERTY(double Height READ Height WRITE setHeight)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(QString ToolTipText READ ToolTipText WRITE setToolTipText)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(runtime::StdPicture MouseIcon READ MouseIcon WRITE setMouseIcon)

public:
    Control(QWidget *container, const QString &name, int index = -1);
    ~Control() override;

    QString Name() const { return objectName(); }
    int Index() const { return m_index; }
    QString Tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    // The widget the control sits on, and the form it belongs to (nullptr when it has none).
    QWidget *Container() const { return parentWidget(); }
    Form *Parent() const;

    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    virtual void setLeft(double left);
    virtual void setTop(double top);
    virtual void setWidth(double width);
    virtual void setHeight(double height);
    // Move(left, top [, width [, height]]) in the container's scale; a negative size is taken as 0.
    void Move(double left, double top);
    void Move(double left, double top, double width);
    void Move(double left, double top, double width, double height);

    // The control's own visibility and enabled switch (not those of its form).
    bool Visible() const;
    bool Enabled() const;
    virtual void setEnabled(bool enabled);

    QString ToolTipText() const { return toolTip(); }
    void setToolTipText(const QString &text) { setToolTip(text); }

    int MousePointer() const { return m_mousePointer; }
    virtual void setMousePointer(int pointer);
    StdPicture MouseIcon() const { return m_mouseIcon; }
    virtual void setMouseIcon(const StdPicture &icon);

    void SetFocus() { setFocus(Qt::OtherFocusReason); }
    void ZOrder(int position = 0);

    // Units of the container's scale per pixel, horizontally and vertically.
    double unitsPerPixelX() const;
    double unitsPerPixelY() const;

protected:
    // Runs once per change of size, whether the size came from the setters above (at once, also
    // while hidden) or from a resize event.
    virtual void sizeChanged() {}
    void notifyResize();
    void resizeEvent(QResizeEvent *event) override;

private:
    QSize m_lastSize;
    int m_index;
    QString m_tag;
    int m_mousePointer = vbDefault;
    StdPicture m_mouseIcon;
};

// Sets a declared property by its design name; false when the object has no such property (or
// the value does not fit it), so by-name callers simply skip it. Dynamic properties do not count.
bool setPropertyByName(QObject *object, const char *name, const QVariant &value);
// Reads a declared property by name; an invalid QVariant when there is none.
QVariant getPropertyByName(const QObject *object, const char *name);

// The cursor of a MousePointer value (vbCustom takes the icon).
QCursor cursorForPointer(int pointer, const StdPicture &icon = {});

// The event arguments of the design: Button 1 left, 2 right, 4 middle; Shift 1 Shift, 2 Ctrl,
// 4 Alt; KeyCode the platform's virtual-key code (letters upper case, digits, F1 = 112, ...).
int MouseButtonOf(Qt::MouseButton button);
int MouseButtonsOf(Qt::MouseButtons buttons);
int ShiftOf(Qt::KeyboardModifiers modifiers);
int KeyCodeOf(const QKeyEvent *event);

} // namespace runtime
