#include "skin/FrmColors.h"

#include "components/SuiteCheckBox.h"
#include "components/SuiteColorPicker.h"

// Placeholder until the colour window lands: no controls yet.
FrmColors::FrmColors() : runtime::Form(QStringLiteral("FrmColors")) {}

SuiteColorPicker *FrmColors::ColorPicker(int index) const
{
    return qobject_cast<SuiteColorPicker *>(findControl(QStringLiteral("ColorPicker"), index));
}

runtime::Control *FrmColors::ImageMouseIcon() const
{
    return findControl(QStringLiteral("ImageMouseIcon"));
}

SuiteCheckBox *FrmColors::CheckDisableShadow() const
{
    return qobject_cast<SuiteCheckBox *>(findControl(QStringLiteral("CheckDisableShadow")));
}
