#pragma once

// The control suite's list control in report view, over a QTreeWidget: rows with an icon key
// and sub-items, column headers, optional unique row keys, sorting by the texts of a column, row
// and sub-item colours, column auto-fit, and the events the windows handle. Positions are
// 1-based as the callers count; a position past the end gives a null result or changes nothing.

#include "components/SuiteIcons.h"
#include "runtime/Control.h"
#include "runtime/OleColor.h"

#include <QPointer>
#include <QString>
#include <QTreeWidget>

#include <memory>
#include <optional>
#include <unordered_map>

class SuiteListView;
class SuiteListItem;

// One cell of a row after the first: read and written through its row.
class SuiteListSubItem
{
public:
    SuiteListSubItem(SuiteListItem *item, int index) : m_item(item), m_index(index) {}
    QString Text() const;
    void setText(const QString &text);
    std::optional<runtime::OleColor> ForeColor() const;
    void setForeColor(runtime::OleColor color);
    int Index() const { return m_index; }

private:
    SuiteListItem *m_item;
    int m_index;
};

class SuiteListItem : public QTreeWidgetItem
{
public:
    SuiteListItem(SuiteListView *list, const QString &key, const QString &text, int iconKey);

    QString Key() const { return m_key; }
    QString Text() const { return text(0); }
    void setText(const QString &text) { QTreeWidgetItem::setText(0, text); }
    int Index() const; // 1-based position
    int IconKey() const { return m_iconKey; }
    bool Selected() const { return isSelected(); }
    void setSelected(bool selected);
    void EnsureVisible();

    // Sub-item i (1-based: 1 is the second column).
    QString SubItems(int index) const;
    void setSubItems(int index, const QString &text);
    SuiteListSubItem ListSubItems(int index) { return SuiteListSubItem(this, index); }

    // The row's text colour; sub-items without a colour of their own take it too.
    std::optional<runtime::OleColor> ForeColor() const { return m_foreColor; }
    void setForeColor(runtime::OleColor color);

    QVariant data(int column, int role) const override;
    bool operator<(const QTreeWidgetItem &other) const override;

private:
    friend class SuiteListSubItem;
    SuiteListView *list() const;

    QString m_key;
    int m_iconKey;
    std::optional<runtime::OleColor> m_foreColor;
    std::unordered_map<int, runtime::OleColor> m_subItemColors;
};

class SuiteListItems
{
public:
    explicit SuiteListItems(SuiteListView *list) : m_list(list) {}

    int Count() const;
    void Clear();
    bool Remove(int index);
    // Appends a row (or inserts it in sort order while sorting is on). Null when the key is not
    // empty and already names a row.
    SuiteListItem *Add(const QString &key, const QString &text, int iconKey = 0);
    SuiteListItem *Item(int index) const;
    SuiteListItem *Item(const QString &key) const;

private:
    SuiteListView *m_list;
};

class SuiteColumnHeader
{
public:
    SuiteColumnHeader() = default; // no column (what an event argument is before it is set)
    SuiteColumnHeader(SuiteListView *list, int index) : m_list(list), m_index(index) {}
    int Index() const { return m_index; } // 1-based
    QString Key() const;
    QString Text() const;
    void setText(const QString &text);
    double Width() const; // twips
    void setWidth(double twips);

private:
    QPointer<SuiteListView> m_list;
    int m_index = 0;
};

class SuiteColumnHeaders
{
public:
    explicit SuiteColumnHeaders(SuiteListView *list) : m_list(list) {}
    int Count() const;
    // Appends a column; returns its header.
    SuiteColumnHeader Add(const QString &key, const QString &text, double widthTwips);
    std::optional<SuiteColumnHeader> Item(int index) const;

private:
    SuiteListView *m_list;
};

class SuiteListView : public runtime::Control
{
    Q_OBJECT
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(bool SortActive READ SortActive WRITE setSortActive)
    Q_PROPERTY(int SortColumn READ SortColumn WRITE setSortColumn)
    Q_PROPERTY(int SortDirection READ SortDirection WRITE setSortDirection)
    Q_PROPERTY(int IconSize READ IconSize WRITE setIconSize)

public:
    SuiteListView(QWidget *container, const QString &name, int index = -1);
    ~SuiteListView() override;

    SuiteListItems ListItems() { return SuiteListItems(this); }
    SuiteColumnHeaders ColumnHeaders() { return SuiteColumnHeaders(this); }
    SuiteListItem *SelectedItem() const;

    bool SortActive() const { return m_sortActive; }
    void setSortActive(bool active);
    int SortColumn() const { return m_sortColumn; }
    void setSortColumn(int column);
    int SortDirection() const { return m_sortDirection; }
    void setSortDirection(int direction);

    SuiteImageManagerIcons *Icons() const { return m_icons; }
    void setIcons(SuiteImageManagerIcons *icons);
    int IconSize() const { return m_iconSize; }
    void setIconSize(int pixels);

    runtime::OleColor BackColor() const { return m_backColor; }
    void setBackColor(runtime::OleColor color);
    runtime::OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(runtime::OleColor color);

    // The list's own fit of a column (0-based) to the wider of its cells and its header text,
    // what LVM_SETCOLUMNWIDTH with LVSCW_AUTOSIZE_USEHEADER does.
    void AutoFitColumn(int column);
    Q_INVOKABLE void Refresh();

    QTreeWidget *view() const { return m_view; }

signals:
    void ColumnClick(SuiteColumnHeader column);
    void DblClick();
    void KeyDown(int KeyCode, int Shift);
    void MouseUp(int Button, int Shift, float X, float Y);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class SuiteListItem;
    friend class SuiteListItems;
    friend class SuiteColumnHeader;
    friend class SuiteColumnHeaders;

    void applySort();
    // The widest size hint of a column's shown cells; -1 when it has none.
    int widestCell(int column) const;
    int insertPosition(const SuiteListItem &item) const;
    void forget(QTreeWidgetItem *item);

    QTreeWidget *m_view;
    QStringList m_columnKeys;
    std::unordered_map<QString, SuiteListItem *> m_keys; // non-empty keys, lower-cased
    QPointer<SuiteImageManagerIcons> m_icons;
    QMetaObject::Connection m_iconsChanged;
    bool m_sortActive = false;
    int m_sortColumn = 0;
    int m_sortDirection = 0;
    int m_iconSize = 16;
    runtime::OleColor m_backColor = runtime::vbWindowBackground;
    runtime::OleColor m_foreColor = runtime::vbWindowText;
};
