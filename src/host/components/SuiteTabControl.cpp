#include "components/SuiteTabControl.h"

#include <QLinearGradient>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QColor qcolor(runtime::OleColor color) { return runtime::toQColor(runtime::TranslateOrBlack(color)); }

void fillBackground(QWidget *widget, runtime::OleColor color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, qcolor(color));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}

SuiteTabControlPage::SuiteTabControlPage(QWidget *container, const QString &name, int index)
    : runtime::Control(container, name, index)
{
}

void SuiteTabControlPage::setBackColor(runtime::OleColor color)
{
    m_backColor = color;
    fillBackground(this, color);
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

SuiteTabColorSet *SuiteTabPaintManager::ColorSet() const
{
    return m_control->m_colorSet;
}

SuiteTabControl::SuiteTabControl(QWidget *container, const QString &name, int index)
    : runtime::Control(container, name, index), m_tabs(new QTabWidget(this)),
      m_colorSet(new SuiteTabColorSet(this)), m_paintManager(new SuiteTabPaintManagerObject(this, m_colorSet))
{
    connect(m_colorSet, &SuiteTabColorSet::Changed, this, &SuiteTabControl::scheduleColors);
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

void SuiteTabControl::setBackColor(runtime::OleColor color)
{
    m_backColor = color;
    fillBackground(this, color);
}

void SuiteTabControl::sizeChanged()
{
    // The header faces' gradient follows the tab strip's share of the height.
    scheduleColors();
}

void SuiteTabControl::scheduleColors()
{
    if (m_colorsPending)
        return;
    m_colorsPending = true;
    QTimer::singleShot(0, this, &SuiteTabControl::applyColors);
}

void SuiteTabControl::applyColors()
{
    m_colorsPending = false;
    const SuiteTabColorSet &c = *m_colorSet;
    auto name = [](runtime::OleColor color) { return qcolor(color).name(); };
    // The strip behind the tabs runs from the light to the dark header face; below it the
    // control's face shows around the pane.
    const double strip = m_tabs->height() > 0 ? std::clamp(double(m_tabs->tabBar()->sizeHint().height()) / m_tabs->height(), 0.0, 1.0) : 0.0;
    QLinearGradient face(0, 0, 0, std::max(1, m_tabs->height()));
    face.setColorAt(0, qcolor(c.HeaderFaceLight));
    face.setColorAt(strip, qcolor(c.HeaderFaceDark));
    face.setColorAt(std::min(1.0, strip + 0.0001), qcolor(c.ControlFace));
    face.setColorAt(1, qcolor(c.ControlFace));
    QPalette palette = m_tabs->palette();
    palette.setBrush(QPalette::Window, face);
    m_tabs->setPalette(palette);
    m_tabs->setAutoFillBackground(true);
    if (auto *pane = m_tabs->findChild<QStackedWidget *>()) {
        fillBackground(pane, c.PaneFace);
        // The pane stands inside a frame of the control's face.
        pane->setContentsMargins(2, 2, 2, 2);
    }
    m_tabs->tabBar()->setStyleSheet(
        QStringLiteral("QTabBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2); }"
                       "QTabBar::tab { background: %3; color: %4; border: 1px solid %5; padding: 3px 10px; }"
                       "QTabBar::tab:selected { background: %6; color: %7; border-top: 2px solid %8; }"
                       "QTabBar::tab:hover:!selected { background: %9; color: %10; }")
            .arg(name(c.HeaderFaceLight), name(c.HeaderFaceDark), name(c.ButtonNormal), name(c.NormalText),
                 name(c.FrameBorder), name(c.ButtonSelected), name(c.SelectedText), name(c.BorderHighlight),
                 name(c.ButtonHighlighted), name(c.HighlightText)));
}
