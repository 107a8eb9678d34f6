#pragma once

#include "components/AlphaImgImage.h"
#include "runtime/Control.h"

namespace AlphaImg {

// The image control: shows its picture unchanged at the top-left, lightened while highlighted and
// dimmed while its enabled option is off (it then reports no mouse input but the pointer leaving).
// Before it paints it offers the paint to its owner through PaintHook, which may draw instead and
// cancel.
class AlphaImgCtl : public runtime::Control {
    Q_OBJECT
    Q_PROPERTY(AlphaImg::AlphaImage Picture READ Picture WRITE setPicture)
    Q_PROPERTY(int HighlightState READ HighlightState WRITE setHighlightState)

public:
    AlphaImgCtl(QWidget *container, const QString &name, int index = -1);

    AlphaImage Picture() const { return m_picture; }
    void setPicture(const AlphaImage &picture);

    // 1 highlighted, 0 normal; ApplyState(state, level) shows a state, level 0 plain and each
    // level above it a little lighter.
    int HighlightState() const { return m_state; }
    void setHighlightState(int state) { m_state = state; }
    void ApplyState(int state, int level);

    // Marks the control for painting; it paints when the message loop next runs.
    void RequestRepaint() { update(); }

    // The picture as painted now, for a caller that wants to look at it without a screen.
    QImage Render();

signals:
    void MouseEnter();
    void MouseLeave();
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    // Raised before each paint with the device context to paint into, the control's client
    // rectangle, its highlight level; a handler that sets Cancel has painted it itself.
    void PaintHook(gdi::Dc &hdc, int X, int Y, int Width, int Height, int Level, bool &Cancel);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    AlphaImage m_picture;
    int m_state = 0;
    int m_level = 0;
};

}
