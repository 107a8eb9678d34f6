#pragma once

#include "runtime/Control.h"
#include "runtime/OleColor.h"
#include "runtime/PropertyBag.h"
#include "runtime/StdFont.h"
#include "runtime/Surface.h"

#include <QStringList>

#include <functional>

namespace runtime {

// What the container tells a user control about itself.
struct AmbientProperties {
    OleColor BackColor = 0x8000000Fu;
    OleColor ForeColor = 0x80000012u;
    StdFont Font = StdFont::defaultFont();
    bool UserMode = true;      // False while hosted by a designer
    QString DisplayName;       // the name the host gives the control
};

// A skinned control: a Control with its own drawing surface (pixels by default: ScaleMode
// vbPixels, so ScaleWidth/ScaleHeight are its client size), its constituent controls, and stored
// design data.
//
// Stored design data. A subclass overrides the three handlers:
//   UserControl_InitProperties()                  a freshly placed control: set the "new" values;
//   UserControl_ReadProperties(const PropertyBag&) loading: read each key with its default
//                                                  (bag.ReadInto(key, m_field, default)) straight
//                                                  into the fields, without the setters' effects;
//   UserControl_WriteProperties(PropertyBag&)     saving: bag.WriteProperty(key, value, default).
// The host calls exactly one of InitNew() or ReadProperties(bag) before the control is shown
// (a control shown without either is taken as freshly placed), and WriteProperties() to save.
// A property setter calls PropertyChanged("Key") to mark the key changed for the host.
//
// The surface's own colours, font and ScaleMode are the control's private business: they are
// not Q_PROPERTYs here, so by-name callers see only what the subclass declares.
class UserControl : public Control, public Surface, public ControlHost {
    Q_OBJECT

public:
    UserControl(QWidget *container, const QString &name, int index = -1);
    ~UserControl() override;

    // Both Qt's font and the surface's font are reachable; they differ in type.
    using QWidget::setFont;
    using Surface::setFont;

    // Host side of the stored design data.
    void InitNew();
    void ReadProperties(const PropertyBag &bag);
    PropertyBag WriteProperties();
    // True once InitNew or ReadProperties has run.
    bool IsSited() const { return m_sited; }

    // The keys passed to PropertyChanged since the last clear, in order (repeats kept).
    QStringList ChangedProperties() const { return m_changed; }
    void ClearChangedProperties() { m_changed.clear(); }

    // The container's ambient properties, read when asked.
    AmbientProperties Ambient() const;
    // The container's view of the control: name, position, Tag, Visible...
    Control &Extender() { return *this; }

    // True for a container (a panel): the controls its window places in it belong to the
    // window's collection, not to this control's.
    bool ControlContainer() const { return m_controlContainer; }

    // Pixel sizes of the control's client area.
    using Surface::ScaleHeight;
    using Surface::ScaleWidth;

signals:
    void PropertyChangedSignal(const QString &name);

protected:
    virtual void UserControl_InitProperties() {}
    virtual void UserControl_ReadProperties(const PropertyBag &PropBag) { Q_UNUSED(PropBag) }
    virtual void UserControl_WriteProperties(PropertyBag &PropBag) { Q_UNUSED(PropBag) }
    virtual void UserControl_Resize() {}
    virtual void UserControl_Paint() {}
    virtual void UserControl_Show() {}
    virtual void UserControl_Hide() {}

    void PropertyChanged(const QString &name = QString());
    // Puts a redraw of the control's whole picture, or of the picture of one of its parts, off
    // while its window holds paints, to run once when the hold ends (Form::RedrawAfterHold); false
    // when the control is to draw now.
    bool redrawAfterHold(std::function<void()> redraw, QObject *part = nullptr);
    // Set in the constructor, before anything is placed in the control.
    void setControlContainer(bool container) { m_controlContainer = container; }

    // The one shape of a property set: the value stored, its key marked changed and `then` run
    // (the control's repaint). An equal value is set all the same: setting a property again is
    // how a host asks for the rebuild behind it (colours overridden, blend pictures).
    template <class T, class Then>
    void setStored(T &field, const T &value, const char *key, Then &&then)
    {
        field = value;
        PropertyChanged(QString::fromLatin1(key));
        then();
    }

    void sizeChanged() override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void surfacePaint() override { UserControl_Paint(); }

private:
    bool m_sited = false;
    bool m_controlContainer = false;
    QStringList m_changed;
};

} // namespace runtime
