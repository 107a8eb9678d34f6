#pragma once

#include "components/SuiteCaptionControl.h"

// The suite's group box: a frame with its caption in the top edge, holding other controls.
// Appearance 2 draws the frame flat in a shade of the fore colour; any other value etched.
class SuiteGroupBox : public SuiteCaptionControl {
    Q_OBJECT
    Q_PROPERTY(int Appearance READ Appearance WRITE setAppearance)

public:
    SuiteGroupBox(QWidget *container, const QString &name, int index = -1);

    int Appearance() const { return m_appearance; }
    void setAppearance(int appearance);

protected:
    void draw(QPainter &painter) override;

private:
    int m_appearance = 0;
};
