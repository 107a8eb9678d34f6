#include "windows/SkinnedWindow.h"

#include "chrome/TitelBar.h"
#include "gdi/Dc.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Label.h"
#include "runtime/PropertyBag.h"
#include "runtime/Screen.h"
#include "windows/ResizeGrip.h"

#include <cmath>

namespace SkinnedWindow {

TitelBar *CreateTitleBar(runtime::Form *form)
{
    auto *bar = new TitelBar(form, QStringLiteral("TitelBar1"));
    bar->ReadProperties(runtime::PropertyBag{{"Caption", form->Caption()},
                                             {"BackColor", 0xF7B8F8u},
                                             {"BackColorCover", 1750},
                                             {"BackColorV1Begin", 0xFF9933u},
                                             {"BackColorV1End", 0u},
                                             {"BackColorV2Begin", 0xC0C0C0u},
                                             {"BackColorV2End", 0xC0C0C0u},
                                             {"ForeColor", 0xFFFFFFu},
                                             {"CaptionColorBack", 0u},
                                             {"ShowMaximized", true},
                                             {"ShowMaximizedEnabled", true},
                                             {"PicturePosMode", 2},
                                             {"PicturePosY", 8},
                                             {"Font", QVariant::fromValue(runtime::StdFont(QStringLiteral("Verdana"), 9.75))}});
    bar->Move(0, 0, form->Width(), 480);
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
    form->setLeft(runtime::Screen::Width() / 2 - form->Width() / 2);
    if (yield && !runtime::DoEventsStillLoaded(form))
        return false;
    form->setTop(runtime::Screen::Height() / 2 - form->Height() / 2);
    return !yield || runtime::DoEventsStillLoaded(form);
}

void DrawFrame(runtime::Form *form)
{
    form->Cls();
    const long right = std::lround(form->Width()) / std::lround(runtime::Screen::TwipsPerPixelX());
    const long bottom = std::lround(form->Height()) / std::lround(runtime::Screen::TwipsPerPixelY());
    form->hdc()->rectangle(0, -50, int(right), int(bottom));
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
    if (button == 1 && form)
        ResizeGrip::BeginBottomRightDrag(form);
}

} // namespace SkinnedWindow
