#pragma once

#include <QtGlobal>

class GCommonDialog;
class QWidget;

// The hook procedures of the common dialogs. The platform calls them with nothing but the
// dialog's message, so they find the GCommonDialog whose hooked dialog is open through one
// module-wide pointer: only one hooked dialog is open at a time.
namespace mDialogHook {

void SetHookOwner(GCommonDialog *owner);
void ClearHookOwner();
// The owner of the open hooked dialog, or null.
GCommonDialog *HookOwner();

// Each hands the message to the owner's DialogHook and answers its result; 0 with no owner.
qintptr FileDialogHook(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam);
qintptr PrintHook(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam);
qintptr PrintSetupHook(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam);
qintptr PageSetupHook(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam);
qintptr ColorHook(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam);
qintptr FontHook(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam);

} // namespace mDialogHook
