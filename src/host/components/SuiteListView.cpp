#include "components/SuiteListView.h"

#include "components/SuiteListItemDelegate.h"
#include "runtime/Screen.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSet>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QColor colorOf(runtime::OleColor color)
{
    return runtime::toQColor(runtime::TranslateOrBlack(color));
}

} // namespace

// ---- sub-items

QString SuiteListSubItem::Text() const
{
    return m_item ? m_item->SubItems(m_index) : QString();
}

void SuiteListSubItem::setText(const QString &text)
{
    if (m_item)
        m_item->setSubItems(m_index, text);
}

std::optional<runtime::OleColor> SuiteListSubItem::ForeColor() const
{
    if (!m_item)
        return std::nullopt;
    const auto it = m_item->m_subItemColors.find(m_index);
    if (it == m_item->m_subItemColors.end())
        return std::nullopt;
    return it->second;
}

void SuiteListSubItem::setForeColor(runtime::OleColor color)
{
    if (!m_item || m_index < 1)
        return;
    m_item->m_subItemColors[m_index] = color;
    m_item->emitDataChanged();
}

// ---- rows

SuiteListItem::SuiteListItem(SuiteListView *, const QString &key, const QString &text, int iconKey)
    : QTreeWidgetItem(QStringList{text}, QTreeWidgetItem::UserType), m_key(key), m_iconKey(iconKey)
{
}

SuiteListView *SuiteListItem::list() const
{
    QTreeWidget *tree = treeWidget();
    return tree ? qobject_cast<SuiteListView *>(tree->parentWidget()) : nullptr;
}

int SuiteListItem::Index() const
{
    QTreeWidget *tree = treeWidget();
    return tree ? tree->indexOfTopLevelItem(const_cast<SuiteListItem *>(this)) + 1 : 0;
}

void SuiteListItem::setSelected(bool selected)
{
    if (QTreeWidget *tree = treeWidget(); tree && selected)
        tree->setCurrentItem(this);
    QTreeWidgetItem::setSelected(selected);
}

void SuiteListItem::EnsureVisible()
{
    if (QTreeWidget *tree = treeWidget())
        tree->scrollToItem(this);
}

QString SuiteListItem::SubItems(int index) const
{
    return index >= 1 ? text(index) : QString();
}

void SuiteListItem::setSubItems(int index, const QString &text)
{
    if (index >= 1)
        QTreeWidgetItem::setText(index, text);
}

void SuiteListItem::setForeColor(runtime::OleColor color)
{
    m_foreColor = color;
    emitDataChanged();
}

QVariant SuiteListItem::data(int column, int role) const
{
    if (role == Qt::DecorationRole && column == 0) {
        const SuiteListView *owner = list();
        if (owner && owner->Icons() && m_iconKey != 0)
            return owner->Icons()->icon(m_iconKey);
        return {};
    }
    if (role == Qt::ForegroundRole) {
        if (column >= 1) {
            const auto it = m_subItemColors.find(column);
            if (it != m_subItemColors.end())
                return QBrush(colorOf(it->second));
        }
        if (m_foreColor)
            return QBrush(colorOf(*m_foreColor));
        return {};
    }
    return QTreeWidgetItem::data(column, role);
}

bool SuiteListItem::operator<(const QTreeWidgetItem &other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    return text(column).compare(other.text(column), Qt::CaseInsensitive) < 0;
}

// ---- row collection

int SuiteListItems::Count() const
{
    return m_list->m_view->topLevelItemCount();
}

void SuiteListItems::Clear()
{
    m_list->m_keys.clear();
    m_list->m_view->clear();
}

bool SuiteListItems::Remove(int index)
{
    if (index < 1 || index > Count())
        return false;
    QTreeWidgetItem *item = m_list->m_view->takeTopLevelItem(index - 1);
    m_list->forget(item);
    delete item;
    // The row that takes the removed one's place becomes the selected one, as the list does
    // after a deletion; none when the list is empty.
    const int count = Count();
    if (count > 0) {
        QTreeWidgetItem *next = m_list->m_view->topLevelItem(std::min(index, count) - 1);
        m_list->m_view->setCurrentItem(next);
        next->setSelected(true);
    }
    return true;
}

SuiteListItem *SuiteListItems::Add(const QString &key, const QString &text, int iconKey)
{
    const QString lookup = key.toLower();
    if (!key.isEmpty() && m_list->m_keys.count(lookup))
        return nullptr;
    auto *item = new SuiteListItem(m_list, key, text, iconKey);
    if (m_list->m_sortActive)
        m_list->m_view->insertTopLevelItem(m_list->insertPosition(*item), item);
    else
        m_list->m_view->addTopLevelItem(item);
    if (!key.isEmpty())
        m_list->m_keys.emplace(lookup, item);
    return item;
}

SuiteListItem *SuiteListItems::Item(int index) const
{
    if (index < 1 || index > Count())
        return nullptr;
    return static_cast<SuiteListItem *>(m_list->m_view->topLevelItem(index - 1));
}

SuiteListItem *SuiteListItems::Item(const QString &key) const
{
    const auto it = m_list->m_keys.find(key.toLower());
    return it == m_list->m_keys.end() ? nullptr : it->second;
}

// ---- columns

QString SuiteColumnHeader::Key() const
{
    return m_list ? m_list->m_columnKeys.value(m_index - 1) : QString();
}

QString SuiteColumnHeader::Text() const
{
    return m_list ? m_list->m_view->headerItem()->text(m_index - 1) : QString();
}

void SuiteColumnHeader::setText(const QString &text)
{
    if (m_list)
        m_list->m_view->headerItem()->setText(m_index - 1, text);
}

double SuiteColumnHeader::Width() const
{
    return m_list ? runtime::ToTwips(m_list->m_view->columnWidth(m_index - 1), runtime::Axis::Horizontal) : 0.0;
}

void SuiteColumnHeader::setWidth(double twips)
{
    if (!m_list)
        return;
    // Up to the next whole pixel, so that a width set as a minimum is not undercut.
    const int pixels = std::max(0, runtime::ToPixels(twips, runtime::Axis::Horizontal, runtime::Rounding::Up));
    m_list->m_view->setColumnWidth(m_index - 1, pixels);
}

int SuiteColumnHeaders::Count() const
{
    return int(m_list->m_columnKeys.size());
}

SuiteColumnHeader SuiteColumnHeaders::Add(const QString &key, const QString &text, double widthTwips)
{
    m_list->m_columnKeys.append(key);
    const int count = Count();
    m_list->m_view->setColumnCount(count);
    m_list->m_view->headerItem()->setText(count - 1, text);
    SuiteColumnHeader header(m_list, count);
    header.setWidth(widthTwips);
    return header;
}

std::optional<SuiteColumnHeader> SuiteColumnHeaders::Item(int index) const
{
    if (index < 1 || index > Count())
        return std::nullopt;
    return SuiteColumnHeader(m_list, index);
}

// ---- the list

SuiteListView::SuiteListView(QWidget *container, const QString &name, int index)
    : runtime::Control(container, name, index), m_view(new QTreeWidget(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setColumnCount(0);
    m_view->setRootIsDecorated(false);
    m_view->setUniformRowHeights(true);
    m_view->setAllColumnsShowFocus(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSortingEnabled(false);
    m_view->header()->setStretchLastSection(false);
    m_view->header()->setSectionsClickable(true);
    // Column fits measure every row, as the platform's list does (Qt's default stops at 1000).
    m_view->header()->setResizeContentsPrecision(-1);
    m_view->setIconSize(QSize(m_iconSize, m_iconSize));
    m_view->setItemDelegate(new SuiteListItemDelegate(m_view));
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
    connect(m_view->header(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit ColumnClick(SuiteColumnHeader(this, section + 1)); });
}

SuiteListView::~SuiteListView() = default;

SuiteListItem *SuiteListView::SelectedItem() const
{
    const QList<QTreeWidgetItem *> selected = m_view->selectedItems();
    if (!selected.isEmpty())
        return static_cast<SuiteListItem *>(selected.front());
    return nullptr;
}

void SuiteListView::setSortActive(bool active)
{
    m_sortActive = active;
    if (active)
        applySort();
}

void SuiteListView::setSortColumn(int column)
{
    m_sortColumn = std::max(0, column);
}

void SuiteListView::setSortDirection(int direction)
{
    m_sortDirection = direction == 1 ? 1 : 0;
}

void SuiteListView::applySort()
{
    const Qt::SortOrder order = m_sortDirection == 1 ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_view->sortItems(m_sortColumn, order);
    m_view->header()->setSortIndicatorShown(true);
    m_view->header()->setSortIndicator(m_sortColumn, order);
}

int SuiteListView::insertPosition(const SuiteListItem &item) const
{
    // After the rows that sort before or equal to it, so equal rows keep their adding order.
    const QString text = item.text(m_sortColumn);
    int low = 0;
    int high = m_view->topLevelItemCount();
    while (low < high) {
        const int middle = (low + high) / 2;
        const int order = m_view->topLevelItem(middle)->text(m_sortColumn).compare(text, Qt::CaseInsensitive);
        const bool before = m_sortDirection == 1 ? order >= 0 : order <= 0;
        if (before)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void SuiteListView::forget(QTreeWidgetItem *item)
{
    auto *row = static_cast<SuiteListItem *>(item);
    if (row && !row->Key().isEmpty())
        m_keys.erase(row->Key().toLower());
}

void SuiteListView::setIcons(SuiteImageManagerIcons *icons)
{
    if (m_icons == icons)
        return;
    disconnect(m_iconsChanged);
    m_icons = icons;
    if (icons)
        m_iconsChanged = connect(icons, &SuiteImageManagerIcons::changed, m_view->viewport(),
                                 qOverload<>(&QWidget::update));
    m_view->viewport()->update();
}

void SuiteListView::setIconSize(int pixels)
{
    m_iconSize = std::max(0, pixels);
    m_view->setIconSize(QSize(m_iconSize, m_iconSize));
}

void SuiteListView::setBackColor(runtime::OleColor color)
{
    m_backColor = color;
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Base, colorOf(color));
    m_view->setPalette(palette);
}

void SuiteListView::setForeColor(runtime::OleColor color)
{
    m_foreColor = color;
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Text, colorOf(color));
    m_view->setPalette(palette);
}

void SuiteListView::AutoFitColumn(int column)
{
    if (column < 0 || column >= m_view->columnCount())
        return;
    // The header's own text and sort arrow count even while the header is hidden.
    m_view->setColumnWidth(column, std::max(widestCell(column), m_view->header()->sectionSizeHint(column)));
}

namespace {

// Text the item view lays out as one line whose natural width is the text's advance: no line
// breaks or tabs, which the layout treats apart, and no trailing white space, which the line's
// natural width leaves out.
bool laysOutAsItsAdvance(const QString &text)
{
    for (const QChar ch : text) {
        if (ch.category() == QChar::Other_Control || ch.category() == QChar::Separator_Line
            || ch.category() == QChar::Separator_Paragraph)
            return false;
    }
    return text.isEmpty() || !text.back().isSpace();
}

template<typename Key>
bool insertNew(QSet<Key> &set, const Key &key)
{
    const qsizetype before = set.size();
    set.insert(key);
    return set.size() != before;
}

} // namespace

int SuiteListView::widestCell(int column) const
{
    // The view's own fit asks every shown cell for its size hint, which shapes and lays out its
    // text. A hint is the laid-out text's width and what the cell adds around it (margins, its
    // icon); for the cells of one icon, in the view's font, whose text lays out as its advance,
    // that is the same for the same advance: one cell of each such advance is asked (a scan's
    // lists repeat makers, classes and states, and names of one pattern measure alike). Widest
    // text first, only the cells that could still be wider than the widest hint so far are
    // asked. Cells of a look of their own (a font, a check box, a set size, an icon past the
    // first column) or of text laid out otherwise are asked each.
    m_view->ensurePolished();
    struct Look {
        qreal advance = 0;
        QTreeWidgetItem *item = nullptr;
        int iconKey = 0;
        bool alike = false; // of the view's look, its text laid out as its advance
    };
    const QFontMetricsF metrics(m_view->font());
    QSet<std::pair<int, QString>> seen;
    std::vector<Look> looks;
    for (int row = 0; row < m_view->topLevelItemCount(); ++row) {
        auto *item = static_cast<SuiteListItem *>(m_view->topLevelItem(row));
        if (item->isHidden())
            continue;
        const QString text = item->text(column);
        const int iconKey = column == 0 ? item->IconKey() : 0;
        if (!insertNew(seen, std::pair<int, QString>{iconKey, text}))
            continue;
        const bool ownLook = item->data(column, Qt::FontRole).isValid() || item->data(column, Qt::CheckStateRole).isValid()
                             || item->data(column, Qt::SizeHintRole).isValid()
                             || (column != 0 && item->data(column, Qt::DecorationRole).isValid());
        looks.push_back({metrics.horizontalAdvance(text), item, iconKey, !ownLook && laysOutAsItsAdvance(text)});
    }
    std::stable_sort(looks.begin(), looks.end(), [](const Look &a, const Look &b) { return a.advance > b.advance; });
    // Laid-out widths are rounded up to whole pixels.
    constexpr qreal kRoundingPx = 1;
    std::unordered_map<int, qreal> around; // by icon: a hint's width less its text's advance
    QSet<std::pair<int, qreal>> asked;     // by icon, the advances of alike cells asked
    int hint = -1;
    for (const Look &look : looks) {
        if (look.alike) {
            const auto added = around.find(look.iconKey);
            if (added != around.end() && look.advance + added->second + kRoundingPx < hint)
                continue;
            if (!insertNew(asked, std::pair<int, qreal>{look.iconKey, look.advance}))
                continue;
        }
        const int width = m_view->sizeHintForIndex(m_view->indexFromItem(look.item, column)).width();
        if (look.alike)
            around.emplace(look.iconKey, width - look.advance);
        hint = std::max(hint, width);
    }
    return hint;
}

void SuiteListView::Refresh()
{
    m_view->viewport()->update();
    m_view->header()->viewport()->update();
}

bool SuiteListView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        emit KeyDown(runtime::KeyCodeOf(key), runtime::ShiftOf(key->modifiers()));
    } else if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // Anywhere in the rows' area, on a row or not: the windows test the selection themselves.
        emit DblClick();
    } else if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPointF at = mouse->position();
        emit MouseUp(runtime::MouseButtonOf(mouse->button()), runtime::ShiftOf(mouse->modifiers()),
                     float(at.x() * unitsPerPixelX()), float(at.y() * unitsPerPixelY()));
    }
    return runtime::Control::eventFilter(watched, event);
}
