#include "os/CommonDialogRun.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QEvent>

namespace os {

namespace {

thread_local unsigned lastExtendedError = 0;

constexpr char MessageResultProperty[] = "kestrova.DWL_MSGRESULT";

int commandId(QDialogButtonBox *box, QAbstractButton *button)
{
    switch (box->buttonRole(button)) {
    case QDialogButtonBox::AcceptRole:
    case QDialogButtonBox::YesRole:
        return IDOK;
    case QDialogButtonBox::RejectRole:
    case QDialogButtonBox::NoRole:
        return IDCANCEL;
    case QDialogButtonBox::HelpRole:
        return pshHelp;
    default:
        return 0;
    }
}

} // namespace

unsigned CommDlgExtendedError()
{
    return lastExtendedError;
}

long SetWindowLong(QWidget *window, int index, long value)
{
    if (!window || index != DWL_MSGRESULT)
        return 0;
    const long previous = window->property(MessageResultProperty).toLongLong();
    window->setProperty(MessageResultProperty, qlonglong(value));
    return previous;
}

long GetWindowLong(QWidget *window, int index)
{
    if (!window || index != DWL_MSGRESULT)
        return 0;
    return long(window->property(MessageResultProperty).toLongLong());
}

namespace dialogs {

void setExtendedError(unsigned code)
{
    lastExtendedError = code;
}

bool checkRecord(quint32 size, quint32 expected, bool wantsTemplate)
{
    if (size != expected) {
        setExtendedError(CDERR_STRUCTSIZE);
        return false;
    }
    if (wantsTemplate) {
        setExtendedError(CDERR_FINDRESFAILURE);
        return false;
    }
    return true;
}

HookBridge::HookBridge(QDialog *dialog, QWidget *hookWindow, HookProc hook, qintptr initParam)
    : m_dialog(dialog), m_hookWindow(hookWindow), m_hook(hook), m_initParam(initParam)
{
    dialog->installEventFilter(this);
    const auto boxes = dialog->findChildren<QDialogButtonBox *>();
    for (QDialogButtonBox *box : boxes) {
        connect(box, &QDialogButtonBox::clicked, this, [this, box](QAbstractButton *button) {
            const int id = commandId(box, button);
            send(WM_COMMAND, quintptr(quint32(BN_CLICKED) << 16 | quint16(id)),
                 reinterpret_cast<qintptr>(static_cast<QWidget *>(button)));
        });
    }
}

qintptr HookBridge::send(unsigned message, quintptr wParam, qintptr lParam)
{
    if (!m_hook || !m_hookWindow)
        return 0;
    return m_hook(m_hookWindow, message, wParam, lParam);
}

qintptr HookBridge::notify(int code)
{
    NMHDR header{m_dialog, 0, code};
    return send(WM_NOTIFY, 0, reinterpret_cast<qintptr>(&header));
}

bool HookBridge::confirmOk()
{
    SetWindowLong(m_hookWindow, DWL_MSGRESULT, 0);
    notify(CDN_FILEOK);
    return GetWindowLong(m_hookWindow, DWL_MSGRESULT) == 0;
}

void HookBridge::destroy()
{
    if (m_destroyed || !m_initialised)
        return;
    m_destroyed = true;
    send(WM_DESTROY, 0, 0);
}

bool HookBridge::eventFilter(QObject *watched, QEvent *event)
{
    // Sent while the dialog is being shown, with its size known, so the hook can place it.
    if (watched == m_dialog && event->type() == QEvent::Show && !m_initialised) {
        m_initialised = true;
        send(WM_INITDIALOG, 0, m_initParam);
    }
    return QObject::eventFilter(watched, event);
}

int run(QPointer<QDialog> dialog, HookBridge *bridge)
{
    if (!dialog)
        return 0;
    dialog->setWindowModality(Qt::ApplicationModal);
    const int result = dialog->exec();
    if (!dialog)
        return 0;
    if (bridge)
        bridge->destroy();
    return result == QDialog::Accepted ? 1 : 0;
}

void showFlags(QDialog *dialog, quint32 flags)
{
    dialog->setProperty(DialogFlagsProperty, flags);
}

QString bufferText(const char16_t *buffer, quint32 size)
{
    if (!buffer)
        return {};
    quint32 length = 0;
    while (length < size && buffer[length] != 0)
        ++length;
    return QString(reinterpret_cast<const QChar *>(buffer), qsizetype(length));
}

bool writeBuffer(char16_t *buffer, quint32 size, const QString &text)
{
    if (!buffer || quint32(text.size()) + 1 > size)
        return false;
    std::copy_n(reinterpret_cast<const char16_t *>(text.utf16()), text.size(), buffer);
    buffer[text.size()] = 0;
    return true;
}

} // namespace dialogs
} // namespace os
