#include "components/SuiteTabControl.h"

#include <QTabBar>
#include <QVBoxLayout>

SuiteTabControlPage::SuiteTabControlPage(QWidget *container, const QString &name, int index)
    : runtime::Control(container, name, index)
{
}

QString SuiteTabControlItem::Caption() const
{
    return m_control->m_tabs->tabText(m_index);
}

void SuiteTabControlItem::setCaption(const QString &caption)
{
    m_control->m_tabs->setTabText(m_index, caption);
}

QString SuiteTabControlItem::Tag() const
{
    return m_control->m_tags.value(m_index);
}

void SuiteTabControlItem::setTag(const QString &tag)
{
    if (m_index >= 0 && m_index < m_control->m_tags.size())
        m_control->m_tags[m_index] = tag;
}

bool SuiteTabControlItem::Selected() const
{
    return m_control->m_tabs->currentIndex() == m_index;
}

void SuiteTabControlItem::setSelected(bool selected)
{
    if (selected)
        m_control->m_tabs->setCurrentIndex(m_index);
}

SuiteTabControlPage *SuiteTabControlItem::Page() const
{
    return qobject_cast<SuiteTabControlPage *>(m_control->m_tabs->widget(m_index));
}

bool SuiteTabPaintManager::ClearTypeText() const
{
    return m_control->m_clearType;
}

void SuiteTabPaintManager::setClearTypeText(bool on)
{
    m_control->m_clearType = on;
    QFont font = m_control->m_tabs->tabBar()->font();
    font.setStyleStrategy(on ? QFont::PreferAntialias : QFont::PreferDefault);
    m_control->m_tabs->tabBar()->setFont(font);
}

double SuiteTabPaintManager::FontSize() const
{
    return m_control->m_tabs->tabBar()->font().pointSizeF();
}

void SuiteTabPaintManager::setFontSize(double points)
{
    if (points <= 0)
        return;
    QFont font = m_control->m_tabs->tabBar()->font();
    font.setPointSizeF(points);
    m_control->m_tabs->tabBar()->setFont(font);
}

void SuiteTabPaintManager::SetIconSize(int width, int height)
{
    m_control->m_tabs->setIconSize(QSize(std::max(0, width), std::max(0, height)));
}

SuiteTabControl::SuiteTabControl(QWidget *container, const QString &name, int index)
    : runtime::Control(container, name, index), m_tabs(new QTabWidget(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    connect(m_tabs, &QTabWidget::currentChanged, this, &SuiteTabControl::SelectedChanged);
}

SuiteTabControlItem SuiteTabControl::InsertItem(const QString &caption, SuiteTabControlPage *page, const QString &tag)
{
    const int index = m_tabs->addTab(page, caption);
    m_tags.insert(index, tag);
    return SuiteTabControlItem(this, index);
}

std::optional<SuiteTabControlItem> SuiteTabControl::Item(int index)
{
    if (index < 0 || index >= m_tabs->count())
        return std::nullopt;
    return SuiteTabControlItem(this, index);
}

std::optional<SuiteTabControlItem> SuiteTabControl::SelectedItem()
{
    return Item(m_tabs->currentIndex());
}
