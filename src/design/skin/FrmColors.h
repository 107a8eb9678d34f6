#pragma once

#include "chrome/WindowDesign.h"
#include "runtime/Form.h"

class SuiteCheckBox;
class SuiteColorPicker;
class SuitePushButton;
class TitelBar;
class QuordanePB;

namespace runtime {
class ComboBox;
class HScrollBar;
}

// The colour-scheme window, one instance for the whole run. Its 28 swatches are the live scheme:
// every reader takes the colour from the swatch at the moment it needs it. Loaded hidden by the
// start-up, shown by the colours button, hidden (never unloaded) by its title bar's close button.
class FrmColors : public runtime::Form {
    Q_OBJECT

public:
    FrmColors();

    static constexpr WindowDesign::Size DesignSize{7125, 5235};

    // Swatch i of the live scheme (indexes 0 to 29 less 11 and 15), or nullptr.
    SuiteColorPicker *ColorPicker(int index) const;
    // Holds the hand cursor (MouseIcon) the logo links copy.
    runtime::Control *ImageMouseIcon() const;
    SuiteCheckBox *CheckDisableShadow() const;

    TitelBar *TitelBar1() const { return m_titelBar; }
    runtime::ComboBox *Combo2() const { return m_combo2; }
    SuiteCheckBox *CheckPBarSmooth() const { return m_checkPBarSmooth; }
    SuiteCheckBox *CheckMBarSmooth() const { return m_checkMBarSmooth; }
    QuordanePB *PBarExample() const { return m_pbarExample; }
    QuordanePB *MBarExample() const { return m_mbarExample; }

    // The handlers, public so that tests and the acceptance scripts drive them as the user does.
    void Combo2_Click();
    void Command2_Click();
    void CheckDisableShadow_MouseUp();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;

private:
    void createControls();
    void createHiddenGroups();
    void connectHandlers();
    void ColorPicker_Change();
    void CheckPBarSmooth_Click();
    void CheckMBarSmooth_Click();
    // Reads the colours of a settings or preset file into the swatches ("" for settings.ini).
    void readScheme(const QString &file);
    void readSegmentOptions();
    void setWindowsDefaults();
    bool yield();

    bool bDidActivate = false;
    TitelBar *m_titelBar = nullptr;
    runtime::ComboBox *m_combo2 = nullptr;
    SuitePushButton *m_command2 = nullptr;
    SuiteCheckBox *m_checkDisableShadow = nullptr;
    SuiteCheckBox *m_checkPBarSmooth = nullptr;
    SuiteCheckBox *m_checkMBarSmooth = nullptr;
    QuordanePB *m_pbarExample = nullptr;
    QuordanePB *m_mbarExample = nullptr;
    runtime::HScrollBar *m_scrollPB = nullptr;
    runtime::HScrollBar *m_scrollMB = nullptr;
};
