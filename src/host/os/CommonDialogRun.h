#pragma once

#include "os/CommonDialogs.h"

#include <QDialog>
#include <QObject>
#include <QPointer>

#include <functional>

// What the dialog calls share: the thread's extended error, the hook's messages and the modal run.
namespace os::dialogs {

void setExtendedError(unsigned code);

// A record of the platform's size, asking for no dialog template (no module here holds one);
// otherwise the extended error says which it was.
bool checkRecord(quint32 size, quint32 expected, bool wantsTemplate);

// A Qt dialog whose OK can be refused: `confirm` answers false to keep it open.
template <class Base>
class VetoableDialog : public Base {
public:
    using Base::Base;
    std::function<bool()> confirm;

protected:
    void done(int result) override
    {
        if (result == QDialog::Accepted && confirm && !confirm())
            return;
        Base::done(result);
    }
};

// Passes a dialog's life to a hook procedure: WM_INITDIALOG when it first shows, WM_COMMAND for
// each button pressed, the notifications its owner raises, WM_DESTROY when it ends. The hook
// window is the dialog itself, or a child inside it (an Explorer-style file dialog's).
class HookBridge : public QObject {
public:
    HookBridge(QDialog *dialog, QWidget *hookWindow, HookProc hook, qintptr initParam);

    QWidget *hookWindow() const { return m_hookWindow; }
    qintptr notify(int code);
    // CDN_FILEOK: false when the hook left a non-zero message result, which keeps the dialog open.
    bool confirmOk();
    void destroy();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    qintptr send(unsigned message, quintptr wParam, qintptr lParam);

    QPointer<QDialog> m_dialog;
    QPointer<QWidget> m_hookWindow;
    HookProc m_hook;
    qintptr m_initParam;
    bool m_initialised = false;
    bool m_destroyed = false;
};

// Shows the dialog modally and ends it: 1 for OK, 0 for Cancel. The dialog may die while it runs
// (its owner unloaded from a handler); that counts as Cancel, and nothing of it is touched then.
int run(QPointer<QDialog> dialog, HookBridge *bridge);

// The record's flag word on the dialog (DialogFlagsProperty).
void showFlags(QDialog *dialog, quint32 flags);

// Text of a NUL-ended buffer of at most `size` units.
QString bufferText(const char16_t *buffer, quint32 size);
// Writes text and its ending NUL; false (buffer untouched) when it does not fit.
bool writeBuffer(char16_t *buffer, quint32 size, const QString &text);

} // namespace os::dialogs
