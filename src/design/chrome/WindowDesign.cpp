#include "chrome/WindowDesign.h"

#include "controls/Anchor.h"
#include "controls/dcButton.h"
#include "runtime/Form.h"
#include "runtime/Label.h"
#include "runtime/PropertyBag.h"
#include "runtime/Screen.h"

#include <QWidget>

#include <cmath>

namespace WindowDesign {

runtime::StdFont WindowFont() { return runtime::StdFont(QStringLiteral("Verdana"), 8.25); }

void Move(runtime::Control *control, const Place &twips)
{
    const double x = control->unitsPerPixelX() / runtime::Screen::TwipsPerPixelX();
    const double y = control->unitsPerPixelY() / runtime::Screen::TwipsPerPixelY();
    control->Move(twips.left * x, twips.top * y, twips.width * x, twips.height * y);
}

void MoveWidget(QWidget *widget, const Place &twips)
{
    const double x = runtime::Screen::TwipsPerPixelX();
    const double y = runtime::Screen::TwipsPerPixelY();
    widget->setGeometry(int(std::lround(twips.left / x)), int(std::lround(twips.top / y)), int(std::lround(twips.width / x)),
                        int(std::lround(twips.height / y)));
}

runtime::Label *MakeLabel(QWidget *container, const QString &name, const QString &caption, const QString &tag,
                          const Place &twips)
{
    auto *label = new runtime::Label(container, name);
    label->setFont(WindowFont());
    label->setCaption(caption);
    label->setBackStyle(runtime::vbTransparent);
    label->setTag(tag);
    Move(label, twips);
    return label;
}

dcButton *MakeButton(QWidget *container, const QString &name, const QString &caption, const QString &tag,
                     const Place &twips, const QString &toolTip)
{
    auto *button = new dcButton(container, name);
    button->ReadProperties(runtime::PropertyBag{{"Caption", caption}, {"Font", QVariant::fromValue(WindowFont())}});
    button->setTag(tag);
    button->setToolTipText(toolTip);
    Move(button, twips);
    return button;
}

void SetDesignSize(runtime::Form *form, const Size &size) { form->Move(0, 0, size.width, size.height); }

void StartAnchorAt(Anchor *anchor, const Size &size)
{
    anchor->InitHeight = int(size.height);
    anchor->InitWidth = int(size.width);
}

void StartAt(runtime::Form *form, const Size &size)
{
    form->setHeight(size.height);
    form->setWidth(size.width);
}

void StartAtDesignSize(runtime::Form *form, Anchor *anchor, const Size &size)
{
    StartAnchorAt(anchor, size);
    StartAt(form, size);
}

} // namespace WindowDesign
