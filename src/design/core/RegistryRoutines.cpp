#include "core/RegistryRoutines.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>
#include <vector>

namespace {

// One query as the class makes it: a first buffer of 1024 bytes, grown once to the size the
// registry reports when that is too small.
std::int32_t queryValue(os::HKEY key, const QString &name, std::uint32_t *type, QByteArray *data)
{
    std::vector<std::uint8_t> buffer(RegistryRoutines::FirstBufferSize);
    auto size = std::uint32_t(buffer.size());
    std::int32_t status = os::regQueryValueEx(key, name, type, buffer.data(), &size);
    if (status == os::ERROR_MORE_DATA) {
        buffer.resize(size);
        status = os::regQueryValueEx(key, name, type, buffer.data(), &size);
    }
    if (status == os::ERROR_SUCCESS)
        *data = QByteArray(reinterpret_cast<const char *>(buffer.data()), qsizetype(std::min<std::size_t>(size, buffer.size())));
    return status;
}

QString textOfData(const QByteArray &data)
{
    // (size - 2) / 2 characters: the string's terminating NUL is left out.
    const qsizetype characters = std::max<qsizetype>(0, (data.size() - 2) / 2);
    return os::regDecodeUtf16(data.left(characters * 2));
}

} // namespace

RegistryRoutines::RegistryRoutines() : m_wow64(os::isWow64Process() ? 1 : 0) {}

RegistryRoutines::~RegistryRoutines()
{
    if (m_hKey != 0)
        os::regCloseKey(m_hKey);
}

QString RegistryRoutines::keyPath() const
{
    return m_keyRoot + QLatin1Char('\\') + m_subkey;
}

QString RegistryRoutines::StripNulls(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

bool RegistryRoutines::KeyExists() const
{
    os::HKEY key = 0;
    if (os::regOpenKeyEx(m_hKey, keyPath(), 0, ReadMask, &key) != os::ERROR_SUCCESS)
        return false;
    os::regCloseKey(key);
    return true;
}

QString RegistryRoutines::CreateKey(const std::optional<QString> &name)
{
    os::HKEY key = 0;
    const QString path = m_keyRoot + QLatin1Char('\\') + name.value_or(m_subkey);
    if (os::regCreateKeyEx(m_hKey, path, FullMask, &key) != os::ERROR_SUCCESS)
        return {};
    os::regCloseKey(key);
    return QStringLiteral("0");
}

std::int32_t RegistryRoutines::DeleteKey(const QString &name)
{
    const QString path = m_keyRoot + QLatin1Char('\\') + name;
    if (m_wow64 == 1)
        return os::regDeleteKeyEx(m_hKey, path, os::KEY_WOW64_64KEY);
    return os::regDeleteKey(m_hKey, path);
}

std::int32_t RegistryRoutines::DeleteValue(const QString &name)
{
    os::HKEY key = 0;
    const std::int32_t opened = os::regOpenKeyEx(m_hKey, keyPath(), 0, FullMask, &key);
    if (opened != os::ERROR_SUCCESS)
        return opened;
    const std::int32_t status = os::regDeleteValue(key, name);
    os::regCloseKey(key);
    return status;
}

namespace {

template <typename Visit>
void enumerateKeys(os::HKEY root, const QString &keyName, Visit visit)
{
    os::HKEY key = root;
    if (!keyName.isEmpty() && os::regOpenKeyEx(root, keyName, 0, RegistryRoutines::ReadMask, &key) != os::ERROR_SUCCESS)
        return;
    for (std::uint32_t index = 0;; ++index) {
        QString name;
        QDateTime written;
        // Any status but success ends the walk; 259 is the normal end.
        if (os::regEnumKeyEx(key, index, &name, 260, &written) != os::ERROR_SUCCESS)
            break;
        visit(name, written);
    }
    if (key != root)
        os::regCloseKey(key);
}

} // namespace

QStringList RegistryRoutines::EnumRegistryKeys(os::HKEY root, const QString &keyName) const
{
    QStringList names;
    enumerateKeys(root, keyName, [&](const QString &name, const QDateTime &) { names.append(name); });
    return names;
}

QStringList RegistryRoutines::EnumRegistryKeysWithLastModified(os::HKEY root, const QString &keyName) const
{
    QStringList items;
    const QLocale locale = QLocale::system();
    const QString format = locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ') + locale.timeFormat(QLocale::LongFormat);
    enumerateKeys(root, keyName, [&](const QString &name, const QDateTime &written) {
        items.append(name + QLatin1Char('|') + locale.toString(written.toLocalTime(), format));
    });
    return items;
}

std::vector<std::pair<QString, QVariant>> RegistryRoutines::EnumRegistryValues(os::HKEY root, const QString &keyName,
                                                                               bool expand, bool hex) const
{
    std::vector<std::pair<QString, QVariant>> values;
    os::HKEY key = root;
    if (!keyName.isEmpty() && os::regOpenKeyEx(root, keyName, 0, ReadMask, &key) != os::ERROR_SUCCESS)
        return values;
    std::vector<std::uint8_t> buffer(4096);
    for (std::uint32_t index = 0;;) {
        QString name;
        std::uint32_t type = 0;
        auto size = std::uint32_t(buffer.size());
        const std::int32_t status = os::regEnumValue(key, index, &name, 260, &type, buffer.data(), &size);
        if (status == os::ERROR_MORE_DATA && size > buffer.size()) {
            buffer.resize(size); // the same value again, with room for it
            continue;
        }
        if (status != os::ERROR_SUCCESS)
            break;
        const QByteArray data(reinterpret_cast<const char *>(buffer.data()), qsizetype(size));
        values.emplace_back(name, convertValue(type, data, QVariant(), expand, hex));
        ++index;
    }
    if (key != root)
        os::regCloseKey(key);
    return values;
}

QVariant RegistryRoutines::convertValue(std::uint32_t type, const QByteArray &data, const QVariant &defaultValue,
                                        bool expand, bool hex)
{
    switch (type) {
    case os::REG_SZ:
    case os::REG_EXPAND_SZ: {
        if (data.isEmpty())
            return defaultValue;
        QString text = textOfData(data);
        if (expand)
            text = os::ExpandEnvironmentStrings(text);
        return StripNulls(text);
    }
    case os::REG_BINARY: {
        if (data.isEmpty())
            return defaultValue;
        return QString::fromLatin1(data.toHex(' ').toUpper());
    }
    case os::REG_DWORD: {
        QByteArray bytes = data.left(4);
        bytes.append(QByteArray(4 - bytes.size(), '\0'));
        const std::uint32_t raw = std::uint8_t(bytes[0]) | (std::uint8_t(bytes[1]) << 8) | (std::uint8_t(bytes[2]) << 16)
                                  | (std::uint32_t(std::uint8_t(bytes[3])) << 24);
        if (hex)
            return QString::number(raw, 16).toUpper();
        return QVariant(std::int32_t(raw));
    }
    case os::REG_MULTI_SZ: {
        QString text = textOfData(data);
        if (expand)
            text = os::ExpandEnvironmentStrings(text);
        return StripNulls(text).isEmpty() ? defaultValue : QVariant(text);
    }
    default:
        return defaultValue;
    }
}

QVariant RegistryRoutines::GetRegistryValue(const QString &valueName, const QVariant &defaultValue,
                                            std::uint32_t *valueType, bool expand, bool hex) const
{
    os::HKEY key = 0;
    if (os::regOpenKeyEx(m_hKey, keyPath(), 0, ReadMask, &key) != os::ERROR_SUCCESS)
        return defaultValue;
    std::uint32_t type = 0;
    QByteArray data;
    const std::int32_t status = queryValue(key, valueName, &type, &data);
    os::regCloseKey(key);
    // Only a read that succeeded has data to convert; a missing value (2) or any failure keeps
    // the default.
    if (status != os::ERROR_SUCCESS)
        return defaultValue;
    if (valueType)
        *valueType = type;
    return convertValue(type, data, defaultValue, expand, hex);
}

QVariant RegistryRoutines::GetStringValue(const QString &valueName, bool expand) const
{
    os::HKEY key = 0;
    if (os::regOpenKeyEx(m_hKey, keyPath(), 0, ReadMask, &key) != os::ERROR_SUCCESS)
        return {};
    std::uint32_t type = 0;
    QByteArray data;
    const std::int32_t status = queryValue(key, valueName, &type, &data);
    os::regCloseKey(key);
    if (status != os::ERROR_SUCCESS || type != os::REG_SZ || data.isEmpty())
        return {};
    const QString text = textOfData(data);
    return expand ? os::ExpandEnvironmentStrings(text) : text;
}

bool RegistryRoutines::SetRegistryValue(const QString &valueName, const QVariant &value, std::uint32_t valueType,
                                        bool hex)
{
    QByteArray data;
    switch (valueType) {
    case os::REG_SZ:
    case os::REG_EXPAND_SZ:
        data = os::regStringData(value.toString());
        break;
    case os::REG_BINARY:
        data = value.toByteArray();
        break;
    case os::REG_DWORD: {
        std::int32_t number = 0;
        if (hex) {
            bool ok = false;
            const qulonglong parsed = value.toString().trimmed().toULongLong(&ok, 16);
            if (!ok || parsed > 0xFFFFFFFFull)
                return false;
            number = std::int32_t(std::uint32_t(parsed)); // "&HFFFFFFFF" is -1
        } else {
            bool ok = false;
            const double parsed = value.toDouble(&ok);
            if (!ok || parsed < -2147483648.5 || parsed >= 2147483647.5)
                return false;
            number = std::int32_t(std::nearbyint(parsed)); // rounds half to even
        }
        const auto raw = std::uint32_t(number);
        for (int i = 0; i < 4; ++i)
            data.append(char((raw >> (8 * i)) & 0xFF));
        break;
    }
    case os::REG_MULTI_SZ:
        data = os::regStringData(value.toString());
        data.chop(2); // the caller supplies the separators and the final NUL
        break;
    default:
        return false;
    }
    os::HKEY key = 0;
    if (os::regOpenKeyEx(m_hKey, keyPath(), 0, WriteMask, &key) != os::ERROR_SUCCESS)
        return false;
    const std::int32_t status = os::regSetValueEx(key, valueName, valueType,
                                                  reinterpret_cast<const std::uint8_t *>(data.constData()),
                                                  std::uint32_t(data.size()));
    os::regCloseKey(key);
    return status == os::ERROR_SUCCESS;
}
