#include "platform/mDialogHook.h"

#include "platform/GCommonDialog.h"

namespace mDialogHook {

namespace {

GCommonDialog *HookOwnerPtr = nullptr;

qintptr dispatch(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam)
{
    GCommonDialog *owner = HookOwner();
    return owner ? owner->DialogHook(hDlg, message, wParam, lParam) : 0;
}

} // namespace

void SetHookOwner(GCommonDialog *owner)
{
    HookOwnerPtr = owner;
}

void ClearHookOwner()
{
    HookOwnerPtr = nullptr;
}

GCommonDialog *HookOwner()
{
    return HookOwnerPtr;
}

qintptr FileDialogHook(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam)
{
    return dispatch(hDlg, message, wParam, lParam);
}

qintptr PrintHook(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam)
{
    return dispatch(hDlg, message, wParam, lParam);
}

qintptr PrintSetupHook(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam)
{
    return dispatch(hDlg, message, wParam, lParam);
}

qintptr PageSetupHook(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam)
{
    return dispatch(hDlg, message, wParam, lParam);
}

qintptr ColorHook(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam)
{
    return dispatch(hDlg, message, wParam, lParam);
}

qintptr FontHook(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam)
{
    return dispatch(hDlg, message, wParam, lParam);
}

} // namespace mDialogHook
