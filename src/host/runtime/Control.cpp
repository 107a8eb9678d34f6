#include "runtime/Control.h"

#include "runtime/Form.h"
#include "runtime/Keys.h"
#include "runtime/Screen.h"
#include "runtime/Surface.h"
#include "runtime/UserControl.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QPixmap>

namespace runtime {

QList<Control *> ControlHost::Controls() const
{
    QList<Control *> live;
    for (const QPointer<Control> &control : m_controls) {
        if (control)
            live.append(control);
    }
    return live;
}

Control *ControlHost::findControl(const QString &name, int index) const
{
    for (Control *control : Controls()) {
        if (control->Name().compare(name, Qt::CaseInsensitive) == 0 && control->Index() == index)
            return control;
    }
    return nullptr;
}

Control::Control(QWidget *container, const QString &name, int index) : QWidget(container), m_index(index)
{
    setObjectName(name);
    // A container user control (a panel) passes what its window places in it on to the host
    // above, so the window's collection holds every control on it, whatever its container, and
    // a user control's collection only its own constituents: each control is in one collection.
    for (QWidget *widget = container; widget; widget = widget->parentWidget()) {
        auto *host = dynamic_cast<ControlHost *>(widget);
        if (!host)
            continue;
        if (const auto *user = dynamic_cast<const UserControl *>(widget); user && user->ControlContainer())
            continue;
        host->m_controls.append(this);
        break;
    }
}

Control::~Control() = default;

Form *Control::Parent() const { return qobject_cast<Form *>(window()); }

double Control::unitsPerPixelX() const
{
    const Surface *surface = surfaceOf(parentWidget());
    return ScaleX(1.0, vbPixels, surface ? surface->ScaleMode() : vbTwips);
}

double Control::unitsPerPixelY() const
{
    const Surface *surface = surfaceOf(parentWidget());
    return ScaleY(1.0, vbPixels, surface ? surface->ScaleMode() : vbTwips);
}

double Control::Left() const { return x() * unitsPerPixelX(); }
double Control::Top() const { return y() * unitsPerPixelY(); }
double Control::Width() const { return width() * unitsPerPixelX(); }
double Control::Height() const { return height() * unitsPerPixelY(); }

void Control::setLeft(double left) { move(ToPixels(left, unitsPerPixelX()), y()); }
void Control::setTop(double top) { move(x(), ToPixels(top, unitsPerPixelY())); }

void Control::setWidth(double width)
{
    resize(qMax(0, ToPixels(width, unitsPerPixelX())), height());
    notifyResize();
}

void Control::setHeight(double height)
{
    resize(width(), qMax(0, ToPixels(height, unitsPerPixelY())));
    notifyResize();
}

void Control::Move(double left, double top) { move(ToPixels(left, unitsPerPixelX()), ToPixels(top, unitsPerPixelY())); }

void Control::Move(double left, double top, double width) { Move(left, top, width, Height()); }

void Control::Move(double left, double top, double width, double height)
{
    setGeometry(ToPixels(left, unitsPerPixelX()), ToPixels(top, unitsPerPixelY()),
                qMax(0, ToPixels(width, unitsPerPixelX())), qMax(0, ToPixels(height, unitsPerPixelY())));
    notifyResize();
}

bool Control::Visible() const { return parentWidget() ? isVisibleTo(parentWidget()) : !isHidden(); }
bool Control::Enabled() const { return parentWidget() ? isEnabledTo(parentWidget()) : isEnabled(); }
void Control::setEnabled(bool enabled) { QWidget::setEnabled(enabled); }

void Control::setMousePointer(int pointer)
{
    m_mousePointer = pointer;
    if (pointer == vbDefault)
        unsetCursor();
    else
        setCursor(cursorForPointer(pointer, m_mouseIcon));
}

void Control::setMouseIcon(const StdPicture &icon)
{
    m_mouseIcon = icon;
    if (m_mousePointer == vbCustom)
        setCursor(cursorForPointer(vbCustom, icon));
}

void Control::ZOrder(int position)
{
    if (position == 0)
        raise();
    else
        lower();
}

void Control::notifyResize()
{
    if (size() == m_lastSize)
        return;
    m_lastSize = size();
    sizeChanged();
}

void Control::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    notifyResize();
}

bool setPropertyByName(QObject *object, const char *name, const QVariant &value)
{
    if (!object)
        return false;
    const QMetaObject *meta = object->metaObject();
    const int index = meta->indexOfProperty(name);
    if (index < 0)
        return false;
    const QMetaProperty property = meta->property(index);
    return property.isWritable() && property.write(object, value);
}

QVariant getPropertyByName(const QObject *object, const char *name)
{
    if (!object)
        return {};
    const QMetaObject *meta = object->metaObject();
    const int index = meta->indexOfProperty(name);
    return index < 0 ? QVariant() : meta->property(index).read(object);
}

QCursor cursorForPointer(int pointer, const StdPicture &icon)
{
    switch (pointer) {
    case vbCrosshair:
        return Qt::CrossCursor;
    case vbIbeam:
        return Qt::IBeamCursor;
    case vbSizePointer:
    case vbSizeAll:
        return Qt::SizeAllCursor;
    case vbSizeNESW:
        return Qt::SizeBDiagCursor;
    case vbSizeNS:
        return Qt::SizeVerCursor;
    case vbSizeNWSE:
        return Qt::SizeFDiagCursor;
    case vbSizeWE:
        return Qt::SizeHorCursor;
    case vbUpArrow:
        return Qt::UpArrowCursor;
    case vbHourglass:
        return Qt::WaitCursor;
    case vbNoDrop:
        return Qt::ForbiddenCursor;
    case vbArrowHourglass:
        return Qt::BusyCursor;
    case vbArrowQuestion:
        return Qt::WhatsThisCursor;
    case vbCustom:
        if (!icon.isNothing())
            return QCursor(QPixmap::fromImage(icon.image()));
        return Qt::ArrowCursor;
    default:
        return Qt::ArrowCursor;
    }
}

int MouseButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return vbLeftButton;
    case Qt::RightButton:
        return vbRightButton;
    case Qt::MiddleButton:
        return vbMiddleButton;
    default:
        return 0;
    }
}

int MouseButtonsOf(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? vbLeftButton : 0) | (buttons & Qt::RightButton ? vbRightButton : 0)
           | (buttons & Qt::MiddleButton ? vbMiddleButton : 0);
}

int ShiftOf(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
           | (modifiers & Qt::AltModifier ? 4 : 0);
}

int KeyCodeOf(const QKeyEvent *event)
{
    const int key = event->key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key; // the virtual-key codes of letters and digits are their upper-case characters
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

} // namespace runtime
