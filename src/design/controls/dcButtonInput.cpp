// Keyboard, mouse, focus and pop-up behaviour of dcButton: host notifications turned into visual
// states and events.
#include "controls/dcButton.h"

#include "controls/dcButtonState.h"
#include "os/MouseTracking.h"
#include "runtime/DoEvents.h"

#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcutEvent>

#include <array>

namespace {

constexpr int KeyEnter = 13;
constexpr int KeyEsc = 27;
constexpr int KeySpace = 32;
constexpr int ArrowLeft = 37;
constexpr int ArrowDown = 40;
constexpr int ArrowRight = 39;
constexpr int ShiftAlt = 4;
constexpr int LeftButton = 1;

// TrackPopupMenu's alignment flags.
constexpr int TPM_CENTERALIGN = 4;
constexpr int TPM_RIGHTALIGN = 8;
constexpr int TPM_VCENTERALIGN = 16;
constexpr int TPM_BOTTOMALIGN = 32;

struct MenuAnchor {
    bool right;  // x at W instead of 0
    bool bottom; // y at H instead of 0
    int flags;
};
constexpr std::array<MenuAnchor, 8> MenuAnchors = {{
    {false, true, 0},
    {false, false, TPM_RIGHTALIGN},
    {false, true, TPM_RIGHTALIGN},
    {true, false, 0},
    {true, true, 0},
    {false, false, TPM_BOTTOMALIGN},
    {false, false, TPM_BOTTOMALIGN | TPM_RIGHTALIGN},
    {true, false, TPM_BOTTOMALIGN},
}};

}

// --- the click and the pop-up menu ------------------------------------------------------------

void dcButton::clickPath()
{
    if (m_in.armed != dcButtonState::ArmedForClick || m_in.pressed)
        return;
    m_in.mouseDown = false;
    m_in.spaceHeld = false;
    if (m_checkBoxMode)
        m_value = !m_value;
    if (m_in.hot)
        repaintState(dcButtonState::Hot, m_checkBoxMode);
    else
        repaintState(dcButtonState::Normal, true);
    if (!m_popup.set) {
        const runtime::StillLoaded alive(this);
        emit Click();
        if (!alive)
            return;
    }
    if (!m_checkBoxMode)
        m_value = false;
}

void dcButton::showPopupMenu()
{
    if (!m_popup.menu || m_popup.position < 0 || m_popup.position >= static_cast<int>(MenuAnchors.size()))
        return;
    m_in.menuOpen = true;
    repaintState(dcButtonState::Down, false);

    const MenuAnchor &anchor = MenuAnchors[static_cast<std::size_t>(m_popup.position)];
    const int flags = anchor.flags | m_popup.flags;
    QMenu *menu = m_popup.menu;
    const QSize menuSize = menu->sizeHint();
    QPoint at = mapToGlobal(QPoint(anchor.right ? width() : 0, anchor.bottom ? height() : 0));
    if (flags & TPM_RIGHTALIGN)
        at.rx() -= menuSize.width();
    else if (flags & TPM_CENTERALIGN)
        at.rx() -= menuSize.width() / 2;
    if (flags & TPM_BOTTOMALIGN)
        at.ry() -= menuSize.height();
    else if (flags & TPM_VCENTERALIGN)
        at.ry() -= menuSize.height() / 2;
    if (m_popup.defaultItem)
        menu->setDefaultAction(m_popup.defaultItem);

    const runtime::StillLoaded alive(this);
    m_inMenuLoop = true;
    m_pressClosedMenu = false;
    menu->exec(at);
    if (!alive)
        return;
    m_inMenuLoop = false;
    if (m_pressClosedMenu) {
        // The closing press has reached the button already, so no later press is one to skip.
        m_in.menuOpen = false;
        m_in.closedOverButton = false;
        return;
    }
    if (pointerOverControl()) {
        m_in.closedOverButton = true;
        return;
    }
    m_in.pressed = m_in.mouseDown = m_in.hot = m_in.spaceHeld = false;
    repaintState(dcButtonState::Normal, false);
    m_in.menuOpen = false;
    m_in.closedOverButton = false;
}

// --- host notifications -----------------------------------------------------------------------

void dcButton::AccessKeyPress(int KeyAscii)
{
    if (!Enabled())
        return;
    if (m_in.spaceHeld)
        releaseCapture();
    if (m_checkBoxMode && (KeyAscii == KeyEnter || KeyAscii == KeyEsc))
        return;
    m_in.pressed = false;
    m_in.armed = dcButtonState::ArmedForClick;
    if (!m_popup.set) {
        clickPath();
        return;
    }
    const runtime::StillLoaded alive(this);
    if (KeyAscii != KeyEsc && !m_in.closedOverButton)
        showPopupMenu();
    if (!alive)
        return;
    m_in.pressed = m_in.mouseDown = m_in.menuOpen = m_in.spaceHeld = false;
}

void dcButton::onKeyDown(int keyCode, int shift)
{
    if (keyCode == KeySpace) {
        if (shift != ShiftAlt) {
            m_in.pressed = true;
            m_in.spaceHeld = true;
            if (!holdsCapture())
                takeCapture();
            if (!m_in.mouseDown)
                repaintState(dcButtonState::Down, false);
        }
        emit KeyDown(keyCode, shift);
        return;
    }
    if (keyCode >= ArrowLeft && keyCode <= ArrowDown) {
        // The focus change below clears space-held, which is why it is read first: a button held
        // down by Space clicks once the focus has moved on.
        const bool spaceWasHeld = m_in.spaceHeld;
        const runtime::StillLoaded alive(this);
        if (shift == 0)
            focusNextPrevChild(keyCode == ArrowRight || keyCode == ArrowDown);
        if (!alive || !spaceWasHeld)
            return;
        releaseCapture();
        runtime::DoEvents();
        if (!alive)
            return;
        m_in.armed = dcButtonState::ArmedForClick;
        clickPath();
        return;
    }
    if (m_in.spaceHeld) {
        m_in.pressed = false;
        m_in.spaceHeld = false;
        releaseCapture();
        repaintState(m_in.hot ? dcButtonState::Hot : dcButtonState::Normal, false);
    }
    emit KeyDown(keyCode, shift);
}

void dcButton::onKeyUp(int keyCode, int shift)
{
    if (keyCode != KeySpace) {
        emit KeyUp(keyCode, shift);
        return;
    }
    const runtime::StillLoaded alive(this);
    m_in.pressed = m_in.mouseDown;
    if (m_in.spaceHeld) {
        m_in.spaceHeld = false;
        if (!m_popup.set) {
            m_in.armed = dcButtonState::ArmedForClick;
            clickPath();
        } else {
            if (!m_in.closedOverButton)
                showPopupMenu();
            if (alive)
                m_in.menuOpen = false;
        }
        if (!alive)
            return;
    }
    if (m_in.pressed) {
        if (!holdsCapture())
            takeCapture();
    } else {
        releaseCapture();
    }
    if (!m_popup.set)
        emit KeyUp(keyCode, shift);
}

void dcButton::onMouseDown(int button, int shift, float x, float y)
{
    showHandCursor();
    m_in.armed = button;
    if (button == LeftButton) {
        m_in.hasFocus = true;
        m_in.pressed = true;
        m_in.mouseDown = true;
        if (!m_in.spaceHeld)
            repaintState(dcButtonState::Down, false);
        else if (!m_in.hot)
            repaintState(dcButtonState::Normal, false);
    }
    if (!m_popup.set) {
        emit MouseDown(button, shift, x, y);
        return;
    }
    if (m_inMenuLoop) {
        // Qt hands the press that closed the menu on to the button before the menu loop returns.
        m_pressClosedMenu = true;
        return;
    }
    if (m_in.closedOverButton) {
        // The press that closed the menu does not open it again.
        m_in.menuOpen = false;
        m_in.closedOverButton = false;
        return;
    }
    showPopupMenu();
}

void dcButton::onMouseMove(int button, int shift, float x, float y, bool over)
{
    if (m_handPointer && isRunTime())
        showHandCursor();
    else
        Control::setMousePointer(MousePointer());

    if (over) {
        m_in.hot = true;
        if (m_in.spaceHeld) {
            if (m_in.mouseDown)
                repaintState(dcButtonState::Down, false);
        } else {
            repaintState(m_in.pressed ? dcButtonState::Down : dcButtonState::Hot, false);
        }
        if (m_in.entered) {
            emit MouseMove(button, shift, x, y);
        } else {
            m_in.entered = true;
            if (m_leaveTracking)
                m_leaveTracking->trackLeave();
            emit MouseEnter();
        }
        return;
    }
    m_in.closedOverButton = false;
    if (m_in.hot) {
        m_in.hot = false;
        if (!m_in.spaceHeld && !m_in.mouseDown)
            repaintState(dcButtonState::Normal, false);
        emit MouseLeave();
    } else if (m_in.mouseDown) {
        repaintState(dcButtonState::Hot, false);
    }
}

void dcButton::onMouseUp(int button, int shift, float x, float y)
{
    if (m_in.hot)
        showHandCursor();
    if (button != LeftButton && !m_popup.set && !m_in.closedOverButton)
        return;
    m_in.mouseDown = false;
    m_in.pressed = m_in.spaceHeld;
    if (m_in.spaceHeld && !m_in.hot)
        repaintState(dcButtonState::Down, false);
    if (m_in.armed == dcButtonState::ArmedDoubleClick)
        repaintState(m_in.hot ? dcButtonState::Hot : dcButtonState::Normal, false);
    releaseCapture();
    if (m_popup.set) {
        if (!m_in.hot)
            repaintState(dcButtonState::Normal, false);
        m_in.menuOpen = false;
        m_in.closedOverButton = false;
        return;
    }
    emit MouseUp(button, shift, x, y);
}

void dcButton::onDblClick()
{
    showHandCursor();
    if (m_in.armed != dcButtonState::ArmedForClick)
        return;
    m_in.pressed = true;
    m_in.mouseDown = true;
    repaintState(dcButtonState::Down, false);
    m_in.armed = dcButtonState::ArmedDoubleClick;
    takeCapture();
    if (!m_popup.set) {
        emit DblClick();
        return;
    }
    if (m_in.closedOverButton)
        m_in.closedOverButton = false;
    else
        showPopupMenu();
}

void dcButton::onMouseLeaveMessage()
{
    m_in.hot = false;
    m_in.entered = false;
    if (m_popup.set) {
        if (m_in.menuOpen) {
            m_in.menuOpen = false;
            m_in.closedOverButton = true;
            return;
        }
        m_in.closedOverButton = false;
    }
    if (m_in.spaceHeld)
        return;
    if (Enabled())
        repaintState(dcButtonState::Normal, m_in.armed == dcButtonState::ArmedForClick);
    emit MouseLeave();
}

void dcButton::AmbientChanged(const QString &name)
{
    m_in.isDefault = m_ambientDefault;
    if (name != QLatin1String("DisplayAsDefault"))
        return;
    m_in.pressed = m_in.mouseDown = m_in.spaceHeld = false;
    if (Enabled() && !m_in.hot && !m_in.hasFocus)
        repaintState(-1, true);
}

void dcButton::setDisplayAsDefault(bool isDefault)
{
    m_ambientDefault = isDefault;
    AmbientChanged(QStringLiteral("DisplayAsDefault"));
}


// --- helpers ----------------------------------------------------------------------------------

void dcButton::takeCapture()
{
    if (isVisible())
        grabMouse();
}

void dcButton::releaseCapture()
{
    if (holdsCapture())
        releaseMouse();
}

bool dcButton::holdsCapture() const { return QWidget::mouseGrabber() == this; }

bool dcButton::pointerOverControl() const
{
    return isVisible() && rect().contains(mapFromGlobal(QCursor::pos()));
}

void dcButton::showHandCursor()
{
    if (m_handPointer && isRunTime())
        setCursor(Qt::PointingHandCursor);
}

// --- Qt events --------------------------------------------------------------------------------

bool dcButton::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut && m_shortcutId != 0
        && static_cast<QShortcutEvent *>(event)->shortcutId() == m_shortcutId) {
        AccessKeyPress(m_accessKey.toUpper().unicode());
        return true;
    }
    return runtime::UserControl::event(event);
}

void dcButton::keyPressEvent(QKeyEvent *event)
{
    const runtime::StillLoaded alive(this);
    onKeyDown(runtime::KeyCodeOf(event), runtime::ShiftOf(event->modifiers()));
    if (alive && !event->text().isEmpty())
        emit KeyPress(event->text().at(0).unicode());
}

void dcButton::keyReleaseEvent(QKeyEvent *event)
{
    // The platform repeats only the key-down of a held key.
    if (event->isAutoRepeat())
        return;
    onKeyUp(runtime::KeyCodeOf(event), runtime::ShiftOf(event->modifiers()));
}

void dcButton::mousePressEvent(QMouseEvent *event)
{
    onMouseDown(runtime::MouseButtonOf(event->button()), runtime::ShiftOf(event->modifiers()),
                static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
}

void dcButton::mouseMoveEvent(QMouseEvent *event)
{
    onMouseMove(runtime::MouseButtonsOf(event->buttons()), runtime::ShiftOf(event->modifiers()),
                static_cast<float>(event->position().x()), static_cast<float>(event->position().y()),
                rect().contains(event->position().toPoint()));
}

void dcButton::mouseReleaseEvent(QMouseEvent *event)
{
    const runtime::StillLoaded alive(this);
    const bool over = rect().contains(event->position().toPoint());
    onMouseUp(runtime::MouseButtonOf(event->button()), runtime::ShiftOf(event->modifiers()),
              static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
    // The host's click notification: a left press and release over the control.
    if (alive && over && event->button() == Qt::LeftButton)
        clickPath();
}

void dcButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        onDblClick();
}

// The platform takes the capture from a window it disables; a disabled grabber here would keep
// every mouse event of the application until it is enabled again.
void dcButton::changeEvent(QEvent *event)
{
    runtime::UserControl::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        releaseCapture();
}

void dcButton::focusInEvent(QFocusEvent *event)
{
    runtime::UserControl::focusInEvent(event);
    // A pop-up menu takes the keyboard for a while without the button losing the focus.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    m_in.focusFrameAllowed = true;
    m_in.hasFocus = true;
    if (!m_in.pressed && Enabled())
        repaintState(dcButtonState::Normal, true);
}

void dcButton::focusOutEvent(QFocusEvent *event)
{
    runtime::UserControl::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    m_in.focusFrameAllowed = m_in.hasFocus = m_in.pressed = m_in.mouseDown = m_in.spaceHeld = m_in.hot = false;
    if (!Enabled())
        return;
    const bool wasDefault = m_in.isDefault;
    m_in.isDefault = false;
    repaintState(dcButtonState::Normal, wasDefault);
    m_in.isDefault = m_ambientDefault;
}
