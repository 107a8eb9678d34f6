#include "runtime/PropertyBag.h"

namespace runtime {

PropertyBag::PropertyBag(std::initializer_list<QPair<QString, QVariant>> values)
{
    for (const auto &value : values)
        WriteProperty(value.first, value.second);
}

int PropertyBag::indexOf(const QString &name) const
{
    for (int i = 0; i < m_values.size(); ++i) {
        if (m_values.at(i).first.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant PropertyBag::ReadProperty(const QString &name, const QVariant &defaultValue) const
{
    const int i = indexOf(name);
    return i < 0 ? defaultValue : m_values.at(i).second;
}

bool PropertyBag::convertTo(QVariant &value, QMetaType type)
{
    if (value.metaType() == type)
        return true;
    if (!value.isValid() || !QMetaType::canConvert(value.metaType(), type))
        return false;
    // Text that is not a number must not read as 0.
    if (value.metaType().id() == QMetaType::QString && type.id() != QMetaType::QString
        && type.id() != QMetaType::Bool) {
        bool ok = false;
        value.toString().toDouble(&ok);
        if (!ok)
            return false;
    }
    return value.convert(type);
}

void PropertyBag::WriteProperty(const QString &name, const QVariant &value, const QVariant &defaultValue)
{
    const int i = indexOf(name);
    if (defaultValue.isValid() && value == defaultValue) {
        if (i >= 0)
            m_values.removeAt(i);
        return;
    }
    if (i >= 0)
        m_values[i].second = value;
    else
        m_values.append({name, value});
}

QStringList PropertyBag::Keys() const
{
    QStringList keys;
    for (const auto &value : m_values)
        keys.append(value.first);
    return keys;
}

} // namespace runtime
