#pragma once

#include "runtime/Control.h"

namespace runtime {

// An image control: shows its Picture (scaled to the control with Stretch), transparent
// elsewhere, and reports clicks. It has no drawing surface of its own.
class Image : public Control {
    Q_OBJECT
    Q_PROPERTY(runtime::StdPicture Picture READ Picture WRITE setPicture)
    Q_PROPERTY(bool Stretch READ Stretch WRITE setStretch)

public:
    Image(QWidget *container, const QString &name, int index = -1);

    StdPicture Picture() const { return m_picture; }
    void setPicture(const StdPicture &picture);
    bool Stretch() const { return m_stretch; }
    void setStretch(bool stretch);

signals:
    void Click();
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    StdPicture m_picture;
    bool m_stretch = false;
    bool m_pressed = false;
};

} // namespace runtime
