#include "components/SuiteIcons.h"

#include "components/SuiteIconLibrary.h"

#include <QPixmap>

void SuiteImageManagerIcons::RemoveAll()
{
    if (m_icons.empty())
        return;
    m_icons.clear();
    emit changed();
}

void SuiteImageManagerIcons::AddIcon(const gdi::Icon &icon, int key, int)
{
    if (icon.isNull())
        return;
    QIcon copy;
    // The small and the large size; a view scales from the nearer one.
    for (const int side : {16, 32})
        copy.addPixmap(QPixmap::fromImage(icon.image(QSize(side, side))));
    m_icons[key] = copy;
    emit changed();
}

QIcon SuiteImageManagerIcons::icon(int key) const
{
    const auto it = m_icons.find(key);
    return it == m_icons.end() ? QIcon() : it->second;
}

void SuiteImageManagerIcons::LoadIconFromModule(const SuiteIconLibrary &module, int resource, int key, int type)
{
    AddIcon(module.IconByResource(resource), key, type);
}
