#pragma once

#include "components/SuiteCaptionControl.h"

// The suite's push button: its caption centred on the back colour; Click when released over it
// or at the space bar.
class SuitePushButton : public SuiteCaptionControl {
    Q_OBJECT

public:
    SuitePushButton(QWidget *container, const QString &name, int index = -1);

signals:
    void Click();

protected:
    void draw(QPainter &painter) override;
    void click() override { emit Click(); }
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_down = false;
};
