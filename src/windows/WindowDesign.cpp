#include "windows/WindowDesign.h"

#include "runtime/Label.h"

namespace WindowDesign {

runtime::StdFont WindowFont() { return runtime::StdFont(QStringLiteral("Verdana"), 8.25); }

runtime::Label *MakeLabel(QWidget *container, const QString &name, const QString &caption, const QString &tag,
                          double left, double top, double width, double height)
{
    auto *label = new runtime::Label(container, name);
    label->setFont(WindowFont());
    label->setCaption(caption);
    label->setBackStyle(runtime::vbTransparent);
    label->setTag(tag);
    label->Move(left, top, width, height);
    return label;
}

} // namespace WindowDesign
