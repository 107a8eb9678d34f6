#include "os/Registry.h"

#include "os/Folders.h"

#include <QStringList>

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace os {

namespace {

QString keyOf(const QString &name)
{
    return name.toLower();
}

QStringList splitPath(const QString &path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

bool isPredefined(HKEY key)
{
    return key >= HKEY_CLASSES_ROOT && key <= HKEY_CURRENT_CONFIG + 1;
}

// Handles of opened keys. Predefined roots are pseudo handles that need no entry.
class HandleTable
{
public:
    HKEY add(std::shared_ptr<RegistryKey> key)
    {
        while (m_open.count(m_next))
            advance();
        const HKEY handle = m_next;
        advance();
        m_open[handle] = std::move(key);
        return handle;
    }
    bool close(HKEY handle) { return m_open.erase(handle) > 0; }
    std::shared_ptr<RegistryKey> get(HKEY handle) const
    {
        if (isPredefined(handle))
            return machineRegistry().root(handle);
        const auto it = m_open.find(handle);
        return it == m_open.end() ? nullptr : it->second;
    }

private:
    void advance()
    {
        m_next += 4;
        if (m_next >= HKEY_CLASSES_ROOT)
            m_next = 0x100;
    }

    HKEY m_next = 0x100;
    std::unordered_map<HKEY, std::shared_ptr<RegistryKey>> m_open;
};

HandleTable &handles()
{
    static HandleTable table;
    return table;
}

} // namespace

RegistryKey::RegistryKey(QString name)
    : m_name(std::move(name)), m_lastWrite(QDateTime::currentDateTimeUtc())
{
}

void RegistryKey::touch()
{
    m_lastWrite = QDateTime::currentDateTimeUtc();
}

std::shared_ptr<RegistryKey> RegistryKey::child(const QString &name) const
{
    const auto it = m_children.find(keyOf(name));
    return it == m_children.end() ? nullptr : it->second.key;
}

std::shared_ptr<RegistryKey> RegistryKey::createChild(const QString &name)
{
    Child &slot = m_children[keyOf(name)];
    if (!slot.key) {
        slot = {name, std::make_shared<RegistryKey>(name)};
        touch();
    }
    return slot.key;
}

void RegistryKey::attachChild(const QString &name, std::shared_ptr<RegistryKey> key)
{
    m_children[keyOf(name)] = {name, std::move(key)};
    touch();
}

bool RegistryKey::removeChild(const QString &name)
{
    const bool removed = m_children.erase(keyOf(name)) > 0;
    if (removed)
        touch();
    return removed;
}

std::vector<std::pair<QString, std::shared_ptr<RegistryKey>>> RegistryKey::children() const
{
    std::vector<std::pair<QString, std::shared_ptr<RegistryKey>>> list;
    list.reserve(m_children.size());
    for (const auto &[lower, child] : m_children)
        list.emplace_back(child.name, child.key);
    return list;
}

// Folds each unit of the basic plane as the case-blind comparison does; units of a surrogate
// pair are left out, so that names the comparison finds equal always hash alike.
std::size_t RegistryKey::FoldedHash::operator()(const QString &name) const
{
    std::size_t hash = 14695981039346656037ull;
    for (const QChar ch : name) {
        if (ch.isSurrogate())
            continue;
        hash = (hash ^ ch.toCaseFolded().unicode()) * 1099511628211ull;
    }
    return hash;
}

// Value names are looked up through an index, so that a key of many values (a saved machine's
// big key) fills in linear time.
const RegistryValue *RegistryKey::value(const QString &name) const
{
    const auto it = m_valueIndex.find(name);
    return it == m_valueIndex.end() ? nullptr : &m_values[it->second];
}

void RegistryKey::setValue(const QString &name, std::uint32_t type, QByteArray data)
{
    touch();
    if (const auto it = m_valueIndex.find(name); it != m_valueIndex.end()) {
        RegistryValue &value = m_values[it->second];
        value.type = type;
        value.data = std::move(data);
        return;
    }
    m_valueIndex.emplace(name, m_values.size());
    m_values.push_back({name, type, std::move(data)});
}

bool RegistryKey::removeValue(const QString &name)
{
    const auto it = m_valueIndex.find(name);
    if (it == m_valueIndex.end())
        return false;
    const std::size_t removed = it->second;
    m_valueIndex.erase(it);
    m_values.erase(m_values.begin() + qsizetype(removed));
    for (auto &[key, place] : m_valueIndex) {
        if (place > removed)
            --place;
    }
    touch();
    return true;
}

RegistryTree::RegistryTree()
{
    const std::pair<HKEY, const char *> roots[] = {
        {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},   {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
        {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"}, {HKEY_USERS, "HKEY_USERS"},
        {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
    };
    for (const auto &[handle, name] : roots)
        m_roots[handle] = std::make_shared<RegistryKey>(QString::fromLatin1(name));
}

std::shared_ptr<RegistryKey> RegistryTree::root(HKEY predefined) const
{
    const auto it = m_roots.find(predefined);
    return it == m_roots.end() ? nullptr : it->second;
}

std::shared_ptr<RegistryKey> RegistryTree::find(HKEY predefined, const QString &path) const
{
    std::shared_ptr<RegistryKey> key = root(predefined);
    for (const QString &part : splitPath(path)) {
        if (!key)
            break;
        key = key->child(part);
    }
    return key;
}

std::shared_ptr<RegistryKey> RegistryTree::create(HKEY predefined, const QString &path)
{
    std::shared_ptr<RegistryKey> key = root(predefined);
    for (const QString &part : splitPath(path)) {
        if (!key)
            break;
        key = key->createChild(part);
    }
    return key;
}

bool RegistryTree::remove(HKEY predefined, const QString &path)
{
    QStringList parts = splitPath(path);
    if (parts.isEmpty())
        return false;
    const QString last = parts.takeLast();
    const std::shared_ptr<RegistryKey> parent = find(predefined, parts.join(QLatin1Char('\\')));
    return parent && parent->removeChild(last);
}

void RegistryTree::setString(HKEY root, const QString &path, const QString &name, const QString &text,
                             std::uint32_t type)
{
    if (const auto key = create(root, path))
        key->setValue(name, type, regStringData(text));
}

void RegistryTree::setMultiString(HKEY root, const QString &path, const QString &name, const QStringList &texts)
{
    if (const auto key = create(root, path))
        key->setValue(name, REG_MULTI_SZ, regMultiStringData(texts));
}

void RegistryTree::setDword(HKEY root, const QString &path, const QString &name, std::uint32_t value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((value >> (8 * i)) & 0xFF);
    if (const auto key = create(root, path))
        key->setValue(name, REG_DWORD, bytes);
}

void RegistryTree::setBinary(HKEY root, const QString &path, const QString &name, std::uint32_t type,
                             const QByteArray &bytes)
{
    if (const auto key = create(root, path))
        key->setValue(name, type, bytes);
}

QByteArray regStringData(const QString &text)
{
    QByteArray bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (const QChar ch : text) {
        bytes.append(char(ch.unicode() & 0xFF));
        bytes.append(char(ch.unicode() >> 8));
    }
    bytes.append('\0');
    bytes.append('\0');
    return bytes;
}

QByteArray regMultiStringData(const QStringList &texts)
{
    QByteArray bytes;
    for (const QString &text : texts)
        bytes += regStringData(text);
    bytes.append('\0');
    bytes.append('\0');
    return bytes;
}

QString regDecodeUtf16(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(char16_t(std::uint8_t(bytes[i]) | (std::uint8_t(bytes[i + 1]) << 8))));
    return text;
}

RegistryTree &machineRegistry()
{
    static RegistryTree tree;
    return tree;
}

void installMachineRegistry(RegistryTree tree)
{
    machineRegistry() = std::move(tree);
}

std::int32_t regOpenKeyEx(HKEY root, const QString &subKey, std::uint32_t, std::uint32_t, HKEY *result)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    std::shared_ptr<RegistryKey> key = handles().get(root);
    if (!key)
        return ERROR_INVALID_HANDLE;
    for (const QString &part : splitPath(subKey)) {
        key = key->child(part);
        if (!key)
            return ERROR_FILE_NOT_FOUND;
    }
    *result = handles().add(std::move(key));
    return ERROR_SUCCESS;
}

std::int32_t regCreateKeyEx(HKEY root, const QString &subKey, std::uint32_t, HKEY *result)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    std::shared_ptr<RegistryKey> key = handles().get(root);
    if (!key)
        return ERROR_INVALID_HANDLE;
    for (const QString &part : splitPath(subKey))
        key = key->createChild(part);
    *result = handles().add(std::move(key));
    return ERROR_SUCCESS;
}

std::int32_t regCloseKey(HKEY key)
{
    if (isPredefined(key))
        return ERROR_SUCCESS;
    return handles().close(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

std::int32_t regQueryValueEx(HKEY key, const QString &valueName, std::uint32_t *type, std::uint8_t *data,
                             std::uint32_t *size)
{
    const std::shared_ptr<RegistryKey> node = handles().get(key);
    if (!node)
        return ERROR_INVALID_HANDLE;
    if (data && !size)
        return ERROR_INVALID_PARAMETER;
    const RegistryValue *value = node->value(valueName);
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    if (type)
        *type = value->type;
    const auto needed = std::uint32_t(value->data.size());
    if (!size)
        return ERROR_SUCCESS;
    if (data && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data && needed > 0)
        std::memcpy(data, value->data.constData(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

std::int32_t regSetValueEx(HKEY key, const QString &valueName, std::uint32_t type, const std::uint8_t *data,
                           std::uint32_t size)
{
    const std::shared_ptr<RegistryKey> node = handles().get(key);
    if (!node)
        return ERROR_INVALID_HANDLE;
    if (!data && size > 0)
        return ERROR_INVALID_PARAMETER;
    node->setValue(valueName, type,
                   size > 0 ? QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)) : QByteArray());
    return ERROR_SUCCESS;
}

std::int32_t regDeleteValue(HKEY key, const QString &valueName)
{
    const std::shared_ptr<RegistryKey> node = handles().get(key);
    if (!node)
        return ERROR_INVALID_HANDLE;
    return node->removeValue(valueName) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

std::int32_t regDeleteKey(HKEY root, const QString &subKey)
{
    const std::shared_ptr<RegistryKey> base = handles().get(root);
    if (!base)
        return ERROR_INVALID_HANDLE;
    QStringList parts = splitPath(subKey);
    if (parts.isEmpty())
        return ERROR_ACCESS_DENIED;
    const QString last = parts.takeLast();
    std::shared_ptr<RegistryKey> parent = base;
    for (const QString &part : parts) {
        parent = parent->child(part);
        if (!parent)
            return ERROR_FILE_NOT_FOUND;
    }
    const std::shared_ptr<RegistryKey> target = parent->child(last);
    if (!target)
        return ERROR_FILE_NOT_FOUND;
    if (!target->children().empty())
        return ERROR_ACCESS_DENIED;
    parent->removeChild(last);
    return ERROR_SUCCESS;
}

std::int32_t regDeleteKeyEx(HKEY root, const QString &subKey, std::uint32_t)
{
    return regDeleteKey(root, subKey);
}

std::int32_t regEnumKeyEx(HKEY key, std::uint32_t index, QString *name, std::uint32_t nameCapacity,
                          QDateTime *lastWriteTime)
{
    const std::shared_ptr<RegistryKey> node = handles().get(key);
    if (!node)
        return ERROR_INVALID_HANDLE;
    const auto children = node->children();
    if (index >= children.size())
        return ERROR_NO_MORE_ITEMS;
    const auto &[childName, child] = children[index];
    if (std::uint32_t(childName.size()) + 1 > nameCapacity)
        return ERROR_MORE_DATA;
    if (name)
        *name = childName;
    if (lastWriteTime)
        *lastWriteTime = child->lastWriteTime();
    return ERROR_SUCCESS;
}

std::int32_t regEnumValue(HKEY key, std::uint32_t index, QString *name, std::uint32_t nameCapacity,
                          std::uint32_t *type, std::uint8_t *data, std::uint32_t *size)
{
    const std::shared_ptr<RegistryKey> node = handles().get(key);
    if (!node)
        return ERROR_INVALID_HANDLE;
    const auto &values = node->values();
    if (index >= values.size())
        return ERROR_NO_MORE_ITEMS;
    const RegistryValue &value = values[index];
    if (std::uint32_t(value.name.size()) + 1 > nameCapacity)
        return ERROR_MORE_DATA;
    if (name)
        *name = value.name;
    if (type)
        *type = value.type;
    const auto needed = std::uint32_t(value.data.size());
    if (size) {
        if (data && *size < needed) {
            *size = needed;
            return ERROR_MORE_DATA;
        }
        if (data && needed > 0)
            std::memcpy(data, value.data.constData(), needed);
        *size = needed;
    }
    return ERROR_SUCCESS;
}

bool isWow64Process()
{
    return false;
}

QString ExpandEnvironmentStrings(const QString &text)
{
    QString result;
    result.reserve(text.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('%'), pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('%'), open + 1);
        if (close < 0) {
            result += QStringView(text).mid(pos);
            break;
        }
        result += QStringView(text).mid(pos, open - pos);
        const QString name = text.mid(open + 1, close - open - 1);
        QString value = name.isEmpty() ? QString() : qEnvironmentVariable(name.toLocal8Bit().constData());
        if (value.isEmpty() && (name.compare(QLatin1String("SystemRoot"), Qt::CaseInsensitive) == 0
                                || name.compare(QLatin1String("windir"), Qt::CaseInsensitive) == 0))
            value = SpecialFolderLocation(CSIDL_WINDOWS);
        if (value.isEmpty()) {
            // Not a variable: the first "%" stays, and the second may open the next reference.
            result += QLatin1Char('%') + name;
            pos = close;
            continue;
        }
        result += value;
        pos = close + 1;
    }
    return result;
}

} // namespace os
