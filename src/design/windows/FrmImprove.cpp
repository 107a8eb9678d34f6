#include "windows/FrmImprove.h"

#include "chrome/SkinnedWindow.h"
#include "chrome/TitelBar.h"
#include "components/SuiteListView.h"
#include "controls/Anchor.h"
#include "controls/AnimationBar.h"
#include "controls/PanelFx.h"
#include "controls/dcButton.h"
#include "core/ModDatabase.h"
#include "core/ModMain.h"
#include "core/ModMainColumns.h"
#include "core/ModPostFile.h"
#include "core/ModServer.h"
#include "core/ModSubmission.h"
#include "platform/Mod32Icon.h"
#include "platform/ModDPI.h"
#include "platform/ModLoadIconFromRes.h"
#include "platform/ModSkin.h"
#include "runtime/App.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Keys.h"
#include "runtime/Label.h"
#include "runtime/ListBox.h"
#include "runtime/Timer.h"
#include "skin/ModColors.h"
#include "windows/FrmMenu.h"
#include "windows/ListCommands.h"
#include "windows/ModList.h"

#include <QFile>

#include <cmath>

namespace {

const QString kDone = QStringLiteral("Done.");

// A row of the list as a Device line: hardware ID, name and maker.
QString deviceLine(const QString &hardwareId, const QString &name, const QString &manufacturer)
{
    return hardwareId + QStringLiteral("|||") + name + QStringLiteral("|||") + manufacturer;
}

// Removes the row with the key. A key rather than a position: the handlers yield between
// reading a row and removing it.
void removeRow(SuiteListView *list, const QString &key)
{
    if (SuiteListItem *row = list->ListItems().Item(key))
        list->ListItems().Remove(row->Index());
}

}

FrmImprove::FrmImprove() : runtime::Form(QStringLiteral("FrmImprove"))
{
    const runtime::PaintHold hold(this);
    createControls();
    connectHandlers();
}

FrmImprove::~FrmImprove() = default;

void FrmImprove::connectHandlers()
{
    connect(CommandGetHardware, &dcButton::Click, this, &FrmImprove::CommandGetHardware_Click);
    connect(CommandSaveSubmit, &dcButton::Click, this, &FrmImprove::CommandSaveSubmit_Click);
    connect(Timer1, &runtime::Timer::Tick, this, &FrmImprove::Timer1_Timer);
    connect(TimerStatus, &runtime::Timer::Tick, this, &FrmImprove::TimerStatus_Timer);
    connect(Anchor1, &Anchor::Resized, this, &FrmImprove::Anchor1_Resized);
    connect(LabelResize, &runtime::Label::MouseMove, this, &FrmImprove::LabelResize_MouseMove);
    connect(ListViewHardware, &SuiteListView::ColumnClick, this, &FrmImprove::ListViewHardware_ColumnClick);
    connect(ListViewHardware, &SuiteListView::KeyDown, this, &FrmImprove::ListViewHardware_KeyDown);
    connect(ListViewHardware, &SuiteListView::MouseUp, this, &FrmImprove::ListViewHardware_MouseUp);
}

void FrmImprove::Form_Load()
{
    if (ModMain::ClosingProgram) {
        runtime::Unload(this);
        return;
    }
    Mod32Icon::SetIcon(this, QStringLiteral("AAA"), false);
    WindowDesign::StartAtDesignSize(this, Anchor1, DesignSize);
    SkinnedWindow::PlaceGrip(this, LabelResize);
    SkinnedWindow::CentreOnScreen(this, false);
    // The frame is drawn once per layout pass and must survive repaints in between; it is one
    // pixel wide, as the other windows' frames.
    setAutoRedraw(true);
    setFillStyle(runtime::vbFSTransparent);

    ModColors::ApplyColorsToForm(this);
    const int iconSize = int(std::lround(24 * ModDPI::DPIScale));
    TitelBar1->setPictureButton(ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("AAA"), iconSize, iconSize, 0, false));
    TitelBar1->setCaption(Caption());
    TitelBar1->setWidth(Width());

    centreProgressPanel();

    for (const auto &[key, caption] : {std::pair{"Name", "Name"}, {"Manufacturer", "Manufacturer"}, {"HardwareIDs", "Hardware IDs"}})
        ListViewHardware->ColumnHeaders().Add(QString::fromLatin1(key), QString::fromLatin1(caption), 1500);
    ListViewHardware->setSortActive(false);
    ListViewHardware->setSortColumn(0);
    ListViewHardware->setSortDirection(0);
    ListViewHardware->setSortActive(true);

    ModList::LoadListFromFile(List1, runtime::App::FilePath(QStringLiteral("improve_database_keywords_to_skip.txt")));
    ModSkin::SetTransparentColor(this, TitelBar1->BackColor());
}

void FrmImprove::showBusy()
{
    LabelStatus->setCaption(QStringLiteral("Status:"));
    PanelProgress->setVisible(true);
    DB1->setStyle(AnimationBarMotion::BarsCrossing);
    DB1->BeginDisplay();
    ListViewHardware->setVisible(false);
}

void FrmImprove::showDone()
{
    ModMain::AutoSizeListColumns(ListViewHardware);
    sStatus = kDone;
    ListViewHardware->setVisible(true);
    PanelProgress->setVisible(false);
    DB1->EndDisplay();
}

void FrmImprove::CommandGetHardware_Click()
{
    centreProgressPanel();
    CommandGetHardware->setEnabled(false);
    showBusy();
    ListViewHardware->ListItems().Clear();

    ModSubmission::GetHardwareForSubmission(ListViewHardware, LabelStatus);
    if (!runtime::DoEventsStillLoaded(this))
        return;

    sStatus = QStringLiteral("Searching...");
    TimerStatus->setEnabled(true);
    const QStringList keywords = List1->Items();
    for (int i = ListViewHardware->ListItems().Count(); i >= 1; --i) {
        const SuiteListItem *row = ListViewHardware->ListItems().Item(i);
        if (!row)
            continue;
        sStatus = QStringLiteral("Searching Database... ") + row->Text();
        const QString key = row->Key();
        const QString line = deviceLine(row->SubItems(ListCommands::IdHardwareIdColumn), row->Text(), row->SubItems(ListCommands::IdManufacturerColumn));
        // The database is not asked about a row that a keyword already removes.
        if (ModSubmission::ContainsSkipKeyword(line, keywords) || ModDatabase::IsHardwareInDatabase(line))
            removeRow(ListViewHardware, key);
        if (ModMain::ClosingProgram)
            break;
        if (!runtime::DoEventsStillLoaded(this))
            return;
    }

    if (ListViewHardware->ListItems().Count() > 0)
        CommandSaveSubmit->setEnabled(true);
    showDone();
}

void FrmImprove::CommandSaveSubmit_Click()
{
    centreProgressPanel();
    CommandSaveSubmit->setEnabled(false);
    showBusy();
    sStatus = QStringLiteral("Working...");
    TimerStatus->setEnabled(true);

    const QString path = runtime::App::FilePath(QStringLiteral("new_hardware.txt"));
    {
        // Created anew; when it cannot be, the devices still go into the database and the
        // upload reports what it finds.
        QFile file(path);
        const bool writable = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (int i = ListViewHardware->ListItems().Count(); i >= 1; --i) {
            const SuiteListItem *row = ListViewHardware->ListItems().Item(i);
            if (!row)
                continue;
            sStatus = QStringLiteral("Adding To Database... ") + row->Text();
            const QString key = row->Key();
            const QString line = deviceLine(ModMain::TrimSpaces(row->SubItems(ListCommands::IdHardwareIdColumn)), ModMain::TrimSpaces(row->Text()),
                                            ModMain::TrimSpaces(row->SubItems(ListCommands::IdManufacturerColumn)));
            ModDatabase::AddHardwareToDatabase(line);
            // Written whether or not the window went meanwhile: the file holds what the
            // database was given.
            if (writable)
                file.write((line + QStringLiteral("\r\n")).toLocal8Bit());
            removeRow(ListViewHardware, key);
            if (!runtime::DoEventsStillLoaded(this))
                return;
        }
    }

    sStatus = QStringLiteral("Uploading new_hardware.txt to Quordane");
    // The upload holds the message loop until the server answers or the time limit runs out;
    // the status says what is waited for before that, rather than naming the last device.
    // Painted at once: the window system may hold an ordinary update back past this one yield.
    TimerStatus_Timer();
    LabelStatus->repaint();
    if (!runtime::DoEventsStillLoaded(this))
        return;
    bool uploaded = false;
    try {
        uploaded = ModPostFile::PostFile(ModServer::WebServer() + QStringLiteral("/files/hardware_ids/upload_hardware_id_v1.php"), path);
    } catch (const ModPostFile::FileReadError &) {
        // No file to send is a failed upload, told as one.
        uploaded = false;
    }
    ImportantLabelSubmitStatus->setCaption(
        uploaded ? QStringLiteral("Done! - Uploaded to Quordane: Successful!")
                 : QStringLiteral("Done! - Uploaded to Quordane: Failed! Please email 'new_hardware.txt' file to ") + ModServer::SupportEmail());
    showDone();
}

void FrmImprove::Timer1_Timer()
{
    InfoLabelListTotal->setCaption(QStringLiteral("Total Hardware Not In Database: ") + QString::number(ListViewHardware->ListItems().Count()));
}

void FrmImprove::TimerStatus_Timer()
{
    LabelStatus->setCaption(QStringLiteral("Status: ") + sStatus);
    if (sStatus == kDone)
        TimerStatus->setEnabled(false);
}

void FrmImprove::Anchor1_Resized(int HeightChanged, int WidthChanged)
{
    Q_UNUSED(HeightChanged)
    Q_UNUSED(WidthChanged)
    centreProgressPanel();
}

void FrmImprove::centreProgressPanel()
{
    PanelProgress->setLeft(ListViewHardware->Left() + ListViewHardware->Width() / 2 - PanelProgress->Width() / 2);
    PanelProgress->setTop(ListViewHardware->Top() + ListViewHardware->Height() / 2 - PanelProgress->Height() / 2);
    SkinnedWindow::DrawFrame(this);
}

void FrmImprove::Form_Resize() { SkinnedWindow::FollowResize(this, TitelBar1, LabelResize); }

void FrmImprove::LabelResize_MouseMove(int Button, int Shift, float X, float Y)
{
    Q_UNUSED(Shift)
    Q_UNUSED(X)
    Q_UNUSED(Y)
    SkinnedWindow::StartGripSizing(this, Button);
}

void FrmImprove::ListViewHardware_ColumnClick(const SuiteColumnHeader &ColumnHeader)
{
    ListCommands::SortByColumnClick(ListViewHardware, ColumnHeader.Index());
}

void FrmImprove::ListViewHardware_KeyDown(int KeyCode, int Shift)
{
    Q_UNUSED(Shift)
    if (KeyCode == runtime::vbKeyDelete)
        ListCommands::RemoveSelectedRow(ListViewHardware);
}

void FrmImprove::ListViewHardware_MouseUp(int Button, int Shift, float X, float Y)
{
    Q_UNUSED(Shift)
    Q_UNUSED(X)
    Q_UNUSED(Y)
    ListCommands::PopupListMenu(ListViewHardware, Button, &FrmMenu::MenuImprove, this);
}
