#include "update/DL_Properties.h"

#include "platform/cCommonDialog.h"
#include "runtime/Control.h"
#include "runtime/TextBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>

namespace {

const QStringList ChunkSizes = {QStringLiteral("256"), QStringLiteral("512"), QStringLiteral("1024"),
                                QStringLiteral("2048")};

bool isChecked(const QCheckBox *box)
{
    return box->checkState() == Qt::Checked; // the box's value is 1
}

void setValue(QCheckBox *box, bool on)
{
    box->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

} // namespace

DL_Properties::DL_Properties(QWidget *parent)
    : runtime::PropertyPage(QStringLiteral("DownLoad_Properties"), parent)
{
    createFields();
    connectFields();
    ChunkCombo->addItems(ChunkSizes);
    ChunkCombo->setEditText(QStringLiteral("Select Chunk Size*"));
    m_dialog = std::make_shared<cCommonDialog>();
    setChanged(false);
}

DL_Properties::~DL_Properties() = default;

void DL_Properties::connectFields()
{
    // Typing, clicking and the selection's fill all go through these, so the Booleans follow the
    // boxes and any altered field marks the page changed.
    connect(txtUrl, &runtime::TextBox::Change, this, &DL_Properties::MarkChanged);
    connect(txtSaveLocation, &runtime::TextBox::Change, this, &DL_Properties::MarkChanged);
    connect(ChunkCombo, &QComboBox::editTextChanged, this, &DL_Properties::MarkChanged);
    connect(CSD, &QPushButton::clicked, this, &DL_Properties::CSD_Click);
    connect(Chkpreserve, &QCheckBox::stateChanged, this, &DL_Properties::Chkpreserve_Click);
    connect(ChkOC, &QCheckBox::stateChanged, this, &DL_Properties::ChkOC_Click);
    connect(ChkPC, &QCheckBox::stateChanged, this, &DL_Properties::ChkPC_Click);
}

void DL_Properties::MarkChanged()
{
    setChanged(true);
}

void DL_Properties::SelectionChanged()
{
    const QList<QObject *> selected = SelectedControls();
    if (selected.isEmpty())
        return;
    QObject *control = selected.first();
    txtSaveLocation->setText(runtime::getPropertyByName(control, "SaveLocation").toString());
    ChunkCombo->setEditText(runtime::getPropertyByName(control, "CHUNK").toString());
    txtUrl->setText(runtime::getPropertyByName(control, "URL").toString());
    setValue(Chkpreserve, runtime::getPropertyByName(control, "KeepType").toBool());
    setValue(ChkOC, runtime::getPropertyByName(control, "OnlineCheck").toBool());
    setValue(ChkPC, runtime::getPropertyByName(control, "PromptOverwrite").toBool());
}

void DL_Properties::ApplyChanges()
{
    const QList<QObject *> selected = SelectedControls();
    if (selected.isEmpty())
        return;
    QObject *control = selected.first();
    WriteProperty(control, "SaveLocation", txtSaveLocation->Text());
    WriteProperty(control, "CHUNK", ChunkCombo->currentText());
    WriteProperty(control, "URL", txtUrl->Text());
    WriteProperty(control, "KeepType", m_keepType);
    WriteProperty(control, "OnlineCheck", m_onlineCheck);
    WriteProperty(control, "PromptOverwrite", m_promptOverwrite);
}

void DL_Properties::CSD_Click()
{
    const std::shared_ptr<cCommonDialog> dialog = m_dialog;
    const QPointer<DL_Properties> page(this);
    dialog->setDialogTitle(QStringLiteral("Please choose a place to save."));
    dialog->setFilter(QStringLiteral("(*.*) All Files|*.*"));
    dialog->ShowSave();
    if (!page)
        return;
    if (!dialog->FileName().isEmpty())
        txtSaveLocation->setText(dialog->FileName());
}

void DL_Properties::Chkpreserve_Click()
{
    m_keepType = isChecked(Chkpreserve);
    MarkChanged();
}

void DL_Properties::ChkOC_Click()
{
    m_onlineCheck = isChecked(ChkOC);
    MarkChanged();
}

void DL_Properties::ChkPC_Click()
{
    m_promptOverwrite = isChecked(ChkPC);
    MarkChanged();
}
