#include "windows/FrmLookup.h"

#include "chrome/SkinnedWindow.h"
#include "chrome/TitelBar.h"
#include "chrome/WindowDesign.h"
#include "components/SuiteListView.h"
#include "controls/Anchor.h"
#include "controls/AnimationBar.h"
#include "controls/dcButton.h"
#include "core/ModDatabase.h"
#include "core/ModMain.h"
#include "core/ModMainColumns.h"
#include "platform/Mod32Icon.h"
#include "platform/ModDPI.h"
#include "platform/ModLoadIconFromRes.h"
#include "platform/ModSkin.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Keys.h"
#include "runtime/Label.h"
#include "runtime/OpenDocument.h"
#include "runtime/PictureBox.h"
#include "runtime/TextBox.h"
#include "runtime/Timer.h"
#include "skin/ModColors.h"
#include "windows/FrmMenu.h"
#include "windows/ListCommands.h"
#include "windows/LookupQuery.h"

#include <QHash>

#include <cmath>
#include <optional>

namespace {

using WindowDesign::WindowFont;

}

FrmLookup::FrmLookup() : runtime::Form(QStringLiteral("FrmLookup"))
{
    setFont(WindowFont());
    setCaption(QStringLiteral("Device Lookup"));
    WindowDesign::SetDesignSize(this, DesignSize);
    const runtime::PaintHold hold(this);
    createControls();
    connectHandlers();
}

void FrmLookup::connectHandlers()
{
    connect(TimerStart, &runtime::Timer::Tick, this, &FrmLookup::TimerStart_Timer);
    connect(TimerStatus, &runtime::Timer::Tick, this, &FrmLookup::TimerStatus_Timer);
    connect(CommandSearchGoogleID, &dcButton::Click, this, &FrmLookup::CommandSearchGoogleID_Click);
    connect(Anchor1, &Anchor::Resized, this, &FrmLookup::Anchor1_Resized);
    connect(LabelResize, &runtime::Label::MouseMove, this,
            [this](int Button, int, float, float) { SkinnedWindow::StartGripSizing(this, Button); });
    connect(LabelListViewHardware, &SuiteListView::ColumnClick, this,
            [this](SuiteColumnHeader column) { ListCommands::SortByColumnClick(LabelListViewHardware, column.Index()); });
    connect(LabelListViewHardware, &SuiteListView::KeyDown, this, [this](int KeyCode, int) {
        if (KeyCode == runtime::vbKeyDelete)
            ListCommands::RemoveSelectedRow(LabelListViewHardware);
    });
    connect(LabelListViewHardware, &SuiteListView::MouseUp, this,
            [this](int Button, int, float, float) { LabelListViewHardware_MouseUp(Button); });
}

bool FrmLookup::yield() { return runtime::DoEventsStillLoaded(this); }

void FrmLookup::Form_Load()
{
    if (ModMain::ClosingProgram) {
        runtime::Unload(this);
        return;
    }
    Mod32Icon::SetIcon(this, QStringLiteral("AAA"), false);
    WindowDesign::StartAtDesignSize(this, Anchor1, DesignSize);
    if (!yield())
        return;
    SkinnedWindow::PlaceGrip(this, LabelResize);
    if (!SkinnedWindow::CentreOnScreen(this, true))
        return;
    setAutoRedraw(true);
    setFillStyle(runtime::vbFSTransparent);
    ModColors::ApplyColorsToForm(this);
    if (!yield())
        return;
    const int iconSize = int(std::lround(24 * ModDPI::DPIScale));
    TitelBar1->setPictureButton(ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("AAA"), iconSize, iconSize, 0, false));
    TitelBar1->setCaption(Caption());
    TitelBar1->setWidth(Width());
    if (!yield())
        return;
    SuiteColumnHeaders columns = LabelListViewHardware->ColumnHeaders();
    columns.Add(QStringLiteral("Name"), QStringLiteral("Name"), 1500);
    columns.Add(QStringLiteral("Manufacturer"), QStringLiteral("Manufacturer"), 1500);
    columns.Add(QStringLiteral("HardwareIDs"), QStringLiteral("Hardware IDs"), 1500);
    columns.Add(QStringLiteral("L"), QStringLiteral("L"), 0);
    SortByLength();
    ModSkin::SetTransparentColor(this, TitelBar1->BackColor());
    // The anchor frames the window only on a change of size: the first frame is drawn here.
    SkinnedWindow::DrawFrame(this);
}

void FrmLookup::SetDevice(const QString &name, const QString &idText)
{
    ImportantLabelName->setCaption(QStringLiteral("Device: ") + name);
    TextID->setText(idText);
}

void FrmLookup::StartLookup() { TimerStart->setEnabled(true); }

void FrmLookup::SortByLength()
{
    LabelListViewHardware->setSortActive(false);
    LabelListViewHardware->setSortColumn(ListCommands::IdLengthKeyColumn);
    LabelListViewHardware->setSortDirection(1);
    LabelListViewHardware->setSortActive(true);
}

void FrmLookup::TimerStart_Timer()
{
    TimerStart->setEnabled(false);
    TimerStatus->setEnabled(false);
    LabelStatus->setCaption(QStringLiteral("Status: Searching..."));
    DB1->setStyle(AnimationBarMotion::BarsCrossing);
    DB1->BeginDisplay();
    LabelListViewHardware->setVisible(false);
    LabelListViewHardware->ListItems().Clear();
    if (!yield())
        return;
    // Rows go in unsorted and are sorted once, after the ranking.
    LabelListViewHardware->setSortActive(false);
    const QString sql = LookupQuery::Sql(LookupQuery::IdsOf(TextID->Text()));
    if (!sql.isEmpty() && !AddMatches(sql))
        return;
    if (ModMain::ClosingProgram)
        return;
    MarkBestMatches();
    ModMain::AutoSizeColumnsExceptLast(LabelListViewHardware);
    if (!yield())
        return;
    SortByLength();
    TimerStatus->setEnabled(true);
    LabelListViewHardware->setVisible(true);
    DB1->EndDisplay();
    yield();
}

bool FrmLookup::AddMatches(const QString &sql)
{
    // This lookup keeps its own reference to its rows: a second lookup or the improve window may
    // put another record set into the shared slot while this one is walked.
    const std::shared_ptr<ado::Recordset> rows = ModDatabase::OpenQuery(ModDatabase::HwidsRecordset, sql);
    if (!yield())
        return false;
    // An ID names the same text throughout a lookup, and the rows of one device share their
    // makers: each ID is asked of the database once.
    QHash<QString, QString> names;
    QHash<QString, QString> manufacturers;
    const auto textOf = [this](QHash<QString, QString> &known, QString (*byId)(const QString &),
                               const QString &id) -> std::optional<QString> {
        if (const auto it = known.constFind(id); it != known.cend())
            return *it;
        const QString text = byId(id);
        if (!yield())
            return std::nullopt;
        known.insert(id, text);
        return text;
    };
    const int count = rows->recordCount();
    if (count > 0)
        rows->moveFirst();
    for (int i = 0; i < count; ++i) {
        if (ModMain::ClosingProgram)
            return false;
        const QString hwid = rows->field(QStringLiteral("hwid")).value().toString();
        const QString info = rows->field(QStringLiteral("info")).value().toString();
        for (const QString &pair : LookupQuery::PairLines(info)) {
            const std::optional<QString> name = textOf(names, &ModDatabase::GetDeviceNameByID, pair.section(QLatin1Char(','), 0, 0));
            if (!name)
                return false;
            const std::optional<QString> manufacturer =
                pair.contains(QLatin1Char(',')) ? textOf(manufacturers, &ModDatabase::GetManufacturerByID, pair.section(QLatin1Char(','), 1, 1))
                                                : QString();
            if (!manufacturer)
                return false;
            SuiteListItem *item = LabelListViewHardware->ListItems().Add({}, *name);
            if (!item)
                continue;
            item->setSubItems(ListCommands::IdManufacturerColumn, *manufacturer);
            item->setSubItems(ListCommands::IdHardwareIdColumn, hwid);
            item->setSubItems(ListCommands::IdLengthKeyColumn, LookupQuery::LengthKey(hwid));
        }
        rows->moveNext();
        if (!yield())
            return false;
    }
    return true;
}

void FrmLookup::MarkBestMatches()
{
    SuiteListItems items = LabelListViewHardware->ListItems();
    const int count = items.Count();
    qsizetype longest = 0;
    for (int i = 1; i <= count; ++i)
        longest = std::max(longest, items.Item(i)->SubItems(ListCommands::IdHardwareIdColumn).size());
    const runtime::OleColor colour = ImportantPictureBestMacthColor->BackColor();
    for (int i = 1; i <= count; ++i) {
        SuiteListItem *item = items.Item(i);
        if (item->SubItems(ListCommands::IdHardwareIdColumn).size() != longest)
            continue;
        item->setForeColor(colour);
        item->ListSubItems(ListCommands::IdManufacturerColumn).setForeColor(colour);
        item->ListSubItems(ListCommands::IdHardwareIdColumn).setForeColor(colour);
    }
}

void FrmLookup::TimerStatus_Timer()
{
    const int count = LabelListViewHardware->ListItems().Count();
    LabelStatus->setCaption(count == 0 ? QStringLiteral("Results: No Matches")
                                       : QStringLiteral("Results: %1 Possible Matches").arg(count));
}

void FrmLookup::CommandSearchGoogleID_Click()
{
    const QString ids = TextID->Text();
    QString first = ids.section(QStringLiteral("\r\n"), 0, 0);
    if (first.isEmpty())
        first = ids;
    runtime::OpenDocument(ListCommands::DriverSearchQuery(first), this);
}

void FrmLookup::LabelListViewHardware_MouseUp(int Button)
{
    ListCommands::PopupListMenu(LabelListViewHardware, Button, &FrmMenu::MenuLookup, this);
}

void FrmLookup::Form_Resize() { SkinnedWindow::FollowResize(this, TitelBar1, LabelResize); }

void FrmLookup::Anchor1_Resized() { SkinnedWindow::DrawFrame(this); }
