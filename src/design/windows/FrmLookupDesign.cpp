// The lookup window's design: its controls, where they sit (twips) and their stored data.
#include "windows/FrmLookup.h"

#include "chrome/SkinnedWindow.h"
#include "chrome/WindowDesign.h"
#include "components/SuiteListView.h"
#include "controls/Anchor.h"
#include "controls/AnimationBar.h"
#include "controls/dcButton.h"
#include "runtime/Label.h"
#include "runtime/PictureBox.h"
#include "runtime/TextBox.h"
#include "runtime/Timer.h"

namespace {

using WindowDesign::MakeButton;
using WindowDesign::MakeLabel;
using WindowDesign::WindowFont;

}

void FrmLookup::createControls()
{
    TitelBar1 = SkinnedWindow::CreateTitleBar(this);
    Anchor1 = new Anchor(this, QStringLiteral("Anchor1"));
    Anchor1->InitNew();
    ImportantLabelName = MakeLabel(this, QStringLiteral("ImportantLabelName"), QStringLiteral("Device:"),
                                   QStringLiteral("TTTF*/"), {60, 540, 8400, 255});
    LabelHardwareID = MakeLabel(this, QStringLiteral("LabelHardwareID"), QStringLiteral("Hardware IDs:"), {}, {60, 975, 1800, 210});
    CommandSearchGoogleID = MakeButton(this, QStringLiteral("CommandSearchGoogleID"),
                                       QStringLiteral("Search Google For Drivers (By These Hardware IDs)"), QStringLiteral("FTTF*/"),
                                       {3960, 840, 4500, 315});
    TextID = new runtime::TextBox(this, QStringLiteral("TextID"));
    TextID->setMultiLine(true);
    TextID->setFont(WindowFont());
    TextID->setTag(QStringLiteral("TTTF*/"));
    WindowDesign::Move(TextID, {60, 1185, 8400, 915});
    LabelPossible = MakeLabel(this, QStringLiteral("LabelPossible"), QStringLiteral("Possible Matches:"), {}, {75, 2145, 1935, 210});
    ImportantPictureBestMacthColor = new runtime::PictureBox(this, QStringLiteral("ImportantPictureBestMacthColor"));
    WindowDesign::Move(ImportantPictureBestMacthColor, {2040, 2145, 195, 195});
    ImportantPictureBestMacthColor->setBackColor(0x0000C0u);
    ImportantLabel2 = MakeLabel(this, QStringLiteral("ImportantLabel2"), QStringLiteral("- Best Possible Match"), {}, {2280, 2145, 2400, 210});
    ImportantLabel2->setForeColor(0x0000C0u);
    InfoLabel1 = MakeLabel(this, QStringLiteral("InfoLabel1"), QStringLiteral("*Right Click On List For More Options"),
                           QStringLiteral("FTTF*/"), {5355, 2145, 3105, 210});
    LabelListViewHardware = new SuiteListView(this, QStringLiteral("LabelListViewHardware"));
    LabelListViewHardware->setTag(QStringLiteral("TTTT*/"));
    WindowDesign::Move(LabelListViewHardware, {60, 2400, 8400, 2670});
    DB1 = new AnimationBar(this, QStringLiteral("DB1"));
    DB1->InitNew();
    DB1->setTag(QStringLiteral("TFFT*/"));
    WindowDesign::Move(DB1, {75, 5130, 2655, 135});
    LabelStatus = MakeLabel(this, QStringLiteral("LabelStatus"), QStringLiteral("Status:"), QStringLiteral("TFFT*/"), {2835, 5100, 4500, 210});
    LabelResize = SkinnedWindow::CreateGrip(this);
    TimerStart = new runtime::Timer(this, QStringLiteral("TimerStart"), 100, false);
    TimerStatus = new runtime::Timer(this, QStringLiteral("TimerStatus"), 250, false);
}
