#include "runtime/UserControl.h"

#include "runtime/Form.h"

#include <QPaintEvent>
#include <QPainter>

namespace runtime {

UserControl::UserControl(QWidget *container, const QString &name, int index)
    : Control(container, name, index), Surface(this)
{
    setScaleMode(vbPixels);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

UserControl::~UserControl() = default;

void UserControl::InitNew()
{
    m_sited = true;
    UserControl_InitProperties();
}

void UserControl::ReadProperties(const PropertyBag &bag)
{
    m_sited = true;
    UserControl_ReadProperties(bag);
}

PropertyBag UserControl::WriteProperties()
{
    PropertyBag bag;
    UserControl_WriteProperties(bag);
    return bag;
}

bool UserControl::redrawAfterHold(std::function<void()> redraw, QObject *part)
{
    auto *form = qobject_cast<Form *>(window());
    return form && form->RedrawAfterHold(part ? part : this, std::move(redraw));
}

void UserControl::PropertyChanged(const QString &name)
{
    m_changed.append(name);
    emit PropertyChangedSignal(name);
}

AmbientProperties UserControl::Ambient() const
{
    AmbientProperties ambient;
    if (const Surface *container = surfaceOf(parentWidget())) {
        ambient.BackColor = container->BackColor();
        ambient.ForeColor = container->ForeColor();
        ambient.Font = container->Font();
    }
    if (const Form *form = Parent())
        ambient.UserMode = form->UserMode();
    ambient.DisplayName = Name();
    return ambient;
}

void UserControl::sizeChanged()
{
    resizeSurface(size());
    UserControl_Resize();
}

void UserControl::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    paintSurface(painter, event->rect());
}

void UserControl::showEvent(QShowEvent *event)
{
    Control::showEvent(event);
    if (!m_sited)
        InitNew();
    UserControl_Show();
}

void UserControl::hideEvent(QHideEvent *event)
{
    Control::hideEvent(event);
    UserControl_Hide();
}

} // namespace runtime
