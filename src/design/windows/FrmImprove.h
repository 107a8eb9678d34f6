#pragma once

#include "chrome/WindowDesign.h"
#include "runtime/Form.h"

#include <QString>

class Anchor;
class AnimationBar;
class PanelFx;
class SuiteColumnHeader;
class SuiteListView;
class TitelBar;
class dcButton;

namespace runtime {
class Label;
class ListBox;
class TextBox;
class Timer;
}

// The improve window: scans the machine's working devices, keeps those whose hardware IDs the
// database lacks, then adds them to the database, writes them to new_hardware.txt and uploads
// that file. One scan and at most one submission per opening; closed, it is unloaded, and the
// next opening starts afresh. Show it with runtime::Forms::Get<FrmImprove>()->Show().
class FrmImprove : public runtime::Form {
    Q_OBJECT

public:
    FrmImprove();
    ~FrmImprove() override;

    static constexpr WindowDesign::Size DesignSize{8520, 8715};

    // The current status; TimerStatus copies it into LabelStatus.
    QString sStatus;

    // Controls, by the names the colour engine and the menus find them by.
    TitelBar *TitelBar1;
    runtime::Label *InfoLabelListTotal;
    SuiteListView *ListViewHardware;
    PanelFx *PanelProgress;
    runtime::Label *LabelStatus;
    AnimationBar *DB1;
    runtime::TextBox *LabelText1;
    runtime::Label *ImportantLabel1;
    runtime::Label *ImportantLabelSubmitStatus;
    dcButton *CommandGetHardware;
    dcButton *CommandSaveSubmit;
    runtime::ListBox *List1;
    runtime::Label *LabelResize;
    Anchor *Anchor1;
    runtime::Timer *Timer1;
    runtime::Timer *TimerStatus;

    // Handlers; they yield, and leave at once when the window is unloaded meanwhile.
    void CommandGetHardware_Click();
    void CommandSaveSubmit_Click();
    void Timer1_Timer();
    void TimerStatus_Timer();
    void Anchor1_Resized(int HeightChanged, int WidthChanged);
    void LabelResize_MouseMove(int Button, int Shift, float X, float Y);
    void ListViewHardware_ColumnClick(const SuiteColumnHeader &ColumnHeader);
    void ListViewHardware_KeyDown(int KeyCode, int Shift);
    void ListViewHardware_MouseUp(int Button, int Shift, float X, float Y);

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void createControls();
    void connectHandlers();
    void showBusy();
    void showDone();
    void centreProgressPanel();
};
