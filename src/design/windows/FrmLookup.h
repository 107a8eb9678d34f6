#pragma once

#include "chrome/WindowDesign.h"
#include "runtime/Form.h"

class AnimationBar;
class Anchor;
class SuiteListView;
class TitelBar;
class dcButton;

namespace runtime {
class Label;
class PictureBox;
class TextBox;
class Timer;
}

// One lookup: every (device name, manufacturer) pair the database holds for any hardware ID of
// one device, the pairs of the longest matching ID marked and sorted first. A new window for
// every lookup; any number may be open.
class FrmLookup : public runtime::Form {
    Q_OBJECT

public:
    FrmLookup();

    static constexpr WindowDesign::Size DesignSize{8520, 5340};

    // The opener's steps: the device's name and its IDs (one per line), then the start.
    void SetDevice(const QString &name, const QString &idText);
    void StartLookup();

    TitelBar *TitelBar1 = nullptr;
    Anchor *Anchor1 = nullptr;
    runtime::Label *ImportantLabelName = nullptr;
    runtime::Label *LabelHardwareID = nullptr;
    runtime::TextBox *TextID = nullptr;
    dcButton *CommandSearchGoogleID = nullptr;
    runtime::Label *LabelPossible = nullptr;
    runtime::PictureBox *ImportantPictureBestMacthColor = nullptr;
    runtime::Label *ImportantLabel2 = nullptr;
    runtime::Label *InfoLabel1 = nullptr;
    SuiteListView *LabelListViewHardware = nullptr;
    AnimationBar *DB1 = nullptr;
    runtime::Label *LabelStatus = nullptr;
    runtime::Label *LabelResize = nullptr;
    runtime::Timer *TimerStart = nullptr;
    runtime::Timer *TimerStatus = nullptr;

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void createControls();
    void connectHandlers();

    void TimerStart_Timer();
    void TimerStatus_Timer();
    void CommandSearchGoogleID_Click();
    void LabelListViewHardware_MouseUp(int Button);
    void Anchor1_Resized();

    // Adds the rows of the query's matches; false when the program began to close or the window
    // went meanwhile.
    bool AddMatches(const QString &sql);
    void MarkBestMatches();
    void SortByLength();
    bool yield();
};
