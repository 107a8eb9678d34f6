#include "chrome/cSizeMoveHelper.h"

#include "os/SystemParameters.h"

namespace {

const unsigned kSubscribeOrder[] = {os::WM_ENTERSIZEMOVE, os::WM_EXITSIZEMOVE, os::WM_DESTROY, os::WM_MOVING,
                                    os::WM_SIZING,        os::WM_ACTIVATE,     os::WM_SIZE};
const unsigned kUnsubscribeOrder[] = {os::WM_ENTERSIZEMOVE, os::WM_EXITSIZEMOVE, os::WM_DESTROY, os::WM_MOVING,
                                      os::WM_SIZING,        os::WM_SIZE,         os::WM_ACTIVATE};

}

cSizeMoveHelper::cSizeMoveHelper(QObject *parent)
    : QObject(parent)
{
}

cSizeMoveHelper::~cSizeMoveHelper()
{
    // The subscription holds a pointer to this object.
    Detach();
}

void cSizeMoveHelper::setNoFullDrag(bool bState)
{
    m_noFullDrag = bState;
    if (!bState)
        restoreFullDrag();
    else if (m_active)
        switchFullDragOff();
}

void cSizeMoveHelper::switchFullDragOff()
{
    if (!m_noFullDrag || m_switched)
        return;
    if (!os::GetDragFullWindows())
        return; // already off: not ours to restore
    m_switched = true;
    os::SetDragFullWindows(false);
}

void cSizeMoveHelper::restoreFullDrag()
{
    if (!m_switched)
        return;
    os::SetDragFullWindows(true);
    m_switched = false;
}

void cSizeMoveHelper::Attach(QWidget *hWndA)
{
    Detach();
    m_hwnd = hWndA;
    m_window = hWndA;
    if (!hWndA)
        return;
    for (unsigned message : kSubscribeOrder)
        os::Subscribe(this, hWndA, message);
}

void cSizeMoveHelper::Detach()
{
    // Unsubscribed, the helper hears no deactivation that would pay back a switch it still owes,
    // nor the activations that would make a later request take effect.
    restoreFullDrag();
    m_active = false;
    if (!m_hwnd)
        return;
    // A destroyed window has already lost its subscriptions.
    if (m_window) {
        for (unsigned message : kUnsubscribeOrder)
            os::Unsubscribe(this, m_window, message);
    }
}

void cSizeMoveHelper::reportRect(bool moving, os::WindowRect &rect)
{
    int left = rect.left;
    int top = rect.top;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (moving)
        emit Moving(left, top, width, height);
    else
        emit Sizing(left, top, width, height);
    rect = {left, top, left + width, top + height};
}

long cSizeMoveHelper::WindowProc(QWidget *, unsigned iMsg, quintptr wParam, os::WindowRect *lParam)
{
    switch (iMsg) {
    case os::WM_MOVING:
    case os::WM_SIZING:
        if (lParam)
            reportRect(iMsg == os::WM_MOVING, *lParam);
        break;
    case os::WM_ENTERSIZEMOVE:
        m_inSizeMove = true;
        emit EnterSizeMove();
        break;
    case os::WM_EXITSIZEMOVE:
        emit ExitSizeMove();
        m_inSizeMove = false;
        break;
    case os::WM_DESTROY:
        Detach();
        break;
    case os::WM_ACTIVATE: {
        const unsigned state = wParam & 0xFFFF;
        if (state != os::WA_INACTIVE) {
            switchFullDragOff();
            m_active = true;
            emit Activate(state == os::WA_CLICKACTIVE);
        } else {
            restoreFullDrag();
            m_active = false;
            emit Deactivate();
        }
        break;
    }
    case os::WM_SIZE:
        if (!m_inSizeMove && m_window) {
            os::WindowRect rect = os::GetWindowRect(m_window);
            reportRect(false, rect); // what a handler changes here is not used
        }
        break;
    default:
        break;
    }
    return 0;
}
