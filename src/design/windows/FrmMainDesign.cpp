// The main window's design: its controls, where they sit (twips) and their stored data.
#include "windows/FrmMain.h"

#include "chrome/SkinnedWindow.h"
#include "chrome/WindowDesign.h"
#include "components/Inet.h"
#include "components/SuiteListView.h"
#include "components/SuiteTabControl.h"
#include "controls/Anchor.h"
#include "controls/AnimationBar.h"
#include "controls/PanelFx.h"
#include "controls/dcButton.h"
#include "runtime/Image.h"
#include "runtime/Label.h"
#include "runtime/PictureBox.h"
#include "runtime/Timer.h"
#include "windows/LogoArt.h"
#include "windows/MainWindowTexts.h"

#include <QVBoxLayout>

namespace {

struct ListPage {
    const char *list;
    const char *tag;
};

constexpr std::array<ListPage, FrmMain::ListCount> ListPages{{{"ListViewHardware", "All Hardware"},
                                             {"ListViewNoDrivers", "No Drivers Installed"},
                                             {"ListViewProblems", "Hardware With Problems"},
                                             {"ListViewNoSystemDevices", "All Except Standard System Devices"}}};

using WindowDesign::MakeButton;
using WindowDesign::MakeLabel;

constexpr double ButtonTop = 6885;
constexpr double ButtonHeight = 450;

} // namespace

void FrmMain::createControls()
{
    TitelBar1 = SkinnedWindow::CreateTitleBar(this);
    Anchor1 = new Anchor(this, QStringLiteral("Anchor1"));
    Anchor1->InitNew();

    InfoLabel3 = MakeLabel(this, QStringLiteral("InfoLabel3"), QStringLiteral("*Right Click On List For More Options"),
                           QStringLiteral("FTTF*/"), {7500, 555, 3630, 225});
    InfoLabel3->setAlignment(runtime::vbRightJustify);

    TabControl1 = new SuiteTabControl(this, QStringLiteral("TabControl1"));
    TabControl1->setTag(QStringLiteral("TTTT*/"));
    WindowDesign::Move(TabControl1, {120, 795, 11010, 5985});
    createListPages();

    CommandGetHardware = MakeButton(this, QStringLiteral("CommandGetHardware"), QStringLiteral("Refresh Hardware Lists"),
                                    QStringLiteral("TFFT*/"), {120, ButtonTop, 2295, ButtonHeight});
    dcButton1 = MakeButton(this, QStringLiteral("dcButton1"), QStringLiteral("Lookup Selected Device"), QStringLiteral("TFFT*/"),
                           {2535, ButtonTop, 2295, ButtonHeight}, QStringLiteral("Lookup Selected Device In Database"));
    CommandImproveHardware = MakeButton(this, QStringLiteral("CommandImproveHardware"), QStringLiteral("Improve Database"),
                                        QStringLiteral("FFTT*/"), {5655, ButtonTop, 1755, ButtonHeight});
    CommandColors = MakeButton(this, QStringLiteral("CommandColors"), QStringLiteral("Program Colors"), QStringLiteral("FFTT*/"),
                               {7530, ButtonTop, 1755, ButtonHeight}, QStringLiteral("Program Colors"));
    CommandCheckForUpdates = MakeButton(this, QStringLiteral("CommandCheckForUpdates"), QStringLiteral("Update"),
                                        QStringLiteral("FFTT*/"), {9405, ButtonTop, 1725, ButtonHeight},
                                        QStringLiteral("Check For Database & Program Updates"));

    LogoPictureBox = new runtime::PictureBox(this, QStringLiteral("LogoPictureBox"));
    LogoPictureBox->setTag(QStringLiteral("TFFT*/"));
    WindowDesign::Move(LogoPictureBox, {120, 7425, 2175, 675});
    for (int i = 0; i < 3; ++i) {
        auto *logo = new runtime::Image(LogoPictureBox, QStringLiteral("ImageLogo"), i);
        logo->setStretch(true);
        logo->setPicture(LogoArt::Picture(i));
        WindowDesign::Move(logo, {i * 750.0, 0, 675, 675});
        ImageLogo.at(std::size_t(i)) = logo;
    }

    LabelTotalDevices = MakeLabel(this, QStringLiteral("LabelTotalDevices"), QStringLiteral("Devices In Database:"),
                                  QStringLiteral("TFFT*/"), {2835, 7455, 4200, 240});
    LabelDatabaseVersion = MakeLabel(this, QStringLiteral("LabelDatabaseVersion"), QStringLiteral("Database Version:"),
                                     QStringLiteral("TFFT*/"), {2835, 7740, 4200, 240});
    ImportantLabelUpdateAvailable = MakeLabel(this, QStringLiteral("ImportantLabelUpdateAvailable"),
                                              QStringLiteral("Database Update Available!"), QStringLiteral("TFFT*/"),
                                              {7140, 7455, 2700, 240});
    ImportantLabelUpdateAvailable->setVisible(false);

    LabelResize = SkinnedWindow::CreateGrip(this);

    PanelProgress = new PanelFx(this, QStringLiteral("PanelProgress"));
    PanelProgress->InitNew();
    PanelProgress->setTitleCaption(QStringLiteral("Please Wait..."));
    // Two lines of status: the scan names each device, and long names wrap.
    WindowDesign::Move(PanelProgress, {0, 0, 6000, 1500});
    PanelProgress->setVisible(false);
    LabelStatus = MakeLabel(PanelProgress, QStringLiteral("LabelStatus"), QStringLiteral("Status:"), {}, {180, 450, 5640, 480});
    LabelStatus->setWordWrap(true);
    DB1 = new AnimationBar(PanelProgress, QStringLiteral("DB1"));
    DB1->InitNew();
    WindowDesign::Move(DB1, {180, 1050, 5640, 180});

    TimerStartup = new runtime::Timer(this, QStringLiteral("TimerStartup"), 100, false);
    TimerCountDatabase = new runtime::Timer(this, QStringLiteral("TimerCountDatabase"), 100, false);
    Timer1 = new runtime::Timer(this, QStringLiteral("Timer1"), 250, true);

    // The check runs before the first scan, which waits for it: an unreachable or silent server
    // holds the start-up back for seconds, not for the control's minute.
    Inet2 = new InetCtlsObjects::Inet(this);
    Inet2->setTimeouts({std::chrono::seconds(5), std::chrono::seconds(10), std::chrono::seconds(15)});
}

void FrmMain::createListPages()
{
    for (std::size_t i = 0; i < ListPages.size(); ++i) {
        auto *page = new SuiteTabControlPage(TabControl1, QStringLiteral("TabControlPage%1").arg(i + 1));
        auto *list = new SuiteListView(page, QString::fromLatin1(ListPages.at(i).list));
        // The page is the list's anchor: it fills the page the tab control sizes.
        auto *layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(list);
        const QString tag = QString::fromLatin1(ListPages.at(i).tag);
        TabControl1->InsertItem(MainWindowTexts::TabCaption(tag, 0), page, tag);
        m_lists.at(i) = list;
    }
    ListViewHardware = m_lists[0];
    ListViewNoDrivers = m_lists[1];
    ListViewProblems = m_lists[2];
    ListViewNoSystemDevices = m_lists[3];
}
