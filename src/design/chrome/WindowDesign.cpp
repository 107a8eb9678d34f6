#include "chrome/WindowDesign.h"

#include "controls/Anchor.h"
#include "controls/dcButton.h"
#include "gdi/Dc.h"
#include "runtime/Form.h"
#include "runtime/Label.h"
#include "runtime/PropertyBag.h"
#include "runtime/Screen.h"
#include "runtime/Surface.h"

#include <QWidget>

namespace WindowDesign {

QSize ToPixels(const Size &twips, Rounding rounding)
{
    return {ToPixels(twips.width, Axis::Horizontal, rounding), ToPixels(twips.height, Axis::Vertical, rounding)};
}

runtime::StdFont WindowFont() { return runtime::StdFont(QStringLiteral("Verdana"), 8.25); }

runtime::StdFont TitleBarFont() { return runtime::StdFont(QStringLiteral("Verdana"), 9.75); }

void Move(runtime::Control *control, const Place &twips)
{
    const double x = control->unitsPerPixelX() / runtime::TwipsPerPixel(Axis::Horizontal);
    const double y = control->unitsPerPixelY() / runtime::TwipsPerPixel(Axis::Vertical);
    control->Move(twips.left * x, twips.top * y, twips.width * x, twips.height * y);
}

void MoveWidget(QWidget *widget, const Place &twips)
{
    widget->setGeometry(ToPixels(twips.left, Axis::Horizontal), ToPixels(twips.top, Axis::Vertical),
                        ToPixels(twips.width, Axis::Horizontal), ToPixels(twips.height, Axis::Vertical));
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

void DrawFrame(runtime::Surface &surface, double widthTwips, double heightTwips, int top, FrameRect::Rounding rounding)
{
    const gdi::Rect frame = FrameRect::Of(widthTwips, heightTwips, top, runtime::TwipsPerPixel(Axis::Horizontal),
                                          runtime::TwipsPerPixel(Axis::Vertical), rounding);
    if (gdi::Dc *dc = surface.hdc())
        dc->rectangle(frame.left, frame.top, frame.right, frame.bottom);
}

} // namespace WindowDesign
