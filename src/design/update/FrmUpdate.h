#pragma once

#include "chrome/WindowDesign.h"
#include "runtime/Form.h"

#include <QPointer>

class DownLoad;
class PanelFx;
class QuordanePB;
class SuiteCheckBox;
class TitelBar;
class dcButton;
namespace InetCtlsObjects {
class Inet;
}
namespace runtime {
class Label;
class Timer;
}

// The update window: the published program and database versions, the start-up check setting,
// and the download and install of a newer hardware-ID database. It reaches the main window only
// by name (the loaded form "FrmMain" and its controls), as the main window depends on it.
class FrmUpdate : public runtime::Form {
    Q_OBJECT

public:
    FrmUpdate();
    ~FrmUpdate() override;

    static constexpr WindowDesign::Size DesignSize{6240, 3600};

    void CheckForUpdate();
    void CheckForDatabaseUpdate();
    void zip_Progress(double bytesDone, double bytesTotal);

    // The size text of "Total Bytes - " and "Current Bytes Read - ".
    static QString SizeText(qint64 bytes);

    runtime::Timer *TimerCheckForUpdates() const { return m_timerCheckForUpdates; }
    DownLoad *DL1() const { return m_dl1; }

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int &Cancel) override;

private:
    struct Check;
    void createControls();
    void connectHandlers();
    // One version check; false when the window was unloaded meanwhile.
    bool runCheck(const Check &check);
    bool yield();

    void CheckForUpdates_MouseUp();
    void CommandDownloadDatabase_Click();
    void CommandCancel_Click();
    void CommmandOpenQuordane_Click();
    void Timer1_Timer();
    void TimerCheckForUpdates_Timer();
    void DL1_DLComplete();
    void DL1_DLECode(int code);
    void DL1_RecievedBytes(qint64 bytes);
    void DL1_Percent(int percent);
    void DL1_StatusChange(const QString &text);
    void DL1_Rate(const QString &text);
    void DL1_TimeLeft(const QString &text);

    TitelBar *m_titelBar = nullptr;
    SuiteCheckBox *m_checkForUpdates = nullptr;
    PanelFx *m_panelProgram = nullptr;
    PanelFx *m_panelDatabase = nullptr;
    PanelFx *m_panelDownloading = nullptr;
    runtime::Label *m_label1 = nullptr;
    runtime::Label *m_label2 = nullptr;
    runtime::Label *m_label3 = nullptr;
    runtime::Label *m_label4 = nullptr;
    dcButton *m_commandOpen = nullptr;
    dcButton *m_commandDownload = nullptr;
    runtime::Label *m_lblTotalBytes = nullptr;
    runtime::Label *m_lblCBytes = nullptr;
    runtime::Label *m_lblStatus = nullptr;
    runtime::Label *m_infoLabelPercent = nullptr;
    runtime::Label *m_lblTime = nullptr;
    runtime::Label *m_infoLabelRate = nullptr;
    runtime::Label *m_lblerr = nullptr;
    runtime::Label *m_importantLabelUnzip = nullptr;
    QuordanePB *m_pb1 = nullptr;
    qint64 m_barStep = 1; // bytes per step of m_pb1
    dcButton *m_commandCancel = nullptr;
    DownLoad *m_dl1 = nullptr;
    InetCtlsObjects::Inet *m_inet1 = nullptr;
    InetCtlsObjects::Inet *m_inet2 = nullptr;
    runtime::Timer *m_timerCheckForUpdates = nullptr;
    runtime::Timer *m_timer1 = nullptr;
    // The download click closed the program-wide database; whoever ends the download reopens it.
    bool m_databaseClosed = false;
    // DLComplete's install is running.
    bool m_installing = false;
};
