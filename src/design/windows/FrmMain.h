#pragma once

#include "chrome/WindowDesign.h"
#include "runtime/Form.h"

#include <array>
#include <memory>

namespace InetCtlsObjects {
class Inet;
}

class AnimationBar;
class FrmColors;
class Anchor;
class PanelFx;
class SuiteColumnHeader;
class SuiteListView;
class SuiteTabControl;
class TitelBar;
class cSizeMoveHelper;
class dcButton;

namespace runtime {
class Image;
class Label;
class PictureBox;
class Timer;
}

// The program's main window: the four device lists on their tab pages, the scan that fills them,
// the database's count and version, the buttons to the other windows and the logo links. Closing
// it ends the program (ModCloseProgram).
class FrmMain : public runtime::Form {
    Q_OBJECT

public:
    // The device lists, one per tab page, in tab order.
    static constexpr int ListCount = 4;

    FrmMain();
    ~FrmMain() override;

    static constexpr WindowDesign::Size DesignSize{11250, 8250};

    // The scan: run by the "Refresh Hardware Lists" button and once by the start-up timer.
    void CommandGetHardware_Click();
    // Fetches the database version page and shows or hides the update label by the comparison.
    void CheckForDatabaseUpdateSilent();

    // The list of the selected tab page (the first of tabs 0 to 3 that is selected).
    SuiteListView *SelectedList() const;
    SuiteListView *List(int tab) const { return m_lists.at(std::size_t(tab)); }

    // The four row counts last written into the tab captions.
    std::array<int, ListCount> TabCounts{};

    TitelBar *TitelBar1 = nullptr;
    Anchor *Anchor1 = nullptr;
    runtime::Label *LabelResize = nullptr;
    PanelFx *PanelProgress = nullptr;
    AnimationBar *DB1 = nullptr;
    runtime::Label *LabelStatus = nullptr;
    runtime::Label *LabelTotalDevices = nullptr;
    runtime::Label *LabelDatabaseVersion = nullptr;
    runtime::Label *ImportantLabelUpdateAvailable = nullptr;
    runtime::Label *InfoLabel3 = nullptr;
    dcButton *CommandGetHardware = nullptr;
    dcButton *dcButton1 = nullptr;
    dcButton *CommandCheckForUpdates = nullptr;
    dcButton *CommandColors = nullptr;
    dcButton *CommandImproveHardware = nullptr;
    SuiteTabControl *TabControl1 = nullptr;
    SuiteListView *ListViewHardware = nullptr;
    SuiteListView *ListViewNoDrivers = nullptr;
    SuiteListView *ListViewProblems = nullptr;
    SuiteListView *ListViewNoSystemDevices = nullptr;
    runtime::PictureBox *LogoPictureBox = nullptr;
    std::array<runtime::Image *, 3> ImageLogo{};
    runtime::Timer *TimerStartup = nullptr;
    runtime::Timer *TimerCountDatabase = nullptr;
    runtime::Timer *Timer1 = nullptr;
    // The main window's own Internet Transfer control, for the silent check.
    InetCtlsObjects::Inet *Inet2 = nullptr;

signals:
    // A scan has filled the lists and shown them (what a start-up script waits for).
    void ScanEnded();

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int &Cancel, int UnloadMode) override;

private:
    void createControls();
    void createListPages();
    void connectHandlers();

    // The steps of the load, in their order; each yields and answers false when the load stops
    // (the window went or the program began to close).
    bool startAtDesignSize();
    bool readShadowSetting(const QString &settings);
    bool setUpWindow();
    bool readStartUpSettings(const QString &settings);
    bool setUpLists();
    bool setUpLogoCursors();
    void showWithTabs();

    void TimerStartup_Timer();
    void TimerCountDatabase_Timer();
    void Timer1_Timer();
    void Anchor1_Resized();
    void ImageLogo_Click(int Index);
    void CommandCheckForUpdates_Click();
    void CommandColors_Click();
    void CommandImproveHardware_Click();
    void dcButton1_Click();

    void List_ColumnClick(SuiteListView *list, const SuiteColumnHeader &column);
    void List_DblClick(SuiteListView *list);
    void List_KeyDown(SuiteListView *list, int KeyCode);
    void List_MouseUp(SuiteListView *list, int Button);

    // The database steps the two one-shot timers share: open, read version and count, show them.
    // Answers false when the program began to close or the window went meanwhile.
    bool ReadDatabase(bool reconnect);
    void SetActionButtonsEnabled(bool enabled);
    void CentreProgressPanel();
    bool yield();
    // A tool window (colours, improve, update), loaded when it is not; nullptr when the program
    // began to close meanwhile.
    template <class F>
    F *ToolWindow();
    FrmColors *ColorsWindow() { return ToolWindow<FrmColors>(); }
    // Shows a tool window modeless and gives it the focus, which brings it to the front; false
    // when it or this window went meanwhile.
    bool ShowToolWindow(runtime::Form *window);

    std::array<SuiteListView *, ListCount> m_lists{};
    std::unique_ptr<cSizeMoveHelper> m_c;
    bool m_queryUnloadRunning = false;
};
