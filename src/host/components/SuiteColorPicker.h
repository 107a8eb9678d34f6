#pragma once

#include "components/SuiteCaptionControl.h"

#include <functional>
#include <optional>

// The suite's colour swatch: a button with its caption and a patch of its colour. The user picks a
// colour by clicking it or with the space bar; only that choice raises Change, never a colour set
// by the program. Appearance 2 is flat: no border, the caption in black or white after the back
// colour.
class SuiteColorPicker : public SuiteCaptionControl {
    Q_OBJECT
    Q_PROPERTY(quint32 Color READ Color WRITE setColor)
    Q_PROPERTY(int Appearance READ Appearance WRITE setAppearance)

public:
    // Asks the user for a colour, starting from the current one; nullopt when cancelled.
    using Chooser = std::function<std::optional<runtime::OleColor>(runtime::OleColor current, QWidget *parent)>;

    SuiteColorPicker(QWidget *container, const QString &name, int index = -1);

    runtime::OleColor Color() const { return m_color; }
    void setColor(runtime::OleColor color);
    // The colour from a decimal text of a 32-bit colour (negative values are the same bits);
    // false, and no change, for an empty text or one that is no such number.
    bool SetColorFromText(const QString &text);

    int Appearance() const { return m_appearance; }
    void setAppearance(int appearance);

    // The user's choice, as a click makes it: the colour dialog by default.
    static void setChooser(Chooser chooser);

    QRect CaptionRect() const override;

signals:
    void Change();

protected:
    void draw(QPainter &painter) override;
    void click() override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    runtime::OleColor m_color = 0;
    int m_appearance = 0;
};
