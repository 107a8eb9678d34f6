#include "runtime/PropertyPage.h"

#include "runtime/Control.h"
#include "runtime/MsgBox.h"

namespace runtime {

PropertyPage::PropertyPage(const QString &caption, QWidget *parent)
    : QWidget(parent), m_caption(caption)
{
    setWindowTitle(caption);
}

QList<QObject *> PropertyPage::SelectedControls() const
{
    QList<QObject *> controls;
    for (const QPointer<QObject> &control : m_selected) {
        if (control)
            controls.append(control);
    }
    return controls;
}

void PropertyPage::setSelectedControls(const QList<QObject *> &controls)
{
    m_selected.clear();
    for (QObject *control : controls)
        m_selected.append(control);
    SelectionChanged();
}

void PropertyPage::setChanged(bool changed)
{
    if (m_changed == changed)
        return;
    m_changed = changed;
    emit ChangedChanged(changed);
}

void PropertyPage::Apply()
{
    m_writeRefused = false;
    ApplyChanges();
    setChanged(m_writeRefused);
}

bool PropertyPage::WriteProperty(QObject *control, const char *name, const QVariant &value)
{
    if (setPropertyByName(control, name, value))
        return true;
    m_writeRefused = true;
    MsgBox(QStringLiteral("Invalid property value"), vbExclamation, QString::fromLatin1(name));
    return false;
}

} // namespace runtime
