#include "update/FrmUpdate.h"

#include "chrome/SkinnedWindow.h"
#include "chrome/TitelBar.h"
#include "chrome/WindowDesign.h"
#include "components/Inet.h"
#include "components/SuiteCheckBox.h"
#include "components/SuiteColorPicker.h"
#include "components/Zentrax.h"
#include "controls/PanelFx.h"
#include "controls/QuordanePB.h"
#include "controls/dcButton.h"
#include "core/ByteSize.h"
#include "core/ModDatabase.h"
#include "core/ModMain.h"
#include "core/ModServer.h"
#include "core/Modini.h"
#include "platform/Mod32Icon.h"
#include "platform/ModDPI.h"
#include "platform/ModLoadIconFromRes.h"
#include "platform/ModSkin.h"
#include "runtime/App.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Label.h"
#include "runtime/MsgBox.h"
#include "runtime/OpenDocument.h"
#include "runtime/PropertyBag.h"
#include "runtime/Timer.h"
#include "skin/FrmColors.h"
#include "skin/ModColors.h"
#include "skin/SchemeTable.h"
#include "update/DatabaseInstall.h"
#include "update/DownLoad.h"
#include "update/VersionCheck.h"

#include <QHash>
#include <QTimer>

#include <cmath>
#include <limits>
#include <optional>

namespace {

const QString kUpdatesPath = QStringLiteral("/files/updates/kestrova/");
const QString kArchiveName = QStringLiteral("hwids.7z");

// How long a finished install stays on screen before the window closes by itself.
constexpr int kSuccessShownMs = 1500;

// The main window, reached by name: this folder cannot include it.
runtime::Control *mainWindowControl(const QString &name)
{
    for (runtime::Form *form : runtime::Forms::All()) {
        if (form->Name() == QLatin1String("FrmMain"))
            return form->findControl(name);
    }
    return nullptr;
}

QString localDatabaseVersion()
{
    const runtime::Control *label = mainWindowControl(QStringLiteral("LabelDatabaseVersion"));
    return label ? VersionCheck::LocalDatabaseVersion(runtime::getPropertyByName(label, "Caption").toString()) : QString();
}

// The main window's recount timer closes and reopens the database and shows its version and count.
void reopenDatabaseInMainWindow()
{
    if (runtime::Control *timer = mainWindowControl(QStringLiteral("TimerCountDatabase")))
        runtime::setPropertyByName(timer, "Enabled", true);
}

void hideUpdateAvailableInMainWindow()
{
    if (runtime::Control *label = mainWindowControl(QStringLiteral("ImportantLabelUpdateAvailable")))
        runtime::setPropertyByName(label, "Visible", false);
}

// A colour of the live scheme, by its swatch.
std::optional<runtime::OleColor> schemeColor(SchemeTable::Swatch swatch)
{
    const FrmColors *colors = runtime::Forms::Get<FrmColors>();
    const SuiteColorPicker *picker = colors ? colors->ColorPicker(swatch) : nullptr;
    return picker ? std::optional<runtime::OleColor>(picker->Color()) : std::nullopt;
}

} // namespace

struct FrmUpdate::Check {
    int limit;
    runtime::Label *onlineLabel;
    runtime::Label *resultLabel;
    dcButton *button;
    bool &upToDate;
    InetCtlsObjects::Inet *inet;
    QString page;
    QString localVersion;
};

FrmUpdate::FrmUpdate() : runtime::Form(QStringLiteral("FrmUpdate"))
{
    setCaption(QStringLiteral("Updates"));
    WindowDesign::SetDesignSize(this, DesignSize);
    const runtime::PaintHold hold(this);
    createControls();
    connectHandlers();
}

FrmUpdate::~FrmUpdate() = default;

void FrmUpdate::connectHandlers()
{
    connect(m_checkForUpdates, &SuiteCheckBox::MouseUp, this, &FrmUpdate::CheckForUpdates_MouseUp);
    connect(m_commandDownload, &dcButton::Click, this, &FrmUpdate::CommandDownloadDatabase_Click);
    connect(m_commandCancel, &dcButton::Click, this, &FrmUpdate::CommandCancel_Click);
    connect(m_commandOpen, &dcButton::Click, this, &FrmUpdate::CommmandOpenQuordane_Click);
    connect(m_timer1, &runtime::Timer::Tick, this, &FrmUpdate::Timer1_Timer);
    connect(m_timerCheckForUpdates, &runtime::Timer::Tick, this, &FrmUpdate::TimerCheckForUpdates_Timer);
    connect(m_dl1, &DownLoad::DLComplete, this, &FrmUpdate::DL1_DLComplete);
    connect(m_dl1, &DownLoad::DLECode, this, &FrmUpdate::DL1_DLECode);
    connect(m_dl1, &DownLoad::RecievedBytes, this, &FrmUpdate::DL1_RecievedBytes);
    connect(m_dl1, &DownLoad::Percent, this, &FrmUpdate::DL1_Percent);
    connect(m_dl1, &DownLoad::StatusChange, this, &FrmUpdate::DL1_StatusChange);
    connect(m_dl1, &DownLoad::Rate, this, &FrmUpdate::DL1_Rate);
    connect(m_dl1, &DownLoad::TimeLeft, this, &FrmUpdate::DL1_TimeLeft);
}

QString FrmUpdate::SizeText(qint64 bytes)
{
    switch (ByteSize::UnitOf(double(bytes))) {
    case ByteSize::Unit::Bytes:
        return QString::number(bytes);
    case ByteSize::Unit::KB:
        return QString::number(bytes / ByteSize::kBytesPerKB, 'f', 2) + QStringLiteral(" KB");
    case ByteSize::Unit::MB:
        break;
    }
    return QString::number(bytes / ByteSize::kBytesPerMB, 'f', 2) + QStringLiteral(" MB");
}

bool FrmUpdate::yield()
{
    return runtime::DoEventsStillLoaded(this);
}

void FrmUpdate::Form_Load()
{
    if (ModMain::ClosingProgram) {
        runtime::Unload(this);
        return;
    }
    Mod32Icon::SetIcon(this, QStringLiteral("AAA"), false);
    if (!yield())
        return;
    WindowDesign::StartAt(this, DesignSize);
    SkinnedWindow::CentreOnScreen(this, false);
    // The frame is drawn once per resize and must survive repaints in between.
    setAutoRedraw(true);
    if (!yield())
        return;
    m_panelProgram->setTitleCaption(QStringLiteral("Current Program Version: %1.%2.%3")
                                        .arg(runtime::App::Major())
                                        .arg(runtime::App::Minor())
                                        .arg(runtime::App::Revision()));
    m_panelDatabase->setTitleCaption(QStringLiteral("Device Database Version: ") + localDatabaseVersion());
    if (!yield())
        return;
    ModColors::ApplyColorsToForm(this);
    if (!yield())
        return;
    const int iconSize = int(std::lround(24 * ModDPI::DPIScale));
    m_titelBar->setPictureButton(ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("AAA"), iconSize, iconSize, 0, false));
    m_titelBar->setCaption(Caption());
    m_titelBar->setWidth(Width());
    m_checkForUpdates->setValue(ModMain::CheckForUpdates ? 1 : 0);
    ModMain::DeleteFilePath(runtime::App::FilePath(kArchiveName));
    ModSkin::SetTransparentColor(this, m_titelBar->BackColor());
}

void FrmUpdate::Form_Resize()
{
    SkinnedWindow::FollowResize(this, m_titelBar, nullptr);
    SkinnedWindow::DrawFrame(this);
}

void FrmUpdate::Form_Unload(int &Cancel)
{
    const int value = m_pb1->Value();
    if (value != 0 && value != m_pb1->Max()) {
        Cancel = 1;
        return;
    }
    // Events the download control raises from here on reach nobody.
    m_dl1->disconnect(this);
    // A running install hands the database back itself once the new file is in place.
    if (m_databaseClosed && !m_installing) {
        m_databaseClosed = false;
        reopenDatabaseInMainWindow();
    }
}

bool FrmUpdate::runCheck(const Check &check)
{
    check.onlineLabel->setCaption(QStringLiteral("Online Version: Checking..."));
    if (!yield())
        return false;
    const QString online = check.inet->OpenURL(ModServer::WebServer() + kUpdatesPath + check.page);
    if (!yield())
        return false;
    check.inet->Cancel();
    if (!yield())
        return false;
    const bool valid = VersionCheck::IsValidOnlineVersion(online, check.limit);
    check.onlineLabel->setCaption(valid ? QStringLiteral("Online Version: ") + online : QStringLiteral("Online Version: Error"));
    if (!yield())
        return false;
    if (valid) {
        check.upToDate = VersionCheck::IsUpToDate(online, check.localVersion);
        check.resultLabel->setCaption(check.upToDate ? QStringLiteral("Update Available: NO") : QStringLiteral("Update Available: YES"));
        if (const std::optional<runtime::OleColor> color = schemeColor(check.upToDate ? SchemeTable::programtext : SchemeTable::importanttext))
            check.resultLabel->setForeColor(*color);
        check.button->setEnabled(!check.upToDate);
    }
    return yield();
}

void FrmUpdate::CheckForUpdate()
{
    runCheck({VersionCheck::ProgramVersionLimit, m_label1, m_label2, m_commandOpen, ModMain::ProgramUpToDate, m_inet1,
              QStringLiteral("update.htm"), ModMain::AppVersion});
}

void FrmUpdate::CheckForDatabaseUpdate()
{
    runCheck({VersionCheck::DatabaseVersionLimit, m_label4, m_label3, m_commandDownload, ModMain::DatabaseUpToDate, m_inet2,
              QStringLiteral("database_v1.htm"), localDatabaseVersion()});
}

void FrmUpdate::TimerCheckForUpdates_Timer()
{
    m_timerCheckForUpdates->setEnabled(false);
    if (!yield())
        return;
    CheckForUpdate();
    if (!yield())
        return;
    CheckForDatabaseUpdate();
    yield();
}

void FrmUpdate::CheckForUpdates_MouseUp()
{
    const int value = m_checkForUpdates->Value();
    Modini::WriteIni(QStringLiteral("main"), QStringLiteral("CheckForUpdates"), QString::number(value));
    ModMain::CheckForUpdates = value != 0;
    yield();
}

void FrmUpdate::CommmandOpenQuordane_Click()
{
    runtime::OpenDocument(ModServer::HomePage(), this);
}

void FrmUpdate::CommandDownloadDatabase_Click()
{
    ModDatabase::CloseDatabase();
    m_databaseClosed = true;
    m_importantLabelUnzip->setVisible(false);
    m_panelDownloading->setTitleCaption(QStringLiteral("Downloading Database..."));
    m_panelDatabase->setVisible(false);
    m_panelProgram->setVisible(false);
    m_panelDownloading->setVisible(true);
    if (!yield())
        return;
    m_timer1->setEnabled(true);
    yield();
}

void FrmUpdate::CommandCancel_Click()
{
    m_dl1->Cancel();
    if (!yield())
        return;
    m_pb1->setValue(0);
    if (!yield())
        return;
    runtime::Unload(this);
}

void FrmUpdate::Timer1_Timer()
{
    m_timer1->setEnabled(false);
    QPointer<FrmUpdate> self(this);
    m_dl1->setURL(ModServer::WebServer() + kUpdatesPath + kArchiveName);
    m_dl1->setSaveLocation(runtime::App::FilePath(kArchiveName));
    m_dl1->GetFileInformation();
    if (!self || !IsLoaded())
        return;
    if (m_dl1->FileSize() < 1) {
        m_pb1->setValue(0);
    } else {
        // The bar counts in 32 bits; a larger file is counted in steps of several bytes.
        m_barStep = 1 + m_dl1->FileSize() / std::numeric_limits<int>::max();
        m_pb1->setMax(int(m_dl1->FileSize() / m_barStep));
        m_pb1->setValue(0);
        m_lblTotalBytes->setCaption(QStringLiteral("Total Bytes - ") + SizeText(m_dl1->FileSize()));
        m_dl1->Download();
        if (!self || !IsLoaded())
            return;
    }
    // A download that never started or failed: lookups go on with the old database meanwhile.
    if (m_databaseClosed) {
        m_databaseClosed = false;
        reopenDatabaseInMainWindow();
    }
}

void FrmUpdate::DL1_RecievedBytes(qint64 bytes)
{
    if (!IsLoaded())
        return;
    m_pb1->setValue(int(bytes / m_barStep));
    m_lblCBytes->setCaption(QStringLiteral("Current Bytes Read - ") + SizeText(bytes));
    yield();
}

void FrmUpdate::DL1_Percent(int percent)
{
    if (!IsLoaded())
        return;
    m_infoLabelPercent->setCaption(QStringLiteral("Percent Complete - ") + QString::number(percent));
    yield();
}

void FrmUpdate::DL1_StatusChange(const QString &text)
{
    if (!IsLoaded())
        return;
    m_lblStatus->setCaption(QStringLiteral("Status - ") + text);
    yield();
}

void FrmUpdate::DL1_Rate(const QString &text)
{
    if (!IsLoaded())
        return;
    m_infoLabelRate->setCaption(QStringLiteral("Transfer Rate - ") + text);
    yield();
}

void FrmUpdate::DL1_TimeLeft(const QString &text)
{
    if (!IsLoaded())
        return;
    m_lblTime->setCaption(QStringLiteral("Time Remaining - ") + text);
    yield();
}

void FrmUpdate::DL1_DLECode(int code)
{
    if (!IsLoaded())
        return;
    static const QHash<int, QString> texts = {
        {DownLoad::DownloadFailed, QStringLiteral("Error Code - [1] Uknown Error!")},
        {DownLoad::FileNotFound, QStringLiteral("Error Code - [2] File Doesn't Exist!")},
        {DownLoad::HeadersUnreadable, QStringLiteral("Error Code - [3] Server Timed Out!")},
        {DownLoad::Cancelled, QStringLiteral("Error Code - [4] Download Was Cancelled By User!")},
        {DownLoad::NoConnection, QStringLiteral("Error Code - [5] No Connection Present!")},
        // The design's text for 6, which the control raises for a resume file that is not there.
        {DownLoad::ResumeFileNotFound, QStringLiteral("Error Code - [6] Internal Server Error!")},
        {DownLoad::Unauthorized, QStringLiteral("Error Code - [401] Unauthorized Access!")},
        {DownLoad::AccessDenied, QStringLiteral("Error Code - [403] Access Denied!")},
    };
    const auto text = texts.constFind(code);
    if (text != texts.constEnd())
        m_lblerr->setCaption(*text);
}

void FrmUpdate::zip_Progress(double bytesDone, double bytesTotal)
{
    if (!IsLoaded())
        return;
    m_importantLabelUnzip->setCaption(QStringLiteral("Decompressing Database... Progress: ") + ModMain::FormatByteSize(bytesDone)
                                      + QStringLiteral(" of ") + ModMain::FormatByteSize(bytesTotal));
    yield();
}

void FrmUpdate::DL1_DLComplete()
{
    if (!IsLoaded())
        return;
    // The archive is complete: from here the install runs to its end and hands the database
    // back to the main window, also when this window is closed meanwhile.
    m_installing = true;
    // The download is over: Cancel would only cut the install short, and the unpack progress
    // runs across the place where it stands.
    m_commandCancel->setVisible(false);
    m_importantLabelUnzip->setVisible(true);
    m_panelDownloading->setTitleCaption(QStringLiteral("Decompressing Database..."));
    const QPointer<FrmUpdate> self(this);
    runtime::DoEvents();
    if (!self || ModMain::ClosingProgram)
        return;
    DatabaseInstall::Result result;
    {
        Zentrax zip;
        connect(&zip, &Zentrax::Progress, this, &FrmUpdate::zip_Progress);
        result = DatabaseInstall::Install(zip, runtime::App::FilePath(kArchiveName), runtime::App::Path());
    }
    const bool installed = result == DatabaseInstall::Result::Installed;
    if (installed) {
        if (self && IsLoaded()) {
            m_panelDownloading->setTitleCaption(QStringLiteral("Decompressed Successfully"));
            m_importantLabelUnzip->setCaption(QStringLiteral("Decompressed Successfully"));
        }
    } else {
        const QString failure = result == DatabaseInstall::Result::OpenFailed
                                    ? QStringLiteral("Failed to open the download database file!")
                                    : QStringLiteral("Failed to decompress the download database file!");
        if (self && IsLoaded())
            m_importantLabelUnzip->setCaption(failure);
        // The box comes before the database is handed back: the install still runs while it
        // shows, so a close of this window under the box leaves the hand-back to this handler.
        runtime::MsgBox(failure, runtime::vbOKOnly | runtime::vbCritical);
    }
    if (self) {
        m_installing = false;
        m_databaseClosed = false;
    }
    reopenDatabaseInMainWindow();
    hideUpdateAvailableInMainWindow();
    if (!self || !IsLoaded())
        return;
    if (!installed) {
        runtime::Unload(this);
        return;
    }
    // Closed at once, the window would take the success away before anyone could read it;
    // the main window already shows the new database meanwhile.
    QTimer::singleShot(kSuccessShownMs, this, [this] {
        if (IsLoaded())
            runtime::Unload(this);
    });
}
