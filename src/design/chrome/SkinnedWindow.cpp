#include "chrome/SkinnedWindow.h"

#include "chrome/ResizeGrip.h"
#include "chrome/TitelBar.h"
#include "chrome/WindowDesign.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Keys.h"
#include "runtime/Label.h"
#include "runtime/PropertyBag.h"
#include "runtime/Screen.h"

#include <cmath>

namespace SkinnedWindow {

runtime::PropertyBag TitleBarBag(const QString &caption, MaximizeButton maximize)
{
    runtime::PropertyBag bag{{"Caption", caption},
                             {"BackColor", 0xF7B8F8u},
                             {"BackColorCover", 1750},
                             {"BackColorV1Begin", 0xFF9933u},
                             {"BackColorV1End", 0u},
                             {"BackColorV2Begin", 0xC0C0C0u},
                             {"BackColorV2End", 0xC0C0C0u},
                             {"ForeColor", 0xFFFFFFu},
                             {"CaptionColorBack", 0u},
                             {"PicturePosMode", 2},
                             {"PicturePosY", 8},
                             {"Font", QVariant::fromValue(WindowDesign::TitleBarFont())}};
    if (maximize == MaximizeButton::Shown) {
        bag.WriteProperty(QStringLiteral("ShowMaximized"), true);
        bag.WriteProperty(QStringLiteral("ShowMaximizedEnabled"), true);
    }
    return bag;
}

TitelBar *CreateTitleBar(runtime::Form *form, MaximizeButton maximize)
{
    auto *bar = new TitelBar(form, QStringLiteral("TitelBar1"));
    bar->ReadProperties(TitleBarBag(form->Caption(), maximize));
    bar->Move(0, 0, form->Width(), WindowDesign::TitleBarHeight);
    return bar;
}

runtime::Label *CreateGrip(runtime::Form *form)
{
    auto *grip = new runtime::Label(form, QStringLiteral("LabelResize"));
    grip->setFont(runtime::StdFont(QStringLiteral("Marlett"), 9.75));
    grip->setCaption(QStringLiteral("o"));
    grip->setBackStyle(runtime::vbTransparent);
    grip->setTag(QStringLiteral("FFTT*/"));
    grip->setMousePointer(runtime::vbSizeNWSE);
    grip->Move(0, 0, 210, 210);
    return grip;
}

void PlaceGrip(runtime::Form *form, runtime::Label *grip)
{
    grip->setLeft(form->Width() - grip->Width());
    grip->setTop(form->Height() - grip->Height());
}

bool CentreOnScreen(runtime::Form *form, bool yield)
{
    const auto left = [form] { return runtime::Screen::Width() / 2 - form->Width() / 2; };
    const auto top = [form] { return runtime::Screen::Height() / 2 - form->Height() / 2; };
    if (!yield) {
        form->Move(left(), top());
        return true;
    }
    form->setLeft(left());
    if (!runtime::DoEventsStillLoaded(form))
        return false;
    form->setTop(top());
    return runtime::DoEventsStillLoaded(form);
}

void DrawFrame(runtime::Form *form)
{
    form->Cls();
    WindowDesign::DrawFrame(*form, form->Width(), form->Height(), FrameRect::TopAboveSurface);
    form->Refresh();
}

void FollowResize(runtime::Form *form, TitelBar *bar, runtime::Label *grip)
{
    if (bar)
        bar->setWidth(form->Width());
    if (grip)
        grip->setVisible(!(bar && bar->bDidMaximize));
}

void StartGripSizing(runtime::Form *form, int button)
{
    if (button == runtime::vbLeftButton && form)
        ResizeGrip::BeginBottomRightDrag(form);
}

} // namespace SkinnedWindow
