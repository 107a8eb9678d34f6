#pragma once

#include "os/Registry.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// A small wrapper of the registry calls, always addressing the 64-bit view: a root key and a key
// path (KeyRoot, a backslash and Subkey), and the reads, writes and enumerations on it. Results of
// "any type" are QVariants: a null QVariant is Empty.
class RegistryRoutines
{
public:
    static constexpr std::uint32_t ReadMask = os::KEY_READ | os::KEY_WOW64_64KEY;       // 0x20119
    static constexpr std::uint32_t WriteMask = os::KEY_WRITE | os::KEY_WOW64_64KEY;     // 0x20106
    static constexpr std::uint32_t FullMask = os::KEY_ALL_ACCESS | os::KEY_WOW64_64KEY; // 0xF013F
    static constexpr std::uint32_t FirstBufferSize = 1024;

    RegistryRoutines();
    ~RegistryRoutines();
    RegistryRoutines(const RegistryRoutines &) = delete;
    RegistryRoutines &operator=(const RegistryRoutines &) = delete;

    os::HKEY hKey() const { return m_hKey; }
    void sethKey(os::HKEY key) { m_hKey = key; }
    QString KeyRoot() const { return m_keyRoot; }
    void setKeyRoot(const QString &root) { m_keyRoot = root; }
    QString Subkey() const { return m_subkey; }
    void setSubkey(const QString &subkey) { m_subkey = subkey; }

    bool KeyExists() const;
    // "0" when the key was created (or opened), empty text on failure.
    QString CreateKey(const std::optional<QString> &name = std::nullopt);
    std::int32_t DeleteKey(const QString &name);
    std::int32_t DeleteValue(const QString &name);

    // The sub-key names of root\keyName (of root itself when keyName is empty).
    QStringList EnumRegistryKeys(os::HKEY root, const QString &keyName) const;
    // Each "name|last write time" (local time, the general date format); the name is the key.
    QStringList EnumRegistryKeysWithLastModified(os::HKEY root, const QString &keyName) const;
    // Each value's name and its data converted by type as GetRegistryValue converts it.
    std::vector<std::pair<QString, QVariant>> EnumRegistryValues(os::HKEY root, const QString &keyName,
                                                                 bool expand, bool hex) const;

    QVariant GetRegistryValue(const QString &valueName, const QVariant &defaultValue = {},
                              std::uint32_t *valueType = nullptr, bool expand = false, bool hex = false) const;
    QVariant GetStringValue(const QString &valueName, bool expand = false) const;
    bool SetRegistryValue(const QString &valueName, const QVariant &value, std::uint32_t valueType, bool hex = false);

    // A value's data converted as the reads convert it; the default when no rule applies.
    static QVariant convertValue(std::uint32_t type, const QByteArray &data, const QVariant &defaultValue,
                                 bool expand, bool hex);

private:
    QString keyPath() const;
    static QString StripNulls(const QString &text);

    QString m_subkey;
    QString m_keyRoot;
    os::HKEY m_hKey = 0;
    std::int32_t m_wow64 = 0;
};
