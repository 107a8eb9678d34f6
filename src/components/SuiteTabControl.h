#pragma once

// The control suite's tab control over a QTabWidget: tab items with a caption and a design-time
// Tag, each showing one page (a SuiteTabControlPage that holds the page's controls).

#include "runtime/Control.h"

#include <QTabWidget>

class SuiteTabControl;

// A page of the tab control: a plain container for the controls of one tab.
class SuiteTabControlPage : public runtime::Control
{
    Q_OBJECT

public:
    SuiteTabControlPage(QWidget *container, const QString &name, int index = -1);
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

private:
    SuiteTabControl *m_control;
};

class SuiteTabControl : public runtime::Control
{
    Q_OBJECT

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

signals:
    void SelectedChanged(int index);

private:
    friend class SuiteTabControlItem;
    friend class SuiteTabPaintManager;

    QTabWidget *m_tabs;
    QStringList m_tags;
    bool m_clearType = false;
};
