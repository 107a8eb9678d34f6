#pragma once

#include "runtime/Control.h"

#include <QStringList>
#include <QVariant>

// A control that records every property the colour engine sets on it, in order, as
// "Property=value" (dotted for the parts it reaches through FormatControl and PaintManager), and
// every method it calls as "Method()". It declares every property the rule table names.

#define RECORDED(N)                                                                                \
    Q_PROPERTY(QVariant N READ get_##N WRITE set_##N)                                              \
public:                                                                                            \
    QVariant get_##N() const { return value(QStringLiteral(#N)); }                                 \
    void set_##N(const QVariant &v) { record(QStringLiteral(#N), v); }                             \
                                                                                                   \
private:

namespace skintest {

class Recorder {
public:
    explicit Recorder(QStringList *log, QString prefix = {}) : m_log(log), m_prefix(std::move(prefix)) {}
    QVariant value(const QString &name) const { return m_values.value(name); }

protected:
    void record(const QString &name, const QVariant &v)
    {
        m_values.insert(name, v);
        m_log->append(m_prefix + name + QLatin1Char('=') + v.toString());
    }
    QStringList *m_log;
    QString m_prefix;
    QVariantHash m_values;
};

// What a control reaches through FormatControl, FormatControl.BackGradient and PaintManager.ColorSet.
class RecordingPart : public QObject, public Recorder {
    Q_OBJECT
    Q_PROPERTY(QObject *BackGradient READ BackGradient)
    Q_PROPERTY(QObject *ColorSet READ ColorSet)
    RECORDED(BorderColor)
    RECORDED(ForeColor)
    RECORDED(Color)
    RECORDED(ButtonSelected)
    RECORDED(ButtonHighlighted)
    RECORDED(HeaderFaceDark)
    RECORDED(HeaderFaceLight)
    RECORDED(PaneFace)
    RECORDED(ControlFace)
    RECORDED(SelectedText)
    RECORDED(HighlightText)
    RECORDED(FrameBorder)
    RECORDED(ButtonNormal)
    RECORDED(BorderHighlight)
    RECORDED(NormalText)

public:
    RecordingPart(QObject *parent, QStringList *log, const QString &prefix, QObject *inner = nullptr)
        : QObject(parent), Recorder(log, prefix), m_inner(inner)
    {
    }
    QObject *BackGradient() const { return m_inner; }
    QObject *ColorSet() const { return m_inner; }

private:
    QObject *m_inner;
};

class RecordingControl : public runtime::Control, public Recorder {
    Q_OBJECT
    Q_PROPERTY(QObject *FormatControl READ FormatControl)
    Q_PROPERTY(QObject *PaintManager READ PaintManager)
    Q_PROPERTY(int Rows READ Rows)
    Q_PROPERTY(int Cols READ Cols)
    RECORDED(BackColor)
    RECORDED(ForeColor)
    RECORDED(Appearance)
    RECORDED(gCTitleStart)
    RECORDED(gCTitleEnd)
    RECORDED(TitleForeColor)
    RECORDED(BarBackColor)
    RECORDED(ButtonsBackColor)
    RECORDED(ScrollerBackColor)
    RECORDED(ScrollerGripColor)
    RECORDED(ActiveTabBackStartColor)
    RECORDED(ActiveTabBackEndColor)
    RECORDED(TabStripBackColor)
    RECORDED(HoverColor)
    RECORDED(FocusedColor)
    RECORDED(PanelBackColor)
    RECORDED(gCPanelEnd)
    RECORDED(gCPanelStart)
    RECORDED(BackGroundColor)
    RECORDED(ButtonsArrowColor)
    RECORDED(FillColor)
    RECORDED(ActiveTabForeColor)
    RECORDED(LeftColorBarColor)
    RECORDED(RightColorBarColor)
    RECORDED(BorderColor)
    RECORDED(BarBorderColor)
    RECORDED(ButtonsBorderColor)
    RECORDED(ScrollerBorderColor)
    RECORDED(PanelBorderColor)
    RECORDED(OuterBorderColor)
    RECORDED(InActiveTabBackStartColor)
    RECORDED(InActiveTabBackEndColor)
    RECORDED(TileBackColor)
    RECORDED(SelectingBackColor)
    RECORDED(SunkenBackColor)
    RECORDED(BackStartColor)
    RECORDED(ButtonForeColor)
    RECORDED(InActiveTabForeColor)
    RECORDED(SelectionBackColor)
    RECORDED(SelectionForeColor)
    RECORDED(ForeColorEdit)
    RECORDED(ForeColorHdr)
    RECORDED(BackColorSel)
    RECORDED(FocusRectColor)
    RECORDED(GridColor)
    RECORDED(BackColorBkg)
    RECORDED(BackColorEdit)
    RECORDED(BackColorEvenRows)
    RECORDED(ForeColorSel)
    RECORDED(ThemeCustomColorFrom)
    RECORDED(ThemeCustomColorTo)
    RECORDED(BarColor)
    RECORDED(Segments)
    RECORDED(BarForeColor)
    RECORDED(Redraw)

public:
    RecordingControl(QWidget *container, const QString &name)
        : runtime::Control(container, name), Recorder(&log),
          m_gradient(new RecordingPart(this, &log, QStringLiteral("FormatControl.BackGradient."))),
          m_format(new RecordingPart(this, &log, QStringLiteral("FormatControl."), m_gradient)),
          m_colorSet(new RecordingPart(this, &log, QStringLiteral("PaintManager.ColorSet."))),
          m_paintManager(new RecordingPart(this, &log, QStringLiteral("PaintManager."), m_colorSet))
    {
    }

    QObject *FormatControl() const { return m_format; }
    QObject *PaintManager() const { return m_paintManager; }
    int Rows() const { return 2; }
    int Cols() const { return 2; }

    Q_INVOKABLE void Refresh() { log.append(QStringLiteral("Refresh()")); }
    Q_INVOKABLE void ApplyBackGroundColor() { log.append(QStringLiteral("ApplyBackGroundColor()")); }
    Q_INVOKABLE void setCellForeColor(int row, int col, quint32 color)
    {
        log.append(QStringLiteral("CellForeColor(%1,%2)=%3").arg(row).arg(col).arg(color));
    }
    Q_INVOKABLE void setCellBackColor(int row, int col, quint32 color)
    {
        log.append(QStringLiteral("CellBackColor(%1,%2)=%3").arg(row).arg(col).arg(color));
    }

    // What the engine did to this control, without the window-wide refresh at the end.
    QStringList sets() const
    {
        QStringList out = log;
        out.removeAll(QStringLiteral("Refresh()"));
        return out;
    }

    QStringList log;

private:
    RecordingPart *m_gradient;
    RecordingPart *m_format;
    RecordingPart *m_colorSet;
    RecordingPart *m_paintManager;
};

}
