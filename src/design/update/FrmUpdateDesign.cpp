// The update window's design: its controls, where they sit (twips) and their stored data.
#include "update/FrmUpdate.h"

#include "chrome/SkinnedWindow.h"
#include "chrome/WindowDesign.h"
#include "components/Inet.h"
#include "components/SuiteCheckBox.h"
#include "controls/PanelFx.h"
#include "controls/QuordanePB.h"
#include "controls/dcButton.h"
#include "runtime/Label.h"
#include "runtime/PropertyBag.h"
#include "runtime/Timer.h"
#include "update/DownLoad.h"

namespace {

// The panels' inner width: the progress lines use all of it, for the download control's longest
// status and error texts.
constexpr double LineLeft = 120;
constexpr double LineWidth = 5880;
constexpr double LineHeight = 240;

} // namespace

void FrmUpdate::createControls()
{
    const auto label = [](QWidget *container, const char *name, const QString &caption, double top, double width) {
        return WindowDesign::MakeLabel(container, QLatin1String(name), caption, {}, {LineLeft, top, width, LineHeight});
    };
    const auto line = [&label](QWidget *container, const char *name, const QString &caption, double top) {
        return label(container, name, caption, top, LineWidth);
    };
    const auto button = [](QWidget *container, const char *name, const QString &caption, double top) {
        return WindowDesign::MakeButton(container, QLatin1String(name), caption, {}, {4080, top, 1935, 375});
    };
    const auto panel = [this](const char *name, const QString &title, double top, double height) {
        auto *created = new PanelFx(this, QLatin1String(name));
        created->ReadProperties(runtime::PropertyBag{{"TitleCaption", title}, {"Font", QVariant::fromValue(WindowDesign::WindowFont())}});
        WindowDesign::Move(created, {60, top, 6120, height});
        return created;
    };

    m_titelBar = SkinnedWindow::CreateTitleBar(this, SkinnedWindow::MaximizeButton::Absent);

    // The version lines share their panel with the button on the right.
    constexpr double VersionWidth = 3900;
    m_panelProgram = panel("PanelProgram", QStringLiteral("Current Program Version: "), 540, 1140);
    m_label1 = label(m_panelProgram, "Label1", QStringLiteral("Online Version:"), 390, VersionWidth);
    m_label2 = label(m_panelProgram, "Label2", QStringLiteral("Update Available:"), 720, VersionWidth);
    m_commandOpen = button(m_panelProgram, "CommmandOpenQuordane", QStringLiteral("Open Quordane"), 540);
    m_commandOpen->setEnabled(false);

    m_panelDatabase = panel("PanelDatabase", QStringLiteral("Device Database Version: "), 1740, 1140);
    m_label4 = label(m_panelDatabase, "Label4", QStringLiteral("Online Version:"), 390, VersionWidth);
    m_label3 = label(m_panelDatabase, "Label3", QStringLiteral("Update Available:"), 720, VersionWidth);
    m_commandDownload = button(m_panelDatabase, "CommandDownloadDatabase", QStringLiteral("Download Database"), 540);
    m_commandDownload->setEnabled(false);

    m_panelDownloading = panel("PanelDownloading", QStringLiteral("Downloading Database..."), 540, 2580);
    m_panelDownloading->setVisible(false);
    m_lblTotalBytes = line(m_panelDownloading, "lblTotalBytes", QStringLiteral("Total Bytes - "), 360);
    m_lblCBytes = line(m_panelDownloading, "lblCBytes", QStringLiteral("Bytes Read - "), 600);
    m_lblStatus = line(m_panelDownloading, "lblStatus", QStringLiteral("Status - "), 840);
    m_infoLabelPercent = line(m_panelDownloading, "InfoLabelpercent", QStringLiteral("Percent Downloaded - "), 1080);
    m_lblTime = line(m_panelDownloading, "lblTime", QStringLiteral("Time Remaining - "), 1320);
    m_infoLabelRate = line(m_panelDownloading, "InfolabelRate", QStringLiteral("Transfer Rate - "), 1560);
    m_lblerr = line(m_panelDownloading, "lblerr", QStringLiteral("Error Code - "), 1800);
    m_importantLabelUnzip = line(m_panelDownloading, "ImportantLabelUnzip", QStringLiteral("Decompressing Database..."), 2040);
    m_importantLabelUnzip->setVisible(false);
    m_pb1 = new QuordanePB(m_panelDownloading, QStringLiteral("PB1"));
    m_pb1->ReadProperties(runtime::PropertyBag{{"Segments", true}});
    WindowDesign::Move(m_pb1, {LineLeft, 2310, 3900, 195});
    m_commandCancel = button(m_panelDownloading, "CommandCancel", QStringLiteral("Cancel"), 2130);

    m_checkForUpdates = new SuiteCheckBox(this, QStringLiteral("CheckForUpdates"));
    m_checkForUpdates->setCaption(QStringLiteral("Check For Updates At Program Startup"));
    m_checkForUpdates->setFont(WindowDesign::WindowFont());
    WindowDesign::Move(m_checkForUpdates, {120, 3210, 4500, 300});

    m_dl1 = new DownLoad(this, QStringLiteral("DL1"));
    m_dl1->InitNew();
    m_dl1->setVisible(false);
    m_inet1 = new InetCtlsObjects::Inet(this);
    m_inet1->setObjectName(QStringLiteral("Inet1"));
    m_inet2 = new InetCtlsObjects::Inet(this);
    m_inet2->setObjectName(QStringLiteral("Inet2"));
    m_timerCheckForUpdates = new runtime::Timer(this, QStringLiteral("TimerCheckForUpdates"), 250, false);
    m_timer1 = new runtime::Timer(this, QStringLiteral("Timer1"), 250, false);
}
