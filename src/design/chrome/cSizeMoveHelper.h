#pragma once

#include "os/WindowMessages.h"

#include <QObject>
#include <QPointer>
#include <QWidget>


// Watches one window's size, move, activation and destruction messages. While the window is the
// active one, and only when asked (NoFullDrag), it switches the system's full-window dragging off,
// and back on when the window loses activation, is destroyed or detached, or the request is
// withdrawn; it only ever restores what it switched off itself. It reports each size-or-move loop
// and each moving or sizing rectangle, and the rectangle a handler leaves is the one the window
// takes.
class cSizeMoveHelper : public QObject, public os::WindowMessageHandler {
    Q_OBJECT

public:
    explicit cSizeMoveHelper(QObject *parent = nullptr);
    ~cSizeMoveHelper() override;

    bool NoFullDrag() const { return m_noFullDrag; }
    void setNoFullDrag(bool bState);
    bool Active() const { return m_active; }

    // Detaches first, then subscribes to the window's messages.
    void Attach(QWidget *hWndA);
    // Ends the subscription and gives full-window dragging back if this object switched it off.
    void Detach();

    long WindowProc(QWidget *hwnd, unsigned iMsg, quintptr wParam, os::WindowRect *lParam) override;

signals:
    void EnterSizeMove();
    void ExitSizeMove();
    void Activate(bool bByMouse);
    void Deactivate();
    // Screen pixels; a handler may change them (direct connections only).
    void Moving(int &lLeft, int &lTop, int &lWidth, int &lHeight);
    void Sizing(int &lLeft, int &lTop, int &lWidth, int &lHeight);

private:
    void switchFullDragOff();
    void restoreFullDrag();
    void reportRect(bool moving, os::WindowRect &rect);

    QWidget *m_hwnd = nullptr; // identity only: kept after Detach, compared, never dereferenced
    QPointer<QWidget> m_window;
    bool m_switched = false;
    bool m_noFullDrag = false;
    bool m_active = false;
    bool m_inSizeMove = false;
};
