#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <initializer_list>

namespace runtime {

// Stored design data of one user control: values by key, in the order written. Keys compare
// without regard to letter case, as the design's stored data does.
//
// A host fills a bag from its design (PropertyBag{{"Caption", "Devices"}, {"BackColor", 0xF7B8F8u}})
// and hands it to UserControl::ReadProperties; a control's own save routine writes into a fresh bag.
class PropertyBag {
public:
    PropertyBag() = default;
    PropertyBag(std::initializer_list<QPair<QString, QVariant>> values);

    // The stored value, or defaultValue when the key is missing.
    QVariant ReadProperty(const QString &name, const QVariant &defaultValue = {}) const;

    // Reads a key into a field: the stored value converted to T, or defaultValue when the key is
    // missing. A stored value that cannot be converted leaves the field as it was and answers
    // false (the design skips a failing read and goes on).
    template <class T>
    bool ReadInto(const QString &name, T &field, const T &defaultValue) const
    {
        const int i = indexOf(name);
        if (i < 0) {
            field = defaultValue;
            return true;
        }
        QVariant value = m_values.at(i).second;
        if (!convertTo(value, QMetaType::fromType<T>()))
            return false;
        field = value.value<T>();
        return true;
    }

    // Stores value under name unless it equals defaultValue; an equal value removes the key.
    void WriteProperty(const QString &name, const QVariant &value, const QVariant &defaultValue = {});

    bool Contains(const QString &name) const { return indexOf(name) >= 0; }
    // The keys in the order they were first written.
    QStringList Keys() const;
    int Count() const { return int(m_values.size()); }

private:
    int indexOf(const QString &name) const;
    static bool convertTo(QVariant &value, QMetaType type);

    QList<QPair<QString, QVariant>> m_values;
};

} // namespace runtime
