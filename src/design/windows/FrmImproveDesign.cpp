// The improve window's design: its controls, where they sit (twips) and their stored data.
#include "windows/FrmImprove.h"

#include "chrome/SkinnedWindow.h"
#include "chrome/WindowDesign.h"
#include "components/SuiteListView.h"
#include "controls/Anchor.h"
#include "controls/AnimationBar.h"
#include "controls/PanelFx.h"
#include "controls/dcButton.h"
#include "runtime/Label.h"
#include "runtime/ListBox.h"
#include "runtime/PropertyBag.h"
#include "runtime/TextBox.h"
#include "runtime/Timer.h"

namespace {

const QString kNoticeText = QStringLiteral(
    "Want to help improve the database for the program? This is the spot!\r\n"
    "\r\n"
    "This tool will scan your hardware that has drivers installed, then search the database, removing any hardware "
    "already in the database. The hardware in the list is what is currently not in the database.\r\n"
    "\r\n"
    "Once done it will save the current hardware to the database file and upload a text file with only the updated "
    "hardware to the Quordane server. (Nothing but the hardware info is uploaded and the text file that is uploaded "
    "is in the program folder named 'new_hardware.txt')\r\n"
    "\r\n"
    "The text file uploaded to the server will be checked and then applied to the main database after a few days.\r\n"
    "\r\n"
    "You may notice that hardware that is in the database still shows up here. That is because some hardware has "
    "multiple ids, and while one of the ids may have been in the database, the others where not. This will grab each "
    "individual id for every hardware, making the database more detailed.\r\n");

// The result line must hold the support address whole at the start width.
const runtime::StdFont kVerdanaSmall(QStringLiteral("Verdana"), 7.5);

using WindowDesign::MakeButton;
using WindowDesign::MakeLabel;

}

void FrmImprove::createControls()
{
    setCaption(QStringLiteral("Improve Database"));
    WindowDesign::SetDesignSize(this, DesignSize);

    TitelBar1 = SkinnedWindow::CreateTitleBar(this);

    InfoLabelListTotal = MakeLabel(this, QStringLiteral("InfoLabelListTotal"), QStringLiteral("Total Hardware Not In Database: 0"),
                                   {}, {60, 510, 8400, 225});

    ListViewHardware = new SuiteListView(this, QStringLiteral("ListViewHardware"));
    ListViewHardware->setTag(QStringLiteral("TTTT*/"));
    WindowDesign::Move(ListViewHardware, {60, 780, 8400, 4065});

    LabelText1 = new runtime::TextBox(this, QStringLiteral("LabelText1"));
    LabelText1->setTag(QStringLiteral("TFTT*/"));
    LabelText1->setMultiLine(true);
    LabelText1->setLocked(true);
    LabelText1->setFont(WindowDesign::WindowFont());
    LabelText1->setText(kNoticeText);
    WindowDesign::Move(LabelText1, {60, 4905, 8400, 2790});

    ImportantLabel1 = MakeLabel(this, QStringLiteral("ImportantLabel1"),
                                QStringLiteral("*English Systems Only - PLEASE REMOVE ANY DEVICE THAT HAS NON ENGLISH WORDS!"),
                                QStringLiteral("TFTT*/"), {60, 7695, 8400, 210});

    ImportantLabelSubmitStatus =
        MakeLabel(this, QStringLiteral("ImportantLabelSubmitStatus"), {}, QStringLiteral("TFTT*/"), {60, 7905, 8400, 210});
    ImportantLabelSubmitStatus->setFont(kVerdanaSmall);

    CommandGetHardware = MakeButton(this, QStringLiteral("CommandGetHardware"), QStringLiteral("1. Scan Hardware"),
                                    QStringLiteral("TFFT*/"), {60, 8190, 2400, 435});
    CommandSaveSubmit = MakeButton(this, QStringLiteral("CommandSaveSubmit"), QStringLiteral("2. Add to Database && Submit to Quordane"),
                                   QStringLiteral("TFFT*/"), {2520, 8190, 4200, 435});
    CommandSaveSubmit->setEnabled(false);

    List1 = new runtime::ListBox(this, QStringLiteral("List1"));
    List1->setVisible(false);

    LabelResize = SkinnedWindow::CreateGrip(this);

    // Created after the list and the texts so that it covers them while it shows.
    PanelProgress = new PanelFx(this, QStringLiteral("PanelProgress"));
    PanelProgress->ReadProperties(
        runtime::PropertyBag{{"TitleCaption", "Please Wait..."}, {"Font", QVariant::fromValue(WindowDesign::WindowFont())}});
    WindowDesign::Move(PanelProgress, {0, 0, 5865, 2040});
    PanelProgress->setVisible(false);
    LabelStatus = MakeLabel(PanelProgress, QStringLiteral("LabelStatus"), QStringLiteral("Status:"), {}, {120, 360, 5625, 1155});
    LabelStatus->setWordWrap(true);
    DB1 = new AnimationBar(PanelProgress, QStringLiteral("DB1"));
    WindowDesign::Move(DB1, {120, 1620, 5625, 255});

    Anchor1 = new Anchor(this, QStringLiteral("Anchor1"));
    Anchor1->ReadProperties(runtime::PropertyBag());

    Timer1 = new runtime::Timer(this, QStringLiteral("Timer1"), 250, true);
    TimerStatus = new runtime::Timer(this, QStringLiteral("TimerStatus"), 100, false);
}
