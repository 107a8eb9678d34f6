#pragma once

#include "runtime/PropertyPage.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QPushButton;
class cCommonDialog;

namespace runtime {
class Label;
class TextBox;
} // namespace runtime

// The download control's design-time property page: edits a DownLoad control's six stored
// properties (URL, SaveLocation, CHUNK, KeepType, OnlineCheck, PromptOverwrite) by name, and
// offers a save dialog for the target path. A form designer (runtime::PropertyPage) hosts it.
class DL_Properties : public runtime::PropertyPage {
    Q_OBJECT

public:
    explicit DL_Properties(QWidget *parent = nullptr);
    ~DL_Properties() override;

    runtime::Label *lblUrl = nullptr;
    runtime::TextBox *txtUrl = nullptr;
    runtime::Label *lblSaveLocation = nullptr;
    runtime::TextBox *txtSaveLocation = nullptr;
    QPushButton *CSD = nullptr;
    runtime::Label *lblCHUNK = nullptr;
    QComboBox *ChunkCombo = nullptr;
    runtime::Label *Label1 = nullptr;
    QCheckBox *Chkpreserve = nullptr;
    QCheckBox *ChkOC = nullptr;
    QCheckBox *ChkPC = nullptr;

    // Marks the page changed, which offers Apply: every field's change and every check box's click.
    void MarkChanged();

    // The save dialog the "..." button shows, kept for the page's life so its settings carry over.
    cCommonDialog &commonDialog() const { return *m_dialog; }

protected:
    void SelectionChanged() override;
    void ApplyChanges() override;

private:
    void CSD_Click();
    void Chkpreserve_Click();
    void ChkOC_Click();
    void ChkPC_Click();
    void createFields();
    void connectFields();

    bool m_keepType = false;
    bool m_onlineCheck = false;
    bool m_promptOverwrite = false;
    // Shared with a running click, which may outlive the page (a page closed during the dialog).
    std::shared_ptr<cCommonDialog> m_dialog;
};
