#pragma once

// The control suite's tab control over a QTabWidget: tab items with a caption and a design-time
// Tag, each showing one page (a SuiteTabControlPage that holds the page's controls).

#include "runtime/Control.h"
#include "runtime/OleColor.h"

#include <QTabWidget>

class SuiteTabControl;

// A page of the tab control: a plain container for the controls of one tab, on its back colour.
class SuiteTabControlPage : public runtime::Control
{
    Q_OBJECT
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)

public:
    SuiteTabControlPage(QWidget *container, const QString &name, int index = -1);

    runtime::OleColor BackColor() const { return m_backColor; }
    void setBackColor(runtime::OleColor color);

private:
    runtime::OleColor m_backColor = 0x8000000Fu;
};

// The colours the tab control draws with: tabs normal, selected and highlighted (under the
// mouse) with their texts, the strip behind the tabs (header faces), the pane, the frame.
// Reached by name as PaintManager.ColorSet.<member>; a set repaints the control.
class SuiteTabColorSet : public QObject
{
    Q_OBJECT
    Q_PROPERTY(quint32 ButtonNormal MEMBER ButtonNormal NOTIFY Changed)
    Q_PROPERTY(quint32 ButtonSelected MEMBER ButtonSelected NOTIFY Changed)
    Q_PROPERTY(quint32 ButtonHighlighted MEMBER ButtonHighlighted NOTIFY Changed)
    Q_PROPERTY(quint32 NormalText MEMBER NormalText NOTIFY Changed)
    Q_PROPERTY(quint32 SelectedText MEMBER SelectedText NOTIFY Changed)
    Q_PROPERTY(quint32 HighlightText MEMBER HighlightText NOTIFY Changed)
    Q_PROPERTY(quint32 HeaderFaceLight MEMBER HeaderFaceLight NOTIFY Changed)
    Q_PROPERTY(quint32 HeaderFaceDark MEMBER HeaderFaceDark NOTIFY Changed)
    Q_PROPERTY(quint32 PaneFace MEMBER PaneFace NOTIFY Changed)
    Q_PROPERTY(quint32 ControlFace MEMBER ControlFace NOTIFY Changed)
    Q_PROPERTY(quint32 FrameBorder MEMBER FrameBorder NOTIFY Changed)
    Q_PROPERTY(quint32 BorderHighlight MEMBER BorderHighlight NOTIFY Changed)

public:
    using QObject::QObject;

    runtime::OleColor ButtonNormal = 0x8000000Fu;
    runtime::OleColor ButtonSelected = 0x80000014u;
    runtime::OleColor ButtonHighlighted = 0x80000016u;
    runtime::OleColor NormalText = 0x80000012u;
    runtime::OleColor SelectedText = 0x80000012u;
    runtime::OleColor HighlightText = 0x80000012u;
    runtime::OleColor HeaderFaceLight = 0x8000000Fu;
    runtime::OleColor HeaderFaceDark = 0x8000000Fu;
    runtime::OleColor PaneFace = 0x8000000Fu;
    runtime::OleColor ControlFace = 0x8000000Fu;
    runtime::OleColor FrameBorder = 0x80000010u;
    runtime::OleColor BorderHighlight = 0x80000014u;

signals:
    void Changed();
};

// What PaintManager is to callers by name: the holder of the colour set.
class SuiteTabPaintManagerObject : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject *ColorSet READ ColorSet CONSTANT)

public:
    SuiteTabPaintManagerObject(QObject *parent, SuiteTabColorSet *colorSet) : QObject(parent), m_colorSet(colorSet) {}
    QObject *ColorSet() const { return m_colorSet; }

private:
    SuiteTabColorSet *m_colorSet;
};

class SuiteTabControlItem
{
public:
    SuiteTabControlItem(SuiteTabControl *control, int index) : m_control(control), m_index(index) {}
    int Index() const { return m_index; } // 0-based
    QString Caption() const;
    void setCaption(const QString &caption);
    QString Tag() const;
    void setTag(const QString &tag);
    bool Selected() const;
    void setSelected(bool selected);
    SuiteTabControlPage *Page() const;

private:
    SuiteTabControl *m_control;
    int m_index;
};

// What the windows set on the tab control's drawing: a Boolean option (ClearType text), the
// font size and the size of the tab icons.
class SuiteTabPaintManager
{
public:
    explicit SuiteTabPaintManager(SuiteTabControl *control) : m_control(control) {}
    bool ClearTypeText() const;
    void setClearTypeText(bool on);
    double FontSize() const;
    void setFontSize(double points);
    void SetIconSize(int width, int height);
    SuiteTabColorSet *ColorSet() const;

private:
    SuiteTabControl *m_control;
};

class SuiteTabControl : public runtime::Control
{
    Q_OBJECT
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(QObject *PaintManager READ paintManagerObject CONSTANT)

public:
    SuiteTabControl(QWidget *container, const QString &name, int index = -1);

    int ItemCount() const { return m_tabs->count(); }
    // Appends a tab showing the page (the tab control takes it over); returns the new item.
    SuiteTabControlItem InsertItem(const QString &caption, SuiteTabControlPage *page, const QString &tag = {});
    // The item at a 0-based position; nullopt past the end.
    std::optional<SuiteTabControlItem> Item(int index);
    std::optional<SuiteTabControlItem> SelectedItem();
    SuiteTabPaintManager PaintManager() { return SuiteTabPaintManager(this); }

    QTabWidget *tabs() const { return m_tabs; }

    // The colour behind the tab strip.
    runtime::OleColor BackColor() const { return m_backColor; }
    void setBackColor(runtime::OleColor color);
    QObject *paintManagerObject() const { return m_paintManager; }

signals:
    void SelectedChanged(int index);

private:
    friend class SuiteTabControlItem;
    friend class SuiteTabPaintManager;

    void sizeChanged() override;
    // Colour sets come in groups during a recolouring: the look is rebuilt once they are done.
    void scheduleColors();
    void applyColors();

    QTabWidget *m_tabs;
    QStringList m_tags;
    bool m_clearType = false;
    runtime::OleColor m_backColor = 0x8000000Fu;
    SuiteTabColorSet *m_colorSet;
    SuiteTabPaintManagerObject *m_paintManager;
    bool m_colorsPending = false;
};
