// The download control's property page's design: its fields and where they sit (twips).
#include "update/DL_Properties.h"

#include "chrome/WindowDesign.h"
#include "runtime/Label.h"
#include "runtime/TextBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace {

using WindowDesign::MakeLabel;

constexpr WindowDesign::Size DesignSize{6600, 3300};
constexpr double LabelHeight = 255;

template <class W>
W *placed(W *widget, const QString &name, const WindowDesign::Place &twips)
{
    widget->setObjectName(name);
    WindowDesign::MoveWidget(widget, twips);
    return widget;
}

} // namespace

void DL_Properties::createFields()
{
    // The fields sit at fixed places, so the page asks its host for room for all of them.
    setMinimumSize(WindowDesign::ToPixels(DesignSize, WindowDesign::Rounding::Down));
    lblUrl = MakeLabel(this, QStringLiteral("lblUrl"), QStringLiteral("Url Of File:"), {}, {120, 120, 1500, LabelHeight});
    txtUrl = new runtime::TextBox(this, QStringLiteral("txtUrl"));
    WindowDesign::Move(txtUrl, {1680, 90, 4800, 300});
    lblSaveLocation = MakeLabel(this, QStringLiteral("lblSaveLocation"), QStringLiteral("Save Location:"), {}, {120, 540, 1500, LabelHeight});
    txtSaveLocation = new runtime::TextBox(this, QStringLiteral("txtSaveLocation"));
    WindowDesign::Move(txtSaveLocation, {1680, 510, 4320, 300});
    CSD = placed(new QPushButton(QStringLiteral("..."), this), QStringLiteral("CSD"), {6060, 510, 420, 300});
    lblCHUNK = MakeLabel(this, QStringLiteral("lblCHUNK"), QStringLiteral("CHUNK SIZE:"), {}, {120, 960, 1500, LabelHeight});
    ChunkCombo = placed(new QComboBox(this), QStringLiteral("ChunkCombo"), {1680, 930, 2160, 315});
    ChunkCombo->setEditable(true);
    ChunkCombo->setInsertPolicy(QComboBox::NoInsert);
    Label1 = MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("* Note - The best chunk size to use on a 56K is 1024."), {},
                       {120, 1380, 6360, LabelHeight});
    Chkpreserve = placed(new QCheckBox(QStringLiteral("Check to preserve file extension."), this), QStringLiteral("Chkpreserve"),
                         {120, 1800, 6360, 300});
    ChkOC = placed(new QCheckBox(QStringLiteral("Check to test Internet Connection before downloading."), this),
                   QStringLiteral("ChkOC"), {120, 2220, 6360, 300});
    ChkPC = placed(new QCheckBox(QStringLiteral("Check to prompt user if (s)he would like to overwrite file(s)."), this),
                   QStringLiteral("ChkPC"), {120, 2640, 6360, 300});
}
