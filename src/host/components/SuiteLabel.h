#pragma once

#include "components/SuiteCaptionControl.h"

// The suite's label: its caption ("&&" shows one "&") in the fore colour on the back colour.
class SuiteLabel : public SuiteCaptionControl {
    Q_OBJECT

public:
    SuiteLabel(QWidget *container, const QString &name, int index = -1);

protected:
    void draw(QPainter &painter) override;
};
