#include "windows/FrmMain.h"

#include "chrome/ModShadow.h"
#include "chrome/SkinnedWindow.h"
#include "chrome/TitelBar.h"
#include "chrome/WindowDesign.h"
#include "chrome/cSizeMoveHelper.h"
#include "components/Inet.h"
#include "components/SuiteListView.h"
#include "components/SuiteTabControl.h"
#include "controls/Anchor.h"
#include "controls/AnimationBar.h"
#include "controls/PanelFx.h"
#include "controls/dcButton.h"
#include "core/ModDatabase.h"
#include "core/ModHardware.h"
#include "core/ModMain.h"
#include "core/ModMainColumns.h"
#include "core/ModServer.h"
#include "core/Modini.h"
#include "os/SystemParameters.h"
#include "platform/Mod32Icon.h"
#include "platform/ModDPI.h"
#include "platform/ModLoadIconFromRes.h"
#include "platform/ModSkin.h"
#include "platform/SystemFolderPaths.h"
#include "runtime/App.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Image.h"
#include "runtime/Keys.h"
#include "runtime/Label.h"
#include "runtime/OpenDocument.h"
#include "runtime/Timer.h"
#include "skin/FrmColors.h"
#include "skin/ModColors.h"
#include "update/FrmUpdate.h"
#include "update/VersionCheck.h"
#include "windows/FrmImprove.h"
#include "windows/FrmMenu.h"
#include "windows/ListCommands.h"
#include "windows/MainWindowTexts.h"
#include "windows/ModCloseProgram.h"

#include <cmath>
#include <optional>

namespace {

const QString StatusReadingDatabase = QStringLiteral("Status: Reading Database Version && Device Count From hwids.mdb");

struct ListColumn {
    const char *key;
    const char *caption;
};

constexpr std::array<ListColumn, ModHardware::DeviceColumnCount> ListColumns{{{"Name", "Name"},
                                                 {"Manufacturer", "Manufacturer"},
                                                 {"ErrorCode", "Error Code"},
                                                 {"Class", "Class"},
                                                 {"DriverVersion", "Driver Version"},
                                                 {"HardwareIDs", "Hardware IDs"}}};

using WindowDesign::WindowFont;

} // namespace

FrmMain::FrmMain() : runtime::Form(QStringLiteral("FrmMain"))
{
    setFont(WindowFont());
    WindowDesign::SetDesignSize(this, DesignSize);
    const runtime::PaintHold hold(this);
    createControls();
    connectHandlers();
}

FrmMain::~FrmMain()
{
    if (m_c)
        m_c->Detach();
}

void FrmMain::connectHandlers()
{
    connect(TimerStartup, &runtime::Timer::Tick, this, &FrmMain::TimerStartup_Timer);
    connect(TimerCountDatabase, &runtime::Timer::Tick, this, &FrmMain::TimerCountDatabase_Timer);
    connect(Timer1, &runtime::Timer::Tick, this, &FrmMain::Timer1_Timer);
    connect(Anchor1, &Anchor::Resized, this, &FrmMain::Anchor1_Resized);
    connect(LabelResize, &runtime::Label::MouseMove, this,
            [this](int Button, int, float, float) { SkinnedWindow::StartGripSizing(this, Button); });
    connect(CommandGetHardware, &dcButton::Click, this, &FrmMain::CommandGetHardware_Click);
    connect(dcButton1, &dcButton::Click, this, &FrmMain::dcButton1_Click);
    connect(CommandCheckForUpdates, &dcButton::Click, this, &FrmMain::CommandCheckForUpdates_Click);
    connect(CommandColors, &dcButton::Click, this, &FrmMain::CommandColors_Click);
    connect(CommandImproveHardware, &dcButton::Click, this, &FrmMain::CommandImproveHardware_Click);
    for (runtime::Image *logo : ImageLogo) {
        const int index = logo->Index();
        connect(logo, &runtime::Image::Click, this, [this, index] { ImageLogo_Click(index); });
    }
    for (SuiteListView *list : m_lists) {
        connect(list, &SuiteListView::ColumnClick, this,
                [this, list](SuiteColumnHeader column) { List_ColumnClick(list, column); });
        connect(list, &SuiteListView::DblClick, this, [this, list] { List_DblClick(list); });
        connect(list, &SuiteListView::KeyDown, this, [this, list](int KeyCode, int) { List_KeyDown(list, KeyCode); });
        connect(list, &SuiteListView::MouseUp, this,
                [this, list](int Button, int, float, float) { List_MouseUp(list, Button); });
    }
}

bool FrmMain::yield() { return runtime::DoEventsStillLoaded(this); }

template <class F>
F *FrmMain::ToolWindow()
{
    F *window = runtime::Forms::Get<F>();
    // Creating a window yields before it loads: a close meanwhile found nothing to unload, so
    // the window loaded afterwards would outlive the program.
    if (!IsLoaded() || ModMain::ClosingProgram) {
        runtime::Unload(window);
        return nullptr;
    }
    return window;
}

bool FrmMain::ShowToolWindow(runtime::Form *window)
{
    const QPointer<runtime::Form> guard(window);
    if (!guard)
        return false;
    guard->Show();
    if (!yield() || !guard)
        return false;
    guard->SetFocus();
    return yield() && guard;
}

void FrmMain::Form_Load()
{
    if (ModMain::ClosingProgram) {
        ModCloseProgram::CloseProgram();
        return;
    }
    const QString settings = runtime::App::FilePath(Modini::kSettingsFileName);
    if (!startAtDesignSize() || !readShadowSetting(settings) || !setUpWindow() || !readStartUpSettings(settings)
        || !setUpLists() || !setUpLogoCursors())
        return;
    showWithTabs();
}

bool FrmMain::startAtDesignSize()
{
    Mod32Icon::SetIcon(this, QStringLiteral("AAA"), true);
    ModDPI::InitDPIScale();
    WindowDesign::StartAnchorAt(Anchor1, DesignSize);
    if (!yield())
        return false;
    WindowDesign::StartAt(this, DesignSize);
    return yield();
}

bool FrmMain::readShadowSetting(const QString &settings)
{
    ModMain::DisableShadow =
        MainWindowTexts::SettingAsBoolean(Modini::ReadIni(QStringLiteral("main"), QStringLiteral("CheckDisableShadow"), settings),
                                          ModMain::DisableShadow);
    ModShadow::ShadowEnabled = !ModMain::DisableShadow;
    if (!yield())
        return false;
    ModShadow::InitShadow();
    return yield();
}

bool FrmMain::setUpWindow()
{
    const QString version =
        MainWindowTexts::VersionText(runtime::App::Major(), runtime::App::Minor(), runtime::App::Revision());
    SkinnedWindow::PlaceGrip(this, LabelResize);
    setCaption(QStringLiteral("Quordane - Kestrova v") + version);
    if (!yield())
        return false;
    if (!ColorsWindow() || !yield())
        return false;
    if (!SkinnedWindow::CentreOnScreen(this, true))
        return false;
    ModMain::AppVersion = version;
    if (!yield())
        return false;
    const int iconSize = int(std::lround(24 * ModDPI::DPIScale));
    TitelBar1->setPictureButton(ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("AAA"), iconSize, iconSize, 0, false));
    if (!yield())
        return false;
    TitelBar1->setCaption(Caption());
    if (!yield())
        return false;
    TitelBar1->setWidth(Width());
    if (!yield())
        return false;
    // The frame drawn on the window must survive a refresh: it is drawn into the kept image.
    setAutoRedraw(true);
    setFillStyle(runtime::vbFSTransparent);
    if (!yield())
        return false;
    ModSkin::SetTransparentColor(this, TitelBar1->BackColor());
    m_c = std::make_unique<cSizeMoveHelper>();
    m_c->setNoFullDrag(true);
    m_c->Attach(this);
    if (!yield())
        return false;
    ModColors::ApplyColorsToForm(this);
    return yield();
}

bool FrmMain::readStartUpSettings(const QString &settings)
{
    ModMain::CheckForUpdates =
        MainWindowTexts::SettingAsBoolean(Modini::ReadIni(QStringLiteral("main"), QStringLiteral("CheckForUpdates"), settings),
                                          ModMain::CheckForUpdates);
    ModMain::SystemFolder = ModSpecialFolders::GetSystemFolderPath();
    if (!yield())
        return false;
    if (!ModMain::SystemFolder.endsWith(QLatin1Char('\\')) && !ModMain::SystemFolder.endsWith(QLatin1Char('/')))
        ModMain::SystemFolder += QLatin1Char('/');
    return yield();
}

bool FrmMain::setUpLists()
{
    const int smallIconSize = os::GetSystemMetrics(os::SM_CXSMICON);
    for (SuiteListView *list : m_lists)
        list->setIconSize(smallIconSize);
    for (SuiteListView *list : m_lists) {
        for (const ListColumn &column : ListColumns)
            list->ColumnHeaders().Add(QString::fromLatin1(column.key), QString::fromLatin1(column.caption), 1500);
    }
    for (SuiteListView *list : m_lists) {
        list->setSortActive(false);
        list->setSortColumn(0);
        list->setSortDirection(0);
        list->setSortActive(true);
    }
    ModMain::AutoSizeListColumns(ListViewHardware);
    if (!yield())
        return false;
    TabCounts = {};
    if (!yield())
        return false;
    CentreProgressPanel();
    return yield();
}

bool FrmMain::setUpLogoCursors()
{
    if (FrmColors *colors = ColorsWindow(); colors && colors->ImageMouseIcon()) {
        for (runtime::Image *logo : ImageLogo) {
            logo->setMouseIcon(colors->ImageMouseIcon()->MouseIcon());
            logo->setMousePointer(runtime::vbCustom);
        }
    }
    return yield();
}

void FrmMain::showWithTabs()
{
    TabControl1->PaintManager().setClearTypeText(true);
    TabControl1->PaintManager().setFontSize(WindowFont().Size());
    const int tabIconSize = int(std::lround(16 * ModDPI::DPIScale));
    TabControl1->PaintManager().SetIconSize(tabIconSize, tabIconSize);
    if (auto item = TabControl1->Item(0))
        item->setSelected(true);
    Show();
    // The anchor lays out (and frames) only on a change of size: the first frame is drawn here.
    SkinnedWindow::DrawFrame(this);
    if (!yield())
        return;
    TimerStartup->setEnabled(true);
}

void FrmMain::CentreProgressPanel()
{
    // The list lies on a tab page: its place on the window, not on the page, centres the panel.
    const QPoint origin = ListViewHardware->mapTo(this, QPoint(0, 0));
    const double listLeft = WindowDesign::ToTwips(origin.x(), WindowDesign::Axis::Horizontal);
    const double listTop = WindowDesign::ToTwips(origin.y(), WindowDesign::Axis::Vertical);
    const double listWidth = ListViewHardware->isVisibleTo(this) ? ListViewHardware->Width() : TabControl1->Width();
    const double listHeight = ListViewHardware->isVisibleTo(this) ? ListViewHardware->Height() : TabControl1->Height();
    PanelProgress->setLeft(listLeft + (listWidth / 2 - PanelProgress->Width() / 2));
    PanelProgress->setTop(listTop + (listHeight / 2 - PanelProgress->Height() / 2));
}

void FrmMain::SetActionButtonsEnabled(bool enabled)
{
    CommandGetHardware->setEnabled(enabled);
    CommandImproveHardware->setEnabled(enabled);
    CommandCheckForUpdates->setEnabled(enabled);
}

bool FrmMain::ReadDatabase(bool reconnect)
{
    LabelStatus->setCaption(StatusReadingDatabase);
    PanelProgress->setVisible(true);
    DB1->setStyle(AnimationBarMotion::BarsCrossing);
    DB1->BeginDisplay();
    if (!yield() || ModMain::ClosingProgram)
        return false;
    if (reconnect) {
        ModDatabase::CloseDatabase();
        if (!yield())
            return false;
    }
    ModDatabase::OpenDatabase();
    if (!yield())
        return false;
    // Own references: another handler may replace the shared record sets during a yield.
    const auto hwids = ModDatabase::OpenDeviceCount();
    if (!yield())
        return false;
    const auto versions = ModDatabase::OpenVersionTable();
    if (!yield())
        return false;
    if (const std::optional<QString> version = ModDatabase::ReadDatabaseVersion(*versions))
        ModMain::DatabaseVersion = *version;
    if (const std::optional<int> count = ModDatabase::ReadDeviceCount(*hwids))
        ModMain::DevicesInDatabase = *count;
    if (!yield())
        return false;
    versions->close();
    hwids->close();
    if (!yield() || ModMain::ClosingProgram)
        return false;
    LabelTotalDevices->setCaption(QStringLiteral("Devices In Database: ") +
                                  MainWindowTexts::FormatDeviceCount(ModMain::DevicesInDatabase));
    LabelDatabaseVersion->setCaption(QStringLiteral("Database Version: ") + ModMain::DatabaseVersion);
    return yield();
}

void FrmMain::TimerStartup_Timer()
{
    TimerStartup->setEnabled(false);
    SetActionButtonsEnabled(false);
    if (!ReadDatabase(false))
        return;
    if (ModMain::CheckForUpdates) {
        CheckForDatabaseUpdateSilent();
        if (!yield())
            return;
    }
    if (ModMain::ClosingProgram)
        return;
    PanelProgress->setVisible(false);
    DB1->EndDisplay();
    if (!yield() || ModMain::ClosingProgram)
        return;
    CommandGetHardware_Click();
}

void FrmMain::TimerCountDatabase_Timer()
{
    TimerCountDatabase->setEnabled(false);
    SetActionButtonsEnabled(false);
    if (!ReadDatabase(true))
        return;
    PanelProgress->setVisible(false);
    DB1->EndDisplay();
    if (!yield())
        return;
    SetActionButtonsEnabled(true);
    yield();
}

void FrmMain::CheckForDatabaseUpdateSilent()
{
    const QString local = VersionCheck::LocalDatabaseVersion(LabelDatabaseVersion->Caption());
    if (!yield())
        return;
    const QString url = ModServer::WebServer() + QStringLiteral("/files/updates/kestrova/database_v1.htm");
    const QString online = Inet2->OpenURL(url);
    if (!yield())
        return;
    Inet2->Cancel();
    if (!yield())
        return;
    if (VersionCheck::IsValidOnlineVersion(online, VersionCheck::DatabaseVersionLimit)) {
        ModMain::DatabaseUpToDate = VersionCheck::IsUpToDate(online, local);
        ImportantLabelUpdateAvailable->setVisible(!ModMain::DatabaseUpToDate);
    }
    yield();
}

void FrmMain::CommandGetHardware_Click()
{
    if (ModMain::ClosingProgram)
        return;
    CentreProgressPanel();
    if (!yield())
        return;
    Timer1->setEnabled(false);
    LabelStatus->setCaption(QStringLiteral("Status:"));
    PanelProgress->setVisible(true);
    DB1->setStyle(AnimationBarMotion::BarsCrossing);
    DB1->BeginDisplay();
    for (SuiteListView *list : m_lists) {
        list->setSortActive(false);
        list->setVisible(false);
        list->ListItems().Clear();
    }
    SetActionButtonsEnabled(false);
    if (!yield())
        return;
    for (int tab = 0; tab < ListCount; ++tab) {
        TabCounts.at(std::size_t(tab)) = 0;
        if (auto item = TabControl1->Item(tab))
            item->setCaption(MainWindowTexts::TabCaption(item->Tag(), 0));
        if (!yield())
            return;
    }
    if (ModMain::ClosingProgram)
        return;
    const QPointer<FrmMain> guard(this);
    ModHardware::GetHardware(ListViewHardware, ListViewNoDrivers, ListViewProblems, ListViewNoSystemDevices, LabelStatus);
    if (!guard || !IsLoaded() || ModMain::ClosingProgram)
        return;
    if (!yield())
        return;
    for (SuiteListView *list : m_lists)
        list->setSortActive(true);
    if (!yield())
        return;
    for (SuiteListView *list : m_lists)
        ModMain::AutoSizeListColumns(list);
    if (!yield())
        return;
    for (SuiteListView *list : m_lists)
        list->setVisible(true);
    SetActionButtonsEnabled(true);
    PanelProgress->setVisible(false);
    DB1->EndDisplay();
    Timer1->setEnabled(true);
    if (yield())
        emit ScanEnded();
}

void FrmMain::Timer1_Timer()
{
    for (int tab = 0; tab < ListCount; ++tab) {
        const int count = m_lists.at(std::size_t(tab))->ListItems().Count();
        if (count == TabCounts.at(std::size_t(tab)))
            continue;
        TabCounts.at(std::size_t(tab)) = count;
        if (auto item = TabControl1->Item(tab))
            item->setCaption(MainWindowTexts::TabCaption(item->Tag(), count));
    }
    yield();
}

SuiteListView *FrmMain::SelectedList() const
{
    for (int tab = 0; tab < ListCount; ++tab) {
        if (auto item = TabControl1->Item(tab); item && item->Selected())
            return m_lists.at(std::size_t(tab));
    }
    return nullptr;
}

void FrmMain::Form_Resize()
{
    SkinnedWindow::FollowResize(this, TitelBar1, LabelResize);
    yield();
}

void FrmMain::Anchor1_Resized()
{
    CentreProgressPanel();
    if (!yield())
        return;
    SkinnedWindow::DrawFrame(this);
    yield();
}

void FrmMain::ImageLogo_Click(int Index)
{
    switch (Index) {
    case 0:
        runtime::OpenDocument(ModServer::HomePage(), this);
        break;
    case 1:
        runtime::OpenDocument(ModServer::FacebookPage(), this);
        break;
    case 2:
        runtime::OpenDocument(ModServer::TwitterPage(), this);
        break;
    default:
        break;
    }
}

void FrmMain::CommandCheckForUpdates_Click()
{
    const QPointer<FrmUpdate> update(ToolWindow<FrmUpdate>());
    if (!ShowToolWindow(update) || !update)
        return;
    update->TimerCheckForUpdates()->setEnabled(true);
    yield();
}

void FrmMain::CommandColors_Click() { ShowToolWindow(ColorsWindow()); }

void FrmMain::CommandImproveHardware_Click() { ShowToolWindow(ToolWindow<FrmImprove>()); }

void FrmMain::dcButton1_Click()
{
    SuiteListView *list = SelectedList();
    if (!list || list->ListItems().Count() == 0)
        return;
    ListCommands::OpenLookup(list);
}

void FrmMain::List_ColumnClick(SuiteListView *list, const SuiteColumnHeader &column)
{
    ListCommands::SortByColumnClick(list, column.Index());
}

void FrmMain::List_DblClick(SuiteListView *list) { ListCommands::OpenLookup(list); }

void FrmMain::List_KeyDown(SuiteListView *list, int KeyCode)
{
    if (KeyCode == runtime::vbKeyDelete)
        ListCommands::RemoveSelectedRow(list);
}

void FrmMain::List_MouseUp(SuiteListView *list, int Button)
{
    ListCommands::PopupListMenu(list, Button, &FrmMenu::MenuMain);
}

void FrmMain::Form_QueryUnload(int &Cancel, int UnloadMode)
{
    Q_UNUSED(Cancel)
    Q_UNUSED(UnloadMode)
    // CloseProgram unloads this window too, which asks again: the first request does the work.
    if (m_queryUnloadRunning)
        return;
    m_queryUnloadRunning = true;
    if (m_c) {
        m_c->setNoFullDrag(false);
        m_c->Detach();
    }
    ModMain::ClosingProgram = true;
    ModDatabase::CloseDatabase();
    runtime::DoEvents();
    ModCloseProgram::CloseProgram();
}
