#pragma once

#include "components/SuiteCaptionControl.h"

// The suite's check box: Value 0 (unchecked) or 1 (checked), a box and the caption. A click with
// the left button or the space bar toggles it and raises Click; every release raises MouseUp.
class SuiteCheckBox : public SuiteCaptionControl {
    Q_OBJECT
    Q_PROPERTY(int Value READ Value WRITE setValue)

public:
    SuiteCheckBox(QWidget *container, const QString &name, int index = -1);

    int Value() const { return m_value; }
    // Any other number than 0 and 1 is refused and the value stays.
    bool setValue(int value);
    // The value from a decimal text ("1", "0"); false, and no change, for any other text.
    bool SetValueFromText(const QString &text);

    QRect CaptionRect() const override;

signals:
    void Click();
    void MouseUp(int Button, int Shift, float X, float Y);

protected:
    void draw(QPainter &painter) override;
    void click() override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_value = 0;
};
