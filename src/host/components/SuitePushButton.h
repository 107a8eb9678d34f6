#pragma once

#include "components/SuiteCaptionControl.h"

#include <optional>

// The suite's push button: its caption centred on the back colour (a gradient down to it from
// BackStartColor once that is set); Click when released over it or at the space bar.
class SuitePushButton : public SuiteCaptionControl {
    Q_OBJECT
    Q_PROPERTY(quint32 BackStartColor READ BackStartColor WRITE setBackStartColor)

public:
    SuitePushButton(QWidget *container, const QString &name, int index = -1);

    runtime::OleColor BackStartColor() const { return m_backStartColor.value_or(BackColor()); }
    void setBackStartColor(runtime::OleColor color);

signals:
    void Click();

protected:
    void draw(QPainter &painter) override;
    void click() override { emit Click(); }
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_down = false;
    std::optional<runtime::OleColor> m_backStartColor;
};
