// The improve window's design: its controls, where they sit (twips) and their stored data.
#include "windows/FrmImprove.h"

#include "chrome/SkinnedWindow.h"
#include "components/SuiteListView.h"
#include "controls/Anchor.h"
#include "controls/AnimationBar.h"
#include "controls/PanelFx.h"
#include "controls/dcButton.h"
#include "runtime/Label.h"
#include "runtime/ListBox.h"
#include "runtime/PropertyBag.h"
#include "runtime/Screen.h"
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

const runtime::StdFont kVerdana(QStringLiteral("Verdana"), 8.25);
// The result line must hold the support address whole at the start width.
const runtime::StdFont kVerdanaSmall(QStringLiteral("Verdana"), 7.5);

// Places a control by twips in whatever scale its container uses (a panel counts in pixels).
void place(runtime::Control *control, double left, double top, double width, double height)
{
    const double x = control->unitsPerPixelX() / runtime::Screen::TwipsPerPixelX();
    const double y = control->unitsPerPixelY() / runtime::Screen::TwipsPerPixelY();
    control->Move(left * x, top * y, width * x, height * y);
}

runtime::Label *label(QWidget *container, const QString &name, const QString &caption, const QString &tag)
{
    auto *label = new runtime::Label(container, name);
    label->setCaption(caption);
    label->setTag(tag);
    label->setBackStyle(runtime::vbTransparent);
    label->setFont(kVerdana);
    return label;
}

dcButton *button(QWidget *container, const QString &name, const QString &caption)
{
    auto *button = new dcButton(container, name);
    button->setTag(QStringLiteral("TFFT*/"));
    button->ReadProperties(runtime::PropertyBag{{"Caption", caption}, {"Font", QVariant::fromValue(kVerdana)}});
    return button;
}

}

void FrmImprove::createControls()
{
    setCaption(QStringLiteral("Improve Database"));
    Move(0, 0, 8520, 8715);

    TitelBar1 = SkinnedWindow::CreateTitleBar(this);

    InfoLabelListTotal = label(this, QStringLiteral("InfoLabelListTotal"), QStringLiteral("Total Hardware Not In Database: 0"), {});
    place(InfoLabelListTotal, 60, 510, 8400, 225);

    ListViewHardware = new SuiteListView(this, QStringLiteral("ListViewHardware"));
    ListViewHardware->setTag(QStringLiteral("TTTT*/"));
    place(ListViewHardware, 60, 780, 8400, 4065);

    LabelText1 = new runtime::TextBox(this, QStringLiteral("LabelText1"));
    LabelText1->setTag(QStringLiteral("TFTT*/"));
    LabelText1->setMultiLine(true);
    LabelText1->setLocked(true);
    LabelText1->setFont(kVerdana);
    LabelText1->setText(kNoticeText);
    place(LabelText1, 60, 4905, 8400, 2790);

    ImportantLabel1 = label(this, QStringLiteral("ImportantLabel1"),
                            QStringLiteral("*English Systems Only - PLEASE REMOVE ANY DEVICE THAT HAS NON ENGLISH WORDS!"),
                            QStringLiteral("TFTT*/"));
    place(ImportantLabel1, 60, 7695, 8400, 210);

    ImportantLabelSubmitStatus = label(this, QStringLiteral("ImportantLabelSubmitStatus"), {}, QStringLiteral("TFTT*/"));
    ImportantLabelSubmitStatus->setFont(kVerdanaSmall);
    place(ImportantLabelSubmitStatus, 60, 7905, 8400, 210);

    CommandGetHardware = button(this, QStringLiteral("CommandGetHardware"), QStringLiteral("1. Scan Hardware"));
    place(CommandGetHardware, 60, 8190, 2400, 435);
    CommandSaveSubmit = button(this, QStringLiteral("CommandSaveSubmit"), QStringLiteral("2. Add to Database && Submit to Quordane"));
    place(CommandSaveSubmit, 2520, 8190, 4200, 435);
    CommandSaveSubmit->setEnabled(false);

    List1 = new runtime::ListBox(this, QStringLiteral("List1"));
    List1->setVisible(false);

    LabelResize = label(this, QStringLiteral("LabelResize"), QStringLiteral("o"), QStringLiteral("FFTT*/"));
    LabelResize->setFont(runtime::StdFont(QStringLiteral("Marlett"), 9.75));
    place(LabelResize, 8520 - 210, 8715 - 210, 210, 210);

    // Created after the list and the texts so that it covers them while it shows.
    PanelProgress = new PanelFx(this, QStringLiteral("PanelProgress"));
    PanelProgress->ReadProperties(runtime::PropertyBag{{"TitleCaption", "Please Wait..."}, {"Font", QVariant::fromValue(kVerdana)}});
    place(PanelProgress, 0, 0, 5865, 2040);
    PanelProgress->setVisible(false);
    LabelStatus = label(PanelProgress, QStringLiteral("LabelStatus"), QStringLiteral("Status:"), {});
    LabelStatus->setWordWrap(true);
    place(LabelStatus, 120, 360, 5625, 1155);
    DB1 = new AnimationBar(PanelProgress, QStringLiteral("DB1"));
    place(DB1, 120, 1620, 5625, 255);

    Anchor1 = new Anchor(this, QStringLiteral("Anchor1"));
    Anchor1->ReadProperties(runtime::PropertyBag());

    Timer1 = new runtime::Timer(this, QStringLiteral("Timer1"), 250, true);
    TimerStatus = new runtime::Timer(this, QStringLiteral("TimerStatus"), 100, false);
}
