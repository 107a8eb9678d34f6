#pragma once

#include "gdi/Icon.h"

#include <QIcon>
#include <QObject>

#include <unordered_map>

class SuiteIconLibrary;

// The control suite's icon collection: icons under whole-number keys, which list rows name as
// their icon. A key added twice holds the later icon. Views that show its icons repaint when it
// changes.
class SuiteImageManagerIcons : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    int Count() const { return int(m_icons.size()); }
    bool Contains(int key) const { return m_icons.count(key) > 0; }
    // Operation 5: the collection holds no icon afterwards.
    void RemoveAll();
    // Operation 2: a copy of the icon under the key; the caller keeps its own icon. A null icon
    // adds nothing.
    void AddIcon(const gdi::Icon &icon, int key, int type = 0);
    // Operation 16: the icon with that resource number of a loaded library under the key; the
    // caller may unload the library afterwards. Nothing is added when the library has no such icon.
    void LoadIconFromModule(const SuiteIconLibrary &module, int resource, int key, int type = 0);
    // The icon under the key, or a null icon.
    QIcon icon(int key) const;

signals:
    void changed();

private:
    std::unordered_map<int, QIcon> m_icons;
};
